// The reply byte stream of a hostile logger through the command engine: one procedure is
// started, then the input decides which bytes arrive in which pieces and when the timers fire.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzzsession.h"
#include "link/loggermodel.h"

namespace {

void startProcedure(FuzzSession& s, int which) {
    Engine& engine = s.engine;
    if (which >= 3) {
        s.session.state().Download_Mode = static_cast<std::uint8_t>(which - 3);
        s.session.download().start();
        return;
    }
    engine.begin();
    const ProcedureKind keyword = ProcedureKind::None;
    const bool queued = which == 0   ? enqueueStatusRead(engine, keyword)
                        : which == 1 ? enqueueClockRead(engine, keyword)
                                     : enqueueMeasurement(engine, keyword);
    if (queued) {
        engine.SendCurrent();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    FuzzSession s;
    startProcedure(s, in.ConsumeIntegralInRange(0, 4));
    for (int step = 0; step < 4000 && in.remaining_bytes() > 0 && s.engine.busy(); ++step) {
        switch (in.ConsumeIntegralInRange(0, 7)) {
            case 5:
                s.timers.fire(TimerId::TimeOut);
                break;
            case 6:
                s.timers.fire(TimerId::DownloadTimer);
                break;
            case 7:
                s.session.download().Download_Cancel();
                break;
            default: {
                const std::string piece =
                    in.ConsumeBytesAsString(in.ConsumeIntegralInRange(0, 160));
                s.port.deliver(QByteArray(piece.data(), static_cast<qsizetype>(piece.size())),
                               false);
                s.timers.fire(TimerId::InputTimer);
            }
        }
    }
    s.drain();
    return 0;
}
