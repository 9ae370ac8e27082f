// Makes the README's picture of the main window: the program against a simulated logger
// (VELTRANE_DEVICE_DIR), connected, its records downloaded and drawn, the window saved as PNG.
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "app/mainwindow.h"
#include "data/prompter.h"
#include "link/cbusdevice.h"
#include "link/eventloopwaiter.h"
#include "link/qtserialport.h"

namespace {

// Answers as a user who only looks: every box is acknowledged, every question is No, no file
// is chosen. What was asked goes to standard error so a failed run says why.
class LookingPrompter : public Prompter {
  public:
    void message(const QString& title, const QString& text) override { note(title, text); }
    bool question(const QString& title, const QString& text) override {
        note(title, text);
        return false;
    }
    QString saveFileName(const QString&, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }

  private:
    static void note(const QString& title, const QString& text) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
};

bool settle(MainWindow& window, int timeoutMs) {
    EventLoopWaiter waiter;
    QDeadlineTimer deadline(timeoutMs);
    waiter.wait(50);
    while (window.session().engine().busy()) {
        if (deadline.hasExpired()) {
            return false;
        }
        waiter.wait(20);
    }
    waiter.wait(200);
    return true;
}

bool click(MainWindow& window, const char* name) {
    auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
    if (button == nullptr) {
        return false;
    }
    button->click();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr,
                     "usage: veltrane-shot OUT.png (VELTRANE_DEVICE_DIR names the logger)\n");
        return 1;
    }
    QTemporaryDir programDir;
    QtSerialPortAdapter port;
    std::unique_ptr<CbusDevice> device = makeCbusDevice();
    LookingPrompter prompter;
    EventLoopWaiter waiter;
    MainWindow window(MainWindowDependencies{port, *device, prompter, waiter, programDir.path()});
    if (!programDir.isValid() || !window.startUp()) {
        return 1;
    }
    window.show();
    if (!click(window, "Command20") || !settle(window, 30000) || !port.isOpen()) {
        return 2;
    }
    if (!click(window, "Command5") || !settle(window, 120000)) {
        return 3;
    }
    if (auto* logGraph = window.findChild<QAction*>(QStringLiteral("m211"))) {
        logGraph->trigger();
    }
    waiter.wait(300);
    const bool saved = window.grab().save(QString::fromLocal8Bit(argv[1]));
    window.close();
    return saved ? 0 : 4;
}
