// Runs that place a block into many pages: dry run, the journal, taking a
// run back, and a run killed part-way.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "cli_fixture.h"
#include "css/apply_journal.h"
#include "css/apply_pages.h"
#include "css/unified_diff.h"

namespace larkspur {
namespace {

using namespace larkspur::testing;

constexpr std::string_view kBlock = "<style type=\"text/css\">\r\n<!--\r\nH1 {\r\ncolor: red;\r\n}\r\n-->\r\n</style>";

unsigned ModeOf(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

struct RunCase {
    const char* name;
    int pages;
    std::size_t batchBytes;  // 1: every page a batch of its own
    int killAfter;           // pages replaced before the run is killed; -1 runs to the end
    std::vector<int> editedSince;
};

class SiteFixture : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("larkspur-apply-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "site");
        journal = (dir / "journal").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    // Pages of every kind the run meets: a style element to replace, a bare
    // head, CRLF and LF, no line end at the end, one already holding the
    // block, and one reached through a link.
    std::vector<std::string> MakeSite(int count) {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i) {
            const fs::path p = dir / "site" / ("page" + std::to_string(i) + ".html");
            std::string text;
            switch (i % 4) {
            case 0: text = "<html>\r\n<head>\r\n<style>p{}</style>\r\n</head>\r\n<body>" + std::to_string(i) + "</body>\r\n</html>\r\n"; break;
            case 1: text = "<html><head></head><body>\n" + std::string(200, 'x') + "\n</body></html>"; break;
            case 2: text = "<HEAD>\n<title>t</title>\n</HEAD>\n" + std::to_string(i) + "\n"; break;
            case 3: text = "<html><head>" + std::string(kBlock) + "</head></html>"; break;
            }
            WriteBytes(p, text);
            ::chmod(p.c_str(), i % 2 ? 0640 : 0604);
            paths.push_back(p.string());
        }
        if (count > 1) {
            fs::rename(paths[1], dir / "site" / "target.html");
            fs::create_symlink("target.html", paths[1]);
        }
        return paths;
    }

    std::map<std::string, std::string> Snapshot() {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(dir / "site"))
            files[e.path().string()] = (e.is_symlink() ? "link:" : "") + ReadBytes(e.path()) + ":" + std::to_string(ModeOf(e.path()));
        return files;
    }

    fs::path dir;
    std::string journal;
};

class ApplyRunTest : public SiteFixture, public ::testing::WithParamInterface<RunCase> {};

TEST_P(ApplyRunTest, DryRunShowsTheChangeAndUndoPutsEveryPageBack) {
    const RunCase& c = GetParam();
    const std::vector<std::string> paths = MakeSite(c.pages);
    const auto original = Snapshot();

    std::vector<std::string> dryDiffs;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const PagePlan plan = PlanPage(paths[i], kBlock);
        ASSERT_NE(plan.change, PageChange::kCannotWrite) << plan.error;
        EXPECT_EQ(plan.change == PageChange::kUnchanged, i % 4 == 3) << paths[i];
        dryDiffs.push_back(UnifiedDiff(plan.before, plan.after, paths[i]));
    }
    EXPECT_EQ(Snapshot(), original) << "a dry run writes nothing";

    ApplyOptions options;
    options.journalFolder = journal;
    options.batchBytes = c.batchBytes;
    if (c.killAfter >= 0) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            options.afterPageWritten = [&](std::size_t written) {
                if (written == static_cast<std::size_t>(c.killAfter)) ::kill(::getpid(), SIGKILL);
            };
            ApplyToPages(kBlock, paths, options);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    } else {
        const ApplyReport report = ApplyToPages(kBlock, paths, options);
        ASSERT_TRUE(report.journal) << report.journal.error;
        EXPECT_TRUE(report.failures.empty());
        EXPECT_EQ(report.written + report.unchanged, paths.size());
        EXPECT_EQ(report.runId, "1");
    }

    // What the run did is what the dry run showed; a killed run did it for
    // the pages it reached and left the rest alone.
    std::size_t changed = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string before = original.at(i == 1 ? (dir / "site" / "target.html").string() : paths[i]);
        const std::string now = ReadBytes(paths[i]) + ":" + std::to_string(ModeOf(paths[i]));
        const std::string diff = UnifiedDiff(before.substr(0, before.rfind(':')), now.substr(0, now.rfind(':')), paths[i]);
        const bool reached = c.killAfter < 0 || changed < static_cast<std::size_t>(c.killAfter);
        EXPECT_EQ(diff, reached ? dryDiffs[i] : "") << paths[i];
        EXPECT_EQ(now.substr(now.rfind(':')), before.substr(before.rfind(':'))) << "mode of " << paths[i];
        changed += !dryDiffs[i].empty();
    }
    EXPECT_TRUE(paths.size() < 2 || fs::is_symlink(paths[1]));

    for (int i : c.editedSince) WriteBytes(paths[static_cast<std::size_t>(i)], "edited by hand");
    const UndoReport undo = UndoApplyRun(journal);
    ASSERT_TRUE(undo.io) << undo.io.error;
    EXPECT_EQ(undo.runId, "1");
    EXPECT_EQ(undo.Count(UndoOutcome::kFailed), 0u);
    EXPECT_EQ(undo.Count(UndoOutcome::kSkipped), c.editedSince.size());
    for (const UndoPage& page : undo.pages) {
        if (page.outcome == UndoOutcome::kSkipped) {
            EXPECT_NE(page.message.find("changed after run 1"), std::string::npos) << page.message;
        }
    }

    auto expected = original;
    for (int i : c.editedSince) {
        const std::string& p = paths[static_cast<std::size_t>(i)];
        expected[i == 1 ? (dir / "site" / "target.html").string() : p] =
            "edited by hand:" + std::to_string(ModeOf(p));
        if (i == 1) expected[p] = "link:" + expected[(dir / "site" / "target.html").string()];
    }
    EXPECT_EQ(Snapshot(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ApplyRunTest,
    ::testing::Values(RunCase{"OnePage", 1, 64 << 20, -1, {}},
                      RunCase{"SeveralPagesOneBatch", 8, 64 << 20, -1, {}},
                      RunCase{"PageABatch", 8, 1, -1, {}},
                      RunCase{"EditedSinceAreSkipped", 8, 64 << 20, -1, {0, 1, 6}},
                      RunCase{"KilledInTheOnlyBatch", 9, 64 << 20, 2, {}},
                      RunCase{"KilledAfterSomeBatches", 9, 1, 4, {}},
                      RunCase{"KilledThenEdited", 9, 1, 3, {0}}),
    [](const auto& info) { return std::string(info.param.name); });

using JournalTest = SiteFixture;

TEST_F(JournalTest, KeepsTheLastRunsOnly) {
    const std::vector<std::string> paths = MakeSite(1);
    ApplyOptions options;
    options.journalFolder = journal;
    options.keepRuns = 3;
    for (int run = 1; run <= 5; ++run) {
        WriteBytes(paths[0], "<head></head>" + std::to_string(run));
        EXPECT_EQ(ApplyToPages(kBlock, paths, options).runId, std::to_string(run));
    }
    EXPECT_EQ(JournalRunIds(journal), (std::vector<std::string>{"3", "4", "5"}));
    // A run with nothing to change is not recorded.
    EXPECT_EQ(ApplyToPages(kBlock, paths, options).runId, "");
    EXPECT_EQ(JournalRunIds(journal).size(), 3u);
    // One killed before it noted a page replaced nothing and is passed over.
    fs::create_directories(fs::path(journal) / "6");
    WriteBytes(fs::path(journal) / "6" / "index", "");
    EXPECT_EQ(UndoApplyRun(journal).runId, "5");
    EXPECT_FALSE(UndoApplyRun(journal, "1").io);
    EXPECT_FALSE(UndoApplyRun(journal, "../journal/3").io);
}

TEST_F(JournalTest, WithoutAJournalNoPageIsWritten) {
    const std::vector<std::string> paths = MakeSite(3);
    const auto original = Snapshot();
    WriteBytes(journal, "a file where the folder should be");
    ApplyOptions options;
    options.journalFolder = journal;
    const ApplyReport report = ApplyToPages(kBlock, paths, options);
    EXPECT_FALSE(report.journal);
    EXPECT_EQ(report.written, 0u);
    EXPECT_EQ(Snapshot(), original);
}

TEST_F(JournalTest, ADamagedCopyIsNeverWrittenBack) {
    const std::vector<std::string> paths = MakeSite(1);
    ApplyOptions options;
    options.journalFolder = journal;
    ASSERT_EQ(ApplyToPages(kBlock, paths, options).written, 1u);
    const std::string placed = ReadBytes(paths[0]);
    const fs::path copy = fs::path(journal) / "1" / "pages";
    std::string bytes = ReadBytes(copy);
    bytes[3] ^= 1;
    WriteBytes(copy, bytes);
    const UndoReport undo = UndoApplyRun(journal);
    ASSERT_EQ(undo.pages.size(), 1u);
    EXPECT_EQ(undo.pages[0].outcome, UndoOutcome::kFailed);
    EXPECT_EQ(ReadBytes(paths[0]), placed);
}

TEST_F(JournalTest, AnEntryCutShortEndsTheRun) {
    const std::vector<std::string> paths = MakeSite(3);
    ApplyOptions options;
    options.journalFolder = journal;
    ASSERT_EQ(ApplyToPages(kBlock, paths, options).written, 3u);
    const fs::path index = fs::path(journal) / "1" / "index";
    const std::string text = ReadBytes(index);
    JournalRun run;
    ASSERT_TRUE(ReadJournalRun(journal, "1", run));
    ASSERT_EQ(run.pages.size(), 3u);
    EXPECT_EQ(run.pages[1].path, (dir / "site" / "target.html").string()) << "the file the link leads to";
    WriteBytes(index, text.substr(0, text.size() - 5));
    ASSERT_TRUE(ReadJournalRun(journal, "1", run));
    EXPECT_EQ(run.pages.size(), 2u);
}

// A page that apply took past the size a read accepts is still told and put
// back: undo sums it piece by piece.
TEST_F(JournalTest, APagePastTheReadLimitIsPutBack) {
    const std::vector<std::string> paths = MakeSite(1);
    const std::string original = ReadBytes(paths[0]);
    ApplyOptions options;
    options.journalFolder = journal;
    ASSERT_EQ(ApplyToPages(kBlock, paths, options).written, 1u);
    // The page as such a run leaves it (zeros, sparse), and its entry to match.
    const std::uint64_t size = kMaxFileSize + 1;
    ASSERT_EQ(::truncate(paths[0].c_str(), 0), 0);
    ASSERT_EQ(::truncate(paths[0].c_str(), static_cast<off_t>(size)), 0);
    std::uint64_t sum = 14695981039346656037ull;
    for (std::uint64_t i = 0; i < size; ++i) sum *= 1099511628211ull;
    const fs::path index = fs::path(journal) / "1" / "index";
    std::string text = ReadBytes(index);
    const size_t entry = text.find("page 0 ");
    size_t field = entry;
    for (int i = 0; i < 4; ++i) field = text.find(' ', field) + 1;
    char after[64];
    std::snprintf(after, sizeof after, "%llu %016llx", static_cast<unsigned long long>(size),
                  static_cast<unsigned long long>(sum));
    text.replace(field, text.find(' ', text.find(' ', field) + 1) - field, after);
    WriteBytes(index, text);

    const UndoReport undo = UndoApplyRun(journal);
    ASSERT_EQ(undo.pages.size(), 1u);
    EXPECT_EQ(undo.pages[0].outcome, UndoOutcome::kPutBack) << undo.pages[0].message;
    EXPECT_EQ(ReadBytes(paths[0]), original);
}

}  // namespace
}  // namespace larkspur
