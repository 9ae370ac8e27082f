// The setup check against made-up system trees: a healthy one, then one fault at a time, and
// the printed report of a tree with three faults.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/setupreport.h"
#include "setup/setupcheck.h"

namespace {

// Read and write permission by owner, group and other bits alone, standing in for the
// kernel's answer over the made-up tree.
bool modePermitsReadWrite(const QFileInfo& file, const SetupIdentity& identity) {
    const QFileDevice::Permissions permissions = file.permissions();
    if (identity.uid == 0) {
        return true;
    }
    if (file.ownerId() == identity.uid) {
        return permissions.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    if (identity.groups.contains(file.groupId())) {
        return permissions.testFlags(QFileDevice::ReadGroup | QFileDevice::WriteGroup);
    }
    return permissions.testFlags(QFileDevice::ReadOther | QFileDevice::WriteOther);
}

// A system with the logger plugged in as bus 1 device 5, its port /dev/ttyUSB0, the rule
// installed and nothing in the way; each test breaks one part of it.
class FakeSystem {
  public:
    FakeSystem() {
        write("sys/bus/usb/devices/1-1/idVendor", "1d6b");
        write("sys/bus/usb/devices/1-1:1.0/bInterfaceClass", "09");
        write("sys/bus/usb/devices/1-2/idVendor", "0403");
        write("sys/bus/usb/devices/1-2/idProduct", "6015");
        write("sys/bus/usb/devices/1-2/product", "USB <-> Serial");
        write("sys/bus/usb/devices/1-2/busnum", "1");
        write("sys/bus/usb/devices/1-2/devnum", "5");
        write("sys/bus/usb/devices/1-2/1-2:1.0/ttyUSB0/latency_timer", "1");
        write("dev/ttyUSB0", "");
        write("dev/bus/usb/001/005", "");
        node("dev/ttyUSB0", 0660);
        node("dev/bus/usb/001/005", 0660);
        const uint gid = QFileInfo(file("dev/ttyUSB0")).groupId();
        write(
            "etc/group",
            QStringLiteral("root:x:%1:\nplugdev:x:%2:\n").arg(gid == 0 ? 1 : 0).arg(gid).toUtf8());
        write("etc/udev/rules.d/70-veltrane-logger.rules", "# rule\n");
        write("var/lib/dpkg/status",
              "Package: brltty\nStatus: deinstall ok config-files\n\n"
              "Package: cmake\nStatus: install ok installed\n");
        write("proc/1/comm", "systemd");
        // Only numbered entries are processes.
        write("proc/self/comm", "ModemManager");
        // The user is in the group of both nodes.
        user.uid = QFileInfo(file("dev/ttyUSB0")).ownerId() + 1000;
        user.user = QStringLiteral("alice");
        user.groups = {gid + 1000, gid};
    }

    QString file(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(file(name)).path());
        QFile out(file(name));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    void remove(const QString& name) { ASSERT_TRUE(QDir(file(name)).removeRecursively()); }
    void node(const QString& name, int mode) {
        QFile::Permissions permissions;
        const std::pair<int, QFile::Permission> bits[] = {
            {0400, QFile::ReadOwner}, {0200, QFile::WriteOwner}, {040, QFile::ReadGroup},
            {020, QFile::WriteGroup}, {04, QFile::ReadOther},    {02, QFile::WriteOther}};
        for (const auto& [bit, permission] : bits) {
            if ((mode & bit) != 0) {
                permissions |= permission;
            }
        }
        ASSERT_TRUE(QFile::setPermissions(file(name), permissions));
    }

    QList<Finding> check() const {
        const SetupIdentity identity = user;
        const QString root = dir.path();
        return SetupCheck(root, identity,
                          [root, identity](const QString& path) {
                              return modePermitsReadWrite(QFileInfo(root + path), identity);
                          })
            .run();
    }

    QTemporaryDir dir;
    SetupIdentity user;
};

QList<Finding::Kind> problems(const QList<Finding>& findings) {
    QList<Finding::Kind> kinds;
    for (const Finding& finding : findings) {
        if (finding.problem()) {
            kinds.append(finding.kind);
        }
    }
    return kinds;
}

TEST(SetupCheck, HealthySystemHasNoProblems) {
    FakeSystem system;
    const QList<Finding> findings = system.check();
    EXPECT_TRUE(problems(findings).isEmpty());
    QList<Finding::Kind> kinds;
    for (const Finding& finding : findings) {
        kinds.append(finding.kind);
    }
    EXPECT_EQ(kinds,
              (QList<Finding::Kind>{Finding::DeviceFound, Finding::PortFound, Finding::AccessOk,
                                    Finding::AccessOk, Finding::LatencyOk, Finding::RuleInstalled,
                                    Finding::BrailleDriverAbsent, Finding::ModemManagerAbsent}));
    EXPECT_EQ(findings[0].values, (QStringList{"USB <-> Serial", "/dev/bus/usb/001/005"}));
    EXPECT_EQ(findings[1].values, (QStringList{"/dev/ttyUSB0", "1"}));
    EXPECT_EQ(findings[2].values, (QStringList{"/dev/ttyUSB0", "plugdev"}));
    EXPECT_EQ(setupExitCode(findings), 0);
}

struct Fault {
    const char* name;
    std::function<void(FakeSystem&)> apply;
    QList<Finding::Kind> problems;
};

class SetupFault : public ::testing::TestWithParam<Fault> {};

TEST_P(SetupFault, IsReportedAsItsOwnProblem) {
    FakeSystem system;
    GetParam().apply(system);
    const QList<Finding> findings = system.check();
    EXPECT_EQ(problems(findings), GetParam().problems);
    EXPECT_EQ(setupExitCode(findings), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SetupFault,
    ::testing::Values(
        Fault{"unplugged",
              [](FakeSystem& s) { s.remove("sys/bus/usb/devices/1-2"); },
              {Finding::DeviceMissing}},
        Fault{"noDriver",
              [](FakeSystem& s) { s.remove("sys/bus/usb/devices/1-2/1-2:1.0"); },
              {Finding::PortMissing}},
        Fault{"notInGroup",
              [](FakeSystem& s) { s.user.groups = {77777}; },
              {Finding::GroupMissing, Finding::GroupMissing}},
        Fault{"joinedAfterLogin",
              [](FakeSystem& s) {
                  s.user.groups = {77777};
                  s.write("etc/group", QStringLiteral("plugdev:x:%1:bob,alice\n")
                                           .arg(QFileInfo(s.file("dev/ttyUSB0")).groupId())
                                           .toUtf8());
              },
              {Finding::GroupNotYetActive, Finding::GroupNotYetActive}},
        Fault{"ownerOnly",
              [](FakeSystem& s) { s.node("dev/bus/usb/001/005", 0600); },
              {Finding::AccessDenied}},
        Fault{"slowTimer",
              [](FakeSystem& s) {
                  s.write("sys/bus/usb/devices/1-2/1-2:1.0/ttyUSB0/latency_timer", "16\n");
              },
              {Finding::LatencyHigh}},
        Fault{"noRule", [](FakeSystem& s) { s.remove("etc/udev"); }, {Finding::RuleMissing}},
        Fault{"brltty",
              [](FakeSystem& s) {
                  s.write("var/lib/dpkg/status",
                          "Package: brltty\nVersion: 6.5\n"
                          "Status: install ok installed\n");
              },
              {Finding::BrailleDriverInstalled}},
        Fault{"modemManagerWithoutRule",
              [](FakeSystem& s) {
                  s.write("proc/812/comm", "ModemManager\n");
                  s.remove("etc/udev");
              },
              {Finding::RuleMissing, Finding::ModemManagerRunning}}),
    [](const ::testing::TestParamInfo<Fault>& info) { return std::string(info.param.name); });

TEST(SetupCheck, RunningModemManagerIsHarmlessWithTheRule) {
    FakeSystem system;
    system.write("proc/812/comm", "ModemManager\n");
    EXPECT_EQ(system.check().last().kind, Finding::ModemManagerIgnored);
}

// A rule under /usr/lib, as the package installs it, counts as much as one under /etc.
TEST(SetupCheck, PackagedRuleCounts) {
    FakeSystem system;
    system.remove("etc/udev");
    system.write("usr/lib/udev/rules.d/70-veltrane-logger.rules", "# rule\n");
    EXPECT_TRUE(problems(system.check()).isEmpty());
}

TEST(SetupReport, MissingRuleWrongGroupAndBrailleDriverGiveThreeFixes) {
    FakeSystem system;
    system.remove("etc/udev");
    system.node("dev/bus/usb/001/005", 0666);
    system.user.groups = {77777};
    system.write("var/lib/dpkg/status", "Package: brltty\nStatus: install ok installed\n");
    MessageTable messages;
    messages.fillEnglish();
    const QStringList lines = setupReport(system.check(), messages).split(QLatin1Char('\n'));
    QStringList fixes;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("[!!] "))) {
            fixes.append(line);
        }
    }
    EXPECT_EQ(
        fixes,
        (QStringList{"[!!] /dev/ttyUSB0 belongs to group plugdev, and you are not a member of it. "
                     "Fix: sudo adduser alice plugdev, then log out and in again.",
                     "[!!] The udev rule 70-veltrane-logger.rules is not installed. Fix: Install "
                     "the veltrane package, or from the sources: sudo install -m 644 "
                     "packaging/70-veltrane-logger.rules /etc/udev/rules.d/ && sudo udevadm "
                     "control --reload-rules && sudo udevadm trigger",
                     "[!!] The braille-display driver brltty is installed; it takes USB serial "
                     "chips like the logger's for itself. Fix: Unless a braille display is used: "
                     "sudo apt-get remove brltty, then plug the logger in again."}));
    EXPECT_TRUE(
        lines.contains(QStringLiteral("[ok] You may read and write /dev/bus/usb/001/005 "
                                      "(group plugdev).")));
    EXPECT_EQ(lines.at(lines.size() - 2), QStringLiteral("3 finding(s) to fix."));
}

}  // namespace
