// Pure arithmetic of the graph view: time base, scroll-bar ranges, fit, zoom, visible window,
// calendar-aware time grid, value grid and label rules. No widgets, no files.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// Whole seconds from a to b, both date-times counted in days since 1899-12-30:
// Int((b - a) * 86400 + 0.5). The one conversion from date-times to seconds in the graphs.
std::int64_t secondsBetween(double a, double b);

// A date-time as whole seconds since 1899-12-30 00:00:00 (nearest second).
std::int64_t toWholeSeconds(double dateTime);

// Calendar fields of a date-time held as whole seconds since 1899-12-30.
struct TimeFields {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
TimeFields timeFieldsOf(std::int64_t wholeSeconds);
// "yyyy/mm/dd hh:nn:ss", the full date-time text of graphs and read-out.
QString fullDateTimeText(const TimeFields& f);

// One graph scroll bar: the first end is the left end of a horizontal bar or the top end of
// a vertical bar and may hold the larger number.
struct Bar {
    int first = 0;
    int second = 0;
    int value = 0;

    int lower() const { return first < second ? first : second; }
    int upper() const { return first < second ? second : first; }
    // Assigning an end that excludes the value moves the value to the nearest end.
    void setFirst(int end);
    void setSecond(int end);
    void setRange(int firstEnd, int secondEnd);
    void setValue(int v);
};

enum BarIndex {
    TimeWidthBar = 0,
    TimePositionBar,
    HumidityTimeWidthBar,
    HumidityTimePositionBar,
    TemperatureSpanBar,
    TemperatureCentreBar,
    HumiditySpanBar,
    HumidityCentreBar
};
using Bars = std::array<Bar, 8>;

// The window design's start-up bars: half-spans 1..500, centres from 999 at the top, time bars
// from 32767 at the left.
Bars initialBars();

struct TimeBase {
    double startTime = 0;
    double endTime = 0;
    std::int64_t span = 0;  // seconds
    double stepUnit = 1;    // seconds per scroll step
};
TimeBase timeBaseOf(double startTime, double endTime);

// The bar arithmetic of GraphView::updateScrollRanges once the time base is known; continuous marks
// the continuous real-time measurement in which the width follows the growing data.
void updateScrollRanges(Bars& bars, const TimeBase& base, bool continuous);

struct ValueExtremes {
    double tMax = 0;
    double tMin = 0;
    double hMax = 0;
    double hMin = 0;
};
// Centres and sizes both value ranges on the extremes (GraphView::fitGraphToData).
void fitGraphToData(Bars& bars, const ValueExtremes& x);

enum class ZoomButton {
    TemperatureWider,
    TemperatureNarrower,
    HumidityWider,
    HumidityNarrower,
    TimeWider,
    TimeNarrower
};
// Int(value * 2) or Int(value / 2) clamped to the bar's range, assigned to the button's bar.
void applyZoom(Bars& bars, ZoomButton button);

// The visible window of one graph.
struct GraphWindow {
    std::int64_t width = 0;   // W, seconds
    std::int64_t offset = 0;  // O, seconds back from the end time
    double bottom = 0;
    double top = 0;
    int halfSpan = 0;  // tenths; selects grid and label density
};
std::int64_t roundSeconds(double seconds);
GraphWindow temperatureWindow(const Bars& bars, double stepUnit);
GraphWindow humidityWindow(const Bars& bars, double stepUnit);

// Horizontal graph coordinate of a time: 0 at the right edge, W at the left edge.
double xOfTime(double dateTime, double endTime, std::int64_t offset);

// First grid position (seconds before the end time) and grid step for a window.
struct GridStart {
    std::int64_t start = 0;
    std::int64_t step = 1;
};
GridStart timeGridStart(std::int64_t endSeconds, std::int64_t width, std::int64_t offset);

// Palette entry of the time line at a moment, or nullopt for no line.
std::optional<int> timeLineEntry(const TimeFields& f, std::int64_t width);

enum class TimeLabel { None, MonthDay, Clock };
TimeLabel timeLabelKind(const TimeFields& f, std::int64_t width);
QString timeLabelText(const TimeFields& f, TimeLabel kind);

// Value grid and labels walk whole tenths n from Int(bottom) * 10 up to top.
int firstValueTenth(double bottom);
int lastValueTenth(double top);
std::optional<int> valueLineEntry(int tenths, int halfSpan);
bool valueLabelShown(int tenths, int halfSpan);
// Shortest decimal form of tenths / 10 followed by the unit text ("22.5°C").
QString valueLabelText(int tenths, const QString& unit);
