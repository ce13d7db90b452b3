#include "app/StartOptions.h"

#include "app/Version.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace tevra {
namespace {

TEST(StartOptionsTest, ArgumentsChooseTheFileOrAnAnswerWithoutAWindow) {
    struct Row {
        std::vector<const char*> args;
        std::optional<std::string> opens; // the editor opens with this file; nothing: it exits
        bool refused;
        std::string outHas; // empty: nothing on standard output
        std::string errHas; // empty: nothing on standard error
    };
    const std::vector<Row> rows = {
        {{}, "", false, "", ""},
        {{"show.tvr"}, "show.tvr", false, "", ""},
        {{"--", "-show.tvr"}, "-show.tvr", false, "", ""},
        {{"--version"}, {}, false, std::string("Velmora_N1 ") + kVersionText + "\n", ""},
        {{"--help"}, {}, false, "FILE", ""},
        {{"-h"}, {}, false, "--version", ""},
        {{"--bogus"}, {}, true, "", "--bogus"},
        {{"one.tvr", "two.tvr"}, {}, true, "", "two.tvr"},
    };
    for (const Row& row : rows) {
        std::vector<const char*> argv{"Velmora_N1"};
        argv.insert(argv.end(), row.args.begin(), row.args.end());
        SCOPED_TRACE(argv.size() > 1 ? argv[1] : "no arguments");
        std::ostringstream out;
        std::ostringstream err;

        const StartOptions options =
            parseStartOptions(static_cast<int>(argv.size()), argv.data(), out, err);

        EXPECT_EQ(options.exitStatus.has_value(), !row.opens.has_value());
        if (row.opens) {
            EXPECT_EQ(options.programFile, *row.opens);
        }
        EXPECT_EQ(options.exitStatus.value_or(0) != 0, row.refused);
        EXPECT_EQ(out.str().empty(), row.outHas.empty()) << out.str();
        EXPECT_NE(out.str().find(row.outHas), std::string::npos) << out.str();
        EXPECT_EQ(err.str().empty(), row.errHas.empty()) << err.str();
        EXPECT_NE(err.str().find(row.errHas), std::string::npos) << err.str();
    }
}

} // namespace
} // namespace tevra
