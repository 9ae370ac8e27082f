// A link session for the fuzz targets: a scripted port, timers fired by hand, a prompter that
// answers nothing, and data sets in one scratch folder shared by every run of the process.
#pragma once

#include <QTemporaryDir>
#include <cstdlib>

#include "data/datasets.h"
#include "data/messagetable.h"
#include "data/prompter.h"
#include "link/session.h"
#include "scriptedport.h"

class SilentPrompter : public Prompter {
  public:
    void message(const QString&, const QString&) override {}
    bool question(const QString&, const QString&) override { return false; }
    QString saveFileName(const QString&, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
};

// The scratch files are opened once: opening them per input would dominate the run time.
inline DataSets& fuzzDataSets() {
    static QTemporaryDir dir;
    static DataSets sets;
    static const bool opened = dir.isValid() && sets.open(dir.path());
    if (!opened) {
        std::abort();
    }
    return sets;
}

inline const MessageTable& fuzzMessages() {
    static const MessageTable table = [] {
        MessageTable t;
        t.fillEnglish();
        return t;
    }();
    return table;
}

struct FuzzSession {
    FuzzSession() {
        port.open(1, session.lineSettings());
        session.applyLineSettings();
        session.state().Machine_N_P = QStringLiteral("QM320-HX");
    }

    ScriptedPort port;
    TimerTable timers;
    SilentPrompter prompter;
    Session session{port, timers, prompter, fuzzMessages(), fuzzDataSets()};
    Engine& engine = session.engine();

    // Fires the timeout tick until the procedure ends: resends run out and Pro_End must follow.
    // A procedure that outlives them all is a hang in the engine.
    void drain() {
        for (int i = 0; i < 1000 && engine.busy(); ++i) {
            timers.fire(TimerId::InputTimer);
            timers.fire(TimerId::TimeOut);
            timers.fire(TimerId::DownloadTimer);
        }
        if (engine.busy()) {
            std::abort();
        }
    }
};
