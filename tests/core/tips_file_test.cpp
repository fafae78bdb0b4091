#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <vector>

#include "model/tips_file.h"

namespace larkspur {
namespace {

namespace fs = std::filesystem;

class TipsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("larkspur-tips-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        path = (dir / "tips.txt").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    void Write(const std::string& text) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    // Reads n tips and returns them joined with "|" (line ends dropped).
    std::string Read(TipsFile& tips, int n) {
        std::string all, tip;
        for (int i = 0; i < n; ++i) {
            if (tips.NextTip(tip) != TipsFile::ReadResult::Tip) return all + "<none>";
            while (!tip.empty() && (tip.back() == '\n' || tip.back() == '\r')) tip.pop_back();
            all += (i ? "|" : "") + tip;
        }
        return all;
    }

    fs::path dir;
    std::string path;
};

TEST_F(TipsFileTest, SkipsCommentsBlankLedAndEmptyLinesAndWrapsRound) {
    Write("; comment\n\nFirst tip\n indented\n\tTabbed\r\nSecond tip\r\n;another\nThird tip");
    TipsFile tips;
    ASSERT_TRUE(tips.Open(path));
    EXPECT_EQ(Read(tips, 7), "First tip|Second tip|Third tip|First tip|Second tip|Third tip|First tip");
}

TEST_F(TipsFileTest, TipKeepsItsLineEnd) {
    Write("Only tip\n");
    TipsFile tips;
    ASSERT_TRUE(tips.Open(path));
    std::string tip;
    ASSERT_EQ(tips.NextTip(tip), TipsFile::ReadResult::Tip);
    EXPECT_EQ(tip, "Only tip\n");
}

TEST_F(TipsFileTest, PositionResumesWithTheFollowingTip) {
    Write(";c\nA\nB\nC\n");
    long after;
    {
        TipsFile tips;
        ASSERT_TRUE(tips.Open(path));
        EXPECT_EQ(Read(tips, 1), "A");
        after = tips.Position();
        EXPECT_EQ(after, 5);
    }
    TipsFile again;
    ASSERT_TRUE(again.Open(path));
    ASSERT_TRUE(again.Seek(after));
    EXPECT_EQ(Read(again, 3), "B|C|A");
    // A position past the end wraps round to the first tip.
    ASSERT_TRUE(again.Seek(1000));
    EXPECT_EQ(Read(again, 1), "A");
    EXPECT_FALSE(again.Seek(-3));
}

TEST_F(TipsFileTest, LongLineReadsAsSeveralTips) {
    const std::string longLine(TipsFile::kMaxTipLength + 10, 'x');
    Write(longLine + "\nNext\n");
    TipsFile tips;
    ASSERT_TRUE(tips.Open(path));
    std::string tip;
    ASSERT_EQ(tips.NextTip(tip), TipsFile::ReadResult::Tip);
    EXPECT_EQ(tip.size(), static_cast<size_t>(TipsFile::kMaxTipLength));
    ASSERT_EQ(tips.NextTip(tip), TipsFile::ReadResult::Tip);
    EXPECT_EQ(tip, std::string(10, 'x') + "\n");
    ASSERT_EQ(tips.NextTip(tip), TipsFile::ReadResult::Tip);
    EXPECT_EQ(tip, "Next\n");
}

// Files that used to make the reader loop for ever now end the search.
TEST_F(TipsFileTest, NoTipLineOrFailingRewindEndsTheSearch) {
    for (const std::string text : {"", ";; only comments\n\n   \n\t\n", "\n\n\n"}) {
        SCOPED_TRACE("file: '" + text + "'");
        Write(text);
        TipsFile tips;
        ASSERT_TRUE(tips.Open(path));
        ASSERT_TRUE(tips.Seek(text.empty() ? 0 : 1));
        std::string tip = "stale";
        EXPECT_EQ(tips.NextTip(tip), TipsFile::ReadResult::NoTip);
        EXPECT_EQ(tip, "");
    }
    Write("A\n");
    TipsFile tips;
    ASSERT_TRUE(tips.Open(path));
    EXPECT_EQ(Read(tips, 1), "A");
    tips.SetRewindFailsForTesting(true);
    std::string tip;
    EXPECT_EQ(tips.NextTip(tip), TipsFile::ReadResult::RewindFailed);
    tips.SetRewindFailsForTesting(false);
    EXPECT_EQ(Read(tips, 1), "A");
}

TEST_F(TipsFileTest, MissingFileDoesNotOpen) {
    TipsFile tips;
    EXPECT_FALSE(tips.Open((dir / "absent.txt").string()));
    EXPECT_EQ(tips.Position(), -1);
    std::string tip;
    EXPECT_EQ(tips.NextTip(tip), TipsFile::ReadResult::NoTip);
}

TEST(TimeStampTest, FormatsLikeTheClassicClockText) {
    const char* oldTz = std::getenv("TZ");
    const std::string saved = oldTz ? oldTz : "";
    setenv("TZ", "UTC0", 1);
    tzset();
    EXPECT_EQ(FormatTimeStamp(1796699999), "Tue Dec  8 03:19:59 2026");
    EXPECT_EQ(FormatTimeStamp(0), "Thu Jan  1 00:00:00 1970");
    EXPECT_EQ(FormatTimeStamp(1798761600), "Fri Jan  1 00:00:00 2027");
    if (oldTz) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
    tzset();
}

TEST(TimeStampTest, FileStampHasTheClockShapeAndIsEmptyForMissingFile) {
    const fs::path p = fs::temp_directory_path() / ("larkspur-stamp-" + std::to_string(::getpid()));
    { std::ofstream(p) << "x"; }
    const std::string stamp = FileTimeStamp(p.string());
    fs::remove(p);
    EXPECT_TRUE(std::regex_match(stamp, std::regex(R"([A-Z][a-z]{2} [A-Z][a-z]{2} [ 123]\d \d\d:\d\d:\d\d \d{4})")))
        << stamp;
    EXPECT_EQ(FileTimeStamp(p.string()), "");
}

}  // namespace
}  // namespace larkspur
