// Figures over readings: one pass per figure, in double precision over the stored floats.
#include "analysis/analysis.h"

#include <algorithm>
#include <cmath>

namespace analysis {

namespace {

// Alduchov and Eskridge (1996), saturation vapour pressure over water.
constexpr double kMagnusPressure = 6.1094;  // hPa
constexpr double kMagnusA = 17.625;
constexpr double kMagnusB = 243.04;  // °C
// Specific gas constant of water vapour, J/(kg·K).
constexpr double kWaterVapourConstant = 461.5;

double weightOf(double interval) {
    return interval > 0 ? interval : 0;
}

// Running minimum, maximum and mean of one quantity; strict comparisons keep the earliest
// reading on a tie.
class Accumulator {
  public:
    void add(double value, const Reading& r) {
        if (count_ == 0 || value < minimum_.value) {
            minimum_ = {value, r.time, r.record};
        }
        if (count_ == 0 || value > maximum_.value) {
            maximum_ = {value, r.time, r.record};
        }
        ++count_;
        sum_ += value;
    }
    int count() const { return count_; }
    double mean() const { return count_ == 0 ? 0 : sum_ / count_; }
    const Extreme& minimum() const { return minimum_; }
    const Extreme& maximum() const { return maximum_; }

  private:
    int count_ = 0;
    double sum_ = 0;
    Extreme minimum_;
    Extreme maximum_;
};

QuantityFigures quantityFigures(Readings readings, double Reading::*field) {
    Accumulator acc;
    for (const Reading& r : readings) {
        acc.add(r.*field, r);
    }
    QuantityFigures f;
    if (acc.count() == 0) {
        return f;
    }
    f.minimum = acc.minimum();
    f.maximum = acc.maximum();
    f.mean = acc.mean();
    // Second pass about the mean: no cancellation as with a sum of squares.
    double squares = 0;
    for (const Reading& r : readings) {
        const double d = r.*field - f.mean;
        squares += d * d;
    }
    f.standardDeviation = std::sqrt(squares / acc.count());
    return f;
}

bool inDomain(double temperature, double humidity) {
    return std::isfinite(temperature) && std::isfinite(humidity) &&
           temperature >= kLowestDewPointTemperature && humidity >= 0 && humidity <= 100;
}

double saturationPressure(double temperature) {
    return kMagnusPressure * std::exp(kMagnusA * temperature / (temperature + kMagnusB));
}

// The formulas, inline so the figure loops carry no call per reading.
inline std::optional<double> dewPointOf(double temperature, double humidity) {
    if (!inDomain(temperature, humidity) || humidity <= 0) {
        return std::nullopt;
    }
    const double gamma =
        std::log(humidity / 100.0) + kMagnusA * temperature / (kMagnusB + temperature);
    return kMagnusB * gamma / (kMagnusA - gamma);
}

inline std::optional<double> absoluteHumidityOf(double temperature, double humidity) {
    if (!inDomain(temperature, humidity)) {
        return std::nullopt;
    }
    const double vapourPressure = saturationPressure(temperature) * humidity;  // Pa: hPa × %
    return vapourPressure / (kWaterVapourConstant * (temperature + kZeroCelsius)) * 1000.0;
}

template <typename Derive>
DerivedFigures derivedFigures(Readings readings, Derive derive) {
    Accumulator acc;
    DerivedFigures f;
    for (const Reading& r : readings) {
        if (const std::optional<double> v = derive(r.temperature, r.humidity)) {
            acc.add(*v, r);
        } else {
            ++f.refused;
        }
    }
    f.count = acc.count();
    if (f.count != 0) {
        f.minimum = acc.minimum();
        f.maximum = acc.maximum();
        f.mean = acc.mean();
    }
    return f;
}

}  // namespace

double secondsOf(double dateTime) {
    // Whole milliseconds: a stored day fraction carries no finer time, and rounding keeps
    // whole-second times exact.
    const double milliseconds = dateTime * kSecondsPerDay * 1000.0;
    if (!(std::fabs(milliseconds) < 1e15)) {
        return milliseconds / 1000.0;
    }
    // Half away from zero by a cast: this runs once per record of a bulk read.
    const auto whole = static_cast<long long>(milliseconds + (milliseconds < 0 ? -0.5 : 0.5));
    return static_cast<double>(whole) / 1000.0;
}

double dateTimeOf(double seconds) {
    return seconds / kSecondsPerDay;
}

std::optional<std::vector<Reading>> readReadings(DataSet& set, int first, int last) {
    std::vector<Reading> readings;
    if (last < first) {
        return readings;
    }
    if (first < 1 || last > set.count) {
        return std::nullopt;
    }
    const int count = last - first + 1;
    QByteArray bytes;
    if (set.file.readRecords(first, count, bytes) != DataError::None ||
        bytes.size() != qsizetype(count) * ScratchFile::kRecordSize) {
        return std::nullopt;
    }
    readings.resize(count);
    const char* record = bytes.constData();
    for (int k = 0; k < count; ++k, record += ScratchFile::kRecordSize) {
        const ScratchFile::Fields f = ScratchFile::fieldsOf(record);
        readings[k] = {secondsOf(f.dateTime), f.temperature, f.humidity, static_cast<int>(f.series),
                       first + k};
    }
    return readings;
}

std::optional<std::vector<Reading>> readReadings(DataSet& set) {
    return readReadings(set, 1, set.count);
}

Readings within(Readings readings, double from, double to) {
    const auto begin = std::lower_bound(readings.begin(), readings.end(), from,
                                        [](const Reading& r, double t) { return r.time < t; });
    const auto end = std::upper_bound(begin, readings.end(), to,
                                      [](double t, const Reading& r) { return t < r.time; });
    return readings.subspan(begin - readings.begin(), end - begin);
}

Summary summarize(Readings readings, double interval) {
    Summary s;
    if (readings.empty()) {
        return s;
    }
    s.count = static_cast<int>(readings.size());
    s.firstTime = readings.front().time;
    s.lastTime = readings.back().time;
    s.duration = s.lastTime - s.firstTime;
    s.coveredTime = s.count * weightOf(interval);
    s.seriesCount = 1;
    for (std::size_t k = 1; k < readings.size(); ++k) {
        if (readings[k].series != readings[k - 1].series) {
            ++s.seriesCount;
        }
    }
    s.temperature = quantityFigures(readings, &Reading::temperature);
    s.humidity = quantityFigures(readings, &Reading::humidity);
    return s;
}

std::optional<double> meanKineticTemperature(Readings readings, double /*interval*/,
                                             double activationEnergy) {
    if (readings.empty() || !(activationEnergy > 0)) {
        return std::nullopt;
    }
    const double h = activationEnergy / kGasConstant;  // ΔH/R, K
    // Every reading stands for one interval, so the time weights are equal and cancel. The
    // exponentials are taken relative to the first reading to stay clear of underflow.
    const double reference = h / (readings.front().temperature + kZeroCelsius);
    double sum = 0;
    for (const Reading& r : readings) {
        sum += std::exp(reference - h / (r.temperature + kZeroCelsius));
    }
    const double mean = sum / static_cast<double>(readings.size());
    return h / (reference - std::log(mean)) - kZeroCelsius;
}

std::optional<double> dewPoint(double temperature, double humidity) {
    return dewPointOf(temperature, humidity);
}

std::optional<double> absoluteHumidity(double temperature, double humidity) {
    return absoluteHumidityOf(temperature, humidity);
}

DerivedFigures dewPointFigures(Readings readings) {
    return derivedFigures(readings, [](double t, double rh) { return dewPointOf(t, rh); });
}

DerivedFigures absoluteHumidityFigures(Readings readings) {
    return derivedFigures(readings, [](double t, double rh) { return absoluteHumidityOf(t, rh); });
}

Bounds boundsOf(const DataSet& set) {
    Bounds b;
    if (set.upperOn) {
        b.upper = set.upperBound;
    }
    if (set.lowerOn) {
        b.lower = set.lowerBound;
    }
    return b;
}

Excursions findExcursions(Readings readings, double interval, const Bounds& bounds) {
    Excursions x;
    const double weight = weightOf(interval);
    std::optional<Excursion> open;
    const Reading* previous = nullptr;
    auto close = [&] {
        if (!open) {
            return;
        }
        (open->side == Side::Above ? x.timeAbove : x.timeBelow) += open->duration;
        x.list.push_back(*open);
        open.reset();
    };
    for (const Reading& r : readings) {
        std::optional<Side> side;
        if (bounds.upper && r.temperature > *bounds.upper) {
            side = Side::Above;
        } else if (bounds.lower && r.temperature < *bounds.lower) {
            side = Side::Below;
        }
        const bool sameSeries = previous != nullptr && previous->series == r.series;
        if (open && (!side || *side != open->side || !sameSeries)) {
            close();
        }
        previous = &r;
        if (!side) {
            continue;
        }
        const Extreme here{r.temperature, r.time, r.record};
        if (!open) {
            open = Excursion{*side, r.time, r.time, 0, 0, here};
        }
        open->end = r.time;
        ++open->readings;
        open->duration = open->readings * weight;
        const bool peak = *side == Side::Above ? r.temperature > open->peak.value
                                               : r.temperature < open->peak.value;
        if (peak) {
            open->peak = here;
        }
    }
    close();
    const double covered = static_cast<double>(readings.size()) * weight;
    if (covered > 0) {
        x.shareAbove = x.timeAbove / covered;
        x.shareBelow = x.timeBelow / covered;
    }
    return x;
}

Figures figuresOf(Readings readings, double interval, const Bounds& bounds,
                  double activationEnergy) {
    Figures f;
    f.summary = summarize(readings, interval);
    f.meanKineticTemperature = meanKineticTemperature(readings, interval, activationEnergy);
    f.activationEnergy = activationEnergy;
    f.dewPoint = dewPointFigures(readings);
    f.absoluteHumidity = absoluteHumidityFigures(readings);
    f.bounds = bounds;
    f.excursions = findExcursions(readings, interval, bounds);
    return f;
}

}  // namespace analysis
