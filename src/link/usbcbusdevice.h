// The serial chip reached through libusb: its product string as the description and the CBUS
// pulse as the chip's bit-mode control request. The kernel's serial driver stays attached, so
// the tty keeps working while the device check pulses every half second.
#pragma once

#include <cstdint>

#include "link/cbusdevice.h"

struct libusb_context;
struct libusb_device_handle;

// The control request value selecting CBUS bit-bang mode with the given pin mask.
std::uint16_t cbusBitModeValue(std::uint8_t level);

class UsbCbusDevice : public CbusDevice {
  public:
    static constexpr std::uint16_t kVendorId = 0x0403;

    UsbCbusDevice();
    ~UsbCbusDevice() override;
    UsbCbusDevice(const UsbCbusDevice&) = delete;
    UsbCbusDevice& operator=(const UsbCbusDevice&) = delete;

    Status describe(QString& description) override;
    Status pulse(std::uint8_t level) override;

  private:
    // Opens the first device of the vendor into `handle` (null unless the status is kOk).
    Status openFirst(libusb_device_handle*& handle, std::uint8_t* productIndex);

    libusb_context* context_ = nullptr;
};
