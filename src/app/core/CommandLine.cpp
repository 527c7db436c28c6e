#include "app/core/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string_view>

#include "app/core/AppTexts.h"

namespace orvane {

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine result;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (argument == "--") {
            break;
        }
        if (argument == "--help" || argument == "-h") {
            return CommandLine{CommandLine::Action::Help, false, {}, {}, {}};
        }
        if (argument == "--version") {
            return CommandLine{CommandLine::Action::Version, false, {}, {}, {}};
        }
    }
    for (auto next = arguments.begin(); next != arguments.end(); ++next) {
        const std::string& argument = *next;
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument == "--demo") {
            result.demo = true;
        } else if (!optionsEnded && argument == "--results") {
            if (std::next(next) == arguments.end() || std::next(next)->empty()) {
                return CommandLine{CommandLine::Action::Error, false, {}, {}, "--results needs a results file"};
            }
            if (!result.resultsFile.empty()) {
                return CommandLine{CommandLine::Action::Error, false, {}, {}, "only one results file can be loaded"};
            }
            result.resultsFile = *++next;
        } else if (!optionsEnded && argument.size() > 1 && argument.front() == '-') {
            return CommandLine{CommandLine::Action::Error, false, {}, {}, "unknown option " + argument};
        } else if (IsResultsFileName(argument)) {
            if (!result.resultsFile.empty()) {
                return CommandLine{CommandLine::Action::Error, false, {}, {}, "only one results file can be loaded"};
            }
            result.resultsFile = argument;
        } else if (result.imageFile.empty() && !argument.empty()) {
            result.imageFile = argument;
        } else {
            return CommandLine{CommandLine::Action::Error, false, {}, {}, "only one image file can be opened"};
        }
    }
    return result;
}

bool IsResultsFileName(const std::string& name)
{
    constexpr std::string_view kExtension = ".mes";
    if (name.size() <= kExtension.size()) {
        return false;
    }
    return std::equal(
        kExtension.begin(), kExtension.end(), name.end() - static_cast<std::ptrdiff_t>(kExtension.size()),
        [](char wanted, char given) { return wanted == std::tolower(static_cast<unsigned char>(given)); });
}

std::string HelpText()
{
    return "Usage: orvane [--demo] [--results FILE.mes] [IMAGE] [FILE.mes]\n"
           "Live-camera measurement viewer for USB microscope cameras.\n"
           "\n"
           "  IMAGE               open this picture (BMP, JPEG, PNG, GIF, TIFF) frozen at start\n"
           "  FILE.mes            load these measurements at start, as the load button does\n"
           "  --results FILE.mes  the same, for a results file of another name\n"
           "  --demo              offer the built-in demo camera\n"
           "  --help              print this help and exit\n"
           "  --version           print the version and exit\n"
           "\n"
           "Settings: $XDG_CONFIG_HOME/QMC/Orvane.ini (default ~/.config/QMC/Orvane.ini).\n";
}

std::string VersionText()
{
    return std::string(kVersionTitle) + "\n";
}

} // namespace orvane
