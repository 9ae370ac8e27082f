// The scenario catalogue.
#include "sim/simscenarios.h"

#include <functional>
#include <utility>
#include <vector>

#include "sim/simlogger.h"
#include "sim/simmemory.h"
#include "sim/simsensor.h"

namespace simscenario {
namespace {

struct Scenario {
    const char* name;
    const char* description;
    std::function<void(SimLogger&, const QDateTime&)> build;
};

void setName(SimLoggerState& s, const char (&name)[5]) {
    for (int i = 0; i < 4; ++i) {
        s.name[i] = static_cast<std::uint8_t>(name[i]);
    }
}

void setAlarms(SimLoggerState& s, double upper, bool upperOn, double lower, bool lowerOn) {
    const auto u = alarmBytes(upper, upperOn);
    const auto l = alarmBytes(lower, lowerOn);
    s.upperAlarmHigh = u[0];
    s.upperAlarmLow = u[1];
    s.lowerAlarmHigh = l[0];
    s.lowerAlarmLow = l[1];
}

// A stopped QM320-HX that recorded three runs at 10 minutes into one-time memory.
void threeRuns(SimLogger& logger, const QDateTime& now) {
    SimLoggerState& s = logger.state();
    setName(s, "LAB1");
    setAlarms(s, 30, true, 10, false);
    s.memoryMode = 0;
    simmemory::writeRuns(s,
                         {{now.addDays(-10), 300}, {now.addDays(-7), 200}, {now.addDays(-3), 150}},
                         kUnitMinutes, 10, simmemory::indoorClimate);
}

// The demo logger: four runs at 10 min in one-time memory, the last one of `lastCount` records
// or, when negative, of every record due up to `now`. Returns the last run's start.
QDateTime demoLogger(SimLogger& logger, const QDateTime& now, int lastCount) {
    SimLoggerState& s = logger.state();
    setName(s, "DEMO");
    setAlarms(s, 28, true, 15, true);
    s.firmwareMajor = 1;
    s.firmwareMinor = 5;
    s.batteryReading = 905;
    const QDateTime base(now.date().addDays(-36), QTime(9, 0), Qt::UTC);
    const QDateTime last = base.addDays(25);
    const int count = lastCount >= 0 ? lastCount : static_cast<int>(last.secsTo(now) / 600 + 1);
    simmemory::writeRuns(s,
                         {{base, 900},
                          {base.addDays(8), 700},
                          {base.addDays(15).addSecs(3600 * 5), 800},
                          {last, count}},
                         kUnitMinutes, 10, simmemory::indoorClimate);
    return last;
}

const std::vector<Scenario>& catalogue() {
    static const std::vector<Scenario> scenarios{
        {"runs",
         "QM320-HX, stopped, one-time memory with three runs (300, 200, 150 records at 10 min)",
         threeRuns},
        {"wrapped",
         "QM320-HX, stopped, loop memory that has wrapped: one run of 15100 records at 1 min, "
         "record pointer 400",
         [](SimLogger& logger, const QDateTime& now) {
             SimLoggerState& s = logger.state();
             setName(s, "LOOP");
             setAlarms(s, 35, true, 5, true);
             s.memoryMode = 1;
             simmemory::writeRuns(s, {{now.addSecs(-15100 * 60), 15100}}, kUnitMinutes, 1,
                                  simmemory::indoorClimate);
         }},
        {"wrapped-twice",
         "QM320-HX, stopped, loop memory that has wrapped twice: one run of 31000 records at "
         "1 min, record pointer 4000",
         [](SimLogger& logger, const QDateTime& now) {
             SimLoggerState& s = logger.state();
             setName(s, "LOOP");
             s.memoryMode = 1;
             simmemory::writeRuns(s, {{now.addSecs(-31000 * 60), 31000}}, kUnitMinutes, 1,
                                  simmemory::indoorClimate);
         }},
        {"full", "QM320-HX, stopped, one-time memory full: 15000 records at 30 s",
         [](SimLogger& logger, const QDateTime& now) {
             SimLoggerState& s = logger.state();
             setName(s, "FULL");
             simmemory::writeRuns(s, {{now.addSecs(-15000 * 30), 15000}}, kUnitSeconds, 30,
                                  simmemory::indoorClimate);
         }},
        {"empty", "QM320-HX, stopped, nothing ever recorded (erased memory and start date)",
         [](SimLogger& logger, const QDateTime&) { simmemory::erase(logger.state()); }},
        {"qm400", "a QM400-HXA (a model the program refuses) with three runs",
         [](SimLogger& logger, const QDateTime& now) {
             threeRuns(logger, now);
             logger.state().model = "QM400-HXA";
         }},
        {"qm300", "a QM300-HX (no alarm bounds) with three runs",
         [](SimLogger& logger, const QDateTime& now) {
             threeRuns(logger, now);
             SimLoggerState& s = logger.state();
             s.model = "QM300-HX";
             s.upperAlarmHigh = s.upperAlarmLow = s.lowerAlarmHigh = s.lowerAlarmLow = 0;
         }},
        {"demo",
         "QM320-HX named DEMO, stopped, alarms 28 and 15 C on, four runs at 10 min "
         "(3000 records over five weeks)",
         [](SimLogger& logger, const QDateTime& now) { demoLogger(logger, now, 600); }},
        {"live",
         "the demo logger still recording its fourth run at 10 min (about 4000 records); "
         "records accumulate with the clock",
         [](SimLogger& logger, const QDateTime& now) {
             const QDateTime running = demoLogger(logger, now, -1);
             SimLoggerState& s = logger.state();
             const qint64 since = running.secsTo(now);
             s.status = kStatusRecording0;
             s.currentSegment = 3;
             s.secondsToNextRecord = static_cast<int>(600 - since % 600);
         }},
        {"recording",
         "QM320-HX recording at 10 s since an hour ago, loop memory; records accumulate with time",
         [](SimLogger& logger, const QDateTime& now) {
             SimLoggerState& s = logger.state();
             setName(s, "REC1");
             setAlarms(s, 30, true, 10, true);
             s.memoryMode = 1;
             s.intervalUnit = kUnitSeconds;
             s.intervalCount = 10;
             logger.setClock(now.addSecs(-3600));
             logger.beginRecording();
             logger.advanceTime(3600 * 1000);
         }},
        {"reserved",
         "QM320-HX with a reserved start tomorrow at 08:30 (5 min), old data already downloaded",
         [](SimLogger& logger, const QDateTime& now) {
             threeRuns(logger, now);
             SimLoggerState& s = logger.state();
             setName(s, "RSV1");
             s.downloaded = true;
             const QDate tomorrow = now.date().addDays(1);
             s.reserveDay = static_cast<std::uint8_t>(tomorrow.day());
             s.reserveHour = 8;
             s.reserveMinute = 30;
             s.intervalUnit = kUnitMinutes;
             s.intervalCount = 5;
             s.status = kStatusReserved;
         }},
        {"lowbattery",
         "QM320-HX whose recording ended on low voltage: battery 2.39 V, fault and stop bits",
         [](SimLogger& logger, const QDateTime& now) {
             threeRuns(logger, now);
             SimLoggerState& s = logger.state();
             s.batteryReading = 740;
             s.batteryLow = true;
             s.status = kStatusBatteryFault | kStatusLowVoltageStop;
         }},
        {"nodate", "QM320-HX with 100 records but an erased (invalid) start date",
         [](SimLogger& logger, const QDateTime& now) {
             SimLoggerState& s = logger.state();
             simmemory::writeRuns(s, {{now.addDays(-1), 100}}, kUnitMinutes, 1,
                                  simmemory::indoorClimate);
             s.startPacked.fill(0xFF);
         }},
    };
    return scenarios;
}

const Scenario* find(const QString& name) {
    for (const Scenario& scenario : catalogue()) {
        if (name == QLatin1String(scenario.name)) {
            return &scenario;
        }
    }
    return nullptr;
}

}  // namespace

QStringList names() {
    QStringList list;
    for (const Scenario& scenario : catalogue()) {
        list << QString::fromLatin1(scenario.name);
    }
    return list;
}

QString describe(const QString& name) {
    const Scenario* scenario = find(name);
    return scenario ? QString::fromLatin1(scenario->description) : QString();
}

bool apply(const QString& name, SimLogger& logger, const QDateTime& now) {
    const Scenario* scenario = find(name);
    if (!scenario) {
        return false;
    }
    logger.state() = SimLoggerState{};
    logger.setClock(now);
    scenario->build(logger, now);
    return true;
}

std::array<std::uint8_t, 2> alarmBytes(double temperature, bool enabled) {
    const int raw = simsensor::rawOfTemperature(temperature, false);
    return {static_cast<std::uint8_t>(((raw >> 8) & 0x7F) | (enabled ? 0x80 : 0)),
            static_cast<std::uint8_t>(raw & 0xFF)};
}

}  // namespace simscenario
