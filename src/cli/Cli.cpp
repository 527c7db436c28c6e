#include "cli/Cli.h"

#include <array>
#include <cstdio>
#include <string>

namespace orvane::cli {
namespace {

constexpr std::array kCommands{
    Command{"mes2csv", "print a results file (.mes) as the CSV export of its results list", RunMes2Csv},
    Command{"convert", "convert an image (BMP, JPEG, PNG, GIF, TIFF) to BMP or JPEG", RunConvert},
    Command{"thumbs", "list an image folder's thumbnail index, or rebuild it (--rebuild)", RunThumbs},
    Command{"render", "draw the measurements of a results file over an image", RunRender},
};

void PrintOverview(std::FILE* out)
{
    std::fputs("Usage: orvane-tool <command> [arguments]\n"
               "       orvane-tool --help | --version\n"
               "\n"
               "Command-line companion of Orvane, the measuring camera viewer.\n"
               "\n"
               "Commands:\n",
               out);
    for (const Command& command : kCommands) {
        std::fprintf(out, "  %-10.*s %.*s\n", static_cast<int>(command.name.size()), command.name.data(),
                     static_cast<int>(command.summary.size()), command.summary.data());
    }
    std::fputs("\n"
               "'orvane-tool <command> --help' describes a command's arguments.\n"
               "Exit status: 0 success, 1 unreadable or unusable input (or failed output), 2 usage error.\n",
               out);
}

} // namespace

void PrintError(std::string_view message)
{
    std::fprintf(stderr, "orvane-tool: %.*s\n", static_cast<int>(message.size()), message.data());
}

int UsageError(std::string_view command, std::string_view message)
{
    std::fprintf(stderr, "orvane-tool %.*s: %.*s\nTry 'orvane-tool %.*s --help'.\n", static_cast<int>(command.size()),
                 command.data(), static_cast<int>(message.size()), message.data(), static_cast<int>(command.size()),
                 command.data());
    return kExitUsage;
}

bool IsHelpOption(std::string_view arg)
{
    return arg == "--help" || arg == "-h";
}

bool PrintHelpIfAsked(Args args, std::string_view help)
{
    for (const std::string_view arg : args) {
        if (IsHelpOption(arg)) {
            std::fwrite(help.data(), 1, help.size(), stdout);
            return true;
        }
    }
    return false;
}

bool WriteStdout(std::string_view bytes)
{
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
    if (!ok) {
        PrintError("cannot write to standard output");
    }
    return ok;
}

int Run(Args args)
{
    if (args.empty()) {
        PrintOverview(stderr);
        return kExitUsage;
    }
    const std::string_view first = args.front();
    if (IsHelpOption(first)) {
        PrintOverview(stdout);
        return kExitSuccess;
    }
    if (first == "--version") {
        std::printf("orvane-tool (Orvane) %s\n", ORVANE_VERSION);
        return kExitSuccess;
    }
    for (const Command& command : kCommands) {
        if (command.name == first) {
            return command.run(args.subspan(1));
        }
    }
    PrintError("unknown command '" + std::string(first) + "'; 'orvane-tool --help' lists the commands");
    return kExitUsage;
}

} // namespace orvane::cli
