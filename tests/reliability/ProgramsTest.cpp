// The two programs as a user starts them: a file-size limit on the command line, and the window
// program without a display or on a platform that shows no windows. Each runs as a real process.
#include "store/DrawRecord.h"
#include "store/HistoryFile.h"
#include "support/ChildProcess.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>

namespace zentrix {
namespace {

namespace fs = std::filesystem;

/// Runs `program` in `folder` with exactly `env`; the report is its standard error. A run that hangs is
/// ended by SIGALRM after 30 seconds. `fileLimit` > 0 sets RLIMIT_FSIZE, with SIGXFSZ at its
/// default action (ending the process) unless the program itself ignores it.
test::ChildOutcome RunProgram(const std::string& program, const std::vector<std::string>& args,
                              const fs::path& folder, const std::vector<std::string>& env,
                              long long fileLimit = 0)
{
    const fs::path errFile = folder / ".stderr";
    test::ChildProcess child([&](int) {
        if (::chdir(folder.c_str()) != 0)
            return 120;
        const int fd = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(fd, 2);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 0);
        ::dup2(null, 1);
        std::signal(SIGXFSZ, SIG_DFL);
        if (fileLimit > 0) {
            const rlimit limit{static_cast<rlim_t>(fileLimit), static_cast<rlim_t>(fileLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        ::alarm(30);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (const std::string& entry : env)
            envp.push_back(const_cast<char*>(entry.c_str()));
        envp.push_back(nullptr);
        ::execve(program.c_str(), argv.data(), envp.data());
        return 127;
    });
    test::ChildOutcome run = child.wait();
    const std::vector<std::uint8_t> bytes = test::ReadBytes(errFile);
    run.report.assign(bytes.begin(), bytes.end());
    fs::remove(errFile);
    return run;
}

std::vector<std::string> Entries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

const std::vector<std::string> kBaseEnv{"LANG=C.UTF-8", "LC_ALL=C.UTF-8", "PATH=/usr/bin:/bin"};

TEST(CommandLineProgram, AFileSizeLimitIsReportedAndLeavesNoCopy)
{
    test::TempDir dir;
    const std::vector<DrawRecord> all = test::SyntheticHistory(200, 6);
    test::WriteHistory(dir / "Loto6data.dt", {all.begin(), all.begin() + 100});
    const std::vector<std::uint8_t> before = test::ReadBytes(dir / "Loto6data.dt");
    std::string csv = "draw,date,n1,n2,n3,n4,n5,n6,bonus\n";
    for (std::size_t d = 0; d < all.size(); ++d) {
        csv += std::to_string(d + 1) + ",";
        for (const std::int16_t n : all[d].Numbers)
            csv += "," + std::to_string(n);
        csv += "," + std::to_string(all[d].Bonus) + "\n";
    }
    test::WriteBytes(dir / "in.csv", std::vector<std::uint8_t>(csv.begin(), csv.end()));

    const test::ChildOutcome run = RunProgram(ZENTRIX_CLI_PROGRAM, {"import", "in.csv"}, dir.path(), kBaseEnv,
                                              static_cast<long long>(before.size()) + 40);
    EXPECT_EQ(run.signal, 0) << "ended by a signal";
    EXPECT_EQ(run.exitCode, 3) << run.report;
    EXPECT_NE(run.report.find("ファイルサイズの上限"), std::string::npos) << run.report;
    EXPECT_EQ(test::ReadBytes(dir / "Loto6data.dt"), before);
    EXPECT_EQ(Entries(dir.path()), (std::vector<std::string>{"Loto6data.dt", "in.csv"}));
}

#ifdef ZENTRIX_GUI_PROGRAM
TEST(CommandLineProgram, ReadsBesideTheWindowsStoreAndSendsImportToTheWindow)
{
    test::TempDir dir;
    const std::optional<std::vector<DrawRecord>> real = test::RealHistory();
    test::WriteHistory(dir / "Loto6data.dt", real ? *real : test::SyntheticHistory(300, 8));
    // The desktop program's store holds the file for its whole run.
    HistoryFile window(dir / "Loto6data.dt");
    ASSERT_TRUE(window.OpenHistory());
    const std::vector<std::uint8_t> before = test::ReadBytes(dir / "Loto6data.dt");
    const std::string sets = "3 11 17 25 38 42\n";
    test::WriteBytes(dir / "sets.txt", std::vector<std::uint8_t>(sets.begin(), sets.end()));
    const std::string latest = std::to_string(window.Latest());
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"count"},
                                               {"generate", "--sets", "10"},
                                               {"export"},
                                               {"stats"},
                                               {"check", "--draw", latest, "sets.txt"}}) {
        const test::ChildOutcome run = RunProgram(ZENTRIX_CLI_PROGRAM, args, dir.path(), kBaseEnv);
        EXPECT_EQ(run.exitCode, 0) << args[0] << ": " << run.report;
    }
    const std::string csv =
        "draw,date,n1,n2,n3,n4,n5,n6,bonus\n" + std::to_string(window.Latest() + 1) + ",,1,2,3,4,5,6,7\n";
    test::WriteBytes(dir / "new.csv", std::vector<std::uint8_t>(csv.begin(), csv.end()));
    const test::ChildOutcome import =
        RunProgram(ZENTRIX_CLI_PROGRAM, {"import", "new.csv"}, dir.path(), kBaseEnv);
    EXPECT_EQ(import.exitCode, 3) << import.report;
    EXPECT_NE(import.report.find("「ファイル → 当選番号の取り込み…」"), std::string::npos) << import.report;
    EXPECT_EQ(test::ReadBytes(dir / "Loto6data.dt"), before);
    // Once the window has closed the file, the command-line import goes through.
    window.CloseHistory();
    const test::ChildOutcome later =
        RunProgram(ZENTRIX_CLI_PROGRAM, {"import", "new.csv"}, dir.path(), kBaseEnv);
    EXPECT_EQ(later.exitCode, 0) << later.report;
}

TEST(WindowProgram, WithoutADisplayItSaysSoInJapaneseAndLeaves)
{
    test::TempDir dir;
    std::vector<std::string> env = kBaseEnv;
    env.push_back("QT_QPA_PLATFORM=xcb");
    const test::ChildOutcome run = RunProgram(ZENTRIX_GUI_PROGRAM, {}, dir.path(), env);
    EXPECT_EQ(run.signal, 0) << run.report;
    EXPECT_EQ(run.exitCode, 1) << run.report;
    EXPECT_NE(run.report.find("ディスプレイ"), std::string::npos) << run.report;
    EXPECT_TRUE(Entries(dir.path()).empty()); // no data file created
}

TEST(WindowProgram, AStartUpErrorWhereNoWindowShowsEndsOnStandardError)
{
    test::TempDir dir;
    fs::create_directory(dir / "Loto6data.dt"); // a folder where the data file belongs
    std::vector<std::string> env = kBaseEnv;
    env.push_back("QT_QPA_PLATFORM=offscreen");
    const test::ChildOutcome run = RunProgram(ZENTRIX_GUI_PROGRAM, {}, dir.path(), env);
    EXPECT_EQ(run.signal, 0) << "hung or crashed: " << run.report;
    EXPECT_EQ(run.exitCode, 1) << run.report;
    EXPECT_NE(run.report.find("通常のファイルではない"), std::string::npos) << run.report;
}
#endif

} // namespace
} // namespace zentrix
