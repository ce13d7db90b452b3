#include "ToolRun.h"
#include "support/TemporaryFolder.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace tevra::test {
namespace {

// The names that --help lists under its headings: options, arguments, commands.
std::vector<std::string> helpNames(const std::string& help) {
    std::vector<std::string> names;
    std::istringstream lines(help);
    bool listing = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line[0] != ' ') {
            listing = line == "Параметры:" || line == "Аргументы:" || line == "Команды:";
        } else if (listing && line.starts_with("  ") && line[2] != ' ') {
            std::istringstream listed(line.substr(2, line.find(' ', 2) - 2));
            for (std::string name; std::getline(listed, name, ',');) {
                names.push_back(name);
            }
        }
    }
    return names;
}

std::string inTroff(const std::string& name) {
    std::string troff;
    for (const char c : name) {
        if (c == '-') {
            troff.push_back('\\');
        }
        troff.push_back(c);
    }
    return troff;
}

// What a shell prints for the command's output and error output together.
std::string shellOutput(const std::string& command) {
    std::string output;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    std::array<char, 256> buffer{};
    while (pipe != nullptr && std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
        output += buffer.data();
    }
    if (pipe != nullptr) {
        ::pclose(pipe);
    }
    return output;
}

TEST(ToolManualTest, ManualPageAndCompletionNameEveryCommandAndOptionThatHelpShows) {
    const std::string help = runTool({"--help"}).out;
    EXPECT_NE(help.find("Использование: tevra [ПАРАМЕТРЫ] КОМАНДА\n"), std::string::npos);
    EXPECT_NE(help.find("  -h,--help                   показать эту справку и выйти\n"),
              std::string::npos)
        << help;
    const std::string manual = runTool({"--man-page"}).out;
    const std::string completion = runTool({"--bash-completion"}).out;
    // The script's words, each between blanks.
    std::string words = completion;
    std::replace(words.begin(), words.end(), '"', ' ');
    std::vector<std::string> commands = helpNames(help);
    ASSERT_GE(commands.size(), 11U) << "two options and nine commands";
    for (const std::string& command : commands) {
        const bool option = command.starts_with('-');
        const std::vector<std::string> names =
            option ? std::vector<std::string>{} : helpNames(runTool({command, "--help"}).out);
        EXPECT_NE(manual.find(option ? inTroff(command) : ".SS \"tevra " + command),
                  std::string::npos)
            << command;
        EXPECT_NE(words.find(' ' + command + ' '), std::string::npos) << command;
        for (const std::string& name : names) {
            EXPECT_NE(manual.find(inTroff(name)), std::string::npos) << command << ' ' << name;
            EXPECT_TRUE(!name.starts_with('-') || words.find(' ' + name + ' ') != std::string::npos)
                << command << ' ' << name;
        }
    }

    const TemporaryFolder folder{"tevra-manual"};
    const std::string page = (folder.path() / "tevra.1").string();
    const std::string script = (folder.path() / "tevra.bash").string();
    std::ofstream(page) << manual;
    std::ofstream(script) << completion;
    // As lintian reads a page: every warning of man and groff is a fault.
    EXPECT_TRUE(!std::filesystem::exists("/usr/bin/man") ||
                shellOutput("LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z " +
                            page + " >/dev/null")
                    .empty());
    // The words typed so far, and what Tab offers.
    const std::pair<const char*, const char*> typed[] = {
        {"tevra dow", "download"},
        {"tevra download --j", "--json"},
        {"tevra upload --timer 3", ""},
        {"tevra --v", "--version"},
        {"tevra upload --port /dev/nul", "/dev/null"},
    };
    for (const auto& [line, offered] : typed) {
        EXPECT_EQ(shellOutput("bash -c 'source " + script + "; COMP_WORDS=(" + line +
                              "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _tevra; echo "
                              "\"${COMPREPLY[*]}\"'"),
                  std::string(offered) + "\n")
            << line;
    }
}

} // namespace
} // namespace tevra::test
