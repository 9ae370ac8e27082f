// The identify reply and the status, clock and measurement read replies into the logger
// model: any sequence of commands, each with any reply bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <span>

#include "data/dataset.h"
#include "fuzzsession.h"
#include "link/loggermodel.h"
#include "link/protocol.h"

namespace {

struct Asked {
    Command command;
    std::uint8_t arg1 = 0;
};

constexpr std::array<Asked, 26> kAsked{{
    {Command::Identify},
    {Command::GetName12},
    {Command::GetName34},
    {Command::GetStatus},
    {Command::ReadSetting, kSettingStartYearMonth},
    {Command::ReadSetting, kSettingStartDayHour},
    {Command::ReadSetting, kSettingStartMinuteSecond},
    {Command::ReadSetting, kSettingRecordBytes},
    {Command::ReadSetting, kSettingInterval},
    {Command::GetRecordBytes},
    {Command::GetReserveDay},
    {Command::GetReserveHour},
    {Command::GetReserveMinute},
    {Command::GetInterval},
    {Command::GetUpperAlarm},
    {Command::GetLowerAlarm},
    {Command::GetMemoryMode},
    {Command::GetBatteryVoltage},
    {Command::GetDownloaded},
    {Command::GetClockMonthYear},
    {Command::GetClockHourDay},
    {Command::GetClockSecondMinute},
    {Command::GetBatteryLow},
    {Command::MeasureTemperature},
    {Command::MeasureHumidity},
    {Command::ReadSetting, 0},
}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    LoggerState state;
    DataSet header;
    while (in.remaining_bytes() > 0) {
        const Asked asked = kAsked[in.ConsumeIntegralInRange<std::size_t>(0, kAsked.size() - 1)];
        CommandEntry entry;
        entry.Code = code(asked.command);
        entry.Arg1 =
            asked.command == Command::ReadSetting ? asked.arg1 : in.ConsumeIntegral<std::uint8_t>();
        entry.Keyword = QStringLiteral("fuzz");
        const std::string body = in.ConsumeBytesAsString(in.ConsumeIntegralInRange(0, 24));
        Reply reply;
        reply.raw = QByteArray(body.data(), static_cast<qsizetype>(body.size()));
        const auto decoded = Protocol::decodeReply(Protocol::bytesOf(reply.raw));
        if (decoded.status == Protocol::ReplyStatus::Ok) {
            reply.r = decoded.r;
        }
        applyReply(state, header, entry, reply, fuzzMessages());
    }
    return 0;
}
