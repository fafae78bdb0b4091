#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "css/sheet_document.h"

namespace larkspur {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

class HtmlCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::string(LARKSPUR_CLI_PATH).empty()) GTEST_SKIP() << "larkspur-cli is not built";
        dir = fs::temp_directory_path() / ("larkspur-html-cli-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        sheet = Write("sheet.css", "H1 {\r\ncolor: #FF0000;\r\n}\r\n.note {\r\nfont-style: italic;\r\n}\r\n");
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
        return (dir / name).string();
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    CliRun Cli(const std::string& args) {
        std::string errPath = (dir / "stderr.txt").string();
        std::string command = std::string(LARKSPUR_CLI_PATH) + " " + args + " 2>'" + errPath + "'";
        CliRun run{};
        FILE* pipe = ::popen(command.c_str(), "r");
        char buf[4096];
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) run.out.append(buf, n);
        int status = ::pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.err = Read(errPath);
        fs::remove(errPath);
        return run;
    }
    std::string Quote(const std::string& path) { return "'" + path + "'"; }

    // The block the sheet gives, as the window would build it after Open.
    std::string SheetBlock() {
        SheetDocument doc;
        doc.CreateStartRules();
        EXPECT_TRUE(doc.ReadStyleSheet(sheet).ok);
        return doc.BuildStyleBlock();
    }

    fs::path dir;
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
