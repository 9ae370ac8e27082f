// The download against a logger whose memory and status are the input, in either transfer
// mode, one-time or wrapped loop memory, with a stall or a cancel on request; every result is
// checked against what the memory image says the log data set must hold.
//
// Input: flags (bit 0 normal mode, bit 1 loop memory, bits 2-3 wrap count, bit 4 the logger
// goes silent after N records, bit 5 the user cancels at record N, bit 6 the recording start
// is sent as given), N, record pointer (2 bytes), recording start (6 bytes: packed as given,
// or else year, month, day, hour, minute, second folded into a valid date, as a start that is
// no date makes every download read the whole segment table), interval unit and value, upper and
// lower alarm (2 bytes each), the number of segment table entries, the entries (8 bytes each), then
// the record memory. Entries past those given read as an end marker. The logger's record memory is
// the input's records (at least one), so wrapped memory is reached without a full-size transfer.
#include <QDebug>
#include <span>

#include "downloadrules.h"
#include "fuzzsession.h"
#include "link/protocol.h"

namespace {

constexpr std::size_t kHeaderBytes = 17;
// Enough records for several runs and a wrap; each costs the transfer, the dating and the
// conversion, so more would only slow the search.
constexpr std::size_t kMaxImageBytes = 64 * kRecordBytes;
constexpr std::array<std::uint8_t, kSegmentEntryBytes> kEndMarker{0x00, 0x01, 0x01, 0, 0, 0, 0, 0};

class ImageLogger {
  public:
    explicit ImageLogger(std::span<const std::uint8_t> in) {
        std::array<std::uint8_t, kHeaderBytes> h{};
        std::copy_n(in.begin(), std::min(in.size(), h.size()), h.begin());
        in = in.subspan(std::min(in.size(), h.size()));
        normalMode_ = (h[0] & 0x01) != 0;
        memoryMode_ = (h[0] >> 1) & 0x01;
        wrapped_ = (h[0] >> 2) & 0x03;
        stall_ = (h[0] & 0x10) != 0;
        cancel_ = (h[0] & 0x20) != 0;
        limit_ = h[1];
        std::copy_n(h.begin() + 4, 6, start_.begin());
        if ((h[0] & 0x40) == 0) {
            const std::array<int, 6> ranges{100, 12, 28, 24, 60, 60};
            const std::array<int, 6> first{0, 1, 1, 0, 0, 0};
            for (std::size_t i = 0; i < start_.size(); ++i) {
                const int v = first[i] + start_[i] % ranges[i];
                start_[i] = static_cast<std::uint8_t>(v / 10 * 16 + v % 10);
            }
        }
        intervalUnit_ = h[10];
        intervalValue_ = h[11];
        std::copy_n(h.begin() + 12, 4, alarms_.begin());
        const std::size_t entries = std::min<std::size_t>(h[16], in.size() / kSegmentEntryBytes);
        table_.assign(in.begin(), in.begin() + entries * kSegmentEntryBytes);
        in = in.subspan(table_.size());
        records_.assign(in.begin(), in.begin() + std::min(in.size(), kMaxImageBytes));
        memoryRecords_ = std::max<int>(1, static_cast<int>(records_.size()) / kRecordBytes);
        // Pointers a full-size memory could hold are folded into this one; larger ones stay,
        // and the download must refuse them.
        pointer_ = h[2] * 256 + h[3];
        if (pointer_ <= kMemoryBytes) {
            pointer_ %= memoryRecords_ * kRecordBytes + 1;
        }
    }

    bool normalMode() const { return normalMode_; }
    int memoryRecords() const { return memoryRecords_; }
    bool cancelAt(int records) const { return cancel_ && records == limit_; }
    // Whether the logger kept back anything it was asked for.
    bool withheld() const { return withheld_; }

    std::uint8_t byteAt(int address) const {
        if (address >= kSegmentTableAddress) {
            const auto at = static_cast<std::size_t>(address - kSegmentTableAddress);
            return at < table_.size() ? table_[at] : kEndMarker[at % kSegmentEntryBytes];
        }
        const auto at = static_cast<std::size_t>(address);
        return at < records_.size() ? records_[at] : 0xFF;
    }

    QByteArray answer(const QByteArray& frame) {
        if (frame.size() != Protocol::kFrameBytes) {
            return {};
        }
        const auto byte = [&](int i) { return static_cast<std::uint8_t>(frame[i]); };
        const int command = Protocol::decodeValue(byte(2), byte(3));
        const int arg1 = Protocol::decodeValue(byte(4), byte(5));
        const int arg2 = Protocol::decodeValue(byte(6), byte(7));
        const auto data = [command](int r2, int r3) { return replyFrame(1, command, r2, r3); };
        switch (static_cast<Command>(command)) {
            case Command::Identify:
                return QByteArray("QM320-HX\x01\x02\xFF", 11);
            case Command::ReadMemory:
                return memoryReply(arg1 * 256 + arg2);
            case Command::StreamRecords:
                return stream(arg1 * 256 + arg2);
            case Command::ReadSetting:
                return setting(command, arg1);
            case Command::GetRecordBytes:
                return data(pointer_ / 256, pointer_ % 256);
            case Command::GetInterval:
                return data(intervalUnit_, intervalValue_);
            case Command::GetUpperAlarm:
                return data(alarms_[0], alarms_[1]);
            case Command::GetLowerAlarm:
                return data(alarms_[2], alarms_[3]);
            case Command::GetMemoryMode:
                return data(memoryMode_, wrapped_);
            default:
                return data(0, 0);
        }
    }

  private:
    QByteArray setting(int command, int address) const {
        const auto data = [command](int r2, int r3) { return replyFrame(1, command, r2, r3); };
        switch (address) {
            case kSettingStartYearMonth:
                return data(start_[0], start_[1]);
            case kSettingStartDayHour:
                return data(start_[2], start_[3]);
            case kSettingStartMinuteSecond:
                return data(start_[4], start_[5]);
            case kSettingRecordBytes:
                return data(pointer_ / 256, pointer_ % 256);
            case kSettingInterval:
                return data(intervalUnit_, intervalValue_);
            default:
                return data(0, 0);
        }
    }

    QByteArray memoryReply(int address) {
        if (stall_ && address < kSegmentTableAddress && address / kRecordBytes >= limit_) {
            withheld_ = true;
            return {};
        }
        return replyFrame(byteAt(address), byteAt(address + 1), byteAt(address + 2),
                          byteAt(address + 3));
    }

    QByteArray stream(int end) {
        QByteArray bytes;
        for (int a = 0; a < end && a < kSegmentTableAddress; a += kRecordBytes) {
            const QByteArray record = memoryReply(a);
            if (record.isEmpty()) {
                break;
            }
            bytes += record;
        }
        return bytes;
    }

    bool normalMode_ = false;
    std::uint8_t memoryMode_ = 0;
    std::uint8_t wrapped_ = 0;
    bool stall_ = false;
    bool cancel_ = false;
    int limit_ = 0;
    int pointer_ = 0;
    int memoryRecords_ = 1;
    std::array<std::uint8_t, 6> start_{};
    std::uint8_t intervalUnit_ = 0;
    std::uint8_t intervalValue_ = 0;
    std::array<std::uint8_t, 4> alarms_{};
    std::vector<std::uint8_t> table_;
    std::vector<std::uint8_t> records_;
    bool withheld_ = false;
};

class CancellingView : public DownloadView {
  public:
    CancellingView(const ImageLogger& logger, Download& download)
        : logger_(logger), download_(download) {}

    void progress(int value, int, const QString&) override {
        if (logger_.cancelAt(value)) {
            download_.Download_Cancel();
        }
    }
    void downloadFinished() override { finished = true; }
    void downloadFailed() override {}

    bool finished = false;

  private:
    const ImageLogger& logger_;
    Download& download_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzSession s;
    ImageLogger logger({data, size});
    CancellingView view(logger, s.session.download());
    s.session.setDownloadView(&view);
    s.port.responder = [&logger](const QByteArray& frame) { return logger.answer(frame); };
    s.session.state().Download_Mode = logger.normalMode() ? 1 : 0;
    s.session.download().setMemoryRecords(logger.memoryRecords());
    s.session.download().start();
    // Replies are polled while they arrive; a silent logger meets its timeouts and the watchdog.
    for (int guard = 0; guard < 100000 && s.engine.busy(); ++guard) {
        if (s.port.bytesWaiting() > 0) {
            s.timers.fire(TimerId::InputTimer);
            continue;
        }
        bool ticked = false;
        for (TimerId id : {TimerId::TimeOut, TimerId::DownloadTimer}) {
            if (s.timers.isArmed(id)) {
                s.timers.fire(id);
                ticked = true;
            }
        }
        if (!ticked) {
            break;
        }
    }
    s.drain();
    DataSet& logData = s.session.dataSet(LogData);
    const auto expected = downloadrules::expectedDownload(
        [&logger](int address) { return logger.byteAt(address); }, s.session.state(),
        logData.interval, logger.memoryRecords());
    const QString broken = downloadrules::violation(
        expected, logData, {view.finished, s.session.download().cancelled(), !logger.withheld()});
    if (!broken.isEmpty()) {
        qFatal("download: %s", qPrintable(broken));
    }
    s.session.setDownloadView(nullptr);
    return 0;
}
