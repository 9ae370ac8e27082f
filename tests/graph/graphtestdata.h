// Data sets for the graph and print tests: a scratch file in a temporary folder filled with
// samples, and the font their pictures are drawn with.
#pragma once

#include <QDate>
#include <QFont>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <ostream>

#include "data/dataset.h"

// Readable QString values in assertion messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << s.toStdString();
}

// The graphs' font loaded from its file, so pictures do not depend on the fonts installed.
inline QFont fixedFont() {
    static const int id = QFontDatabase::addApplicationFont(
        QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    QFont font(id >= 0 ? QFontDatabase::applicationFontFamilies(id).value(0)
                       : QStringLiteral("DejaVu Sans"));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

inline double dayCountOf(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return QDate(1899, 12, 30).daysTo(QDate(y, mo, d)) + (h * 3600 + mi * 60 + s) / 86400.0;
}

// A data set with its own scratch file; the statistics follow the appended samples.
class TestDataSet {
  public:
    explicit TestDataSet(const QString& name = QStringLiteral("test.rand")) {
        set.file.open(dir_.filePath(name));
        set.stats.reset();
    }

    void add(double dateTime, float temperature, float humidity, float series = 1,
             const QString& remarks = {}) {
        Sample s;
        s.dateTime = dateTime;
        s.temperature = temperature;
        s.humidity = humidity;
        s.series = series;
        s.setRemarks(remarks);
        set.append(s);
        set.stats.update(s);
    }

    // count samples every interval seconds from start; values from the callbacks.
    void fill(
        double start, int count, int interval, const std::function<float(int)>& temperature,
        const std::function<float(int)>& humidity,
        const std::function<float(int)>& series = [](int) { return 1.0F; }) {
        for (int i = 0; i < count; ++i) {
            add(start + static_cast<double>(i) * interval / 86400.0, temperature(i), humidity(i),
                series(i));
        }
    }

    DataSet set;

  private:
    QTemporaryDir dir_;
};
