#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "css/html_embed.h"
#include "css/sheet_document.h"
#include "model/vocabulary.h"

namespace larkspur {
namespace {

namespace fs = std::filesystem;

class ScriptedQuestion : public StyleQuestion {
public:
    explicit ScriptedQuestion(std::vector<bool> answers) : answers_(std::move(answers)) {}
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        asked.push_back(caption + ": " + text);
        bool answer = next_ < answers_.size() ? answers_[next_] : false;
        ++next_;
        return answer;
    }
    std::vector<std::string> asked;

private:
    std::vector<bool> answers_;
    size_t next_ = 0;
};

class HtmlFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("larkspur-html-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        folder = dir.string() + "/";
        doc.CreateStartRules();
        SetColour("H1", "#FF0000");
    }
    void TearDown() override {
        SetFileWriteHook(nullptr);
        fs::remove_all(dir);
    }
    void SetColour(std::string_view selector, std::string value) {
        doc.SetSelectedIndex(doc.FindRule(selector));
        if (!doc.SelectedRule()->listed) doc.ListRule();
        doc.SetValue(doc.SelectedIndex(), kColor, value);
    }
    std::string Write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
        return (dir / name).string();
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Names in the folder, to see that nothing was left behind.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    SheetDocument doc;
    fs::path dir;
    std::string folder;
};

const std::string kStyledPage =
    "<HTML>\r\n<head>\r\n<style>p{}</style>\r\n</head>\r\n<body>\xE9</body></HTML>";

TEST_F(HtmlFilesTest, EmbedAsksOnlyWhenThePageHasStyles) {
    std::string styled = Write("styled.html", kStyledPage);
    std::string plain = Write("plain.html", "<head></head>");

    ScriptedQuestion no({false});
    EmbedResult declined = EmbedStyleBlock(doc, styled, false, &no);
    EXPECT_TRUE(declined.io.ok);
    EXPECT_TRUE(declined.declined);
    EXPECT_FALSE(declined.Written());
    EXPECT_EQ(no.asked, std::vector<std::string>{"Query: Overwrite existing Style Sheet"});
    EXPECT_EQ(Read(styled), kStyledPage);

    ScriptedQuestion yes({true});
    EXPECT_TRUE(EmbedStyleBlock(doc, styled, false, &yes).Written());
    EXPECT_EQ(Read(styled), "<HTML>\r\n<head>\r\n" + doc.BuildStyleBlock() +
                                "\r\n</head>\r\n<body>\xE9</body></HTML>");

    ScriptedQuestion unused({});
    EXPECT_TRUE(EmbedStyleBlock(doc, plain, false, &unused).Written());
    EXPECT_EQ(Read(plain), "<head>" + doc.BuildStyleBlock() + "</head>");
    SetColour("P", "#00FF00");
    EXPECT_TRUE(EmbedStyleBlock(doc, styled, true, &unused).Written());
    EXPECT_TRUE(unused.asked.empty());
    EXPECT_NE(Read(styled).find("P {\r\ncolor: #00FF00;"), std::string::npos);
    EXPECT_EQ(Names(), (std::vector<std::string>{"plain.html", "styled.html"}));
}

TEST_F(HtmlFilesTest, MissingPageFailsOrIsCreatedForSaveAs) {
    std::string path = folder + "new page.html";
    EmbedResult failed = EmbedStyleBlock(doc, path, false, nullptr);
    EXPECT_FALSE(failed.io.ok);
    EXPECT_NE(failed.io.error.find(path), std::string::npos);
    EXPECT_FALSE(fs::exists(path));

    EmbedResult created = EmbedStyleBlock(doc, path, false, nullptr, MissingPage::kCreate);
    EXPECT_TRUE(created.Written());
    EXPECT_TRUE(created.created);
    EXPECT_EQ(Read(path), NewPageText(doc.BuildStyleBlock(), "new page", doc.LineEnd()));
    // A sheet read with LF lines makes a page of LF lines only, and a
    // preview sheet of LF lines only.
    ASSERT_TRUE(doc.ReadStyleSheetText("H1 { color: red }\nP { top: 0 }\n", "lf.css"));
    const std::string lf = folder + "lf.html";
    ASSERT_TRUE(EmbedStyleBlock(doc, lf, false, nullptr, MissingPage::kCreate).Written());
    EXPECT_EQ(Read(lf).find('\r'), std::string::npos) << Read(lf);
    ASSERT_TRUE(LoadPreview(doc, lf, folder, true, nullptr).io.ok);
    EXPECT_EQ(Read(folder + "test.css").find('\r'), std::string::npos) << Read(folder + "test.css");

    // A missing folder is still an error, not a crash or a stray file.
    EmbedResult noFolder =
        EmbedStyleBlock(doc, folder + "none/x.html", false, nullptr, MissingPage::kCreate);
    EXPECT_FALSE(noFolder.io.ok);
    EXPECT_FALSE(noFolder.created);
}

TEST_F(HtmlFilesTest, UnwritablePagesAreLeftAsTheyWere) {
    fs::create_directory(dir / "folder.html");
    EmbedResult notRegular = EmbedStyleBlock(doc, folder + "folder.html", true, nullptr);
    EXPECT_FALSE(notRegular.io.ok);
    EXPECT_NE(notRegular.io.error.find("not a regular file"), std::string::npos);

    // Refused through the permission bits, which hold even for root.
    std::string locked = Write("locked.html", kStyledPage);
    ::chmod(locked.c_str(), 0444);
    ScriptedQuestion never({true});
    EmbedResult readOnly = EmbedStyleBlock(doc, locked, false, &never);
    EXPECT_FALSE(readOnly.io.ok);
    EXPECT_NE(readOnly.io.error.find("read-only"), std::string::npos);
    EXPECT_TRUE(never.asked.empty());
    EXPECT_EQ(Read(locked), kStyledPage);
}

struct WriteFault {
    const char* name;
    long firstWrite;  // bytes taken by the first write; -1 fails at once
    int err;
    const char* message;
};

class HtmlWriteFaultTest : public HtmlFilesTest, public ::testing::WithParamInterface<WriteFault> {};

TEST_P(HtmlWriteFaultTest, PageStaysWholeAndErrorSaysWhy) {
    const WriteFault& f = GetParam();
    std::string page = Write("page.html", kStyledPage);
    int calls = 0;
    SetFileWriteHook([&](int, const char*, size_t size) -> long {
        if (calls++ == 0 && f.firstWrite >= 0) return std::min<long>(f.firstWrite, size);
        errno = f.err;
        return -1;
    });
    EmbedResult r = EmbedStyleBlock(doc, page, true, nullptr);
    SetFileWriteHook(nullptr);
    EXPECT_FALSE(r.io.ok);
    EXPECT_NE(r.io.error.find(page), std::string::npos) << r.io.error;
    EXPECT_NE(r.io.error.find(f.message), std::string::npos) << r.io.error;
    EXPECT_EQ(Read(page), kStyledPage);
    EXPECT_EQ(Names(), std::vector<std::string>{"page.html"});
}

INSTANTIATE_TEST_SUITE_P(
    Faults, HtmlWriteFaultTest,
    ::testing::Values(WriteFault{"DiskFullPartWay", 40, ENOSPC, "No space left"},
                      WriteFault{"ReadOnlyFileSystem", -1, EROFS, "Read-only file system"},
                      WriteFault{"FolderNotWritable", -1, EACCES, "Permission denied"},
                      WriteFault{"InputOutputError", 10, EIO, "Input/output error"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HtmlFilesTest, SaveIntoPagesGoesOnAfterAFailure) {
    std::string first = Write("a.html", kStyledPage);
    std::string locked = Write("b.html", kStyledPage);
    ::chmod(locked.c_str(), 0444);
    std::string missing = folder + "gone.html";
    std::string last = Write("c.htm", "<head><STYLE>x</STYLE><style>y</style></head>");

    std::vector<PageFailure> failures = SaveIntoPages(doc, {first, locked, missing, last});
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].path, locked);
    EXPECT_EQ(failures[1].path, missing);
    EXPECT_NE(failures[1].error.find(missing), std::string::npos);
    EXPECT_EQ(Read(locked), kStyledPage);
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(Read(last), "<head>" + doc.BuildStyleBlock() + "</head>");
    EXPECT_NE(Read(first).find(doc.BuildStyleBlock()), std::string::npos);
}

TEST_F(HtmlFilesTest, PreviewOfAPageWithAHead) {
    std::string page = Write("page.html", kStyledPage);
    PreviewResult r = LoadPreview(doc, page, folder, true, nullptr);
    ASSERT_TRUE(r.io.ok) << r.io.error;
    EXPECT_EQ(r.copyPath, folder + "~styletemp.html");
    EXPECT_FALSE(r.keptPageStyles);
    EXPECT_EQ(Read(folder + "test.css"), kPreviewSheetMark + std::string(doc.LineEnd()) + doc.StyleSheetText());
    EXPECT_EQ(r.sheetPath, folder + "test.css");
    EXPECT_EQ(Read(r.copyPath), "<HTML>\r\n<head>\r\n\r\n" + doc.BuildStyleBlock() +
                                    "</head>\r\n<body>\xE9</body></HTML>");
    EXPECT_EQ(Read(page), kStyledPage);

    // Refresh after an edit touches only the copy.
    SetColour("H1", "#0000FF");
    ASSERT_TRUE(RefreshPreview(doc, folder).ok);
    EXPECT_EQ(Read(r.copyPath), "<HTML>\r\n<head>\r\n\r\n" + doc.BuildStyleBlock() +
                                    "</head>\r\n<body>\xE9</body></HTML>");
    EXPECT_EQ(Read(page), kStyledPage);
}

TEST_F(HtmlFilesTest, PreviewOfAPageWithoutAHeadGetsTheLinkHead) {
    const std::string body = "<body>\n<header>x</header>\n</body>\n";
    std::string page = Write("bare.html", body);
    PreviewResult r = LoadPreview(doc, page, folder, false, nullptr);
    ASSERT_TRUE(r.io.ok) << r.io.error;
    EXPECT_EQ(Read(r.copyPath), "<HEAD><LINK REL=StyleSheet HREF=\"" + folder +
                                    "test.css\" TYPE=\"text/css\" MEDIA=\"all\">" +
                                    doc.BuildStyleBlock() + "</HEAD>" + body);
}

TEST_F(HtmlFilesTest, PreviewQuestionNoKeepsThePageStylesThroughRefresh) {
    std::string page = Write("page.html", kStyledPage);
    ScriptedQuestion no({false});
    PreviewResult r = LoadPreview(doc, page, folder, false, &no);
    ASSERT_TRUE(r.io.ok) << r.io.error;
    EXPECT_EQ(no.asked, std::vector<std::string>{"Query: Overide existing Style Sheet"});
    EXPECT_TRUE(r.keptPageStyles);
    std::string copy = Read(r.copyPath);
    size_t own = copy.find("<style>p{}</style>");
    size_t sheet = copy.find(doc.BuildStyleBlock());
    ASSERT_NE(own, std::string::npos);
    ASSERT_NE(sheet, std::string::npos);
    EXPECT_LT(own, sheet);  // the sheet comes later and wins ties
    EXPECT_EQ(copy.find("</head>"), sheet + doc.BuildStyleBlock().size());

    std::string before = doc.BuildStyleBlock();
    SetColour("P", "#00FF00");
    ASSERT_TRUE(RefreshPreview(doc, folder).ok);
    copy = Read(r.copyPath);
    EXPECT_NE(copy.find("<style>p{}</style>"), std::string::npos);
    EXPECT_EQ(copy.find(before), std::string::npos);
    EXPECT_NE(copy.find(doc.BuildStyleBlock()), std::string::npos);
    EXPECT_EQ(Read(page), kStyledPage);
}

TEST_F(HtmlFilesTest, PreviewFolderSlashAndFailures) {
    // A folder given without its slash still names the folder.
    ASSERT_TRUE(LoadPreview(doc, Write("p.html", "<head></head>"), dir.string(), true, nullptr).io.ok);
    EXPECT_TRUE(fs::exists(dir / "~styletemp.html"));
    fs::remove_all(dir);
    fs::create_directories(dir);

    PreviewResult missing = LoadPreview(doc, folder + "gone.html", folder, true, nullptr);
    EXPECT_FALSE(missing.io.ok);
    EXPECT_TRUE(Names().empty());
    EXPECT_FALSE(RefreshPreview(doc, folder).ok);  // no copy to refresh yet
}

TEST_F(HtmlFilesTest, PageFolderIsAbsoluteAndLinkIsSafe) {
    fs::path saved = fs::current_path();
    fs::current_path(dir);
    EXPECT_EQ(PageFolderOf("sub/../page.html"), folder);
    EXPECT_EQ(PageFolderOf("page.html"), folder);
    fs::current_path(saved);
    EXPECT_EQ(PageFolderOf("/srv/www/index.html"), "/srv/www/");
    EXPECT_EQ(PreviewLinkHead("/a b/\"x\"#1/"),
              "<HEAD><LINK REL=StyleSheet HREF=\"/a%20b/%22x%22%231/test.css\" TYPE=\"text/css\" "
              "MEDIA=\"all\"></HEAD>");
}

}  // namespace
}  // namespace larkspur
