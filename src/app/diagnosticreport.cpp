// The diagnostic report's members and its file.
#include "app/diagnosticreport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "app/setupreport.h"
#include "data/prompter.h"
#include "data/version.h"
#include "operations/statusreport.h"

std::vector<TarMember> diagnosticMembers(const DiagnosticSources& sources,
                                         const MessageTable& messages) {
    std::vector<TarMember> members;
    members.push_back(
        {QStringLiteral("version.txt"),
         QByteArray(kProgramVersion.data(), static_cast<qsizetype>(kProgramVersion.size())) +
             '\n'});
    members.push_back(
        {QStringLiteral("setup-check.txt"), setupReport(sources.findings, messages).toUtf8()});
    QFile settings(sources.settingsPath);
    if (settings.open(QIODevice::ReadOnly)) {
        // The settings file is one line; anything much larger is not it.
        members.push_back({QFileInfo(sources.settingsPath).fileName(), settings.read(1 << 16)});
    }
    members.push_back({QStringLiteral("status.txt"),
                       sources.status ? statusLines(*sources.status, messages)
                                      : messages.text(Msg::LoggerNotConnected).toUtf8() + '\n'});
    members.push_back({QStringLiteral("trace.jsonl"), sources.trace});
    return members;
}

bool saveDiagnosticReport(Prompter& prompter, const MessageTable& messages, const QString& title,
                          const QString& directory, const DiagnosticSources& sources) {
    const QString proposed =
        QStringLiteral("veltrane-report-%1.tar")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QString path =
        prompter.saveFileName(messages.text(Msg::DiagnosticReportCaption), directory, proposed,
                              messages.text(Msg::DiagnosticReportFilter));
    if (path.isEmpty()) {
        return false;
    }
    const QByteArray archive =
        tarArchive(diagnosticMembers(sources, messages), QDateTime::currentSecsSinceEpoch());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(archive) != archive.size() ||
        !file.commit()) {
        prompter.message(title, messages.text(Msg::DiagnosticReportNotWritten)
                                    .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    return true;
}
