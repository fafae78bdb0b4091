#include <gtest/gtest.h>

#include "cli_fixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "css/sheet_document.h"
#include "css/unified_diff.h"

namespace larkspur {
namespace {

using namespace larkspur::testing;

class HtmlCliTest : public CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        if (IsSkipped()) return;
        sheet = Write("sheet.css", "H1 {\r\ncolor: #FF0000;\r\n}\r\n.note {\r\nfont-style: italic;\r\n}\r\n");
    }

    // The block the sheet gives, as the window would build it after Open.
    std::string SheetBlock() {
        SheetDocument doc;
        doc.CreateStartRules();
        EXPECT_TRUE(doc.ReadStyleSheet(sheet).ok);
        return doc.BuildStyleBlock();
    }

    std::string sheet;
};

TEST_F(HtmlCliTest, UsageErrors) {
    EXPECT_EQ(Cli("apply").status, 2);
    EXPECT_EQ(Cli("apply " + Quote(sheet)).status, 2);
    EXPECT_EQ(Cli("preview " + Quote(sheet)).status, 2);
    EXPECT_EQ(Cli("preview " + Quote(sheet) + " a.html b.html").status, 2);
}

TEST_F(HtmlCliTest, ApplyWritesEveryPageItCanAndReportsTheRest) {
    std::string a = Write("a.html", "<html><head><style>old</style></head><body>a</body></html>");
    std::string b = Write("b.htm", "<HEAD>\r\n</HEAD>b");
    std::string missing = (dir / "missing.html").string();

    CliRun run = Cli("apply " + Quote(sheet) + " " + Quote(a) + " " + Quote(missing) + " " + Quote(b));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(missing), std::string::npos) << run.err;
    EXPECT_EQ(Read(a), "<html><head>" + SheetBlock() + "</head><body>a</body></html>");
    EXPECT_EQ(Read(b), "<HEAD>\r\n" + SheetBlock() + "</HEAD>b");
    EXPECT_FALSE(fs::exists(missing));

    run = Cli("apply " + Quote(sheet) + " " + Quote(a) + " " + Quote(b));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Read(b), "<HEAD>\r\n" + SheetBlock() + "</HEAD>b");
}

TEST_F(HtmlCliTest, ApplyWithAnUnreadableSheetChangesNoPage) {
    std::string a = Write("a.html", "<head></head>");
    CliRun run = Cli("apply " + Quote((dir / "nosheet.css").string()) + " " + Quote(a));
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(Read(a), "<head></head>");
}

TEST_F(HtmlCliTest, DryRunShowsTheRunAndUndoApplyTakesItBack) {
    const std::string pageA = "<html>\r\n<head>\r\n<style>p{}</style>\r\n</head>\r\n<body>a</body>\r\n</html>\r\n";
    const std::string a = Write("a.html", pageA);
    const std::string b = Write("b.html", "<head>" + SheetBlock() + "</head>");
    const std::string c = Write("c.html", "<head></head>c");
    const std::string missing = (dir / "missing.html").string();
    const std::string pages = Quote(a) + " " + Quote(b) + " " + Quote(c) + " " + Quote(missing);
    const fs::path journal = JournalHome() / "larkspur" / "journal";

    const CliRun stat = Cli("apply --dry-run --stat " + Quote(sheet) + " " + pages);
    EXPECT_EQ(stat.status, 1) << "as the real run will: one page cannot be written";
    EXPECT_EQ(stat.out, "changed +10 -1 " + a + "\nunchanged " + b + "\nchanged +10 -1 " + c + "\ncannot-write " +
                            missing + "\n");
    EXPECT_NE(stat.err.find(missing), std::string::npos);
    const CliRun dry = Cli("apply --dry-run " + Quote(sheet) + " " + pages);
    EXPECT_EQ(Read(a), pageA);
    EXPECT_EQ(Read(c), "<head></head>c");
    EXPECT_FALSE(fs::exists(JournalHome())) << "a dry run writes nothing";
    EXPECT_EQ(Cli("apply --stat " + Quote(sheet) + " " + Quote(a)).status, 2);

    const CliRun run = Cli("apply " + Quote(sheet) + " " + pages);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Run 1: 2 pages written, 1 unchanged, 1 failed (\"larkspur-cli undo-apply 1\" takes it back)\n");
    EXPECT_EQ(dry.out, "changed +10 -1 " + a + "\n" + UnifiedDiff(pageA, Read(a), a) + "unchanged " + b +
                           "\nchanged +10 -1 " + c + "\n" + UnifiedDiff("<head></head>c", Read(c), c) +
                           "cannot-write " + missing + "\n");
    EXPECT_TRUE(fs::exists(journal / "1" / "index"));

    WriteBytes(c, "edited since");
    const CliRun undo = Cli("undo-apply");
    EXPECT_EQ(undo.status, 1) << "one page was not put back";
    EXPECT_NE(undo.err.find("Skipped \"" + c + "\": it was changed after run 1"), std::string::npos) << undo.err;
    EXPECT_NE(undo.out.find("Put back \"" + a + "\""), std::string::npos) << undo.out;
    EXPECT_EQ(Read(a), pageA);
    EXPECT_EQ(Read(c), "edited since");
    const CliRun again = Cli("undo-apply 1");
    EXPECT_NE(again.out.find("already holds what it held before run 1"), std::string::npos) << again.out;
    EXPECT_EQ(Read(a), pageA);
    EXPECT_EQ(Cli("undo-apply 2").status, 1);
    EXPECT_EQ(Cli("undo-apply 1 2").status, 2);
}

TEST_F(HtmlCliTest, PreviewPrintsTheCopyPath) {
    std::string page = Write("page.html", "<p>no head</p>");
    CliRun run = Cli("preview " + Quote(sheet) + " " + Quote(page));
    ASSERT_EQ(run.status, 0) << run.err;
    std::string copy = (dir / "~styletemp.html").string();
    EXPECT_EQ(run.out, copy + "\n");
    std::string text = Read(copy);
    EXPECT_EQ(text.find("<HEAD><LINK REL=StyleSheet HREF=\"" + dir.string() + "/test.css\""), 0u);
    EXPECT_NE(text.find(SheetBlock() + "</HEAD><p>no head</p>"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "test.css"));
    EXPECT_EQ(Read(page), "<p>no head</p>");
}

}  // namespace
}  // namespace larkspur
