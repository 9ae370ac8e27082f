// Test doubles; see fakes.h.
#include "fakes.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace optest {

bool SimBusPort::open(int portNumber, const QString& settings) {
    if (open_ || portNumber < 1 || portNumber > 16 || missingPorts.contains(portNumber)) {
        return false;
    }
    open_ = true;
    number_ = portNumber;
    lastSettings = settings;
    opens.push_back(portNumber);
    pending_.clear();
    return true;
}

void SimBusPort::close() {
    if (onLogger()) {
        logger_.discardOutput();
    }
    open_ = false;
    pending_.clear();
}

void SimBusPort::pull() {
    if (!paced && onLogger() && logger_.hasOutput()) {
        pending_.append(logger_.takeOutput());
    }
}

void SimBusPort::arrive(int bytes) {
    if (onLogger()) {
        pending_.append(logger_.takeOutput(bytes));
    }
}

int SimBusPort::bytesWaiting() {
    if (!open_) {
        return -1;
    }
    pull();
    return static_cast<int>(pending_.size());
}

bool SimBusPort::readByte(std::uint8_t& byte) {
    pull();
    if (!open_ || pending_.isEmpty()) {
        return false;
    }
    byte = static_cast<std::uint8_t>(pending_.front());
    pending_.remove(0, 1);
    return true;
}

bool SimBusPort::write(const QByteArray& bytes) {
    if (!open_) {
        return false;
    }
    writes.push_back(bytes);
    if (number_ == loggerPort_) {
        logger_.receive(bytes);
    }
    return true;
}

void SimBusPort::clearInput() {
    pull();
    pending_.clear();
}

bool ScriptedPrompter::question(const QString& title, const QString& text) {
    questions.push_back({title, text});
    if (answers.empty()) {
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedPrompter::saveFileName(const QString&, const QString&, const QString&,
                                       const QString&) {
    if (saveDirectory.isEmpty()) {
        return {};
    }
    savesAfter.push_back(questions.empty() ? QString() : questions.back().text);
    return saveDirectory + QStringLiteral("/save%1.csv").arg(savesAfter.size());
}

namespace {

QObject* makeControl(const ControlInfo& info, QWidget* parent) {
    switch (info.kind) {
        case ControlKind::Frame:
            return new QGroupBox(parent);
        case ControlKind::Label:
            return new QLabel(parent);
        case ControlKind::Button: {
            auto* button = new QPushButton(parent);
            button->setCheckable(info.id == ControlId::ConnectButton);
            return button;
        }
        case ControlKind::Option:
            return new QRadioButton(parent);
        case ControlKind::Combo:
            return new QComboBox(parent);
        case ControlKind::ScrollBar:
            return new QScrollBar(parent);
        case ControlKind::Menu: {
            auto* menu = new QMenu(parent);
            return menu->menuAction();
        }
        case ControlKind::Action: {
            auto* action = new QAction(parent);
            action->setCheckable(info.id == ControlId::FastDownloadItem ||
                                 info.id == ControlId::SlowDownloadItem);
            return action;
        }
        case ControlKind::Dialog:
            return new QDialog(parent);
        case ControlKind::Window:
        case ControlKind::Pane:
        case ControlKind::Graph:
            return new QWidget(parent);
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<QWidget> buildTestWindow(WidgetControls& controls) {
    auto window = std::make_unique<QWidget>();
    window->setObjectName(QLatin1String(controlName(ControlId::MainWindow)));
    for (const ControlInfo& info : controlTable()) {
        if (info.kind == ControlKind::Window || info.id == ControlId::ProgressDialog) {
            continue;
        }
        QWidget* parent = window.get();
        if (info.scope != nullptr) {
            parent =
                window->findChild<QWidget*>(QLatin1String(info.scope), Qt::FindDirectChildrenOnly);
            if (parent == nullptr) {
                parent = new QWidget(window.get());
                parent->setObjectName(QLatin1String(info.scope));
            }
        }
        QObject* control = makeControl(info, parent);
        control->setObjectName(QLatin1String(info.name));
        if (info.kind == ControlKind::Dialog) {
            controls.add(info.id, control);
        }
    }
    controls.registerFrom(window.get());
    return window;
}

}  // namespace optest
