// Graph view arithmetic: everything here is plain numbers so the rules can be checked in tables.
#include "graph/viewmath.h"

#include <QDate>
#include <algorithm>
#include <cmath>

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr int kBarLimit = 32767;

int clampToBar(const Bar& bar, std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, bar.lower(), bar.upper()));
}

// A stored value of any size (or none) becomes an int the bars can clamp: casting a double
// outside int's range is undefined.
int boundedInt(double v) {
    constexpr double kLimit = 1e9;
    return std::isnan(v) ? 0 : static_cast<int>(std::clamp(v, -kLimit, kLimit));
}

// More grid lines than this cannot be told apart on any screen or page.
constexpr std::int64_t kMaxGridLines = 2000;

QString twoDigits(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

GraphWindow timeWindow(const Bars& bars, BarIndex widthBar, BarIndex offsetBar, double stepUnit) {
    GraphWindow w;
    w.width = roundSeconds(bars[widthBar].value * stepUnit);
    w.offset = roundSeconds(bars[offsetBar].value * stepUnit);
    return w;
}

}  // namespace

std::int64_t secondsBetween(double a, double b) {
    return static_cast<std::int64_t>(std::floor((b - a) * kSecondsPerDay + 0.5));
}

std::int64_t toWholeSeconds(double dateTime) {
    return static_cast<std::int64_t>(std::llround(dateTime * kSecondsPerDay));
}

TimeFields timeFieldsOf(std::int64_t wholeSeconds) {
    std::int64_t days = wholeSeconds / kSecondsPerDay;
    std::int64_t rest = wholeSeconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    const QDate date = QDate(1899, 12, 30).addDays(days);
    TimeFields f;
    f.year = date.year();
    f.month = date.month();
    f.day = date.day();
    f.hour = static_cast<int>(rest / 3600);
    f.minute = static_cast<int>(rest / 60 % 60);
    f.second = static_cast<int>(rest % 60);
    return f;
}

QString fullDateTimeText(const TimeFields& f) {
    return QStringLiteral("%1/%2/%3 %4:%5:%6")
        .arg(f.year, 4, 10, QLatin1Char('0'))
        .arg(twoDigits(f.month), twoDigits(f.day), twoDigits(f.hour), twoDigits(f.minute),
             twoDigits(f.second));
}

void Bar::setFirst(int end) {
    first = end;
    value = clampToBar(*this, value);
}

void Bar::setSecond(int end) {
    second = end;
    value = clampToBar(*this, value);
}

void Bar::setRange(int firstEnd, int secondEnd) {
    first = firstEnd;
    second = secondEnd;
    value = clampToBar(*this, value);
}

void Bar::setValue(int v) {
    value = clampToBar(*this, v);
}

Bars initialBars() {
    Bars bars;
    for (int i = TimeWidthBar; i <= HumidityTimePositionBar; ++i) {
        bars[i] = Bar{kBarLimit, i % 2 == 0 ? 10 : 0, 0};
    }
    bars[TimeWidthBar].value = bars[HumidityTimeWidthBar].value = 3600;
    bars[TemperatureSpanBar] = Bar{1, 500, 100};
    bars[HumiditySpanBar] = Bar{1, 500, 250};
    bars[TemperatureCentreBar] = Bar{999, -300, 250};
    bars[HumidityCentreBar] = Bar{999, 250, 500};
    return bars;
}

TimeBase timeBaseOf(double startTime, double endTime) {
    TimeBase base;
    base.startTime = startTime;
    base.endTime = endTime;
    base.span = secondsBetween(startTime, endTime);
    base.stepUnit = base.span > kBarLimit ? static_cast<double>(base.span) / kBarLimit : 1.0;
    return base;
}

void updateScrollRanges(Bars& bars, const TimeBase& base, bool continuous) {
    const std::int64_t span = base.span;
    if (span > kBarLimit) {
        bars[TimeWidthBar].setFirst(kBarLimit);
        bars[HumidityTimeWidthBar].setFirst(kBarLimit);
    } else {
        const int widest =
            span < 50 ? 50 : static_cast<int>(std::min<std::int64_t>(span + 1, kBarLimit));
        bars[TimeWidthBar].setFirst(widest);
        bars[HumidityTimeWidthBar].setFirst(widest);
    }

    if (bars[TimeWidthBar].value > span) {
        bars[TimePositionBar].setFirst(0);
    } else {
        const double oldest = std::floor(span / base.stepUnit - bars[TimeWidthBar].value + 0.5);
        bars[TimePositionBar].setFirst(static_cast<int>(std::min<double>(oldest, kBarLimit)));
    }

    bars[TemperatureCentreBar].setRange(1000 - bars[TemperatureSpanBar].value,
                                        bars[TemperatureSpanBar].value - 400);
    bars[HumidityCentreBar].setRange(1000 - bars[HumiditySpanBar].value,
                                     bars[HumiditySpanBar].value);

    if (continuous) {
        bars[TimeWidthBar].setFirst(30000);
        bars[HumidityTimeWidthBar].setFirst(30000);
        if (span >= 50) {
            for (int width : {100, 200, 400, 800, 1600, 3200}) {
                if (width > span) {
                    bars[TimeWidthBar].setValue(width);
                    break;
                }
            }
        }
    }

    bars[HumidityTimeWidthBar] = bars[TimeWidthBar];
    bars[HumidityTimePositionBar] = bars[TimePositionBar];
}

void fitGraphToData(Bars& bars, const ValueExtremes& x) {
    auto halfSpan = [](double hi, double lo) {
        double h = (hi - lo) * 10 / 2;
        if (std::floor(h + 0.5) < 25) {
            h = 25;
        }
        return boundedInt(std::floor(h * 1.1));
    };
    bars[TemperatureSpanBar].setValue(halfSpan(x.tMax, x.tMin));
    bars[HumiditySpanBar].setValue(halfSpan(x.hMax, x.hMin));
    bars[TemperatureCentreBar].setRange(1000 - bars[TemperatureSpanBar].value,
                                        bars[TemperatureSpanBar].value - 400);
    bars[HumidityCentreBar].setRange(1000 - bars[HumiditySpanBar].value,
                                     bars[HumiditySpanBar].value);
    bars[TemperatureCentreBar].setValue(boundedInt(std::floor((x.tMax + x.tMin) / 2 * 10 + 0.5)));
    bars[HumidityCentreBar].setValue(boundedInt(std::floor((x.hMax + x.hMin) / 2 * 10 + 0.5)));
    bars[TimePositionBar].setValue(0);
    bars[HumidityTimePositionBar].setValue(0);
}

void applyZoom(Bars& bars, ZoomButton button) {
    BarIndex index = TemperatureSpanBar;
    bool twice = true;
    switch (button) {
        case ZoomButton::TemperatureWider:
            index = TemperatureSpanBar;
            twice = true;
            break;
        case ZoomButton::TemperatureNarrower:
            index = TemperatureSpanBar;
            twice = false;
            break;
        case ZoomButton::HumidityWider:
            index = HumiditySpanBar;
            twice = true;
            break;
        case ZoomButton::HumidityNarrower:
            index = HumiditySpanBar;
            twice = false;
            break;
        case ZoomButton::TimeWider:
            index = TimeWidthBar;
            twice = true;
            break;
        case ZoomButton::TimeNarrower:
            index = TimeWidthBar;
            twice = false;
            break;
    }
    Bar& bar = bars[index];
    const std::int64_t v = twice ? std::int64_t{bar.value} * 2 : bar.value / 2;
    bar.setValue(clampToBar(bar, v));
}

std::int64_t roundSeconds(double seconds) {
    return static_cast<std::int64_t>(std::llround(seconds));
}

GraphWindow temperatureWindow(const Bars& bars, double stepUnit) {
    GraphWindow w = timeWindow(bars, TimeWidthBar, TimePositionBar, stepUnit);
    const int h = bars[TemperatureSpanBar].value;
    const int c = bars[TemperatureCentreBar].value;
    w.bottom = (c - h) / 10.0;
    w.top = (c + h) / 10.0;
    w.halfSpan = h;
    return w;
}

GraphWindow humidityWindow(const Bars& bars, double stepUnit) {
    GraphWindow w = timeWindow(bars, HumidityTimeWidthBar, HumidityTimePositionBar, stepUnit);
    const int h = bars[HumiditySpanBar].value;
    int c = bars[HumidityCentreBar].value;
    if (c + h > 1000) {
        c = 1000 - h;
    } else if (c < h) {
        c = h;
    }
    w.bottom = std::max(0.0, (c - h) / 10.0);
    w.top = std::min(100.0, (c + h) / 10.0);
    w.halfSpan = h;
    return w;
}

double xOfTime(double dateTime, double endTime, std::int64_t offset) {
    return static_cast<double>(secondsBetween(dateTime, endTime) - offset);
}

GridStart timeGridStart(std::int64_t endSeconds, std::int64_t width, std::int64_t offset) {
    GridStart g{offset, 1};
    auto scan = [&](std::int64_t reach, std::int64_t newStep, auto qualifies) {
        std::int64_t found = g.start;
        for (std::int64_t t = g.start; t <= g.start + reach; t += g.step) {
            if (qualifies(timeFieldsOf(endSeconds - t))) {
                found = t;
            }
        }
        g.start = found;
        g.step = newStep;
    };
    if (width >= 400) {
        scan(60, 60, [](const TimeFields& f) { return f.second == 0; });
    }
    if (width >= 12000) {
        scan(3600, 3600, [](const TimeFields& f) { return f.minute == 0; });
    }
    if (width >= 720000) {
        scan(86400, 86400, [](const TimeFields& f) { return f.hour == 0; });
        // A window of centuries: every so many midnights, so the work follows the pixels and
        // not the span.
        const std::int64_t days = width / kSecondsPerDay;
        if (days > kMaxGridLines) {
            g.step = kSecondsPerDay * (days / kMaxGridLines + 1);
        }
    }
    return g;
}

std::optional<int> timeLineEntry(const TimeFields& f, std::int64_t width) {
    const bool onMinute = f.second == 0;
    const bool onHour = onMinute && f.minute == 0;
    const bool midnight = onHour && f.hour == 0;
    if (midnight && f.day == 1) {
        return 0;
    }
    if (midnight) {
        return 1;
    }
    if (onHour && f.hour == 12 && width < 720000) {
        return 2;
    }
    if (onHour && width < 720000) {
        return 3;
    }
    if (onMinute && f.minute == 30 && width < 12000) {
        return 4;
    }
    if (onMinute && width < 12000) {
        return 5;
    }
    if (width < 400) {
        return 6;
    }
    return std::nullopt;
}

TimeLabel timeLabelKind(const TimeFields& f, std::int64_t width) {
    const bool onMinute = f.second == 0;
    const bool onHour = onMinute && f.minute == 0;
    const bool midnight = onHour && f.hour == 0;
    if (midnight && f.day == 1) {
        return TimeLabel::MonthDay;
    }
    if (midnight && width < 2268000) {
        return TimeLabel::MonthDay;
    }
    const bool clock = (onHour && f.hour == 12 && width < 129600) || (onHour && width < 43200) ||
                       (onMinute && f.minute == 30 && width < 3600) ||
                       (onMinute && f.minute % 10 == 0 && width < 1800) ||
                       (onMinute && width < 600) || (f.second % 10 == 0 && width < 60) ||
                       width < 10;
    return clock ? TimeLabel::Clock : TimeLabel::None;
}

QString timeLabelText(const TimeFields& f, TimeLabel kind) {
    switch (kind) {
        case TimeLabel::MonthDay:
            return QStringLiteral("%1/%2").arg(f.month).arg(f.day);
        case TimeLabel::Clock:
            return QStringLiteral("%1:%2:%3")
                .arg(twoDigits(f.hour), twoDigits(f.minute), twoDigits(f.second));
        case TimeLabel::None:
            break;
    }
    return {};
}

int firstValueTenth(double bottom) {
    return boundedInt(std::floor(bottom) * 10);
}

int lastValueTenth(double top) {
    return boundedInt(std::floor(top * 10 + 1e-6));
}

std::optional<int> valueLineEntry(int n, int h) {
    if (n == 0) {
        return 7;
    }
    if (n % 100 == 0) {
        return 8;
    }
    if (n % 50 == 0 && h <= 200) {
        return 9;
    }
    if (n % 10 == 0 && h <= 100) {
        return 10;
    }
    if (n % 5 == 0 && h <= 50) {
        return 11;
    }
    if (h <= 10) {
        return 12;
    }
    return std::nullopt;
}

bool valueLabelShown(int n, int h) {
    return n % 200 == 0 || (n % 100 == 0 && h < 500) || (n % 50 == 0 && h < 250) ||
           (n % 10 == 0 && h < 50) || (n % 5 == 0 && h < 10) || h < 5;
}

QString valueLabelText(int n, const QString& unit) {
    return QString::number(n / 10.0, 'g', 12) + unit;
}
