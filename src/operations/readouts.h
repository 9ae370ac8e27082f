// Where the logger model's replies show besides the logger picture: the battery and clock
// labels, the measured-value read-outs, and a completed real-time sample on display.
#pragma once

#include "link/loggermodel.h"
#include "operations/context.h"

class Readouts : public LoggerView {
  public:
    explicit Readouts(Context& context);
    ~Readouts() override;

    void batteryLabel(const QString& text, bool low) override;
    void clockLabel(const QString& text) override;
    void realTimeReadout(const RealTimeReadout& readout) override;
    void realTimeSampleAdded() override;

  private:
    Context& c_;
};
