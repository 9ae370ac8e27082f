// Chooses the simulator's device contract or the real USB device; the reset pulse.
#include "link/cbusdevice.h"

#include "link/linklog.h"
#include "link/simcbusdevice.h"
#include "link/usbcbusdevice.h"
#include "link/waiter.h"

std::unique_ptr<CbusDevice> makeCbusDevice() {
    const QString directory = qEnvironmentVariable("VELTRANE_DEVICE_DIR");
    if (!directory.isEmpty()) {
        return std::make_unique<SimCbusDevice>(directory);
    }
    return std::make_unique<UsbCbusDevice>();
}

void pulseReset(CbusDevice& device, Waiter& waiter) {
    const CbusDevice::Status high = device.pulse(0xFF);
    LINK_LOG << "CBUS lines high, status" << high;
    waiter.wait(kResetPulseHighMs);
    const CbusDevice::Status low = device.pulse(0x00);
    LINK_LOG << "CBUS lines low, status" << low;
}
