// The identify reply and the status, clock and measurement read replies into the logger
// model: any sequence of commands, each with any reply bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

#include "data/dataset.h"
#include "fuzzsession.h"
#include "link/loggermodel.h"
#include "link/protocol.h"

namespace {

// The entries of the status read, clock read and measurement batches, as the engine queues them.
const std::vector<CommandEntry>& askedEntries() {
    static const std::vector<CommandEntry> entries = [] {
        FuzzSession s;
        std::vector<CommandEntry> all;
        const ProcedureKind keyword = ProcedureKind::None;
        for (auto batch : {enqueueStatusRead, enqueueClockRead, enqueueMeasurement}) {
            s.engine.begin();
            batch(s.engine, keyword, 0);
            const CommandQueue& queue = s.engine.queue();
            all.insert(all.end(), queue.Entries.begin(), queue.Entries.begin() + queue.Count);
        }
        s.engine.begin();
        return all;
    }();
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    LoggerState state;
    DataSet header;
    while (in.remaining_bytes() > 0) {
        const auto& entries = askedEntries();
        CommandEntry entry = entries[in.ConsumeIntegralInRange<std::size_t>(0, entries.size() - 1)];
        // A setting read keeps its address; other replies are tried against any argument.
        if (entry.Code != code(Command::ReadSetting)) {
            entry.Arg1 = in.ConsumeIntegral<std::uint8_t>();
        }
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
