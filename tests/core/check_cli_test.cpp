#include <gtest/gtest.h>

#include "cli_fixture.h"

namespace larkspur {
namespace {

using namespace larkspur::testing;

class CheckCliTest : public CliFixture {};

TEST_F(CheckCliTest, PrintsEachDroppedDeclarationWhereItIs) {
    const std::string sheet = Write("site.css",
                                    "h1 { display: fixed; color: #12345 }\n"
                                    "@media (min-width: 40em) {\n"
                                    "  .grid {\n    grid-template-columns: repeat(3\n      1fr);\n    colour: red;\n  }\n}\n"
                                    "p { margin: 10 px !important }\n");
    const std::string page = Write("page.html",
                                   "<html><head>\n<STYLE type=\"text/css\">\nb { width: 1; height: 1px }\n</style>\n"
                                   "<style>i { opacity: half }</style></head></html>");
    CliRun r = Cli("check " + P("site.css") + " " + P("page.html"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, sheet + ":1:6: invalid value for display: fixed\n" +
                         sheet + ":1:22: invalid value for color: #12345\n" +
                         sheet + ":4:5: invalid value for grid-template-columns: repeat(3 1fr)\n" +
                         sheet + ":9:5: invalid value for margin: 10 px\n" +
                         page + ":3:5: invalid value for width: 1\n" +
                         page + ":5:12: invalid value for opacity: half\n");

    r = Cli("check --unknown " + P("site.css"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(sheet + ":6:5: unknown property colour\n" + sheet + ":9:5:"), std::string::npos) << r.out;
}

TEST_F(CheckCliTest, ExitsZeroOnlyWhenEverythingIsFine) {
    Write("good.css", "a { color: red; -webkit-appearance: none; --x: {}; margin: var(--m) }\n");
    Write("odd.css", "a { colour: red }\n");
    const struct {
        std::string args;
        int status;
        bool output;
    } cases[] = {
        {"check " + P("good.css"), 0, false},
        {"check " + P("odd.css"), 0, false},
        {"check --unknown " + P("odd.css"), 1, true},
        {"check " + P("missing.css") + " " + P("good.css"), 1, false},
        {"check", 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        CliRun r = Cli(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(!r.out.empty(), c.output) << r.out;
    }
}

}  // namespace
}  // namespace larkspur
