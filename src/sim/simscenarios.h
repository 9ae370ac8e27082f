// Named loggers for tests, benchmarks and the demo, placed relative to a present time so the
// same scenario is reproducible in tests and current in the demo.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

class SimLogger;

namespace simscenario {

QStringList names();
// One line saying what a scenario holds (for --help and test names).
QString describe(const QString& name);
// Configures `logger` (state, clock at `now`) as the scenario; false for an unknown name.
bool apply(const QString& name, SimLogger& logger, const QDateTime& now);

// Alarm bound bytes as the host writes them: raw high byte (bit 7 when enabled), low byte.
std::array<std::uint8_t, 2> alarmBytes(double temperature, bool enabled);

}  // namespace simscenario
