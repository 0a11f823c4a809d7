// BenchmarkHistory: the one history every benchmark program runs on, loaded once and named in the
// benchmark's context line.
#pragma once

#include "BenchHistory.h"

#include <benchmark/benchmark.h>

namespace zentrix::bench {

inline const std::vector<DrawRecord>& BenchmarkHistory()
{
    static const std::vector<DrawRecord> draws = [] {
        std::string source;
        std::vector<DrawRecord> loaded = LoadBenchHistory(&source);
        benchmark::AddCustomContext("history", source);
        return loaded;
    }();
    return draws;
}

} // namespace zentrix::bench
