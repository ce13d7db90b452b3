#include "app/StartOptions.h"

#include "app/Version.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace tevra {
namespace {

TEST(StartOptionsTest, ArgumentsChooseTheFileOrAnAnswerWithoutAWindow) {
    // The file the editor opens or how the process ends before any window, then a text that
    // standard output and standard error hold ("": the stream stays empty).
    const struct {
        std::vector<const char*> args;
        std::string outcome, out, err;
    } rows[] = {
        {{}, "open ", "", ""},
        {{"show.tvr"}, "open show.tvr", "", ""},
        {{"--version"}, "exit 0", std::string("Velmora_N1 ").append(kVersionText) + "\n", ""},
        {{"--help"}, "exit 0", "FILE", ""},
        {{"--bogus"}, "refused", "", "--bogus"},
        {{"one.tvr", "two.tvr"}, "refused", "", "two.tvr"},
    };
    for (const auto& row : rows) {
        std::vector<const char*> argv{"Velmora_N1"};
        argv.insert(argv.end(), row.args.begin(), row.args.end());
        std::ostringstream out;
        std::ostringstream err;
        const StartOptions options =
            parseStartOptions(static_cast<int>(argv.size()), argv.data(), out, err);
        const std::string outcome = !options.exitStatus        ? "open " + options.programFile
                                    : *options.exitStatus == 0 ? "exit 0"
                                                               : "refused";
        EXPECT_EQ(outcome, row.outcome) << argv.back();
        for (const auto& [text, expected] : {std::pair{out.str(), row.out}, {err.str(), row.err}}) {
            EXPECT_EQ(text.empty(), expected.empty()) << argv.back() << ": " << text;
            EXPECT_NE(text.find(expected), std::string::npos) << argv.back() << ": " << text;
        }
    }
}

} // namespace
} // namespace tevra
