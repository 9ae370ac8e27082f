// Wording and printing of the setup check; see setupreport.h.
#include "app/setupreport.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kFixLabel = 1243;
constexpr int kAllWell = 1268;
constexpr int kProblemCount = 1269;

// The text of each kind of finding and, for problems, its fix. A fix's %n are the finding's
// values from the one named in fixFrom on, so a fix can name a file or group the finding holds.
struct Wording {
    Finding::Kind kind;
    int text;
    int fix;
    int fixFrom;
};

constexpr Wording kWordings[] = {
    {Finding::DeviceFound, 1244, 0, 0},
    {Finding::DeviceMissing, 1245, 1246, 0},
    {Finding::PortFound, 1247, 0, 0},
    {Finding::PortMissing, 1248, 1249, 0},
    {Finding::AccessOk, 1250, 0, 0},
    {Finding::AccessDenied, 1251, 1252, 0},
    {Finding::GroupMissing, 1253, 1254, 1},
    {Finding::GroupNotYetActive, 1270, 1271, 0},
    {Finding::RuleInstalled, 1255, 0, 0},
    {Finding::RuleMissing, 1256, 1257, 0},
    {Finding::LatencyOk, 1258, 0, 0},
    {Finding::LatencyHigh, 1259, 1260, 1},
    {Finding::BrailleDriverAbsent, 1261, 0, 0},
    {Finding::BrailleDriverInstalled, 1262, 1263, 0},
    {Finding::ModemManagerAbsent, 1264, 0, 0},
    {Finding::ModemManagerIgnored, 1265, 0, 0},
    {Finding::ModemManagerRunning, 1266, 1267, 0},
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
        if (wording->fix != 0) {
            line += QLatin1Char(' ') + messages.text(kFixLabel) + QLatin1Char(' ') +
                    fill(messages.text(wording->fix), finding.values.mid(wording->fixFrom));
        }
        report += line + QLatin1Char('\n');
    }
    const auto problems = std::count_if(findings.begin(), findings.end(),
                                        [](const Finding& f) { return f.problem(); });
    report +=
        (problems == 0 ? messages.text(kAllWell) : messages.text(kProblemCount).arg(problems)) +
        QLatin1Char('\n');
    return report;
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
