// Chooses the simulator's device contract or the real USB device; the reset pulse.
#include "link/cbusdevice.h"

#include "link/linklog.h"
#include "link/simcbusdevice.h"
#include "link/usbcbusdevice.h"
#include "link/waiter.h"
#include "link/wiretrace.h"

namespace {

// Every status the device reports goes to the wire trace, which keeps only the changes.
class TracedCbusDevice : public CbusDevice {
  public:
    explicit TracedCbusDevice(std::unique_ptr<CbusDevice> device) : device_(std::move(device)) {}

    Status describe(QString& description) override {
        return traced(device_->describe(description));
    }
    Status pulse(std::uint8_t level) override { return traced(device_->pulse(level)); }

  private:
    static Status traced(Status status) {
        wireTrace().usbStatus(status);
        return status;
    }

    std::unique_ptr<CbusDevice> device_;
};

}  // namespace

std::unique_ptr<CbusDevice> makeCbusDevice() {
    const QString directory = qEnvironmentVariable("VELTRANE_DEVICE_DIR");
    if (!directory.isEmpty()) {
        return std::make_unique<TracedCbusDevice>(std::make_unique<SimCbusDevice>(directory));
    }
    return std::make_unique<TracedCbusDevice>(std::make_unique<UsbCbusDevice>());
}

void pulseReset(CbusDevice& device, Waiter& waiter) {
    const CbusDevice::Status high = device.pulse(0xFF);
    LINK_LOG << "CBUS lines high, status" << high;
    wireTrace().cbusPulse(0xFF, high);
    waiter.wait(kResetPulseHighMs);
    const CbusDevice::Status low = device.pulse(0x00);
    LINK_LOG << "CBUS lines low, status" << low;
    wireTrace().cbusPulse(0x00, low);
}
