// A small direct-mapped memo of a function of one double: logger readings repeat heavily, so
// the figure loops take an exponential or a logarithm once per distinct value, not per reading.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace analysis {

template <typename Function>
class Memo {
  public:
    // Hundreds of distinct values in a day's swing: few of them share a slot, at 64 KiB.
    static constexpr std::size_t kSlots = 4096;

    // Every slot starts as the function of +0.0, so a slot always holds the function of its key
    // and a hit is exact whatever was stored before.
    explicit Memo(Function function) : function_(function) {
        keys_.fill(0);
        values_.fill(function_(0.0));
    }

    // The function of `x`, bit for bit as a direct call: keys are the whole bit pattern, so
    // -0.0, every NaN and values a float cannot hold each have their own key.
    auto operator()(double x) {
        const std::uint64_t key = std::bit_cast<std::uint64_t>(x);
        const std::size_t slot = slotOf(key);
        if (keys_[slot] != key) {
            keys_[slot] = key;
            values_[slot] = function_(x);
        }
        return values_[slot];
    }

    // Readings are floats widened to double, so the low 29 bits are zero; a multiplicative hash
    // spreads the float's bits over the slots.
    static std::size_t slotOf(std::uint64_t key) {
        constexpr std::uint64_t kMultiplier = 0x9e3779b97f4a7c15;
        constexpr int kSlotBits = std::countr_zero(kSlots);
        return static_cast<std::size_t>((key * kMultiplier) >> (64 - kSlotBits));
    }

  private:
    Function function_;
    std::array<std::uint64_t, kSlots> keys_;
    std::array<decltype(function_(0.0)), kSlots> values_;
};

}  // namespace analysis
