// RandomSource: the generator behind every draw of a run (xoshiro256**, seeded through splitmix64).
#pragma once

#include <cstdint>

namespace zentrix {

/**
 * A uniform random source with a fully specified output, so a seeded run is the same on every
 * machine and compiler.
 *
 * Seeding: the default constructor seeds from std::random_device and the clock. Instead of
 * re-seeding from the time of day before every candidate and every weighted draw (which would
 * repeat values while the clock stands still), the clock is mixed into the running state once per
 * run, by beginRun(). A source built with an explicit seed never looks at the clock: the same seed
 * gives the same run.
 */
class RandomSource
{
public:
    /// Seeded from std::random_device and the clock.
    RandomSource();
    /// Fully reproducible: nothing of the clock enters the sequence.
    explicit RandomSource(std::uint64_t seed);

    /// A seed from std::random_device and the clock, for a run that must be repeatable later:
    /// RandomSource(FreshSeed()) draws like the default source and its seed can be kept.
    static std::uint64_t FreshSeed();

    /// Called by the generation run at its start: mixes the current time into the state unless the
    /// source was seeded explicitly.
    void beginRun();

    /// The next 64 raw bits.
    std::uint64_t next();

    /// A uniform value r with 0 <= r < 1 in single precision: one of the 2^24 multiples of 2^-24.
    float nextUnit();

    bool isSeeded() const { return m_seeded; }

private:
    void seedState(std::uint64_t seed);

    std::uint64_t m_state[4]{};
    bool m_seeded = false;
};

} // namespace zentrix
