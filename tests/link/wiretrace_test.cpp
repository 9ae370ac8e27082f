// The wire trace: the ring keeps the newest 50000 events, the file holds every event as a JSON
// line the reader takes back, the reader refuses a bad line by its number, and the real port
// and the device record what crossed the line against logger-sim over a pseudo-terminal.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

#include "link/cbusdevice.h"
#include "link/commandqueue.h"
#include "link/eventloopwaiter.h"
#include "link/protocol.h"
#include "link/qtserialport.h"
#include "link/tracelines.h"
#include "link/wiretrace.h"
#include "simrig.h"

namespace {

using Event = WireTrace::Event;

QByteArray numbered(int i) {
    return QByteArray::number(i);
}

TEST(WireTrace, TheRingKeepsTheNewestEventsAndDropsTheOldest) {
    WireTrace trace;
    const int total = static_cast<int>(WireTrace::kRingEvents) + 7;
    for (int i = 0; i < total; ++i) {
        trace.written(numbered(i));
    }
    EXPECT_EQ(trace.size(), WireTrace::kRingEvents);
    EXPECT_EQ(trace.dropped(), 7U);
    const std::vector<WireTrace::Record> records = trace.records();
    EXPECT_EQ(records.front().bytes, numbered(7));
    EXPECT_EQ(records.back().bytes, numbered(total - 1));
    EXPECT_LE(records.front().tUs, records.back().tUs);
}

TEST(WireTrace, TheFileHoldsEveryEventSinceItWasGivenAsLinesTheReaderTakes) {
    QTemporaryDir dir;
    // A ring much smaller than the run: the file must not lose what the ring dropped.
    WireTrace trace(8);
    trace.written(QByteArray("before the file"));
    QString error;
    ASSERT_TRUE(trace.writeTo(dir.filePath(QStringLiteral("t.jsonl")), error))
        << error.toStdString();
    trace.portOpened(3, QStringLiteral("57600,n,8,1"), true);
    trace.procedureStarted(static_cast<std::uint8_t>(ProcedureKind::Download));
    const QByteArray frame = Protocol::frameBytes(kCommandKind, code(Command::GetStatus), 0, 0);
    trace.written(frame);
    trace.arrived(QByteArray("\x00\x01\"\\", 4));
    trace.refusal(code(Command::GetStatus), 2);
    trace.timeOut(code(Command::ReadMemory), 4);
    trace.retry(code(Command::ReadMemory));
    trace.cbusPulse(0xFF, 0);
    trace.usbStatus(2);
    trace.usbStatus(2);  // no change, no event
    trace.failed(1118, 1119);
    trace.recovered(3, false);
    trace.watchdog();
    trace.procedureEnded();
    trace.portClosed(3);
    // Batches are written on the writer's thread; stopping waits for them.
    trace.stopWriting();

    QFile file(dir.filePath(QStringLiteral("t.jsonl")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const traceLines::ReadResult read = traceLines::read(file.readAll());
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    QStringList events;
    for (const traceLines::Line& line : read.lines) {
        events << line.ev;
    }
    EXPECT_EQ(events.join(' '),
              QStringLiteral("open proc_start tx rx refusal timeout retry cbus usb fail recover "
                             "watchdog proc_end close"));
    const auto value = [&](int index, const char* key) {
        return read.lines[static_cast<std::size_t>(index)].object.value(QLatin1String(key));
    };
    EXPECT_EQ(value(0, "settings").toString(), QStringLiteral("57600,n,8,1"));
    EXPECT_EQ(value(0, "port").toInt(), 3);
    EXPECT_TRUE(value(0, "ok").toBool());
    EXPECT_EQ(value(1, "proc").toString(), QStringLiteral("download"));
    EXPECT_EQ(read.lines[2].bytes, frame);
    EXPECT_EQ(value(2, "cmd").toString(), QStringLiteral("GetStatus"));
    EXPECT_EQ(read.lines[3].bytes, QByteArray("\x00\x01\"\\", 4));
    EXPECT_EQ(value(4, "count").toInt(), 2);
    EXPECT_EQ(value(5, "cmd").toString(), QStringLiteral("ReadMemory"));
    EXPECT_EQ(value(7, "level").toInt(), 255);
    EXPECT_EQ(value(8, "status").toInt(), 2);
    EXPECT_EQ(value(9, "msg").toArray().at(1).toInt(), 1119);
    EXPECT_FALSE(value(10, "ok").toBool());
    // The ring holds only the newest eight, and they read back the same.
    EXPECT_EQ(trace.size(), 8U);
    const traceLines::ReadResult ring = traceLines::read(trace.jsonLines());
    ASSERT_TRUE(ring.ok());
    EXPECT_EQ(ring.lines.front().ev, QStringLiteral("retry"));
}

struct BadTrace {
    const char* why;
    QByteArray text;
    int line;
};

TEST(TraceLines, ABadLineRefusesTheTraceByItsNumber) {
    const QByteArray good = "{\"t_us\":5,\"ev\":\"tx\",\"hex\":\"0001001e00000000ff\"}\n";
    const BadTrace cases[] = {
        {"cut off", good + "{\"t_us\":6,\"ev\":\"rx\",\"he", 2},
        {"not JSON", good + good + "t_us=7 rx 00\n", 3},
        {"blank line", good + "\n" + good, 2},
        {"odd hex", good + "{\"t_us\":6,\"ev\":\"rx\",\"hex\":\"abc\"}\n", 2},
        {"not hex", good + "{\"t_us\":6,\"ev\":\"rx\",\"hex\":\"zz\"}\n", 2},
        {"no bytes", "{\"t_us\":6,\"ev\":\"tx\",\"hex\":\"\"}\n", 1},
        {"no time", "{\"ev\":\"close\",\"port\":1}\n", 1},
        {"fractional time", "{\"t_us\":1.5,\"ev\":\"close\"}\n", 1},
        {"negative time", "{\"t_us\":-1,\"ev\":\"close\"}\n", 1},
        {"time going back", good + "{\"t_us\":4,\"ev\":\"close\"}\n", 2},
        {"unknown event", "{\"t_us\":1,\"ev\":\"reboot\"}\n", 1},
        {"an array", "[1,2]\n", 1},
        {"too long",
         "{\"t_us\":1,\"ev\":\"rx\",\"hex\":\"" +
             QByteArray(2 * traceLines::kMaxChunkBytes + 2, 'a') + "\"}\n",
         1},
        {"line too long", good + QByteArray(traceLines::kMaxLineBytes + 1, ' ') + "\n", 2},
    };
    for (const BadTrace& bad : cases) {
        const traceLines::ReadResult result = traceLines::read(bad.text);
        EXPECT_TRUE(result.lines.empty()) << bad.why;
        EXPECT_TRUE(result.error.startsWith(QStringLiteral("line %1: ").arg(bad.line)))
            << bad.why << ": " << result.error.toStdString();
    }
    const traceLines::ReadResult fine = traceLines::read(good + good);
    EXPECT_TRUE(fine.ok());
    EXPECT_EQ(fine.lines.size(), 2U);
}

TEST(TraceLines, FramesAreNamedByTheirCommand) {
    EXPECT_EQ(traceLines::frameCommand(Protocol::frameBytes(1, 99, 0, 0)), 99);
    EXPECT_EQ(traceLines::frameCommand(Protocol::frameBytes(1, 255, 7, 0)), 255);
    EXPECT_EQ(traceLines::frameCommand(QByteArray("INITALL\xff")), -1);
    EXPECT_EQ(traceLines::describeBytes(Protocol::frameBytes(1, 44, 0, 0)),
              QStringLiteral("StreamRecords (00 01 00 44 00 00 00 00 ff)"));
    EXPECT_EQ(traceLines::describeBytes(Protocol::frameBytes(1, 200, 0, 0)),
              QStringLiteral("command 200 (00 01 02 00 00 00 00 00 ff)"));
}

// The records added to the program's full trace since it had dropped `dropped`.
std::vector<WireTrace::Record> since(std::uint64_t dropped) {
    const std::vector<WireTrace::Record> all = wireTrace().records();
    const auto added = static_cast<std::ptrdiff_t>(wireTrace().dropped() - dropped);
    return {all.end() - std::min<std::ptrdiff_t>(added, std::ssize(all)), all.end()};
}

TEST(WireTracePty, ThePortAndTheDeviceRecordWhatCrossedTheLine) {
    PtySimRig simulator;
    if (PtySimRig::program().isEmpty()) {
        GTEST_SKIP() << "VELTRANE_SIM names no simulator program";
    }
    ASSERT_TRUE(simulator.start());
    // Filled up, the ring counts what it drops: that count tells the test's own events.
    while (wireTrace().size() < WireTrace::kRingEvents) {
        wireTrace().watchdog();
    }
    const std::uint64_t dropped = wireTrace().dropped();

    std::unique_ptr<CbusDevice> device = makeCbusDevice();
    EventLoopWaiter waiter;
    pulseReset(*device, waiter);
    QtSerialPortAdapter port;
    EXPECT_FALSE(port.open(2, QStringLiteral("57600,n,8,1")));
    ASSERT_TRUE(port.open(1, QStringLiteral("57600,n,8,1")));
    const QByteArray identify = Protocol::frameBytes(kCommandKind, code(Command::Identify), 0, 0);
    ASSERT_TRUE(port.write(identify));
    QByteArray reply;
    ASSERT_TRUE(waitUntil(
        [&] {
            std::uint8_t byte = 0;
            while (port.bytesWaiting() > 0 && port.readByte(byte)) {
                reply += static_cast<char>(byte);
            }
            return reply.endsWith('\xff');
        },
        5000));
    port.close();

    QByteArray arrived;
    QStringList events;
    for (const WireTrace::Record& record : since(dropped)) {
        const QByteArray line = WireTrace::formatLine(record);
        events << traceLines::read(line).lines.at(0).ev;
        if (record.event == Event::Rx) {
            arrived += record.bytes;
        }
        if (record.event == Event::Tx) {
            EXPECT_EQ(record.bytes, identify);
        }
        if (record.event == Event::Open) {
            EXPECT_EQ(record.b != 0, record.a == 1) << "port " << record.a;
        }
    }
    EXPECT_EQ(arrived, reply);
    events.removeDuplicates();
    EXPECT_EQ(events.join(' ').remove(QStringLiteral("usb ")),
              QStringLiteral("cbus open tx rx close"));
}

}  // namespace
