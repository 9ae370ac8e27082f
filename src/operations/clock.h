// The clock of the real-time measurement: a steady millisecond count that decides when a
// measurement falls due, and the present date-time that dates each sample. Tests drive one by
// hand on simulated time.
#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds on a clock that never jumps; only differences mean anything.
    virtual qint64 steadyMs() const = 0;
    // The present date-time as days since 1899-12-30.
    virtual double now() const = 0;
};

class SystemClock : public Clock {
  public:
    SystemClock() { steady_.start(); }
    qint64 steadyMs() const override { return steady_.elapsed(); }
    double now() const override;

  private:
    QElapsedTimer steady_;
};
