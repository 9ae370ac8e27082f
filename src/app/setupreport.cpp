// Wording and printing of the setup check; see setupreport.h.
#include "app/setupreport.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

// The text of each kind of finding and, for problems, its fix. A fix's %n are the finding's
// values from the one named in fixFrom on, so a fix can name a file or group the finding holds.
struct Wording {
    Finding::Kind kind;
    Msg text;
    std::optional<Msg> fix;
    int fixFrom;
};

constexpr Wording kWordings[] = {
    {Finding::DeviceFound, Msg::SetupChipPresent, std::nullopt, 0},
    {Finding::DeviceMissing, Msg::SetupNoChip, Msg::SetupPlugInHint, 0},
    {Finding::PortFound, Msg::SetupSerialPort, std::nullopt, 0},
    {Finding::PortMissing, Msg::SetupNoSerialDriver, Msg::SetupRemoveBrailleHint, 0},
    {Finding::AccessOk, Msg::SetupPortAccessible, std::nullopt, 0},
    {Finding::AccessDenied, Msg::SetupPortNotAccessible, Msg::SetupInstallRuleHint, 0},
    {Finding::GroupMissing, Msg::SetupNotInGroup, Msg::SetupJoinGroupHint, 1},
    {Finding::GroupNotYetActive, Msg::SetupGroupJoinedLater, Msg::SetupLogOutAgain, 0},
    {Finding::RuleInstalled, Msg::SetupRuleInstalled, std::nullopt, 0},
    {Finding::RuleMissing, Msg::SetupRuleMissing, Msg::SetupInstallPackageHint, 0},
    {Finding::LatencyOk, Msg::SetupLatency, std::nullopt, 0},
    {Finding::LatencyHigh, Msg::SetupLatencySlow, Msg::SetupLatencyHint, 1},
    {Finding::BrailleDriverAbsent, Msg::SetupNoBraille, std::nullopt, 0},
    {Finding::BrailleDriverInstalled, Msg::SetupBrailleInstalled, Msg::SetupRemoveBrailleCommand,
     0},
    {Finding::ModemManagerAbsent, Msg::SetupNoModemManager, std::nullopt, 0},
    {Finding::ModemManagerIgnored, Msg::SetupModemManagerKeptAway, std::nullopt, 0},
    {Finding::ModemManagerRunning, Msg::SetupModemManagerMayProbe, Msg::SetupModemManagerHint, 0},
};

// Fills %1..%n with the values; a text may leave values out, and values are never read as
// placeholders themselves.
QString fill(const QString& text, const QStringList& values) {
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int index = i + 1 < text.size() ? text.at(i + 1).digitValue() : -1;
        if (text.at(i) == QLatin1Char('%') && index >= 1 && index <= values.size()) {
            result += values.at(index - 1);
            ++i;
        } else {
            result += text.at(i);
        }
    }
    return result;
}

}  // namespace

QString setupReport(const QList<Finding>& findings, const MessageTable& messages) {
    QString report;
    for (const Finding& finding : findings) {
        const auto wording = std::find_if(std::begin(kWordings), std::end(kWordings),
                                          [&](const Wording& w) { return w.kind == finding.kind; });
        if (wording == std::end(kWordings)) {
            continue;
        }
        QString line = (finding.problem() ? QStringLiteral("[!!] ") : QStringLiteral("[ok] ")) +
                       fill(messages.text(wording->text), finding.values);
        if (wording->fix) {
            line += QLatin1Char(' ') + messages.text(Msg::SetupFix) + QLatin1Char(' ') +
                    fill(messages.text(*wording->fix), finding.values.mid(wording->fixFrom));
        }
        report += line + QLatin1Char('\n');
    }
    const auto problems = std::count_if(findings.begin(), findings.end(),
                                        [](const Finding& f) { return f.problem(); });
    report += (problems == 0 ? messages.text(Msg::SetupComplete)
                             : messages.text(Msg::SetupFindingCount).arg(problems)) +
              QLatin1Char('\n');
    return report;
}

QString setupReportHere(const MessageTable& messages) {
    return setupReport(SetupCheck(QStringLiteral("/"), SetupIdentity::current()).run(), messages);
}

int setupExitCode(const QList<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.problem(); })
               ? 1
               : 0;
}

int runSetupCheck(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int lang = static_cast<int>(arguments.indexOf(QStringLiteral("--lang")));
    const bool japanese =
        lang >= 0 && lang + 1 < arguments.size() && arguments.at(lang + 1) == QLatin1String("ja");
    MessageTable messages;
    messages.fill(japanese ? Language::Japanese : Language::English);
    const QList<Finding> findings = SetupCheck(QStringLiteral("/"), SetupIdentity::current()).run();
    const QByteArray report = setupReport(findings, messages).toUtf8();
    std::fwrite(report.constData(), 1, static_cast<std::size_t>(report.size()), stdout);
    return setupExitCode(findings);
}
