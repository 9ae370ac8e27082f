// The prompter of a link session. A box opened while a procedure runs would let the
// procedure's timers and replies re-enter under it, so a message raised inside a tick or a reply
// handler waits until the procedure has ended and the status refresh has run. While any box or
// file dialog is open the session is held: no tick, click or device check starts a procedure.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "data/prompter.h"

class HeldPrompter : public Prompter {
  public:
    // `procedureRunning` tells whether a message must wait for the end of the procedure.
    HeldPrompter(Prompter& shown, std::function<bool()> procedureRunning)
        : shown_(shown), procedureRunning_(std::move(procedureRunning)) {}

    void message(const QString& title, const QString& text) override;
    bool question(const QString& title, const QString& text) override;
    QString saveFileName(const QString& caption, const QString& directory,
                         const QString& proposedName, const QString& filter) override;
    QString openFileName(const QString& caption, const QString& directory,
                         const QString& filter) override;

    // Shows the messages that waited, in the order they were raised.
    void flush();
    // True while a box or dialog is open.
    bool open() const { return open_ > 0; }
    bool hasWaiting() const { return !waiting_.empty(); }

    // Runs one box or dialog with the session held; the operations' own dialogs open this way.
    template <typename F>
    auto hold(F&& show) {
        ++open_;
        struct Release {
            int& count;
            ~Release() { --count; }
        } release{open_};
        return show();
    }

  private:
    struct Waiting {
        QString title;
        QString text;
    };
    Prompter& shown_;
    std::function<bool()> procedureRunning_;
    std::vector<Waiting> waiting_;
    int open_ = 0;
    bool flushing_ = false;
};
