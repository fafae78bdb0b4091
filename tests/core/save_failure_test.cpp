// A save through the command-line tool with one system call failed (the
// fail_calls library, preloaded): each call of the rename path and of the
// in-place path (a file with a second link), for a sheet and for a page. A
// failure is reported only while the old file is whole; once the new file is
// in place, a later failure is a warning that says it was saved.
#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "css/file_io.h"

namespace larkspur {
namespace {

using namespace larkspur::testing;

struct FailCase {
    const char* call;
    bool inPlace;
    bool saved;            // the file ends up new (exit 0), else old (exit 1)
    const char* message;   // start of what the tool prints, "" for nothing
};

std::string Name(const ::testing::TestParamInfo<FailCase>& info) {
    return std::string(info.param.call) + (info.param.inPlace ? "InPlace" : "ByRename");
}

class SaveFailureTest : public CliFixture, public ::testing::WithParamInterface<FailCase> {};

TEST_P(SaveFailureTest, ReportsOnlyWhatHappened) {
    const FailCase& c = GetParam();
    const std::string sheet = Write("in.css", "H1 { color: blue }\n");
    const std::string oldPage = "<html><head><style>P{color:red}</style></head><body>x</body></html>";
    for (const bool page : {false, true}) {
        SCOPED_TRACE(page ? "apply" : "export");
        const std::string name = page ? "out.html" : "out.css";
        const std::string old = page ? oldPage : "P { color: red }\n";
        const std::string command = page ? "apply" : "export";
        // What a save that fails at nothing writes.
        const std::string reference = Write("ref-" + name, old);
        ASSERT_EQ(Cli(command + " " + Quote(sheet) + " " + Quote(reference)).status, 0);
        const std::string fresh = Read(reference);
        fs::remove(reference);

        const std::string path = Write(name, old);
        if (c.inPlace) fs::create_hard_link(path, dir / ("twin-" + name));
        std::string failing = c.inPlace ? path : TemporaryPrefixFor(path);
        if (std::string_view(c.call) == "dirsync") failing = dir.string();
        const CliRun r = Shell("LD_PRELOAD=" + Quote(LARKSPUR_FAIL_CALLS_PATH) + " LARKSPUR_FAIL_CALL=" +
                               c.call + " LARKSPUR_FAIL_PATH=" + Quote(failing) +
                               " ASAN_OPTIONS=\"$ASAN_OPTIONS:verify_asan_link_order=0\" " +
                               Quote(LARKSPUR_CLI_PATH) + " " + command + " " + Quote(sheet) + " " +
                               Quote(path));
        EXPECT_EQ(r.status, c.saved ? 0 : 1) << r.err;
        if (*c.message) {
            EXPECT_EQ(r.err.rfind(c.message + ("\"" + path + "\""), 0), 0u) << r.err;
            EXPECT_NE(r.err.find("Input/output error"), std::string::npos) << r.err;
        } else {
            EXPECT_EQ(r.err, "");
        }
        EXPECT_EQ(Read(path), c.saved ? fresh : old);
        if (c.inPlace) {
            EXPECT_EQ(Read((dir / ("twin-" + name)).string()), Read(path));
            fs::remove(dir / ("twin-" + name));
        }
        for (const auto& e : fs::directory_iterator(dir))
            EXPECT_NE(e.path().filename().string().rfind(".~l", 0), 0u) << e.path();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Calls, SaveFailureTest,
    ::testing::Values(
        // Every step up to the rename fails the save; the folder's sync comes
        // after it, when the new file is in place.
        FailCase{"write", false, false, "Cannot write "}, FailCase{"fsync", false, false, "Cannot write "},
        FailCase{"close", false, false, "Cannot write "}, FailCase{"rename", false, false, "Cannot write "},
        FailCase{"dirsync", false, true, "Saved "},
        // In place, each failure puts the old bytes back; nothing is renamed.
        FailCase{"write", true, false, "Cannot write "}, FailCase{"fsync", true, false, "Cannot write "},
        FailCase{"close", true, false, "Cannot write "}, FailCase{"rename", true, true, ""},
        FailCase{"dirsync", true, true, ""}),
    Name);

}  // namespace
}  // namespace larkspur
