// Reports of saved batches: money, CSV lines, and the careful writing of an output file.
#include "predictions/PredictionReport.h"

#include "PredictionsSupport.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zentrix {
namespace {

std::string ReadText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PredictionReportTest, YenHasThousandsSeparators)
{
    for (const auto& [yen, text] : {std::pair<long long, const char*>{0, "¥0"},
                                    {200, "¥200"},
                                    {1000, "¥1,000"},
                                    {2000000, "¥2,000,000"}})
        EXPECT_EQ(YenText(yen), text);
}

TEST(PredictionReportTest, CsvHasOneLinePerSetWithItsTierOnceDrawn)
{
    Batch batch;
    static_cast<NewBatch&>(batch) = test::SampleBatch(2, 2, 1);
    batch.sets = {{3, 11, 17, 25, 38, 40}, {1, 2, 4, 5, 6, 8}};
    batch.id = 12;
    DrawTable history;
    history.rows = {{1, 2, 3, 4, 5, 6, 7}, {3, 11, 17, 25, 38, 42, 7}};
    const std::string lines = PredictionsCsvLines(batch, history);
    const std::string front =
        "12," + FormatLocalTime(batch.createdAt) + ",2,CLI," + std::to_string(batch.seed) + ",\"";
    EXPECT_EQ(lines.substr(0, front.size()), front); // the settings hold commas, so they are quoted
    EXPECT_NE(lines.find("\",1,3,11,17,25,38,40,3等\r\n"), std::string::npos);
    EXPECT_NE(lines.find("\",2,1,2,4,5,6,8,はずれ\r\n"), std::string::npos);

    history.rows.pop_back();
    const std::string waiting = PredictionsCsvLines(batch, history);
    EXPECT_NE(waiting.find(",1,3,11,17,25,38,40,\r\n"), std::string::npos);
    EXPECT_EQ(PredictionsCsvHeader(),
              "batch,created,draw,source,seed,settings,row,n1,n2,n3,n4,n5,n6,prize\r\n");
}

class OutputFileTest : public ::testing::Test
{
protected:
    test::TempDir m_dir;
};

TEST_F(OutputFileTest, ReplacesTheTargetWholeAndKeepsItsPermissions)
{
    const auto target = m_dir / "out.csv";
    test::WriteBytes(target, {'o', 'l', 'd'});
    ::chmod(target.c_str(), 0640);
    EXPECT_EQ(WriteOutputFile(target, "new text\r\n", {}), "");
    EXPECT_EQ(ReadText(target), "new text\r\n");
    struct stat info
    {
    };
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    // Nothing but the target is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.path()), {}), 1);
}

TEST_F(OutputFileTest, NeverLandsOnTheDataFileOrTheDatabaseUnderAnyName)
{
    const auto data = m_dir / "Loto6data.dt";
    const auto database = m_dir / "zentrix-predictions.sqlite3";
    test::WriteBytes(data, {1, 2, 3});
    test::WriteBytes(database, {4, 5, 6});
    std::filesystem::create_directory(m_dir / "sub");
    std::filesystem::create_symlink(data, m_dir / "link.csv");
    for (const auto& target : {data, database, m_dir / "sub" / ".." / "Loto6data.dt", m_dir / "link.csv"}) {
        const OutputError refused = WriteOutputFile(target, "x", {data, database});
        EXPECT_NE(refused.find("データのファイル"), std::string::npos) << target;
    }
    EXPECT_EQ(test::ReadBytes(data), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(test::ReadBytes(database), (std::vector<std::uint8_t>{4, 5, 6}));
}

TEST_F(OutputFileTest, FolderOrMissingFolderIsReportedAndNothingIsLeft)
{
    EXPECT_NE(WriteOutputFile(m_dir.path(), "x", {}).find("フォルダー"), std::string::npos);
    EXPECT_NE(WriteOutputFile(m_dir / "missing" / "out.csv", "x", {}).find("作れません"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.path()), {}), 0);
}

} // namespace
} // namespace zentrix
