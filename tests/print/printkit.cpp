// Print test rig and PDF readers.
#include "printkit.h"

#include <QFile>
#include <QProcess>

namespace printtest {

namespace {

QByteArray run(const QString& program, const QStringList& arguments) {
    QByteArray output;
    return runTool(program, arguments, &output).isEmpty() ? output : QByteArray();
}

}  // namespace

QString runTool(const QString& program, const QStringList& arguments, QByteArray* output) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        return program + QStringLiteral(" did not finish");
    }
    if (output != nullptr) {
        *output = process.readAllStandardOutput();
    }
    return process.exitCode() == 0 ? QString()
                                   : program + QStringLiteral(": ") +
                                         QString::fromLocal8Bit(process.readAllStandardError());
}

QString FakeSpooler::submit(const SpoolRequest& request) {
    requests.push_back(request);
    QFile file(request.file);
    lastDocument = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return refusal;
}

QString FilePrompter::saveFileName(const QString& caption, const QString& directory,
                                   const QString& proposed, const QString& filter) {
    saveQuestions.append(QStringList{caption, directory, proposed, filter}.join(QLatin1Char('|')));
    if (fileNames.empty()) {
        return {};
    }
    const QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

PrintRig::PrintRig()
    : operations(*this, choice, messages,
                 PrintServices{dialogs, spooler, prompter, [this](QDialog& dialog) {
                                   if (user) {
                                       user(static_cast<PrinterDialog&>(dialog));
                                   }
                                   return dialog.result();
                               }}) {
    messages.fillEnglish();
    renderer.setFont(fixedFont());
    for (int i = 0; i < 3; ++i) {
        data_[static_cast<std::size_t>(i)] =
            std::make_unique<TestDataSet>(QStringLiteral("set%1.rand").arg(i));
        data_[static_cast<std::size_t>(i)]->set.interval = 60;
        tables_[static_cast<std::size_t>(i)] = std::make_unique<DataTableView>(i, set(i), messages);
        tables_[static_cast<std::size_t>(i)]->resize(900, 400);
    }
}

void PrintRig::add(int index, double dateTime, float temperature, float humidity,
                   const QString& remarks) {
    data_[static_cast<std::size_t>(index)]->add(dateTime, temperature, humidity, 1, remarks);
    refreshTable(index);
}

void PrintRig::fill(int index, double start, int count, int interval,
                    const std::function<float(int)>& temperature,
                    const std::function<float(int)>& humidity) {
    data_[static_cast<std::size_t>(index)]->fill(start, count, interval, temperature, humidity);
    set(index).interval = interval;
    refreshTable(index);
}

void PrintRig::refreshTable(int index) {
    table(index).fill();
}

void PrintRig::fitGraph(int index) {
    DataSet& s = set(index);
    Sample first;
    Sample last;
    s.read(1, first);
    s.read(s.count, last);
    const ValueExtremes extremes{s.stats.maxTemperature, s.stats.minTemperature,
                                 s.stats.maxHumidity, s.stats.minHumidity};
    const TimeBase base = timeBaseOf(first.dateTime, last.dateTime);
    fitGraphToData(bars, extremes);
    updateScrollRanges(bars, base, false);
    for (int i = TimeWidthBar; i <= HumidityTimePositionBar; ++i) {
        bars[static_cast<std::size_t>(i)].setValue(bars[static_cast<std::size_t>(i)].first);
    }
    fitGraphToData(bars, extremes);
    updateScrollRanges(bars, base, false);
}

QStringList pdfPages(const QString& path, bool raw) {
    QStringList pages =
        QString::fromUtf8(run(QStringLiteral("pdftotext"),
                              {raw ? QStringLiteral("-raw") : QStringLiteral("-layout"), path,
                               QStringLiteral("-")}))
            .split(QLatin1Char('\f'));
    // pdftotext ends every page with a form feed.
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) {
        pages.removeLast();
    }
    return pages;
}

QStringList printedLines(const QString& pageText) {
    QStringList lines;
    for (const QString& line : pageText.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty()) {
            lines.append(line.simplified());
        }
    }
    return lines;
}

int pdfPageCount(const QString& path) {
    const QString info = QString::fromUtf8(run(QStringLiteral("pdfinfo"), {path}));
    for (const QString& line : info.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Pages:"))) {
            return line.mid(6).trimmed().toInt();
        }
    }
    return -1;
}

QImage pdfImage(const QString& path, int dpi) {
    return QImage::fromData(
        run(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), QStringLiteral("1"),
             QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-png"), path}));
}

}  // namespace printtest
