// The wire trace: every event of the link kept as a compact record in a ring of the last
// 50000, always on, so a diagnostic report can hold this run's conversation with the logger.
// With a file the records are also written out as JSON lines (format in tracelines.h), in
// batches at the end of each procedure, when a port closes and at exit, never per event; a
// batch is formatted and written on a thread of its own, so a download does not wait for it.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QThreadPool>
#include <cstdint>
#include <vector>

class WireTrace {
  public:
    enum class Event : std::uint8_t {
        Open,
        Close,
        Tx,
        Rx,
        Cbus,
        Usb,
        ProcStart,
        ProcEnd,
        Refusal,
        TimeOut,
        Retry,
        Fail,
        Recover,
        Watchdog,
    };

    // One event; what `code`, `a` and `b` hold depends on the event (see formatLine).
    struct Record {
        std::int64_t tUs = 0;
        Event event = Event::Open;
        std::uint8_t code = 0;
        std::int32_t a = 0;
        std::int32_t b = 0;
        QByteArray bytes;
    };

    static constexpr std::size_t kRingEvents = 50000;

    explicit WireTrace(std::size_t capacity = kRingEvents);
    ~WireTrace();
    WireTrace(const WireTrace&) = delete;
    WireTrace& operator=(const WireTrace&) = delete;

    void portOpened(int port, const QString& settings, bool ok);
    void portClosed(int port);
    void written(const QByteArray& bytes);
    void arrived(QByteArray bytes);
    void cbusPulse(std::uint8_t level, int status);
    // Recorded only when the status differs from the last one seen.
    void usbStatus(int status);
    void procedureStarted(std::uint8_t keyword);
    void procedureEnded();
    void refusal(std::uint8_t command, int inARow);
    void timeOut(std::uint8_t command, int inARow);
    void retry(std::uint8_t command);
    void failed(int firstMessage, int secondMessage);
    void recovered(int port, bool ok);
    void watchdog();

    // Writes every event from now on to `path` as well (truncating it); false with the reason.
    bool writeTo(const QString& path, QString& error);
    // Writes out what the file does not have yet.
    void flush();
    // Flushes and closes the file; the ring goes on.
    void stopWriting();

    // The ring, oldest first.
    std::vector<Record> records() const;
    // The ring as JSON lines.
    QByteArray jsonLines() const;
    std::size_t size() const { return ring_.size(); }
    std::uint64_t dropped() const { return dropped_; }
    static QByteArray formatLine(const Record& record);
    // The same line appended to `out`.
    static void appendLine(QByteArray& out, const Record& record);

  private:
    void add(Event event, std::uint8_t code, std::int32_t a, std::int32_t b, QByteArray bytes);
    const Record& at(std::size_t oldestFirst) const;

    std::size_t capacity_;
    std::vector<Record> ring_;
    std::size_t next_ = 0;  // where the next record goes once the ring is full
    std::uint64_t dropped_ = 0;
    // Records the file does not hold yet (the newest ones).
    std::size_t unwritten_ = 0;
    int lastUsbStatus_ = -1;
    QElapsedTimer clock_;
    // Touched only by the writer thread while a file is open; opened and closed with no batch
    // in flight.
    QFile file_;
    bool writing_ = false;
    // One thread, so batches reach the file in order.
    QThreadPool writer_;
};

// The program's one trace, shared by the port, the engine and the device like the link's log.
WireTrace& wireTrace();
