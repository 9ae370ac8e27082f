// Test doubles for the operations: a serial bus with the simulated logger on one port, a
// scripted prompter, and a window built from the control table.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "data/prompter.h"
#include "link/serialport.h"
#include "scripteddialogs.h"
#include "sim/simlogger.h"
#include "ui/widgetcontrols.h"

namespace optest {

// Ports 1..16 exist unless removed; the logger answers on exactly one of them.
class SimBusPort : public SerialPort {
  public:
    SimBusPort(SimLogger& logger, int loggerPort) : logger_(logger), loggerPort_(loggerPort) {}

    std::set<int> missingPorts;
    std::vector<int> opens;  // port numbers of every successful open
    // A line slower than the host: the logger's bytes come only as arrive() brings them.
    bool paced = false;
    std::vector<QByteArray> writes;
    QString lastSettings;

    bool open(int portNumber, const QString& settings) override;
    void close() override;
    bool isOpen() const override { return open_; }
    int portNumber() const override { return number_; }
    int bytesWaiting() override;
    bool readByte(std::uint8_t& byte) override;
    bool write(const QByteArray& bytes) override;
    void clearInput() override;
    void setBytesArrived(std::function<void()> callback) override {
        arrived_ = std::move(callback);
    }
    // Up to `bytes` more of the logger's output reach the port.
    void arrive(int bytes);

  private:
    bool onLogger() const { return open_ && number_ == loggerPort_; }
    void pull();

    SimLogger& logger_;
    int loggerPort_;
    bool open_ = false;
    int number_ = 0;
    QByteArray pending_;
    std::function<void()> arrived_;
};

class ScriptedPrompter : public Prompter {
  public:
    struct Shown {
        QString title;
        QString text;
    };
    std::vector<Shown> messages;
    std::vector<Shown> questions;
    std::deque<bool> answers;  // No when the script runs out
    // Where a save dialog chooses a file; empty: the dialog is cancelled.
    QString saveDirectory;
    // The question each save dialog followed.
    std::vector<QString> savesAfter;
    // Hears each box as it is shown.
    std::function<void()> onMessage;

    void message(const QString& title, const QString& text) override {
        messages.push_back({title, text});
        if (onMessage) {
            onMessage();
        }
    }
    bool question(const QString& title, const QString& text) override;
    QString saveFileName(const QString&, const QString&, const QString&, const QString&) override;
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
};

// A main window stand-in built from the control table: one widget or menu item of its kind for
// every control, and an open dialog for each dialog the status refresh closes; all registered.
std::unique_ptr<QWidget> buildTestWindow(WidgetControls& controls);

}  // namespace optest
