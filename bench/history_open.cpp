// Figures for the History dialog and the keeping of downloads, on an SQLite archive in a
// temporary folder: listing 1000 recordings into the dialog's list (limit 50 ms), opening a
// 32767-sample recording into the file data set and drawing both graphs (limit 150 ms), and
// keeping a full 15000-point download in one transaction (the time the window waits).
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>

#include "common/benchdata.h"
#include "common/timing.h"
#include "data/messagetable.h"
#include "graph/renderer.h"
#include "graph/viewmath.h"
#include "operations/recordingarchive.h"
#include "ui/historymodel.h"

namespace {

constexpr int kRuns = 9;
constexpr int kRecordings = 1000;
constexpr int kPointsEach = 20;
constexpr double kListLimitMs = 50;
constexpr double kOpenLimitMs = 150;
const QSize kGraphSize(705, 209);

bool fail(const char* what, const ArchiveError& error) {
    std::fprintf(stderr, "%s: %s\n", what, qPrintable(error.detail));
    return false;
}

// A download of `count` samples of the named logger, starting `day` days after the first.
bool keep(RecordingArchive& archive, DataSet& set, const QString& path, const QString& name,
          int count, int day, Timing* timing = nullptr) {
    set.count = 0;
    set.stats.reset();
    if (!fillBenchDataSet(set, path, count, [day](int, Sample& s) { s.dateTime += day; })) {
        return false;
    }
    set.model = QStringLiteral("QM320-HX");
    set.identName = name;
    set.interval = 10;
    Sample first;
    if (set.read(1, first) != DataError::None) {
        return false;
    }
    const RunFacts facts{RecordingSource::Download, first.dateTime, 0};
    ArchiveError error;
    const Timing took = best(1, [&] {
        error = archive.store(set, facts);
        return error.ok();
    });
    if (timing != nullptr) {
        *timing = took;
    }
    return error.ok() || fail("store", error);
}

void drawBoth(DataSet& set, const MessageTable& messages, QImage& t, QImage& h) {
    Sample first;
    Sample last;
    set.read(1, first);
    set.read(set.count, last);
    const TimeBase base = timeBaseOf(first.dateTime, last.dateTime);
    Bars bars = initialBars();
    fitGraphToData(bars, {set.stats.maxTemperature, set.stats.minTemperature, set.stats.maxHumidity,
                          set.stats.minHumidity});
    updateScrollRanges(bars, base, false);
    GraphRenderer renderer;
    for (auto [kind, image] :
         {std::pair{GraphKind::Temperature, &t}, std::pair{GraphKind::Humidity, &h}}) {
        QPainter painter(image);
        const GraphWindow w = kind == GraphKind::Temperature
                                  ? temperatureWindow(bars, base.stepUnit)
                                  : humidityWindow(bars, base.stepUnit);
        renderer.draw(painter, QSizeF(kGraphSize), kind, w, set, GraphTexts::of(kind, messages),
                      GraphPalette::screen());
    }
}

void printAgainstLimit(const char* what, Timing took, double limitMs) {
    std::printf("%-36s %8.2f ms wall %8.2f ms cpu | limit %6.1f ms | %s\n", what, took.wallMs,
                took.cpuMs, limitMs, took.wallMs <= limitMs ? "within" : "OVER");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    DatabaseArchive archive(dir.filePath(QStringLiteral("archive.sqlite")));
    MessageTable messages;
    messages.fillEnglish();

    DataSet source;
    for (int r = 0; r < kRecordings; ++r) {
        if (!keep(archive, source, dir.filePath(QStringLiteral("source.rand")),
                  QStringLiteral("L%1").arg(r % 1000, 3, 10, QLatin1Char('0')), kPointsEach, r)) {
            return 1;
        }
    }
    HistoryModel model(messages);
    const Timing listed = best(kRuns, [&] {
        std::vector<RecordingSummary> recordings;
        const ArchiveError error = archive.list({}, recordings);
        model.setRecordings(std::move(recordings));
        return (error.ok() || fail("list", error)) && model.rowCount() == kRecordings;
    });
    printAgainstLimit("history of 1000 recordings listed", listed, kListLimitMs);

    Timing kept{};
    if (!keep(archive, source, dir.filePath(QStringLiteral("full.rand")), QStringLiteral("FULL"),
              15000, kRecordings + 10, &kept)) {
        return 1;
    }
    std::printf("%-36s %8.2f ms wall %8.2f ms cpu (one transaction)\n", "15000-point download kept",
                kept.wallMs, kept.cpuMs);

    if (!keep(archive, source, dir.filePath(QStringLiteral("large.rand")), QStringLiteral("BIG"),
              DataSet::kMaxCount, kRecordings + 100)) {
        return 1;
    }
    std::vector<RecordingSummary> found;
    if (!archive.list({QStringLiteral("BIG"), 0, 0, 0}, found).ok() || found.size() != 1) {
        std::fprintf(stderr, "the large recording is not listed\n");
        return 1;
    }
    DataSet file;
    if (!file.file.open(dir.filePath(QStringLiteral("read.rand")))) {
        std::fprintf(stderr, "cannot create the scratch file\n");
        return 1;
    }
    QImage t(kGraphSize, QImage::Format_RGB32);
    QImage h(kGraphSize, QImage::Format_RGB32);
    const Timing opened = best(kRuns, [&] {
        const ArchiveError error = archive.load(found.front().id, file);
        if (!error.ok()) {
            return fail("load", error);
        }
        drawBoth(file, messages, t, h);
        return file.count == DataSet::kMaxCount;
    });
    printAgainstLimit("32767-sample recording opened, drawn", opened, kOpenLimitMs);
    return 0;
}
