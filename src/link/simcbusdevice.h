// The simulator's device contract: the device is present while DIR/usb exists (its first line
// is the description), and every pulse appends its level in decimal to DIR/cbus.
#pragma once

#include "link/cbusdevice.h"

class SimCbusDevice : public CbusDevice {
  public:
    explicit SimCbusDevice(const QString& directory);

    Status describe(QString& description) override;
    Status pulse(std::uint8_t level) override;

  private:
    QString directory_;
};
