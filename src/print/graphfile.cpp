// Graph files: painted into a document file in the target's folder, renamed into place once
// every write succeeded.
#include "print/graphfile.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "print/printfile.h"

namespace {

// Read and write for the user, then the umask, as for any file the user creates.
constexpr mode_t kFileMode = 0666;

}  // namespace

std::optional<GraphFileFormat> graphFileFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) {
        return GraphFileFormat::Png;
    }
    if (suffix == QLatin1String("svg")) {
        return GraphFileFormat::Svg;
    }
    return std::nullopt;
}

bool writeGraphFile(const QString& path, GraphFileFormat format, QSize size, DataSet& set,
                    const GraphExportView& view, const GraphRenderer& renderer,
                    const MessageTable& messages, QString& reason) {
    const QFileInfo target(path);
    DocumentFile file;
    if (!file.create(target.absolutePath(), QStringLiteral(".") + target.fileName(),
                     QStringLiteral(".part"), kFileMode)) {
        reason = file.reason();
        return false;
    }
    const GraphPalette palette = GraphPalette::print();
    bool drawn = false;
    if (format == GraphFileFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(target.fileName());
        QPainter painter(&svg);
        drawn = drawGraphs(painter, QSizeF(size), set, view, renderer, messages, palette);
    } else {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            drawn = drawGraphs(painter, QSizeF(size), set, view, renderer, messages, palette);
        }
        drawn = drawn && image.save(&file, "PNG");
    }
    const bool written = file.finish() && drawn && file.commit(path);
    reason = file.reason();
    return written;
}

GraphExportOperation::GraphExportOperation(Prompter& prompter, const MessageTable& messages,
                                           SizeQuestion askSize)
    : prompter_(prompter), messages_(messages), askSize_(std::move(askSize)) {}

ExportOutcome GraphExportOperation::run(const ExportSubject& subject,
                                        const GraphRenderer& renderer) {
    if (subject.set == nullptr || subject.set->count < 1) {
        prompter_.message(subject.title, messages_.text(Msg::StatsNoData));
        return {ExportStatus::NothingToExport, {}};
    }
    const QString path = prompter_.saveFileName(
        messages_.text(Msg::ExportGraphCaption), subject.directory,
        subject.proposedName + QStringLiteral(".png"), messages_.text(Msg::ExportGraphFilter));
    if (path.isEmpty()) {
        return {};
    }
    const std::optional<GraphFileFormat> format = graphFileFormatOf(path);
    if (!format) {
        prompter_.message(subject.title, messages_.text(Msg::ExportNeedsExtension));
        return {};
    }
    QSize size = subject.screenSize;
    if (*format == GraphFileFormat::Png) {
        const std::optional<QSize> chosen = askSize_ ? askSize_(size) : size;
        if (!chosen) {
            return {};
        }
        size = *chosen;
    }
    QString reason;
    if (!writeGraphFile(path, *format, size, *subject.set, subject.view, renderer, messages_,
                        reason)) {
        QString text = messages_.text(Msg::ExportNotWritten) + path;
        if (!reason.isEmpty()) {
            text += MessageTable::kPartBreak + reason;
        }
        prompter_.message(subject.title, text);
        return {ExportStatus::Failed, path};
    }
    return {ExportStatus::Written, QFileInfo(path).absoluteFilePath()};
}
