// Scripted stand-ins for the main window's dependencies: a prompter that answers from a
// script and records every question, a port with no logger behind it, a USB device that is
// absent (or closed to this user), and a waiter that returns at once.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "data/prompter.h"
#include "link/cbusdevice.h"
#include "link/serialport.h"
#include "link/waiter.h"

class ScriptedPrompter : public Prompter {
  public:
    struct Call {
        QString kind;  // "message", "question", "save" or "open"
        QString title;
        QString text;
    };

    void message(const QString& title, const QString& text) override {
        calls.push_back({"message", title, text});
        keepOpen();
    }
    bool question(const QString& title, const QString& text) override {
        calls.push_back({"question", title, text});
        keepOpen();
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString saveFileName(const QString& caption, const QString& directory, const QString&,
                         const QString&) override {
        calls.push_back({"save", caption, directory});
        return nextFileName();
    }
    QString openFileName(const QString& caption, const QString& directory,
                         const QString&) override {
        calls.push_back({"open", caption, directory});
        return nextFileName();
    }

    QStringList questionTexts() const {
        QStringList texts;
        for (const Call& call : calls) {
            if (call.kind == "question") {
                texts.append(call.text);
            }
        }
        return texts;
    }

    std::deque<bool> answers;
    std::deque<QString> fileNames;
    std::vector<Call> calls;
    // Runs while a box is open, as the user takes time to answer and the event loop goes on.
    std::function<void()> whileOpen;

  private:
    void keepOpen() {
        if (whileOpen) {
            whileOpen();
        }
    }
    QString nextFileName() {
        if (fileNames.empty()) {
            return {};
        }
        QString name = fileNames.front();
        fileNames.pop_front();
        return name;
    }
};

class AbsentPort : public SerialPort {
  public:
    bool open(int, const QString&) override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
    int portNumber() const override { return 0; }
    int bytesWaiting() override { return -1; }
    bool readByte(std::uint8_t&) override { return false; }
    bool write(const QByteArray&) override { return false; }
    void clearInput() override {}
    void setBytesArrived(std::function<void()>) override {}
};

class AbsentDevice : public CbusDevice {
  public:
    // kPermissionDenied: plugged in, but this user may not open it.
    Status status = kNotFound;

    Status describe(QString& description) override {
        description.clear();
        return status;
    }
    Status pulse(std::uint8_t) override { return status; }
};

class InstantWaiter : public Waiter {
  public:
    void wait(int waittime) override { waited += waittime; }
    long long waited = 0;
};
