// A connected logger in-process for the link tests: the shared rig's simulated logger behind a
// SimPort and a session on hand-driven timers, with a recording prompter and view.
#pragma once

#include <functional>
#include <vector>

#include "data/datasets.h"
#include "data/prompter.h"
#include "link/session.h"
#include "sim/simport.h"
#include "simrig.h"

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

class LinkHarness : public SimSessionRig<SimPort, RecordingPrompter>,
                    public LoggerView,
                    public DownloadView {
  public:
    explicit LinkHarness(const QString& scenario = QStringLiteral("runs"))
        : SimSessionRig(scenario, scenarioNow()) {
        port.open(3, QStringLiteral("57600,n,8,1"));
        session.Portnum = 3;
        session.applyLineSettings();
        state.Machine_N_P = QStringLiteral("QM320-HX");
        session.setLoggerView(this);
        session.setDownloadView(this);
        session.onProcedureEnded([this] { ++procedureEnds; });
    }

    bool downloadAll(int mode) {
        state.Download_Mode = static_cast<std::uint8_t>(mode);
        if (!download.start()) {
            return false;
        }
        pump();
        return !engine.busy();
    }

    // The log data set's samples.
    using SessionRig::samples;
    std::vector<Sample> samples() { return samples(LogData); }

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
