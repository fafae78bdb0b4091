#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "css/sheet_document.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class WriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.CreateStartRules();
        dir = fs::temp_directory_path() / ("larkspur-writer-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        SetFileWriteHook(nullptr);
        fs::remove_all(dir);
    }
    void List(std::string_view selector) {
        doc.SetSelectedIndex(doc.FindRule(selector));
        doc.ListRule();
    }
    void Set(int entry, std::string value) {
        doc.SetValue(doc.SelectedIndex(), entry, value);
    }

    SheetDocument doc;
    fs::path dir;
};

TEST_F(WriterTest, FileAndBlockFollowRuleListOrderWithCrLf) {
    List("P");
    Set(kLetterSpacing, "1em");
    Set(kTextDecoration, "underline");
    List("H1");  // listed after P, but earlier in the rule list
    Set(kColor, "#FF0000");
    List("BODY");  // listed, no declarations
    EXPECT_EQ(doc.StyleSheetText(),
              "BODY {\r\n}\r\n"
              "H1 {\r\ncolor: #FF0000;\r\n}\r\n"
              "P {\r\ntext-decoration: underline;\r\nletter-spacing: 1em;\r\n}\r\n");
    EXPECT_EQ(doc.BuildStyleBlock(),
              "<style type=\"text/css\">\r\n<!--\r\n"
              "BODY {\r\n}\r\nH1 {\r\ncolor: #FF0000;\r\n}\r\n"
              "P {\r\ntext-decoration: underline;\r\nletter-spacing: 1em;\r\n}\r\n"
              "-->\r\n</style>");
}

TEST_F(WriterTest, EmptySheetWritesEmptyFileAndEmptyBlock) {
    fs::path out = dir / "empty.css";
    ASSERT_TRUE(doc.WriteStyleSheetFile(out.string()));
    EXPECT_EQ(ReadBytes(out), "");
    EXPECT_EQ(doc.BuildStyleBlock(), "<style type=\"text/css\">\r\n<!--\r\n-->\r\n</style>");
}

TEST_F(WriterTest, WriteReplacesExistingFileAndKeepsItsMode) {
    fs::path out = dir / "sheet.css";
    { std::ofstream(out) << "old contents that are longer than the new ones"; }
    ::chmod(out.c_str(), 0640);
    List("B");
    Set(kFontWeight, "bold");
    ASSERT_TRUE(doc.WriteStyleSheetFile(out.string()));
    EXPECT_EQ(ReadBytes(out), "B {\r\nfont-weight: bold;\r\n}\r\n");
    struct stat st;
    ASSERT_EQ(::stat(out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << "no temporary left";
}

TEST_F(WriterTest, FailedWriteLeavesOldFileWholeAndSaysSo) {
    fs::path out = dir / "keep.css";
    { std::ofstream(out) << "precious"; }
    List("B");
    Set(kColor, "red");
    int calls = 0;
    SetFileWriteHook([&](int fd, const char* data, std::size_t size) -> long {
        if (calls++ == 0) return static_cast<long>(::write(fd, data, size < 4 ? size : 4));
        errno = ENOSPC;
        return -1;
    });
    IoResult r = doc.WriteStyleSheetFile(out.string());
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("keep.css"), std::string::npos);
    EXPECT_NE(r.error.find("No space"), std::string::npos);
    EXPECT_EQ(ReadBytes(out), "precious");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(WriterTest, UnwritableTargetsFail) {
    EXPECT_FALSE(doc.WriteStyleSheetFile((dir / "missing" / "a.css").string()));
    EXPECT_FALSE(doc.WriteStyleSheetFile(dir.string()));  // a directory
}

}  // namespace
}  // namespace larkspur
