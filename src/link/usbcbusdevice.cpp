// The serial chip's CBUS lines over libusb.
#include "link/usbcbusdevice.h"

#include <libusb.h>

namespace {

constexpr std::uint8_t kRequestTypeVendorOut = 0x40;
constexpr std::uint8_t kRequestSetBitMode = 0x0B;
constexpr std::uint16_t kCbusBitBangMode = 0x20;
constexpr std::uint16_t kInterfaceA = 1;
constexpr unsigned kTransferTimeoutMs = 200;
constexpr int kDescriptionBytes = 65;

}  // namespace

std::uint16_t cbusBitModeValue(std::uint8_t level) {
    return static_cast<std::uint16_t>((level | 0xF0) | (kCbusBitBangMode << 8));
}

UsbCbusDevice::UsbCbusDevice() {
    if (libusb_init(&context_) != LIBUSB_SUCCESS) {
        context_ = nullptr;
    }
}

UsbCbusDevice::~UsbCbusDevice() {
    if (context_) {
        libusb_exit(context_);
    }
}

CbusDevice::Status UsbCbusDevice::openFirst(libusb_device_handle*& handle,
                                            std::uint8_t* productIndex) {
    handle = nullptr;
    if (!context_) {
        return kNotFound;
    }
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context_, &list);
    if (count < 0) {
        return kNotFound;
    }
    Status status = kNotFound;
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(list[i], &descriptor) != LIBUSB_SUCCESS ||
            descriptor.idVendor != kVendorId) {
            continue;
        }
        // Only the first device counts, as device 0 of the vendor's own list.
        const int opened = libusb_open(list[i], &handle);
        if (opened == LIBUSB_SUCCESS) {
            status = kOk;
            if (productIndex) {
                *productIndex = descriptor.iProduct;
            }
        } else {
            handle = nullptr;
            // A device that is listed but may not be opened is there all the same; any other
            // failure (unplugged between listing and opening) counts as absent.
            status = opened == LIBUSB_ERROR_ACCESS ? kPermissionDenied : kNotFound;
        }
        break;
    }
    libusb_free_device_list(list, 1);
    return status;
}

CbusDevice::Status UsbCbusDevice::describe(QString& description) {
    description.clear();
    std::uint8_t productIndex = 0;
    libusb_device_handle* handle = nullptr;
    if (const Status status = openFirst(handle, &productIndex); status != kOk) {
        return status;
    }
    unsigned char text[kDescriptionBytes] = {};
    if (productIndex != 0) {
        const int length =
            libusb_get_string_descriptor_ascii(handle, productIndex, text, kDescriptionBytes - 1);
        if (length > 0) {
            description = QString::fromLatin1(reinterpret_cast<const char*>(text), length);
        }
    }
    libusb_close(handle);
    return kOk;
}

CbusDevice::Status UsbCbusDevice::pulse(std::uint8_t level) {
    libusb_device_handle* handle = nullptr;
    if (const Status status = openFirst(handle, nullptr); status != kOk) {
        return status;
    }
    // The request's own result is of no consequence: the device status is what callers act on.
    libusb_control_transfer(handle, kRequestTypeVendorOut, kRequestSetBitMode,
                            cbusBitModeValue(level), kInterfaceA, nullptr, 0, kTransferTimeoutMs);
    libusb_close(handle);
    return kOk;
}
