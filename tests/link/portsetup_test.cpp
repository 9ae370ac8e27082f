// Line settings text, port-number-to-device mapping, the CBUS request value, the simulator's
// device files and the event-loop wait.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "link/eventloopwaiter.h"
#include "link/qtserialport.h"
#include "link/simcbusdevice.h"
#include "link/usbcbusdevice.h"

namespace {

TEST(PortSetupTest, ParsesLineSettings) {
    const struct {
        const char* text;
        bool valid;
        LineSettings expected;
    } cases[] = {
        {"57600,n,8,1", true, {57600, 'n', 8, 1}},
        {"9600,E,7,2", true, {9600, 'e', 7, 2}},
        {" 115200 , o , 8 , 1 ", true, {115200, 'o', 8, 1}},
        {"57600,n,8", false, {}},
        {"57600,n,8,1,1", false, {}},
        {"fast,n,8,1", false, {}},
        {"0,n,8,1", false, {}},
        {"57600,x,8,1", false, {}},
        {"57600,n,9,1", false, {}},
        {"57600,n,4,1", false, {}},
        {"57600,n,8,3", false, {}},
        {"", false, {}},
    };
    for (const auto& c : cases) {
        const std::optional<LineSettings> parsed = parseLineSettings(QString::fromLatin1(c.text));
        ASSERT_EQ(parsed.has_value(), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(parsed->baud, c.expected.baud) << c.text;
            EXPECT_EQ(parsed->parity, c.expected.parity) << c.text;
            EXPECT_EQ(parsed->dataBits, c.expected.dataBits) << c.text;
            EXPECT_EQ(parsed->stopBits, c.expected.stopBits) << c.text;
        }
    }
}

TEST(PortSetupTest, MapsPortNumbersToDevices) {
    const struct {
        int number;
        const char* dir;
        const char* device;
    } cases[] = {
        {1, "", "/dev/ttyUSB0"},
        {16, "", "/dev/ttyUSB15"},
        {3, "/tmp/sim", "/tmp/sim/tty3"},
        {16, "/tmp/sim", "/tmp/sim/tty16"},
        {0, "", ""},
        {17, "/tmp/sim", ""},
        {-1, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(portDeviceName(c.number, QString::fromLatin1(c.dir)),
                  QString::fromLatin1(c.device))
            << c.number << ' ' << c.dir;
    }
}

TEST(PortSetupTest, OpeningRefusesBadSettingsAndMissingDevices) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    qputenv("VELTRANE_DEVICE_DIR", dir.path().toLocal8Bit());
    QtSerialPortAdapter port;
    EXPECT_FALSE(port.open(1, QStringLiteral("57600,n,8,1")));
    EXPECT_FALSE(port.open(1, QStringLiteral("garbage")));
    EXPECT_FALSE(port.isOpen());
    EXPECT_LT(port.bytesWaiting(), 0);
    EXPECT_FALSE(port.write(QByteArray("x")));
    qunsetenv("VELTRANE_DEVICE_DIR");
}

TEST(PortSetupTest, CbusRequestSelectsBitBangModeWithTheLevelAsMask) {
    EXPECT_EQ(cbusBitModeValue(0xFF), 0x20FF);
    EXPECT_EQ(cbusBitModeValue(0x00), 0x20F0);
    EXPECT_EQ(cbusBitModeValue(0x05), 0x20F5);
}

TEST(PortSetupTest, SimulatedDeviceFollowsTheUsbAndCbusFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SimCbusDevice device(dir.path());
    QString description = QStringLiteral("stale");
    EXPECT_EQ(device.describe(description), CbusDevice::kNotFound);
    EXPECT_TRUE(description.isEmpty());
    EXPECT_EQ(device.pulse(0), CbusDevice::kNotFound);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("cbus"))));

    QFile usb(dir.filePath(QStringLiteral("usb")));
    ASSERT_TRUE(usb.open(QIODevice::WriteOnly));
    usb.write("FT232R USB UART\nsecond line\n");
    usb.close();
    EXPECT_EQ(device.describe(description), CbusDevice::kOk);
    EXPECT_EQ(description, QStringLiteral("FT232R USB UART"));
    EXPECT_EQ(device.pulse(255), CbusDevice::kOk);
    EXPECT_EQ(device.pulse(0), CbusDevice::kOk);
    QFile cbus(dir.filePath(QStringLiteral("cbus")));
    ASSERT_TRUE(cbus.open(QIODevice::ReadOnly));
    EXPECT_EQ(cbus.readAll(), QByteArray("255\n0\n"));

    // Unplugging: the pulse reports the device gone and drives nothing.
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("usb"))));
    EXPECT_EQ(device.pulse(255), CbusDevice::kNotFound);
    cbus.seek(0);
    EXPECT_EQ(cbus.readAll(), QByteArray("255\n0\n"));
}

TEST(PortSetupTest, DeviceDirectorySelectsTheSimulatedDevice) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile usb(dir.filePath(QStringLiteral("usb")));
    ASSERT_TRUE(usb.open(QIODevice::WriteOnly));
    usb.write("sim logger");
    usb.close();
    qputenv("VELTRANE_DEVICE_DIR", dir.path().toLocal8Bit());
    const std::unique_ptr<CbusDevice> device = makeCbusDevice();
    qunsetenv("VELTRANE_DEVICE_DIR");
    QString description;
    EXPECT_EQ(device->describe(description), CbusDevice::kOk);
    EXPECT_EQ(description, QStringLiteral("sim logger"));
}

TEST(PortSetupTest, UsbDeviceAnswersWithAListStatusAndNeverCrashes) {
    UsbCbusDevice device;
    QString description;
    const int listed = device.describe(description);
    EXPECT_TRUE(listed == CbusDevice::kOk || listed == CbusDevice::kNotFound);
    EXPECT_EQ(device.pulse(0), listed);
    if (listed == CbusDevice::kNotFound) {
        EXPECT_TRUE(description.isEmpty());
    }
}

TEST(PortSetupTest, WaitRunsTimersAndLastsAtLeastTheTimeAsked) {
    EventLoopWaiter waiter;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(1);
    QElapsedTimer clock;
    clock.start();
    waiter.wait(30);
    EXPECT_GE(clock.elapsed(), 30);
    EXPECT_GT(ticks, 0);
}

}  // namespace
