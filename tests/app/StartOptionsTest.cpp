#include "app/StartOptions.h"

#include "app/Version.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace tevra {
namespace {

enum class Ending { EditorOpens, Answered, Refused };

TEST(StartOptionsTest, ArgumentsChooseTheFileOrAnAnswerWithoutAWindow) {
    struct Row {
        std::vector<const char*> args;
        Ending ending;
        std::string programFile;
        std::string outHas; // empty: nothing on standard output
        std::string errHas; // empty: nothing on standard error
    };
    const std::string version = std::string("Velmora_N1 ") + kVersionText;
    const std::vector<Row> rows = {
        {{}, Ending::EditorOpens, "", "", ""},
        {{"show.tvr"}, Ending::EditorOpens, "show.tvr", "", ""},
        {{"/home/user/Программы/show.tvr"},
         Ending::EditorOpens,
         "/home/user/Программы/show.tvr",
         "",
         ""},
        {{"--", "-show.tvr"}, Ending::EditorOpens, "-show.tvr", "", ""},
        {{"--version"}, Ending::Answered, "", version, ""},
        {{"--help"}, Ending::Answered, "", "FILE", ""},
        {{"-h"}, Ending::Answered, "", "--version", ""},
        {{"--bogus"}, Ending::Refused, "", "", "--bogus"},
        {{"one.tvr", "two.tvr"}, Ending::Refused, "", "", "two.tvr"},
    };
    for (const Row& row : rows) {
        std::vector<const char*> argv{"Velmora_N1"};
        argv.insert(argv.end(), row.args.begin(), row.args.end());
        SCOPED_TRACE(argv.size() > 1 ? argv[1] : "no arguments");
        std::ostringstream out;
        std::ostringstream err;

        const StartOptions options =
            parseStartOptions(static_cast<int>(argv.size()), argv.data(), out, err);

        switch (row.ending) {
        case Ending::EditorOpens:
            EXPECT_FALSE(options.exitStatus.has_value());
            EXPECT_EQ(options.programFile, row.programFile);
            break;
        case Ending::Answered:
            EXPECT_EQ(options.exitStatus, 0);
            break;
        case Ending::Refused:
            EXPECT_NE(options.exitStatus.value_or(0), 0);
            break;
        }
        EXPECT_EQ(out.str().empty(), row.outHas.empty()) << out.str();
        EXPECT_NE(out.str().find(row.outHas), std::string::npos) << out.str();
        EXPECT_EQ(err.str().empty(), row.errHas.empty()) << err.str();
        EXPECT_NE(err.str().find(row.errHas), std::string::npos) << err.str();
    }
}

} // namespace
} // namespace tevra
