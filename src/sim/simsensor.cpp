// Sensor conversion and its inversion by bisection (both conversions rise over their range).
#include "sim/simsensor.h"

#include <cmath>
#include <functional>

namespace simsensor {
namespace {

struct Coefficients {
    double offset, slope, curve, centre;
    double h1, h2, h3, t1, t2;
    int temperatureMax, humidityMax;
};

constexpr Coefficients kNormal{-39.6,   0.01, -2e-8,   7000,  -4,  0.0405,
                               -2.8e-6, 0.01, 0.00008, 16383, 4095};
constexpr Coefficients kFast{-39.6,   0.04, -3.2e-7, 1750, -4, 0.648,
                             -7.2e-4, 0.01, 0.00128, 4095, 255};

const Coefficients& coefficients(bool fast) {
    return fast ? kFast : kNormal;
}

// Nearest integer in [0, max] for a rising function.
int invert(double wanted, int max, const std::function<double(int)>& f) {
    int low = 0;
    int high = max;
    while (low < high) {
        const int mid = (low + high) / 2;
        if (f(mid) < wanted) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    if (low > 0 && std::abs(f(low - 1) - wanted) <= std::abs(f(low) - wanted)) {
        return low - 1;
    }
    return low;
}

}  // namespace

double temperatureOfRaw(int raw, bool fast) {
    const Coefficients& c = coefficients(fast);
    const double d = raw - c.centre;
    return c.offset + c.slope * raw + c.curve * d * d;
}

double humidityOfRaw(int raw, double temperature, bool fast) {
    const Coefficients& c = coefficients(fast);
    const double linear = c.h1 + c.h2 * raw + c.h3 * raw * raw;
    return (temperature - 25) * (c.t1 + c.t2 * raw) + linear;
}

int rawOfTemperature(double temperature, bool fast) {
    return invert(temperature, coefficients(fast).temperatureMax,
                  [fast](int raw) { return temperatureOfRaw(raw, fast); });
}

int rawOfHumidity(double humidity, int rawTemperature, bool fast) {
    const double t = temperatureOfRaw(rawTemperature, fast);
    return invert(humidity, coefficients(fast).humidityMax,
                  [t, fast](int raw) { return humidityOfRaw(raw, t, fast); });
}

}  // namespace simsensor
