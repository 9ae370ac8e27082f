// The status as the command line prints it: typed JSON values and the caption lines, from
// the panel's value of chosen logger states.
#include <gtest/gtest.h>

#include <QJsonDocument>

#include "data/datetime.h"
#include "operations/statusreport.h"

namespace {

QJsonObject parse(const char* json) {
    return QJsonDocument::fromJson(QByteArray(json)).object();
}

TEST(StatusReport, JsonCarriesTypedValuesAndNullForWhatIsUnknown) {
    MessageTable messages;
    messages.fillEnglish();
    const struct {
        const char* name;
        bool connected;
        std::function<void(LoggerState&)> setup;
        const char* json;
    } cases[] = {
        {"stopped QM320-HX", true, nullptr,
         R"({"connected": true, "port": 3, "model": "QM320-HX", "name": "AB", "state": "stopped",
             "battery_volts": 3, "battery_good": true, "voltage_stop": false,
             "beginning": "2025-03-14T09:30:05", "start_unreadable": false,
             "reserved_start": null, "points": 100, "interval_seconds": 600, "loop": true,
             "upper_bound": {"on": true, "degrees": 30},
             "lower_bound": {"on": false, "degrees": -5}, "downloaded": false})"},
        {"reserved QM300-HX on a weak battery", true,
         [](LoggerState& s) {
             s.Machine_N_P = kModelQM300;
             s.recordState = RecordState::Reserved;
             s.Battery_Volts = QStringLiteral("2.39");
             s.Stop_Flag = QStringLiteral("Stop");
         },
         R"({"connected": true, "port": 3, "model": "QM300-HX", "name": "AB",
             "state": "reserved", "battery_volts": 2.39, "battery_good": false,
             "voltage_stop": false, "beginning": null, "start_unreadable": false,
             "reserved_start": {"day": 5, "hour": 9, "minute": 30}, "points": 0,
             "interval_seconds": 90, "loop": true, "upper_bound": null, "lower_bound": null,
             "downloaded": false})"},
        {"records under an unreadable start", true,
         [](LoggerState& s) {
             s.Start_Time = 0;
             s.Battery_Volts = QStringLiteral("--");
         },
         R"({"connected": true, "port": 3, "model": "QM320-HX", "name": "AB", "state": "stopped",
             "battery_volts": null, "battery_good": false, "voltage_stop": false,
             "beginning": null, "start_unreadable": true, "reserved_start": null,
             "points": 100, "interval_seconds": 600, "loop": true,
             "upper_bound": {"on": true, "degrees": 30},
             "lower_bound": {"on": false, "degrees": -5}, "downloaded": false})"},
        {"no logger", false, nullptr,
         R"({"connected": false, "port": null, "model": "Veltrane", "name": null,
             "state": "stopped", "battery_volts": null, "battery_good": null,
             "voltage_stop": false, "beginning": null, "start_unreadable": false,
             "reserved_start": null, "points": null, "interval_seconds": null, "loop": null,
             "upper_bound": null, "lower_bound": null, "downloaded": false})"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoggerState state;
        state.Machine_N_P = kModelQM320;
        state.VT_Name = QStringLiteral("AB  ");
        state.Battery_Volts = QStringLiteral("3.00");
        state.Start_Time = datetime::fromDateAndTime(QDate(2025, 3, 14), QTime(9, 30, 5));
        state.Record_Pointer = 400;
        state.Memory_Mode = 1;
        state.Current_Interval_Sec = 90;
        state.Reserve_Day = 5;
        state.Reserve_Hour = 9;
        state.Reserve_Minute = 30;
        if (c.setup) {
            c.setup(state);
        }
        DataSet log;
        log.interval = 600;
        log.upperOn = 1;
        log.upperBound = 30;
        log.lowerBound = -5;
        log.neverDownloaded = true;
        const StatusView view = buildStatusView(
            {.state = state, .log = log, .portOpen = c.connected, .portNumber = 3}, messages);
        const QJsonObject expected = parse(c.json);
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(statusJson(view), expected)
            << QJsonDocument(statusJson(view)).toJson().toStdString();

        if (c.setup == nullptr && c.connected) {
            EXPECT_EQ(statusLines(view, messages),
                      QByteArray("Model: QM320-HX\n"
                                 "Recognition name: AB\n"
                                 "Operation: Record stop\n"
                                 "Battery: 3.00 V\n"
                                 "Beginning date: 2025/03/14 09:30:05\n"
                                 "Recording points: 100 point\n"
                                 "Record interval: 10 Min\n"
                                 "Record mode: Loop\n"
                                 "Upper bound temperature setting: 30 C\n"
                                 "Lower bound temperature setting: OFF\n"
                                 "There is data never downloaded.\n"));
        }
    }
}

}  // namespace
