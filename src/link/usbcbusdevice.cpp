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

libusb_device_handle* UsbCbusDevice::openFirst(std::uint8_t* productIndex) {
    if (!context_) {
        return nullptr;
    }
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context_, &list);
    if (count < 0) {
        return nullptr;
    }
    libusb_device_handle* handle = nullptr;
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(list[i], &descriptor) != LIBUSB_SUCCESS ||
            descriptor.idVendor != kVendorId) {
            continue;
        }
        // Only the first device counts, as device 0 of the vendor's own list.
        if (libusb_open(list[i], &handle) != LIBUSB_SUCCESS) {
            handle = nullptr;
        } else if (productIndex) {
            *productIndex = descriptor.iProduct;
        }
        break;
    }
    libusb_free_device_list(list, 1);
    return handle;
}

int UsbCbusDevice::describe(QString& description) {
    description.clear();
    std::uint8_t productIndex = 0;
    libusb_device_handle* handle = openFirst(&productIndex);
    if (!handle) {
        return kNotFound;
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

int UsbCbusDevice::pulse(std::uint8_t level) {
    libusb_device_handle* handle = openFirst(nullptr);
    if (!handle) {
        return kNotFound;
    }
    // The request's own result is of no consequence: the list status is what callers act on.
    libusb_control_transfer(handle, kRequestTypeVendorOut, kRequestSetBitMode,
                            cbusBitModeValue(level), kInterfaceA, nullptr, 0, kTransferTimeoutMs);
    libusb_close(handle);
    return kOk;
}
