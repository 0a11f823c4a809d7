// RandomSource: xoshiro256** (Blackman and Vigna), with splitmix64 to spread a 64-bit seed.
#include "RandomSource.h"

#include <chrono>
#include <random>

namespace zentrix {
namespace {

std::uint64_t SplitMix64(std::uint64_t& x)
{
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint64_t Rotl(std::uint64_t x, int k)
{
    return (x << k) | (x >> (64 - k));
}

std::uint64_t ClockBits()
{
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    const auto steady = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::uint64_t>(wall) ^ Rotl(static_cast<std::uint64_t>(steady), 32);
}

} // namespace

RandomSource::RandomSource()
{
    seedState(FreshSeed());
}

std::uint64_t RandomSource::FreshSeed()
{
    std::random_device device;
    const std::uint64_t seed = (static_cast<std::uint64_t>(device()) << 32) ^ device();
    return seed ^ ClockBits();
}

RandomSource::RandomSource(std::uint64_t seed)
    : m_seeded(true)
{
    seedState(seed);
}

void RandomSource::seedState(std::uint64_t seed)
{
    for (std::uint64_t& word : m_state)
        word = SplitMix64(seed);
}

void RandomSource::beginRun()
{
    if (m_seeded)
        return;
    std::uint64_t mix = ClockBits();
    for (std::uint64_t& word : m_state)
        word ^= SplitMix64(mix);
    if ((m_state[0] | m_state[1] | m_state[2] | m_state[3]) == 0)
        m_state[0] = 1; // the one state xoshiro never leaves
}

std::uint64_t RandomSource::next()
{
    const std::uint64_t result = Rotl(m_state[1] * 5, 7) * 9;
    const std::uint64_t t = m_state[1] << 17;
    m_state[2] ^= m_state[0];
    m_state[3] ^= m_state[1];
    m_state[1] ^= m_state[2];
    m_state[0] ^= m_state[3];
    m_state[2] ^= t;
    m_state[3] = Rotl(m_state[3], 45);
    return result;
}

float RandomSource::nextUnit()
{
    // The top 24 bits make a float in [0, 1) exactly, with no rounding up to 1.
    return static_cast<float>(next() >> 40) * 0x1.0p-24f;
}

} // namespace zentrix
