// Figures over a data set or a time window of it: summary, mean kinetic temperature, dew point
// and absolute humidity, alarm excursions. Pure functions over readings in double precision.
//
// Time weighting: every sample stands for one recording interval, the time up to the next
// sample of its series. The gap between two series is not counted, so covered time is
// count × interval and every sample carries the same weight. An excursion of n samples lasts
// n × interval (one sample: one interval); its start and end are the times of its first and
// last sample.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "data/dataset.h"

namespace analysis {

inline constexpr double kSecondsPerDay = 86400.0;
// Gas constant in kJ/(mol·K), as the pharmacopoeias take it: 83.144 kJ/mol gives ΔH/R 10000 K.
inline constexpr double kGasConstant = 0.0083144;
inline constexpr double kDefaultActivationEnergy = 83.144;  // kJ/mol
inline constexpr double kZeroCelsius = 273.15;              // K
// Below this temperature the Magnus form over water is refused.
inline constexpr double kLowestDewPointTemperature = -45.0;

// One sample as the figures see it.
struct Reading {
    double time = 0;  // seconds since 1899-12-30 00:00:00
    double temperature = 0;
    double humidity = 0;
    int series = 0;
    int record = 0;  // record number within its data set (1-based)
};
using Readings = std::span<const Reading>;

// A date-time (days since 1899-12-30) as Reading::time and back.
double secondsOf(double dateTime);
double dateTimeOf(double seconds);

// Records first..last of a data set's scratch file in one bulk read; nullopt when a record
// lies beyond the file or the range is outside 1..count.
std::optional<std::vector<Reading>> readReadings(DataSet& set, int first, int last);
// All records of the data set (empty for an empty data set).
std::optional<std::vector<Reading>> readReadings(DataSet& set);

// The readings whose time lies in [from, to] (seconds, both inclusive); readings are in time
// order.
Readings within(Readings readings, double from, double to);

// An extreme value and where it occurs: the earliest reading on a tie.
struct Extreme {
    double value = 0;
    double time = 0;
    int record = 0;
};

struct QuantityFigures {
    Extreme minimum;
    Extreme maximum;
    double mean = 0;
    // Population standard deviation: the readings are the whole recording, not a draw from it.
    double standardDeviation = 0;
};

struct Summary {
    int count = 0;
    double firstTime = 0;    // seconds
    double lastTime = 0;     // seconds
    double duration = 0;     // lastTime - firstTime, gaps included
    double coveredTime = 0;  // count × interval: the time the samples stand for
    int seriesCount = 0;
    QuantityFigures temperature;
    QuantityFigures humidity;
};
// Everything zero for no readings.
Summary summarize(Readings readings, double interval);

// Mean kinetic temperature in °C with the activation energy in kJ/mol; nullopt for no
// readings or an activation energy that is not positive.
std::optional<double> meanKineticTemperature(Readings readings, double interval,
                                             double activationEnergy = kDefaultActivationEnergy);

// Magnus form over water with the coefficients of Alduchov and Eskridge (1996):
// es = 6.1094 hPa × exp(17.625 t / (t + 243.04)). Refused below -45 °C, at or below 0 %RH,
// above 100 %RH and for values that are not finite.
std::optional<double> dewPoint(double temperature, double humidity);
// Water vapour density in g/m³ from the same saturation pressure; refused below -45 °C,
// outside 0..100 %RH and for values that are not finite (0 %RH gives 0).
std::optional<double> absoluteHumidity(double temperature, double humidity);

// Minimum, mean and maximum of a quantity derived per reading, over the readings where it is
// defined; refused counts the others.
struct DerivedFigures {
    int count = 0;
    int refused = 0;
    Extreme minimum;
    Extreme maximum;
    double mean = 0;
};
DerivedFigures dewPointFigures(Readings readings);
DerivedFigures absoluteHumidityFigures(Readings readings);

// Temperature alarm bounds in °C; an absent bound is off.
struct Bounds {
    std::optional<double> upper;
    std::optional<double> lower;
};
// The data set's bounds where its alarms are on.
Bounds boundsOf(const DataSet& set);

enum class Side { Above, Below };

// A run of consecutive readings of one series beyond one bound. A reading exactly on a bound
// is inside; a series break ends a run.
struct Excursion {
    Side side = Side::Above;
    double start = 0;     // seconds, first reading beyond the bound
    double end = 0;       // seconds, last reading beyond the bound
    double duration = 0;  // readings × interval
    int readings = 0;
    Extreme peak;  // highest reading above, lowest below
};

struct Excursions {
    std::vector<Excursion> list;  // in time order
    double timeAbove = 0;         // seconds
    double timeBelow = 0;
    double shareAbove = 0;  // of the covered time, 0..1
    double shareBelow = 0;
};
Excursions findExcursions(Readings readings, double interval, const Bounds& bounds);

// All figures of a report.
struct Figures {
    Summary summary;
    std::optional<double> meanKineticTemperature;
    double activationEnergy = kDefaultActivationEnergy;
    DerivedFigures dewPoint;
    DerivedFigures absoluteHumidity;
    Bounds bounds;
    Excursions excursions;
};
Figures figuresOf(Readings readings, double interval, const Bounds& bounds,
                  double activationEnergy = kDefaultActivationEnergy);

}  // namespace analysis
