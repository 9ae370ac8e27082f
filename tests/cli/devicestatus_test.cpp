// The command line's exit code follows the USB device's status: absent is "no logger", closed
// to this user is "permission denied", so a script can tell the two fixes apart.
#include <gtest/gtest.h>

#include "cli/runner.h"
#include "fakes.h"

namespace {

TEST(CliDeviceStatus, ExitCodeFollowsTheDevice) {
    const struct {
        CbusDevice::Status status;
        int exitCode;
    } cases[] = {
        {CbusDevice::kNotFound, NoLogger},
        {CbusDevice::kPermissionDenied, PermissionDenied},
    };
    MessageTable messages;
    messages.fillEnglish();
    const CliOptions options;
    for (const auto& c : cases) {
        AbsentPort port;
        AbsentDevice device;
        device.status = c.status;
        InstantWaiter waiter;
        CliRunner runner(options, messages, port, device, waiter, stdout, false);
        EXPECT_EQ(runner.run(), c.exitCode) << c.status;
        // No port was tried, so nothing was waited for.
        EXPECT_EQ(waiter.waited, 0);
    }
}

TEST(CliDeviceStatus, APortHeldElsewhereIsNotTried) {
    MessageTable messages;
    messages.fillEnglish();
    CliOptions options;
    options.port = 3;
    AbsentPort port;
    AbsentDevice device;
    InstantWaiter waiter;
    std::optional<int> asked;
    CliRunner runner(options, messages, port, device, waiter, stdout, false,
                     [&](std::optional<int> number) {
                         asked = number;
                         return QStringLiteral("/dev/ttyUSB2");
                     });
    EXPECT_EQ(runner.run(), PortInUse);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(waiter.waited, 0);
}

}  // namespace
