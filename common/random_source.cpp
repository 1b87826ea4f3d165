// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/random_source.h"

#include <chrono>
#include <random>
#include <stdexcept>

namespace common {

namespace {
template <typename Engine> int draw(Engine& engine, int n)
{
    if (n < 1) throw std::invalid_argument("uniform(n) needs n >= 1");
    return static_cast<int>(std::uniform_int_distribution<std::int64_t>(0, n - 1)(engine));
}

std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
} // namespace

void Xoshiro256::seed(std::uint64_t value)
{
    for (auto& word : m_s) {
        value += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = value;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        word = z ^ (z >> 31);
    }
}

Xoshiro256::result_type Xoshiro256::operator()()
{
    const std::uint64_t result = rotl(m_s[1] * 5, 7) * 9;
    const std::uint64_t t = m_s[1] << 17;
    m_s[2] ^= m_s[0];
    m_s[3] ^= m_s[1];
    m_s[1] ^= m_s[2];
    m_s[0] ^= m_s[3];
    m_s[2] ^= t;
    m_s[3] = rotl(m_s[3], 45);
    return result;
}

int FixedSeedRandomSource::uniform(int n) { return draw(m_engine, n); }

ClockRandomSource::ClockRandomSource() { reseedFromClock(); }

int ClockRandomSource::uniform(int n) { return draw(m_engine, n); }

void ClockRandomSource::reseedFromClock()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    // Each input goes through a different odd multiplier before mixing.
    m_engine.seed(static_cast<std::uint64_t>(now) * 0xD1342543DE82EF95ULL ^
                  static_cast<std::uint64_t>(wall) ^ (++m_reseeds) * 0x9E3779B97F4A7C15ULL ^
                  reinterpret_cast<std::uintptr_t>(this));
}

} // namespace common
