// Raw sensor values: the host's conversion and the simulator's inversion of it.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/simmemory.h"
#include "sim/simsensor.h"

namespace {

TEST(SimSensor, ConvertsRawTemperatureLikeTheHost) {
    EXPECT_NEAR(simsensor::temperatureOfRaw(6400, false), 24.3928, 1e-9);
    EXPECT_NEAR(simsensor::temperatureOfRaw(7000, false), 30.4, 1e-9);
    EXPECT_NEAR(simsensor::temperatureOfRaw(1750, true), 30.4, 1e-9);
}

struct InversionCase {
    bool fast;
    double temperatureStep;  // one raw step, in degrees, near room temperature
    double humidityStep;
};

class SimSensorInversion : public ::testing::TestWithParam<InversionCase> {};

TEST_P(SimSensorInversion, RawValuesDecodeToTheWantedClimateWithinOneStep) {
    const InversionCase c = GetParam();
    for (double t = -35; t <= 95; t += 6.5) {
        const int rt = simsensor::rawOfTemperature(t, c.fast);
        const double back = simsensor::temperatureOfRaw(rt, c.fast);
        EXPECT_LE(std::abs(back - t), c.temperatureStep) << t;
        // Nearest: the neighbours are not closer.
        EXPECT_LE(std::abs(back - t), std::abs(simsensor::temperatureOfRaw(rt + 1, c.fast) - t));
        EXPECT_LE(std::abs(back - t), std::abs(simsensor::temperatureOfRaw(rt - 1, c.fast) - t));
        for (double h = 5; h <= 80; h += 15) {
            const int rh = simsensor::rawOfHumidity(h, rt, c.fast);
            EXPECT_LE(std::abs(simsensor::humidityOfRaw(rh, back, c.fast) - h), c.humidityStep)
                << t << " " << h;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothResolutions, SimSensorInversion,
                         ::testing::Values(InversionCase{false, 0.01, 0.05},
                                           InversionCase{true, 0.05, 0.8}));

TEST(SimSensor, ClampsToTheConverterRange) {
    EXPECT_EQ(simsensor::rawOfTemperature(-200, false), 0);
    EXPECT_EQ(simsensor::rawOfTemperature(500, false), 16383);
    EXPECT_EQ(simsensor::rawOfTemperature(500, true), 4095);
    EXPECT_EQ(simsensor::rawOfHumidity(150, 6400, false), 4095);
    EXPECT_EQ(simsensor::rawOfHumidity(-50, 6400, false), 0);
}

TEST(SimSensor, RecordsUseTheFastResolutionBelowThreeSeconds) {
    const SimClimate climate{25, 50};
    const auto slow = simmemory::rawRecord(climate, 3);
    const auto fast = simmemory::rawRecord(climate, 2);
    EXPECT_NEAR(simsensor::temperatureOfRaw(slow[0], false), 25, 0.01);
    EXPECT_NEAR(simsensor::temperatureOfRaw(fast[0], true), 25, 0.05);
    EXPECT_LT(fast[0], 4096);
    EXPECT_LT(fast[1], 256);
}

}  // namespace
