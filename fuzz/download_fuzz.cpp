// The download decoding against a logger whose memory is the input: the answers of the status
// read (record pointer, counts, start date, memory mode), the segment table image and the
// record memory image, in one-read-per-record or streamed mode.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzzsession.h"
#include "link/protocol.h"

namespace {

// A device that answers every command from the three images of the input.
class ImageDevice {
  public:
    explicit ImageDevice(FuzzedDataProvider& in)
        : status_(in.ConsumeBytes<std::uint8_t>(80)),
          table_(in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange(0, kMaxSegments * 8))),
          records_(in.ConsumeRemainingBytesAsString()) {}

    QByteArray answer(const QByteArray& frame) {
        if (frame.size() != Protocol::kFrameBytes) {
            return {};
        }
        const auto byte = [&](int i) { return static_cast<std::uint8_t>(frame[i]); };
        const int command = Protocol::decodeValue(byte(2), byte(3));
        const int address =
            Protocol::decodeValue(byte(4), byte(5)) * 256 + Protocol::decodeValue(byte(6), byte(7));
        if (command == code(Command::Identify)) {
            return QByteArray("QM320-HX\x01\x02\xFF", 11);
        }
        if (command == code(Command::ReadMemory)) {
            return memoryReply(address);
        }
        if (command == code(Command::StreamRecords)) {
            QByteArray stream;
            for (int a = 0; a < address && a < kMemoryBytes; a += kRecordBytes) {
                stream += memoryReply(a);
            }
            return stream;
        }
        // Every other command takes the next four status bytes, in the order they are asked.
        const std::size_t at = status_.empty() ? 0 : (asked_++ * 4) % status_.size();
        return replyFrame(statusByte(at), statusByte(at + 1), statusByte(at + 2),
                          statusByte(at + 3));
    }

  private:
    int statusByte(std::size_t i) const { return i < status_.size() ? status_[i] : 0; }

    QByteArray memoryReply(int address) const {
        int r[4];
        for (int i = 0; i < 4; ++i) {
            const int a = address + i;
            if (a >= kSegmentTableAddress) {
                const auto at = static_cast<std::size_t>(a - kSegmentTableAddress);
                r[i] = at < table_.size() ? table_[at] : 0xFF;
            } else {
                r[i] = records_.empty()
                           ? 0
                           : static_cast<std::uint8_t>(
                                 records_[static_cast<std::size_t>(a) % records_.size()]);
            }
        }
        return replyFrame(r[0], r[1], r[2], r[3]);
    }

    std::vector<std::uint8_t> status_;
    std::vector<std::uint8_t> table_;
    std::string records_;
    std::size_t asked_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    FuzzSession s;
    const auto mode = static_cast<std::uint8_t>(in.ConsumeBool() ? 1 : 0);
    ImageDevice device(in);
    s.port.responder = [&device](const QByteArray& frame) { return device.answer(frame); };
    s.session.state().Download_Mode = mode;
    s.session.download().start();
    for (int guard = 0; guard < 200000 && s.engine.busy() && s.port.bytesWaiting() > 0; ++guard) {
        s.timers.fire(TimerId::InputTimer);
    }
    s.drain();
    return 0;
}
