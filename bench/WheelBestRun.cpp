// `make wheel-table`: long searches for the wheels built into the program. For every cell ("t if m"
// on v picks, no key numbers) it runs the search with several seeds, each for a set time, and
// keeps the smallest proved design in data/wheels/best-wheels.txt, only ever replacing a stored
// design with a smaller one. The file is rewritten after each cell (temporary file, then rename),
// so a run cut short keeps what it found.
//
//   zentrix_wheel_best --out FILE [--seconds S] [--seeds N] [--first-seed N] [--import FILE] [--orbit]
//                      [--orbit-seconds S2] [CELL...]
//
// --import merges the designs of another such file (say, from a run on another machine) into
// FILE under the same rule, before any search.
// --orbit (covering cells "t if t" only) searches designs made of whole orbits of a cyclic shift
// instead: for each seed, the shift of one, two or three cycles of equal length with up to two
// fixed points (Z_v, Z_(v-1) plus infinity, Z_(v/2) on two halves ...), S2 seconds each (S unless
// --orbit-seconds is given), then the smallest of those designs finished by the free search (which
// drops what is redundant) for S seconds.
// A CELL is t/m:v or t/m:v1-v2, e.g. 3/3:7-20; the default cells (unless --import is given) are
// 3/3:7-20 and 4/4:7-20.
#include "generator/RandomSource.h"
#include "wheel/CoverSearch.h"
#include "wheel/OrbitSearch.h"
#include "wheel/StoredWheels.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using namespace zentrix;
using namespace zentrix::wheel;

namespace {

struct Cell
{
    int t = 0;
    int m = 0;
    int v = 0;
};

bool ParseCells(const std::string& text, std::vector<Cell>& cells)
{
    int t = 0, m = 0, from = 0, to = 0;
    char slash = 0, colon = 0, dash = 0;
    std::istringstream in(text);
    if (!(in >> t >> slash >> m >> colon >> from) || slash != '/' || colon != ':')
        return false;
    to = from;
    if (in >> dash >> to && dash != '-')
        return false;
    if (t < 3 || t > 5 || m < t || m > 6 || from < kMinPicks || to > kMaxPicks || from > to)
        return false;
    for (int v = from; v <= to; ++v)
        cells.push_back(Cell{t, m, v});
    return true;
}

/// Where a search of this cell may stop: the published size, or else the lower bound.
std::uint64_t StopSize(const Cell& cell)
{
    WheelRequest request;
    for (int n = 1; n <= cell.v; ++n)
        request.picks.push_back(n);
    request.guarantee = Guarantee{cell.t, cell.m};
    if (const auto known = BestKnownSize(request))
        return std::uint64_t(*known);
    return LowerBound(request);
}

/// One seed of --orbit: the smallest orbit design of the groups, finished by FindCoverFrom.
SearchOutcome OrbitRun(const Cell& cell, const SearchLimits& limits, double orbitSeconds, double& foundAt)
{
    const auto start = std::chrono::steady_clock::now();
    const CoverProblem problem{cell.v, 6, cell.t, cell.m};
    OrbitLimits orbitLimits;
    orbitLimits.time = std::chrono::milliseconds(std::int64_t(orbitSeconds * 1000));
    orbitLimits.seed = limits.seed;
    orbitLimits.stopAtSize = limits.stopAtSize;
    std::vector<PointMask> best;
    std::vector<CyclicGroup> groups;
    for (int copies = 1; copies <= 3; ++copies) {
        for (int fixed = 0; fixed <= 2; ++fixed) {
            if ((cell.v - fixed) % copies == 0 && (cell.v - fixed) / copies >= 5)
                groups.push_back(CyclicGroup{(cell.v - fixed) / copies, copies, fixed});
        }
    }
    for (const CyclicGroup& group : groups) {
        const OrbitOutcome orbit = FindOrbitCover(problem, group, orbitLimits);
        std::printf("  Z_%d x%d +%d: %zu base blocks, %zu blocks at %.1f s\n", group.cycle, group.copies,
                    group.fixedPoints, orbit.base.size(), orbit.blocks.size(), orbit.seconds);
        std::fflush(stdout);
        if (!orbit.blocks.empty() && (best.empty() || orbit.blocks.size() < best.size())) {
            best = orbit.blocks;
            foundAt = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
    }
    std::size_t size = best.size();
    const SearchOutcome outcome = FindCoverFrom(problem, best, limits, nullptr, [&](const SearchProgress& p) {
        if (p.bestSize < size) {
            size = p.bestSize;
            foundAt = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
    });
    std::printf("  finished: %zu blocks\n", outcome.blocks.size());
    return outcome;
}

bool WriteAtomically(const std::filesystem::path& path, const std::string& text)
{
    const std::filesystem::path temporary = path.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out)
            return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    return !error;
}

const std::vector<std::string> kComment{
    "The smallest wheels Zentrix found in long offline runs: `make wheel-table` writes this file",
    "(see docs/wheels.md) and keeps an entry only when a run finds a smaller design. The build",
    "embeds it in the wheel library; each design is proved exhaustively before its first use.",
    "A design line gives v (picks), t and m (the guarantee \"t if m\"), size (the blocks that follow,",
    "one a line as point indices 0..v-1), the seed of the run and the seconds into it.",
};

/// Appends the designs of `path` that pass the proof to `designs`; false when it cannot be read.
bool ReadDesigns(const std::filesystem::path& path, std::vector<StoredDesign>& designs)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    StoredParse parse = ParseStoredDesigns(text.str());
    if (!in || !parse.error.empty()) {
        std::fprintf(stderr, "zentrix_wheel_best: %s: %s\n", path.c_str(),
                     parse.error.empty() ? "cannot read" : parse.error.c_str());
        return false;
    }
    for (StoredDesign& d : parse.designs) {
        if (ProveStoredDesign(d))
            designs.push_back(std::move(d));
        else
            std::fprintf(stderr, "dropped: v=%d %d if %d (fails the proof)\n", d.points, d.strength,
                         d.served);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path out;
    double seconds = 60;
    int seeds = 2;
    std::uint64_t firstSeed = RandomSource::FreshSeed() >> 16;
    std::vector<Cell> cells;
    std::vector<std::filesystem::path> imports;
    bool orbit = false;
    double orbitSeconds = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--out" && hasValue)
            out = argv[++i];
        else if (arg == "--seconds" && hasValue)
            seconds = std::atof(argv[++i]);
        else if (arg == "--seeds" && hasValue)
            seeds = std::atoi(argv[++i]);
        else if (arg == "--import" && hasValue)
            imports.emplace_back(argv[++i]);
        else if (arg == "--orbit-seconds" && hasValue)
            orbitSeconds = std::atof(argv[++i]);
        else if (arg == "--orbit")
            orbit = true;
        else if (arg == "--first-seed" && hasValue)
            firstSeed = std::strtoull(argv[++i], nullptr, 10);
        else if (!ParseCells(arg, cells)) {
            std::fprintf(stderr, "zentrix_wheel_best: bad argument %s\n", arg.c_str());
            return 2;
        }
    }
    if (out.empty() || seconds <= 0 || seeds < 1) {
        std::fprintf(stderr,
                     "usage: zentrix_wheel_best --out FILE [--seconds S] [--seeds N] [--first-seed N] "
                     "[--import FILE] [--orbit] [--orbit-seconds S2] [t/m:v1-v2 ...]\n");
        return 2;
    }
    if (cells.empty() && imports.empty()) {
        ParseCells("3/3:7-20", cells);
        ParseCells("4/4:7-20", cells);
    }

    std::vector<StoredDesign> designs;
    if (std::filesystem::exists(out) && !ReadDesigns(out, designs))
        return 1;
    std::vector<StoredDesign> imported;
    for (const std::filesystem::path& path : imports) {
        if (!ReadDesigns(path, imported))
            return 1;
    }
    const auto entry = [&designs](const Cell& c) -> StoredDesign* {
        for (StoredDesign& d : designs) {
            if (d.points == c.v && d.strength == c.t && d.served == c.m)
                return &d;
        }
        return nullptr;
    };
    const auto keep = [&](StoredDesign found) {
        const Cell cell{found.strength, found.served, found.points};
        if (StoredDesign* old = entry(cell)) {
            if (old->blocks.size() <= found.blocks.size())
                return true;
            *old = std::move(found);
        } else {
            designs.push_back(std::move(found));
        }
        std::sort(designs.begin(), designs.end(), [](const StoredDesign& a, const StoredDesign& b) {
            return std::tie(a.strength, a.served, a.points) < std::tie(b.strength, b.served, b.points);
        });
        if (WriteAtomically(out, FormatStoredDesigns(designs, kComment)))
            return true;
        std::fprintf(stderr, "zentrix_wheel_best: cannot write %s\n", out.c_str());
        return false;
    };
    for (StoredDesign& d : imported) {
        if (!keep(std::move(d)))
            return 1;
    }

    for (const Cell& cell : cells) {
        if (orbit && cell.m != cell.t) {
            std::fprintf(stderr, "zentrix_wheel_best: --orbit takes covering cells (t/t:v) only\n");
            return 2;
        }
        const std::uint64_t stop = StopSize(cell);
        for (int s = 0; s < seeds; ++s) {
            const StoredDesign* stored = entry(cell);
            if (stored && stored->blocks.size() <= stop)
                break;
            SearchLimits limits;
            limits.seed = firstSeed + std::uint64_t(s);
            limits.time = std::chrono::milliseconds(std::int64_t(seconds * 1000));
            limits.stallMoves = ~std::uint64_t{0};
            limits.stopAtSize = stop;
            const auto start = std::chrono::steady_clock::now();
            double foundAt = 0;
            std::size_t best = 0;
            const SearchOutcome outcome =
                orbit ? OrbitRun(cell, limits, orbitSeconds > 0 ? orbitSeconds : seconds, foundAt)
                      : FindCover(CoverProblem{cell.v, 6, cell.t, cell.m}, limits, nullptr,
                                  [&](const SearchProgress& p) {
                                      if (p.bestSize != best) {
                                          best = p.bestSize;
                                          foundAt = std::chrono::duration<double>(
                                                        std::chrono::steady_clock::now() - start)
                                                        .count();
                                      }
                                  });
            StoredDesign found{cell.v, cell.t, cell.m, limits.seed, foundAt, outcome.blocks};
            const bool better =
                !outcome.blocks.empty() && (!stored || found.blocks.size() < stored->blocks.size());
            std::printf("v=%d %d if %d seed %llu: %zu blocks at %.1f s (stored %zu, target %llu)%s\n", cell.v,
                        cell.t, cell.m, static_cast<unsigned long long>(limits.seed), found.blocks.size(),
                        foundAt, stored ? stored->blocks.size() : 0, static_cast<unsigned long long>(stop),
                        better ? " kept" : "");
            std::fflush(stdout);
            if (!better)
                continue;
            if (!ProveStoredDesign(found)) {
                std::fprintf(stderr, "zentrix_wheel_best: a searched design failed the proof\n");
                return 1;
            }
            if (!keep(std::move(found)))
                return 1;
        }
    }
    return 0;
}
