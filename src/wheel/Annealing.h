// Annealing: the band of temperatures both wheel searches cool through, with the chances of
// keeping a worse design at the current one.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>

namespace zentrix::wheel {

/// Geometric cooling from `start` down to `frozen`, then back to `start`. `accept()[d]` is the
/// Metropolis chance exp(-d / temperature) of keeping a move that makes the cost d worse.
class TemperatureBand
{
public:
    TemperatureBand(double start, double frozen, double cooling)
        : m_start(start)
        , m_frozen(frozen)
        , m_cooling(cooling)
    {
        restart();
    }

    const std::array<double, 32>& accept() const { return m_accept; }

    /// Back to the start temperature.
    void restart() { set(m_start); }

    /// One step cooler, or back to the start once below the frozen temperature.
    void cool()
    {
        const double next = m_temperature * m_cooling;
        set(next < m_frozen ? m_start : next);
    }

private:
    void set(double temperature)
    {
        m_temperature = temperature;
        for (std::size_t d = 0; d < m_accept.size(); ++d)
            m_accept[d] = std::exp(-double(d) / temperature);
    }

    double m_start;
    double m_frozen;
    double m_cooling;
    double m_temperature = 0;
    std::array<double, 32> m_accept{};
};

} // namespace zentrix::wheel
