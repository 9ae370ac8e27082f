// Test doubles; see fakes.h.
#include "fakes.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "operations/statuspanel.h"

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
    if (onLogger() && logger_.hasOutput()) {
        pending_.append(logger_.takeOutput());
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

int FakeCbusDevice::describe(QString& description) {
    if (!present) {
        return kNotFound;
    }
    description = QStringLiteral("USB Serial Converter");
    return kOk;
}

int FakeCbusDevice::pulse(std::uint8_t level) {
    if (!present) {
        return kNotFound;
    }
    levels.push_back(level);
    logger_.cbusLevel(level);
    return kOk;
}

void TestWaiter::wait(int waittime) {
    waits.push_back(waittime);
    elapsedMs += waittime;
    logger_.advanceTime(waittime);
    if (duringWait) {
        duringWait();
    }
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

namespace {

template <typename T>
T* named(QWidget* parent, const QString& name) {
    auto* widget = new T(parent);
    widget->setObjectName(name);
    return widget;
}

}  // namespace

QStringList testMenuNames() {
    return {"m1",  "m11", "m12", "m121", "m122", "m13", "m2",  "m21",      "m22",
            "m23", "m3",  "m31", "m32",  "m33",  "m34", "m35", "D_M_Fast", "D_M_Slow"};
}

QWidget* buildTestWindow() {
    auto* window = new QWidget;
    window->setObjectName(QStringLiteral("Form1"));
    for (int i = 1; i <= 5; ++i) {
        named<QComboBox>(window, QStringLiteral("Combo%1").arg(i));
    }
    // Command4, 5, 11, 21 and 24 belong to the status panel.
    for (int i : {1, 2, 3, 6, 7, 10, 12, 13, 15, 16, 17, 18, 19, 22, 23, 25, 26, 27, 28}) {
        named<QPushButton>(window, QStringLiteral("Command%1").arg(i));
    }
    named<QPushButton>(window, QStringLiteral("Command20"))->setCheckable(true);
    for (int i = 1; i <= 9; ++i) {
        named<QRadioButton>(window, QStringLiteral("Option%1").arg(i));
    }
    for (int i = 1; i <= 4; ++i) {
        named<QScrollBar>(window, QStringLiteral("VScroll%1").arg(i));
        named<QScrollBar>(window, QStringLiteral("HScroll%1").arg(i));
    }
    for (const char* label :
         {"Label2", "Label4", "Label10", "Label30", "Label34", "Label35", "Label36", "Label37",
          StatusNames::StatusPanel1, StatusNames::DataSetLabel}) {
        named<QLabel>(window, QString::fromLatin1(label));
    }
    for (const char* pane : {"Frame6", "Frame8", "Frame12"}) {
        named<QGroupBox>(window, QString::fromLatin1(pane));
    }
    for (const char* pane : StatusNames::TablePanes) {
        named<QWidget>(window, QString::fromLatin1(pane));
    }
    named<QWidget>(window, QString::fromLatin1(StatusNames::GraphArea));
    for (const char* dialog : {"Form2", "Form3", "Form5", "Form6", "Form12"}) {
        named<QDialog>(window, QString::fromLatin1(dialog));
    }
    new StatusPanel(window);
    new IdentNameFrame(window);
    new CommunicationFrame(window);
    for (const QString& menu : testMenuNames()) {
        auto* action = new QAction(menu, window);
        action->setObjectName(menu);
        action->setCheckable(menu.startsWith(QLatin1String("D_M_")));
    }
    return window;
}

}  // namespace optest
