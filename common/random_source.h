#pragma once

#include <cstdint>
#include <deque>
#include <random>

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

// A fixed seed, for randomised tests and benchmarks that must be repeatable.
class SeededRandomSource final : public RandomSource {
public:
    explicit SeededRandomSource(std::uint64_t seed) : m_engine(seed) {}
    int uniform(int n) override;
    void reseedFromClock() override { ++reseeds; }
    int reseeds = 0;

private:
    std::mt19937_64 m_engine;
};

// Tests script the draws: each uniform(n) takes the next queued value, which
// must lie in 0..n-1 (a script that does not fit the draw is a test error and
// throws). When the script runs out, draws continue from a fixed-seed engine.
class ScriptedRandomSource final : public RandomSource {
public:
    ScriptedRandomSource() = default;
    explicit ScriptedRandomSource(std::initializer_list<int> values) : m_values(values) {}
    void push(int value) { m_values.push_back(value); }
    template <typename Range> void pushAll(const Range& values)
    {
        for (int v : values) m_values.push_back(v);
    }
    int uniform(int n) override;
    void reseedFromClock() override { ++reseeds; }
    bool exhausted() const { return m_values.empty(); }

    int reseeds = 0;
    int draws = 0;

private:
    std::deque<int> m_values;
    std::mt19937_64 m_fallback{12345};
};

} // namespace common
