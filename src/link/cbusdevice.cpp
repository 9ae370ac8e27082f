// Chooses the simulator's device contract or the real USB device.
#include "link/cbusdevice.h"

#include "link/simcbusdevice.h"
#include "link/usbcbusdevice.h"

std::unique_ptr<CbusDevice> makeCbusDevice() {
    const QString directory = qEnvironmentVariable("VELTRANE_DEVICE_DIR");
    if (!directory.isEmpty()) {
        return std::make_unique<SimCbusDevice>(directory);
    }
    return std::make_unique<UsbCbusDevice>();
}
