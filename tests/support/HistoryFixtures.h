// HistoryFixtures: the sample histories of tests/common, and skipping a test that needs the real
// history on a machine without it.
#pragma once

#include "common/SampleHistory.h"

#include <gtest/gtest.h>

/// Skips the current test when the real history is not on this machine.
#define ZENTRIX_REAL_HISTORY_OR_SKIP(var)                                                                    \
    const auto var##_loaded = ::zentrix::test::RealHistory();                                                \
    if (!var##_loaded)                                                                                       \
        GTEST_SKIP() << "real history not found at " << ::zentrix::test::RealHistoryCsvPath();               \
    const std::vector<::zentrix::DrawRecord>& var = *var##_loaded
