// A program killed right after a write: whatever the store said it wrote is in the file when the
// next program opens it. Nothing may wait in a buffer of the process.
#include "store/HistoryFile.h"
#include "support/ChildProcess.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace zentrix::test {
namespace {

TEST(KilledAfterWriteTest, WhatTheStoreWroteIsThereForTheNextProgram)
{
    const DrawRecord first = Draw({1, 2, 3, 4, 5, 6}, 7);
    const DrawRecord second = Draw({8, 9, 10, 11, 12, 13}, 14);
    struct Case
    {
        const char* what;
        std::function<bool(HistoryFile&)> write;
        std::vector<DrawRecord> expected;
    };
    const Case cases[] = {
        {"an appended draw",
         [](HistoryFile& h) {
             return !!h.WriteDraw(3, {20, 21, 22, 23, 24, 25}, 26);
         },
         {first, second, Draw({20, 21, 22, 23, 24, 25}, 26)}},
        {"a replaced draw",
         [](HistoryFile& h) {
             return !!h.WriteDraw(1, {1, 2, 3, 4, 5, 9}, 10);
         },
         {Draw({1, 2, 3, 4, 5, 9}, 10), second}},
        {"a deleted draw",
         [](HistoryFile& h) { return !!h.DeleteLatest(); },
         {first, Draw({0, 0, 0, 0, 0, 0}, 0)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const auto file = dir / "Loto6data.dt";
        WriteHistory(file, {first, second});
        const ChildOutcome child = RunInChild([&]() -> std::string {
            HistoryFile history(file);
            if (!history.OpenHistory() || !c.write(history))
                return "the write failed";
            ::kill(::getpid(), SIGKILL);
            return "still alive after SIGKILL";
        });
        EXPECT_EQ(child.report, "");
        EXPECT_EQ(child.signal, SIGKILL);
        EXPECT_EQ(ReadRecords(file), c.expected);
        HistoryFile next(file);
        EXPECT_TRUE(next.OpenHistory()); // the killed program's lock went with it
    }
}

} // namespace
} // namespace zentrix::test
