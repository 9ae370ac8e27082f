// The USB side of the logger's serial chip: whether the device is present and the pulse of
// its four CBUS lines that resets the logger's interface.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>

class Waiter;

class CbusDevice {
  public:
    // What the host knows of device 0: found and opened, absent, or present but this user
    // may not open it (the device node's permissions), which no port scan can cure.
    enum Status { kOk = 0, kNotFound = 2, kPermissionDenied = 3 };

    virtual ~CbusDevice() = default;
    // Description of device 0 and its status.
    virtual Status describe(QString& description) = 0;
    // Drives the four CBUS lines to `level` (0xFF high, 0x00 low) and returns the status.
    virtual Status pulse(std::uint8_t level) = 0;
};

// The device the program should use: the simulator's file contract when VELTRANE_DEVICE_DIR
// is set, otherwise the real USB device.
std::unique_ptr<CbusDevice> makeCbusDevice();

// How long the lines stay high in the reset pulse.
inline constexpr int kResetPulseHighMs = 100;

// The pulse that resets the logger's interface: the four lines high, then low; the waiter lets
// the window run meanwhile. The logger drops what it was sending, a record stream included.
void pulseReset(CbusDevice& device, Waiter& waiter);
