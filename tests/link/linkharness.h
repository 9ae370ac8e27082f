// A connected logger in-process: the simulated logger behind a SimPort and a link session on a
// timer table, with a recording prompter and view.
#pragma once

#include <QDateTime>
#include <QTemporaryDir>
#include <functional>
#include <utility>
#include <vector>

#include "data/datasets.h"
#include "data/messagetable.h"
#include "data/prompter.h"
#include "link/session.h"
#include "sim/simlogger.h"
#include "sim/simport.h"
#include "sim/simscenarios.h"

class RecordingPrompter : public Prompter {
  public:
    std::vector<QString> messages;
    std::vector<QString> questions;
    bool answer = false;
    // Runs while a box is open.
    std::function<void()> whileOpen;

    void message(const QString&, const QString& text) override {
        messages.push_back(text);
        if (whileOpen) {
            whileOpen();
        }
    }
    bool question(const QString&, const QString& text) override {
        questions.push_back(text);
        return answer;
    }
    QString saveFileName(const QString&, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
};

class LinkHarness : public LoggerView, public DownloadView {
  public:
    static QDateTime scenarioNow() { return QDateTime(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC); }

    explicit LinkHarness(const QString& scenario = QStringLiteral("runs")) {
        messages.fillEnglish();
        simscenario::apply(scenario, logger, scenarioNow());
        port.open(3, QStringLiteral("57600,n,8,1"));
        session.Portnum = 3;
        session.applyLineSettings();
        dataSets.open(dir.path());
        state.Machine_N_P = QStringLiteral("QM320-HX");
        session.setLoggerView(this);
        session.setDownloadView(this);
        session.onProcedureEnded([this] { ++procedureEnds; });
    }

    // Polls until the procedure ends or no byte is waiting (a stalled or silent logger).
    void pump() {
        for (int guard = 0; guard < 1000000 && engine.busy(); ++guard) {
            if (port.bytesWaiting() <= 0) {
                return;
            }
            engine.inputTick();
        }
    }

    bool downloadAll(int mode) {
        state.Download_Mode = static_cast<std::uint8_t>(mode);
        if (!download.start()) {
            return false;
        }
        pump();
        return !engine.busy();
    }

    std::vector<Sample> samples() {
        std::vector<Sample> all;
        Sample s;
        for (int k = 1; k <= logData.count; ++k) {
            if (logData.read(k, s) != DataError::None) {
                break;
            }
            all.push_back(s);
        }
        return all;
    }

    // LoggerView
    void batteryLabel(const QString& text, bool low) override {
        batteryText = text;
        batteryLow = low;
    }
    void clockLabel(const QString& text) override { clockText = text; }
    void realTimeReadout(const RealTimeReadout& r) override { readout = r; }
    void realTimeSampleAdded() override { ++realTimeSamples; }

    // DownloadView
    void progress(int value, int maximum, const QString& caption) override {
        captions.push_back(caption);
        lastValue = value;
        lastMaximum = maximum;
        if (onProgress) {
            onProgress(value);
        }
    }
    void downloadFinished() override { ++finished; }
    void downloadFailed() override { ++failed; }

    QTemporaryDir dir;
    SimLogger logger;
    SimPort port{logger};
    TimerTable timers;
    RecordingPrompter prompter;
    MessageTable messages;
    DataSets dataSets;
    Session session{port, timers, prompter, messages, dataSets};
    Engine& engine = session.engine();
    LoggerState& state = session.state();
    DataSet& logData = dataSets[LogData];
    DataSet& realTimeData = dataSets[RealTimeData];
    Download& download = session.download();

    int procedureEnds = 0;
    QString batteryText;
    bool batteryLow = false;
    QString clockText;
    RealTimeReadout readout;
    int realTimeSamples = 0;
    std::vector<QString> captions;
    int lastValue = -1;
    int lastMaximum = -1;
    std::function<void(int)> onProgress;
    int finished = 0;
    int failed = 0;
};
