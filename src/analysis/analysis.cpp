// Figures over readings: one pass per figure, in double precision over the stored floats.
#include "analysis/analysis.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "analysis/memo.h"

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

// Temperature and humidity side by side: one pass over the readings for both, then one about
// both means.
std::array<QuantityFigures, 2> quantityFigures(Readings readings) {
    Accumulator temperature;
    Accumulator humidity;
    for (const Reading& r : readings) {
        temperature.add(r.temperature, r);
        humidity.add(r.humidity, r);
    }
    std::array<QuantityFigures, 2> f;
    if (readings.empty()) {
        return f;
    }
    const auto take = [](const Accumulator& acc, QuantityFigures& figures) {
        figures.minimum = acc.minimum();
        figures.maximum = acc.maximum();
        figures.mean = acc.mean();
    };
    take(temperature, f[0]);
    take(humidity, f[1]);
    // Second pass about the means: no cancellation as with a sum of squares.
    double temperatureSquares = 0;
    double humiditySquares = 0;
    for (const Reading& r : readings) {
        const double dt = r.temperature - f[0].mean;
        const double dh = r.humidity - f[1].mean;
        temperatureSquares += dt * dt;
        humiditySquares += dh * dh;
    }
    const double count = static_cast<double>(readings.size());
    f[0].standardDeviation = std::sqrt(temperatureSquares / count);
    f[1].standardDeviation = std::sqrt(humiditySquares / count);
    return f;
}

bool inDomain(double temperature, double humidity) {
    return std::isfinite(temperature) && std::isfinite(humidity) &&
           temperature >= kLowestDewPointTemperature && humidity >= 0 && humidity <= 100;
}

double saturationPressure(double temperature) {
    return kMagnusPressure * std::exp(kMagnusA * temperature / (temperature + kMagnusB));
}

double logOfShare(double humidity) {
    return std::log(humidity / 100.0);
}

// The formulas, inline so the figure loops carry no call per reading; the transcendental part
// comes from `logOfShare` or `pressureOf`, a direct call or a memo of it.
template <typename LogOfShare>
inline std::optional<double> dewPointOf(double temperature, double humidity,
                                        LogOfShare&& logOfShare) {
    if (!inDomain(temperature, humidity) || humidity <= 0) {
        return std::nullopt;
    }
    const double gamma = logOfShare(humidity) + kMagnusA * temperature / (kMagnusB + temperature);
    return kMagnusB * gamma / (kMagnusA - gamma);
}

template <typename SaturationPressure>
inline std::optional<double> absoluteHumidityOf(double temperature, double humidity,
                                                SaturationPressure&& pressureOf) {
    if (!inDomain(temperature, humidity)) {
        return std::nullopt;
    }
    const double vapourPressure = pressureOf(temperature) * humidity;  // Pa: hPa × %
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
    const std::array<QuantityFigures, 2> quantities = quantityFigures(readings);
    s.temperature = quantities[0];
    s.humidity = quantities[1];
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
    Memo relativeRate(
        [&](double temperature) { return std::exp(reference - h / (temperature + kZeroCelsius)); });
    double sum = 0;
    for (const Reading& r : readings) {
        sum += relativeRate(r.temperature);
    }
    const double mean = sum / static_cast<double>(readings.size());
    return h / (reference - std::log(mean)) - kZeroCelsius;
}

std::optional<double> dewPoint(double temperature, double humidity) {
    return dewPointOf(temperature, humidity, logOfShare);
}

std::optional<double> absoluteHumidity(double temperature, double humidity) {
    return absoluteHumidityOf(temperature, humidity, saturationPressure);
}

DerivedFigures dewPointFigures(Readings readings) {
    Memo memo(logOfShare);
    return derivedFigures(readings, [&](double t, double rh) { return dewPointOf(t, rh, memo); });
}

DerivedFigures absoluteHumidityFigures(Readings readings) {
    Memo memo(saturationPressure);
    return derivedFigures(readings,
                          [&](double t, double rh) { return absoluteHumidityOf(t, rh, memo); });
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
