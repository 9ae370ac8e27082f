// The logger's sensor seen from the device: turns a temperature and humidity into the raw
// readings the host converts back, for both resolutions (the fast one is used below 3 s).
#pragma once

#include <cstdint>

namespace simsensor {

// Conversion as the host performs it, so tests can check the inversion round trip.
double temperatureOfRaw(int raw, bool fast);
double humidityOfRaw(int raw, double temperature, bool fast);

// Raw readings nearest to the wanted values, clamped to the converter's range (14-bit
// temperature and 12-bit humidity, or 12 and 8 bits in fast sampling). The humidity is
// inverted against the temperature decoded from `rawTemperature`, as the host computes it.
int rawOfTemperature(double temperature, bool fast);
int rawOfHumidity(double humidity, int rawTemperature, bool fast);

// The resolution the logger records with at a given interval in seconds.
inline bool fastForInterval(int seconds) {
    return seconds < 3;
}

}  // namespace simsensor
