#include "cli/ToolManual.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace tevra::cli {

namespace {

// Options that --help lists: CLI11 hides those without a group.
std::vector<const CLI::Option*> shownOptions(const CLI::App& command) {
    return command.get_options(
        [](const CLI::Option* option) { return !option->get_group().empty(); });
}

std::vector<const CLI::App*> shownCommands(const CLI::App& app) {
    return app.get_subcommands(
        [](const CLI::App* command) { return !command->get_name().empty(); });
}

// As --help shows it: a flag has no kind of value.
bool takesValue(const CLI::Option& option) {
    return !option.get_type_name().empty();
}

std::string label(const CLI::App& app, const std::string& key) {
    return app.get_formatter()->get_label(key);
}

// Text as troff prints it: a backslash and a minus stay themselves, and text that starts a
// line never reads as a request.
std::string roff(const std::string& text) {
    std::string out = text.starts_with('.') || text.starts_with('\'') ? "\\&" : "";
    for (const char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    return out;
}

// "tevra: программы ..." names the tool once already on the page's NAME line.
std::string withoutName(const std::string& description, const std::string& name) {
    const std::string prefix = name + ": ";
    return description.starts_with(prefix) ? description.substr(prefix.size()) : description;
}

std::string upperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string optionNames(const CLI::Option& option) {
    std::string names;
    const auto add = [&](const std::string& dashes, const std::string& name) {
        names += (names.empty() ? "\\fB" : ", \\fB") + roff(dashes + name) + "\\fR";
    };
    for (const std::string& name : option.get_snames()) {
        add("-", name);
    }
    for (const std::string& name : option.get_lnames()) {
        add("--", name);
    }
    return names;
}

// The option's line as --help shows it: its names, the kind of value, and what it needs.
void writeOption(std::ostream& out, const CLI::App& command, const CLI::Option& option) {
    out << ".TP\n";
    if (option.nonpositional()) {
        out << optionNames(option);
        if (takesValue(option)) {
            out << " \\fI" << roff(label(command, option.get_type_name())) << "\\fR";
            if (option.get_expected_max() >= CLI::detail::expected_max_vector_size) {
                out << " ...";
            }
        }
    } else {
        out << "\\fI" << roff(option.get_name(true, false)) << "\\fR";
    }
    out << '\n' << roff(option.get_description());
    if (option.get_required()) {
        out << " (" << roff(label(command, "REQUIRED")) << ')';
    }
    for (const CLI::Option* needed : option.get_needs()) {
        out << " (" << roff(label(command, "Needs") + ' ' + needed->get_name()) << ')';
    }
    out << '\n';
}

std::string usage(const CLI::App& command, const std::string& path) {
    std::string text = path;
    const auto options = shownOptions(command);
    for (const CLI::Option* option : options) {
        if (option->nonpositional()) {
            text += " [" + label(command, "OPTIONS") + ']';
            break;
        }
    }
    for (const CLI::Option* option : options) {
        if (!option->nonpositional()) {
            const std::string name = option->get_name(true, false);
            text += ' ' + (option->get_required() ? name : '[' + name + ']');
        }
    }
    return text;
}

std::string manualPage(const CLI::App& app, std::span<const ExitStatusText> exitStatuses) {
    std::ostringstream out;
    const std::string& name = app.get_name();
    const auto commands = shownCommands(app);
    out << ".\\\" Made by " << name << " --man-page from the tables that --help shows.\n"
        << ".TH " << roff(upperCase(name)) << " 1 \"\" \"" << roff(app.version())
        << "\" \"Команды пользователя\"\n"
        << ".SH NAME\n"
        << roff(name) << " \\- " << roff(withoutName(app.get_description(), name)) << '\n'
        << ".SH SYNOPSIS\n"
        << roff(commands.empty() ? usage(app, name)
                                 : usage(app, name) + ' ' + label(app, "SUBCOMMAND") + " [" +
                                       label(app, "OPTIONS") + "]")
        << '\n'
        << ".SH OPTIONS\n";
    for (const CLI::Option* option : shownOptions(app)) {
        writeOption(out, app, *option);
    }
    if (!commands.empty()) {
        out << ".SH COMMANDS\n";
    }
    for (const CLI::App* command : commands) {
        out << ".SS \"" << roff(usage(*command, name + ' ' + command->get_name())) << "\"\n"
            << roff(command->get_description()) << '\n';
        for (const CLI::Option* option : shownOptions(*command)) {
            writeOption(out, *command, *option);
        }
    }
    if (!exitStatuses.empty()) {
        out << ".SH \"EXIT STATUS\"\n";
    }
    for (const auto& [status, meaning] : exitStatuses) {
        out << ".TP\n" << status << '\n' << roff(meaning) << '\n';
    }
    return out.str();
}

// The words an option's names give, and those of options that take a file or a device.
void collectOptions(const CLI::App& command, std::string& words, std::string& fileValued,
                    std::string& otherValued) {
    for (const CLI::Option* option : shownOptions(command)) {
        if (!option->nonpositional()) {
            continue;
        }
        std::string names;
        for (const std::string& name : option->get_snames()) {
            names += " -" + name;
        }
        for (const std::string& name : option->get_lnames()) {
            names += " --" + name;
        }
        words += names;
        if (takesValue(*option)) {
            // Numbers and time lists have nothing to complete.
            (option->get_type_name() == "TEXT" ? fileValued : otherValued) += names;
        }
    }
}

std::string shellCase(const std::string& pattern, const CLI::App& command) {
    std::string words;
    std::string fileValued;
    std::string otherValued;
    collectOptions(command, words, fileValued, otherValued);
    return "        " + pattern + ") options=\"" + words.substr(words.empty() ? 0 : 1) +
           "\" file_valued=\"" + fileValued + " \" other_valued=\"" + otherValued + " \" ;;\n";
}

std::string bashCompletion(const CLI::App& app) {
    const std::string& name = app.get_name();
    std::string commands;
    std::string cases = shellCase("\"\"", app);
    for (const CLI::App* command : shownCommands(app)) {
        commands += (commands.empty() ? "" : " ") + command->get_name();
        cases += shellCase(command->get_name(), *command);
    }
    const std::string function = "_" + name;
    return "# bash completion for " + name + ", made by " + name +
           " --bash-completion from the tables that --help shows.\n" + function +
           "() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    local commands=\"" +
           commands +
           "\" command=\"\" word options file_valued other_valued\n"
           "    for word in \"${COMP_WORDS[@]:1:COMP_CWORD-1}\"; do\n"
           "        if [[ \" $commands \" == *\" $word \"* ]]; then command=$word; break; fi\n"
           "    done\n"
           "    case $command in\n" +
           cases +
           "    esac\n"
           "    COMPREPLY=()\n"
           "    if [[ $file_valued == *\" $prev \"* ]]; then\n"
           "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           "    elif [[ $other_valued == *\" $prev \"* ]]; then\n"
           "        return\n"
           "    elif [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
           "    elif [[ -z $command ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$commands\" -- \"$cur\"))\n"
           "    else\n"
           "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -o filenames -F " +
           function + ' ' + name + '\n';
}

} // namespace

void addManualOptions(CLI::App& app, std::span<const ExitStatusText> exitStatuses) {
    app.add_flag_function("--man-page",
                          [&app, exitStatuses](std::int64_t) {
                              std::cout << manualPage(app, exitStatuses);
                              throw CLI::Success();
                          })
        ->group("");
    app.add_flag_function("--bash-completion",
                          [&app](std::int64_t) {
                              std::cout << bashCompletion(app);
                              throw CLI::Success();
                          })
        ->group("");
}

} // namespace tevra::cli
