#include "common/random_source.h"

#include <chrono>
#include <stdexcept>
#include <string>

namespace common {

namespace {
int draw(std::mt19937_64& engine, int n)
{
    if (n < 1) throw std::invalid_argument("uniform(n) needs n >= 1");
    return static_cast<int>(std::uniform_int_distribution<std::int64_t>(0, n - 1)(engine));
}
} // namespace

ClockRandomSource::ClockRandomSource() { reseedFromClock(); }

int ClockRandomSource::uniform(int n) { return draw(m_engine, n); }

void ClockRandomSource::reseedFromClock()
{
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    std::seed_seq seq{static_cast<std::uint64_t>(now), static_cast<std::uint64_t>(wall),
                      ++m_reseeds, reinterpret_cast<std::uintptr_t>(this)};
    m_engine.seed(seq);
}

int SeededRandomSource::uniform(int n) { return draw(m_engine, n); }

int ScriptedRandomSource::uniform(int n)
{
    ++draws;
    if (m_values.empty()) return draw(m_fallback, n);
    const int v = m_values.front();
    m_values.pop_front();
    if (v < 0 || v >= n)
        throw std::out_of_range("scripted draw " + std::to_string(v) + " outside 0.." +
                                std::to_string(n - 1));
    return v;
}

} // namespace common
