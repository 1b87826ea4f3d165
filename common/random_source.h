// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace common {

// The one source of chance for every generator: a uniform whole number
// 0..n-1, and a re-seeding from the clock at the points the drills name.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Uniform integer in 0..n-1; n must be at least 1.
    virtual int uniform(int n) = 0;
    virtual void reseedFromClock() = 0;
};

// A small, fast engine (xoshiro256**): Bairo re-seeds before every problem,
// so seeding must cost next to nothing.
class Xoshiro256 {
public:
    using result_type = std::uint64_t;
    static constexpr result_type min() { return 0; }
    static constexpr result_type max() { return ~result_type(0); }
    // Expands one 64-bit seed into the whole state (splitmix64).
    void seed(std::uint64_t value);
    result_type operator()();

private:
    std::uint64_t m_s[4] = {1, 2, 3, 4};
};

// The real source, seeded from a high-resolution clock mixed with a counter,
// so that two re-seedings within one tick still differ.
class ClockRandomSource final : public RandomSource {
public:
    ClockRandomSource();
    int uniform(int n) override;
    void reseedFromClock() override;

private:
    Xoshiro256 m_engine;
    std::uint64_t m_reseeds = 0;
};

// Seeded once and never again: re-seeding from the clock goes on with the
// same sequence, so that a set drawn from a seed (the day's practice of a
// child) is drawn the same every time.
class FixedSeedRandomSource final : public RandomSource {
public:
    explicit FixedSeedRandomSource(std::uint64_t seed) { m_engine.seed(seed); }
    int uniform(int n) override;
    void reseedFromClock() override {}

private:
    Xoshiro256 m_engine;
};

} // namespace common
