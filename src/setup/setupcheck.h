// Whether this computer is ready for the logger: its USB chip and serial port, the user's
// access to both, the udev rule, the chip's latency timer and the programs known to take the
// port away. Every file is read below a root directory, so a test can point it at a made-up
// tree; the findings are values the program words in the user's language.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// The user the check is made for.
struct SetupIdentity {
    uint uid = 0;
    QString user;
    QList<uint> groups;  // the primary and every supplementary group

    static SetupIdentity current();
};

struct Finding {
    enum Kind {
        DeviceFound,          // product, USB device node
        DeviceMissing,        //
        PortFound,            // serial device node, the program's port number
        PortMissing,          //
        AccessOk,             // node, group
        AccessDenied,         // node, owner, group, mode
        GroupMissing,         // node, group, user
        GroupNotYetActive,    // node, group, user: joined, but not in this session yet
        RuleInstalled,        // rule path
        RuleMissing,          //
        LatencyOk,            // milliseconds
        LatencyHigh,          // milliseconds, attribute path
        BrailleDriverAbsent,  //
        BrailleDriverInstalled,
        ModemManagerAbsent,
        ModemManagerIgnored,  // running, but the rule keeps it off the logger
        ModemManagerRunning,
    };
    Kind kind;
    QStringList values;

    bool problem() const;
};

class SetupCheck {
  public:
    static constexpr auto kVendorId = "0403";
    static constexpr auto kRuleName = "70-veltrane-logger.rules";
    static constexpr int kWantedLatencyMs = 1;

    // Whether the user may read and write a file, given its path below the root.
    using AccessProbe = std::function<bool(const QString& path)>;

    // The probe defaults to the kernel's own answer (access(2)), which also honours the
    // access lists the desktop's seat rules add.
    SetupCheck(QString root, SetupIdentity identity, AccessProbe mayReadWrite = {});

    QList<Finding> run() const;

  private:
    QString path(const QString& systemPath) const;
    QString readLine(const QString& systemPath) const;
    // The system path of the first USB device of the vendor below /sys, or empty.
    QString findDevice() const;
    // The serial device's name (ttyUSBn) under one of the device's interfaces, or empty.
    QString findTty(const QString& device, QString& interface) const;
    Finding access(const QString& node) const;
    QString ruleInstalled() const;
    bool packageInstalled(const QString& package) const;
    bool processRunning(const QString& name) const;
    QString groupName(uint gid) const;
    QString userName(uint uid) const;

    QString root_;
    SetupIdentity identity_;
    AccessProbe mayReadWrite_;
};
