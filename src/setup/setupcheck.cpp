// The setup check; see setupcheck.h.
#include "setup/setupcheck.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <utility>

namespace {

constexpr int kMaxGroups = 256;
constexpr qint64 kMaxLine = 4096;

// The rule's places, in udev's own order of precedence.
const char* const kRuleDirectories[] = {"/etc/udev/rules.d", "/run/udev/rules.d",
                                        "/usr/local/lib/udev/rules.d", "/usr/lib/udev/rules.d",
                                        "/lib/udev/rules.d"};

QString octalMode(QFileDevice::Permissions permissions) {
    const std::pair<QFileDevice::Permission, int> bits[] = {
        {QFileDevice::ReadOwner, 0400}, {QFileDevice::WriteOwner, 0200},
        {QFileDevice::ExeOwner, 0100},  {QFileDevice::ReadGroup, 040},
        {QFileDevice::WriteGroup, 020}, {QFileDevice::ExeGroup, 010},
        {QFileDevice::ReadOther, 04},   {QFileDevice::WriteOther, 02},
        {QFileDevice::ExeOther, 01}};
    int mode = 0;
    for (const auto& [permission, bit] : bits) {
        mode |= permissions.testFlag(permission) ? bit : 0;
    }
    return QStringLiteral("0%1").arg(mode, 3, 8, QLatin1Char('0'));
}

// The colon-separated line of a passwd or group file whose third field is `id`.
QList<QByteArray> entryById(const QString& file, uint id) {
    QFile table(file);
    if (!table.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    while (!table.atEnd()) {
        const QList<QByteArray> fields = table.readLine(kMaxLine).trimmed().split(':');
        bool ok = false;
        if (fields.size() > 2 && fields[2].toUInt(&ok) == id && ok) {
            return fields;
        }
    }
    return {};
}

QString nameById(const QString& file, uint id) {
    const QList<QByteArray> fields = entryById(file, id);
    return fields.isEmpty() ? QString::number(id) : QString::fromUtf8(fields[0]);
}

}  // namespace

SetupIdentity SetupIdentity::current() {
    SetupIdentity identity;
    identity.uid = ::getuid();
    const passwd* entry = ::getpwuid(identity.uid);
    identity.user = entry ? QString::fromLocal8Bit(entry->pw_name)
                          : qEnvironmentVariable("USER", QString::number(identity.uid));
    identity.groups.append(::getgid());
    gid_t groups[kMaxGroups];
    const int count = ::getgroups(kMaxGroups, groups);
    for (int i = 0; i < count; ++i) {
        identity.groups.append(groups[i]);
    }
    return identity;
}

bool Finding::problem() const {
    switch (kind) {
        case DeviceMissing:
        case PortMissing:
        case AccessDenied:
        case GroupMissing:
        case GroupNotYetActive:
        case RuleMissing:
        case LatencyHigh:
        case BrailleDriverInstalled:
        case ModemManagerRunning:
            return true;
        default:
            return false;
    }
}

SetupCheck::SetupCheck(QString root, SetupIdentity identity, AccessProbe mayReadWrite)
    : root_(std::move(root)),
      identity_(std::move(identity)),
      mayReadWrite_(std::move(mayReadWrite)) {
    if (!mayReadWrite_) {
        mayReadWrite_ = [this](const QString& systemPath) {
            return ::access(QFile::encodeName(path(systemPath)).constData(), R_OK | W_OK) == 0;
        };
    }
}

QString SetupCheck::path(const QString& systemPath) const {
    return QDir::cleanPath(root_ + QLatin1Char('/') + systemPath);
}

QString SetupCheck::readLine(const QString& systemPath) const {
    QFile file(path(systemPath));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    return QString::fromUtf8(file.readLine(kMaxLine)).trimmed();
}

QString SetupCheck::groupName(uint gid) const {
    return nameById(path(QStringLiteral("/etc/group")), gid);
}

QString SetupCheck::userName(uint uid) const {
    return nameById(path(QStringLiteral("/etc/passwd")), uid);
}

QString SetupCheck::findDevice() const {
    const QString devices = QStringLiteral("/sys/bus/usb/devices");
    // Interfaces carry a colon in their names; only whole devices have a vendor.
    const QStringList names =
        QDir(path(devices)).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        const QString device = devices + QLatin1Char('/') + name;
        if (!name.contains(QLatin1Char(':')) &&
            readLine(device + QStringLiteral("/idVendor")) == QLatin1String(kVendorId)) {
            return device;
        }
    }
    return {};
}

QString SetupCheck::findTty(const QString& device, QString& interface) const {
    static const QRegularExpression ttyName(QStringLiteral("^ttyUSB[0-9]+$"));
    const QStringList interfaces =
        QDir(path(device)).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : interfaces) {
        if (!name.contains(QLatin1Char(':'))) {
            continue;
        }
        const QString candidate = device + QLatin1Char('/') + name;
        for (const QString& entry :
             QDir(path(candidate)).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            if (ttyName.match(entry).hasMatch()) {
                interface = candidate;
                return entry;
            }
        }
    }
    return {};
}

Finding SetupCheck::access(const QString& node) const {
    const QFileInfo info(path(node));
    const QString group = groupName(info.groupId());
    if (mayReadWrite_(node)) {
        return {Finding::AccessOk, {node, group}};
    }
    const QFileDevice::Permissions permissions = info.permissions();
    // The group may read and write but the user is not in it: joining the group is the fix.
    if (permissions.testFlags(QFileDevice::ReadGroup | QFileDevice::WriteGroup) &&
        !identity_.groups.contains(info.groupId())) {
        // Added to the group after logging in: the group file lists the user, this session
        // does not have the group yet.
        const QList<QByteArray> entry =
            entryById(path(QStringLiteral("/etc/group")), info.groupId());
        const QList<QByteArray> members =
            entry.size() > 3 ? entry[3].split(',') : QList<QByteArray>();
        return {members.contains(identity_.user.toUtf8()) ? Finding::GroupNotYetActive
                                                          : Finding::GroupMissing,
                {node, group, identity_.user}};
    }
    return {Finding::AccessDenied, {node, userName(info.ownerId()), group, octalMode(permissions)}};
}

QString SetupCheck::ruleInstalled() const {
    for (const char* directory : kRuleDirectories) {
        const QString rule =
            QString::fromLatin1(directory) + QLatin1Char('/') + QLatin1String(kRuleName);
        if (QFileInfo::exists(path(rule))) {
            return rule;
        }
    }
    return {};
}

bool SetupCheck::packageInstalled(const QString& package) const {
    QFile status(path(QStringLiteral("/var/lib/dpkg/status")));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return false;
    }
    const QByteArray wanted = "Package: " + package.toUtf8();
    bool inPackage = false;
    while (!status.atEnd()) {
        const QByteArray line = status.readLine(kMaxLine).trimmed();
        if (line.startsWith("Package:")) {
            inPackage = line == wanted;
        } else if (inPackage && line.startsWith("Status:")) {
            // "install ok installed"; a removed package keeps "deinstall ok config-files".
            return line.endsWith(" installed");
        }
    }
    return false;
}

bool SetupCheck::processRunning(const QString& name) const {
    static const QRegularExpression pid(QStringLiteral("^[0-9]+$"));
    const QStringList entries =
        QDir(path(QStringLiteral("/proc"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (pid.match(entry).hasMatch() &&
            readLine(QStringLiteral("/proc/") + entry + QStringLiteral("/comm")) == name) {
            return true;
        }
    }
    return false;
}

QList<Finding> SetupCheck::run() const {
    QList<Finding> findings;
    const QString device = findDevice();
    if (device.isEmpty()) {
        findings.append(Finding{Finding::DeviceMissing, {}});
    } else {
        const QString usbNode =
            QStringLiteral("/dev/bus/usb/%1/%2")
                .arg(readLine(device + QStringLiteral("/busnum")).toInt(), 3, 10, QLatin1Char('0'))
                .arg(readLine(device + QStringLiteral("/devnum")).toInt(), 3, 10, QLatin1Char('0'));
        QString product = readLine(device + QStringLiteral("/product"));
        if (product.isEmpty()) {
            product = QLatin1String(kVendorId) + QLatin1Char(':') +
                      readLine(device + QStringLiteral("/idProduct"));
        }
        findings.append(Finding{Finding::DeviceFound, {product, usbNode}});

        QString interface;
        const QString tty = findTty(device, interface);
        if (tty.isEmpty()) {
            findings.append(Finding{Finding::PortMissing, {}});
        } else {
            const QString ttyNode = QStringLiteral("/dev/") + tty;
            const int portNumber = tty.mid(6).toInt() + 1;
            findings.append(Finding{Finding::PortFound, {ttyNode, QString::number(portNumber)}});
            findings.append(access(ttyNode));
        }
        findings.append(access(usbNode));
        if (!tty.isEmpty()) {
            const QString latency =
                interface + QLatin1Char('/') + tty + QStringLiteral("/latency_timer");
            bool ok = false;
            const int ms = readLine(latency).toInt(&ok);
            if (ok) {
                findings.append(
                    {ms <= kWantedLatencyMs ? Finding::LatencyOk : Finding::LatencyHigh,
                     {QString::number(ms), QStringLiteral("/sys/bus/usb-serial/devices/") + tty +
                                               QStringLiteral("/latency_timer")}});
            }
        }
    }

    const QString rule = ruleInstalled();
    findings.append(rule.isEmpty() ? Finding{Finding::RuleMissing, {}}
                                   : Finding{Finding::RuleInstalled, {rule}});
    findings.append(Finding{packageInstalled(QStringLiteral("brltty"))
                                ? Finding::BrailleDriverInstalled
                                : Finding::BrailleDriverAbsent,
                            {}});
    Finding::Kind modemManager = Finding::ModemManagerAbsent;
    if (processRunning(QStringLiteral("ModemManager"))) {
        modemManager = rule.isEmpty() ? Finding::ModemManagerRunning : Finding::ModemManagerIgnored;
    }
    findings.append(Finding{modemManager, {}});
    return findings;
}
