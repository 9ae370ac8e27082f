// The memoised figure loops against the direct formulas, bit for bit, over values that share a
// memo slot, repeat, carry NaN payloads or signed zeros, or are refused.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "analysis/analysis.h"
#include "analysis/memo.h"

namespace {

using analysis::Reading;
using PlainMemo = analysis::Memo<double (*)(double)>;

std::uint64_t bitsOf(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

std::size_t slotOf(double x) {
    return PlainMemo::slotOf(bitsOf(x));
}

// The next float above `from` that lands in the same memo slot, so the two evict each other.
double collidingWith(float from) {
    const std::size_t slot = slotOf(from);
    float f = from;
    for (int step = 0; step < 1 << 20; ++step) {
        f = std::nextafter(f, std::numeric_limits<float>::max());
        if (slotOf(f) == slot) {
            return f;
        }
    }
    ADD_FAILURE() << "no float above " << from << " shares its slot";
    return from;
}

double nanWithPayload(std::uint64_t payload) {
    return std::bit_cast<double>(bitsOf(std::numeric_limits<double>::quiet_NaN()) | payload);
}

void expectColliding(double a, double b) {
    EXPECT_EQ(slotOf(a), slotOf(b)) << a << " and " << b;
    EXPECT_NE(bitsOf(a), bitsOf(b)) << a << " and " << b;
}

TEST(Memo, EveryKeyGetsItsOwnValue) {
    const double warm = collidingWith(20.0f);
    const double wet = collidingWith(55.3f);
    expectColliding(20.0f, warm);
    expectColliding(55.3f, wet);
    // The identity shows any value handed back for the wrong key, down to a NaN's payload.
    const std::vector<double> keys = {20.0f,
                                      warm,
                                      20.0f,
                                      warm,
                                      55.3f,
                                      wet,
                                      wet,
                                      55.3f,
                                      0.0,
                                      -0.0,
                                      0.0,
                                      20.05,
                                      20.05f,
                                      std::numeric_limits<double>::quiet_NaN(),
                                      nanWithPayload(1),
                                      nanWithPayload(2),
                                      -std::numeric_limits<double>::infinity(),
                                      std::numeric_limits<double>::denorm_min()};
    PlainMemo memo([](double x) { return x; });
    for (int pass = 0; pass < 2; ++pass) {
        for (const double key : keys) {
            EXPECT_EQ(bitsOf(memo(key)), bitsOf(key)) << "key " << key << ", pass " << pass;
        }
    }
}

// Every pair of readings run as x, y, x: a fresh memo fills on x, y hits or evicts it, x
// comes back. The minimum and maximum of a figure then give each value exactly.
std::vector<std::vector<Reading>> pairsOf(const std::vector<Reading>& table) {
    std::vector<std::vector<Reading>> runs;
    for (const Reading& x : table) {
        for (const Reading& y : table) {
            runs.push_back({x, y, x});
            runs.back()[1].record = 2;
            runs.back()[2].record = 3;
        }
    }
    return runs;
}

// Readings of temperatures and humidities that repeat, collide in a memo slot, are not floats,
// or lie outside the formulas' range.
std::vector<Reading> tableOfReadings() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const std::vector<double> temperatures = {20.0f, collidingWith(20.0f),
                                              20.1f, collidingWith(20.1f),
                                              0.0,   -0.0,
                                              20.05, 20.05f,
                                              -45.0, -45.5,
                                              85.0f, -infinity,
                                              nan};
    const std::vector<double> humidities = {
        55.3f, collidingWith(55.3f), 0.0, 100.0, 100.5, 1e-30, 47.25, 50.05, 50.05f, nan};
    std::vector<Reading> table;
    for (const double t : temperatures) {
        for (const double rh : humidities) {
            table.push_back({0, t, rh, 1, 1});
        }
    }
    return table;
}

template <typename Figures, typename Direct>
void expectEqualsDirect(const char* what, Figures figures, Direct direct) {
    for (const std::vector<Reading>& run : pairsOf(tableOfReadings())) {
        const analysis::DerivedFigures f = figures(run);
        std::optional<double> low;
        std::optional<double> high;
        int refused = 0;
        for (const Reading& r : run) {
            const std::optional<double> v = direct(r.temperature, r.humidity);
            if (!v) {
                ++refused;
                continue;
            }
            low = low && *low <= *v ? low : v;
            high = high && *high >= *v ? high : v;
        }
        const auto context = [&] {
            return testing::Message()
                   << what << " of " << run[0].temperature << " °C " << run[0].humidity
                   << " %RH then " << run[1].temperature << " °C " << run[1].humidity << " %RH";
        };
        EXPECT_EQ(f.refused, refused) << context();
        EXPECT_EQ(f.count, 3 - refused) << context();
        if (low) {
            EXPECT_EQ(bitsOf(f.minimum.value), bitsOf(*low)) << context();
            EXPECT_EQ(bitsOf(f.maximum.value), bitsOf(*high)) << context();
        }
    }
}

TEST(MemoisedFigures, DewPointsEqualTheDirectFormula) {
    expectEqualsDirect("dew point", analysis::dewPointFigures, analysis::dewPoint);
}

TEST(MemoisedFigures, AbsoluteHumiditiesEqualTheDirectFormula) {
    expectEqualsDirect("absolute humidity", analysis::absoluteHumidityFigures,
                       analysis::absoluteHumidity);
}

TEST(MemoisedFigures, MeanKineticTemperatureEqualsTheDirectSum) {
    // ΔH/R = 10000 K, the exponentials relative to the first reading.
    const double h = analysis::kDefaultActivationEnergy / analysis::kGasConstant;
    for (const std::vector<Reading>& run : pairsOf(tableOfReadings())) {
        const double reference = h / (run[0].temperature + analysis::kZeroCelsius);
        double sum = 0;
        for (const Reading& r : run) {
            sum += std::exp(reference - h / (r.temperature + analysis::kZeroCelsius));
        }
        const double direct = h / (reference - std::log(sum / 3)) - analysis::kZeroCelsius;
        const std::optional<double> mkt = analysis::meanKineticTemperature(run, 60);
        ASSERT_TRUE(mkt);
        EXPECT_EQ(bitsOf(*mkt), bitsOf(direct))
            << run[0].temperature << " °C then " << run[1].temperature << " °C";
    }
}

}  // namespace
