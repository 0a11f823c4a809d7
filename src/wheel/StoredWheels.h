// StoredWheels: the best designs the engine found in long offline runs (`make wheel-table`),
// built into the program and proved before the first use.
#pragma once

#include "wheel/Combinations.h"
#include "wheel/WheelRequest.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix::wheel {

/// One stored design: blocks of six points out of `points` (0-based) for "strength if served".
struct StoredDesign
{
    int points = 0;
    int strength = 0;
    int served = 0;
    std::uint64_t seed = 0; ///< the search seed that found it
    double seconds = 0;     ///< how far into its run the search found it
    std::vector<PointMask> blocks;
};

/**
 * The text form, one design after another:
 *
 *     # comment lines and blank lines are skipped
 *     design v=17 t=3 m=3 size=44 seed=12345 seconds=81.5
 *     0 1 2 3 4 5
 *     ...                     (exactly `size` lines of six distinct point indices below v)
 *
 * `error` is empty when the whole text was read; otherwise it names the first faulty line and the
 * designs before it are kept. The parser checks the form only; whether a design keeps its
 * guarantee is ProveStoredDesign's business.
 */
struct StoredParse
{
    std::vector<StoredDesign> designs;
    std::string error;
};
StoredParse ParseStoredDesigns(std::string_view text);

/// The text form of `designs` (with `comment` lines first, each given a leading "# ").
std::string FormatStoredDesigns(const std::vector<StoredDesign>& designs,
                                const std::vector<std::string>& comment = {});

/// True when the design is well formed (7..30 points, a guarantee CheckRequest accepts) and the
/// exhaustive proof (VerifyWheel on the picks 1..v) passes.
bool ProveStoredDesign(const StoredDesign& design);

/// A set of stored designs, looked up by problem. Each design is proved the first time it is
/// looked up; one that fails the proof is never returned. Safe to use from several threads.
class StoredWheels
{
public:
    explicit StoredWheels(std::vector<StoredDesign> designs);

    /// The table built into the program from data/wheels/best-wheels.txt.
    static const StoredWheels& BuiltIn();

    /// The smallest proved design for a problem with six-point blocks, if there is one.
    std::optional<StoredDesign> find(const CoverProblem& problem) const;

    std::size_t size() const { return m_designs.size(); }

private:
    enum class Proof : std::uint8_t
    {
        Unknown,
        Passed,
        Failed,
    };
    std::vector<StoredDesign> m_designs;
    mutable std::vector<Proof> m_proofs;
    mutable std::mutex m_mutex;
};

/// The text of data/wheels/best-wheels.txt as it was when the program was built.
std::string_view BuiltInWheelText();

} // namespace zentrix::wheel
