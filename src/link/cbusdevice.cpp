// Chooses the simulator's device contract or the real USB device; the reset pulse.
#include "link/cbusdevice.h"

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
    device.pulse(0xFF);
    waiter.wait(kResetPulseHighMs);
    device.pulse(0x00);
}
