#pragma once

#include <span>
#include <string_view>

namespace orvane::cli {

// Exit statuses of orvane-tool.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitBadInput = 1; // unreadable or damaged input, or output that could not be written
inline constexpr int kExitUsage = 2;

// The arguments after the subcommand's name.
using Args = std::span<const std::string_view>;

// One subcommand. A new one is one row of the table in Cli.cpp, its entry
// point declared below, and its own source file.
struct Command {
    std::string_view name;
    std::string_view summary;
    int (*run)(Args args);
};

int RunMes2Csv(Args args);
int RunConvert(Args args);
int RunThumbs(Args args);
int RunRender(Args args);

// orvane-tool with the arguments after the program's name; returns the exit status.
int Run(Args args);

// "orvane-tool: <message>" on stderr.
void PrintError(std::string_view message);
// "orvane-tool <command>: <message>" and a pointer to the command's help on stderr; returns kExitUsage.
int UsageError(std::string_view command, std::string_view message);
[[nodiscard]] bool IsHelpOption(std::string_view arg);
// When any argument asks for help, prints `help` to stdout and returns true.
bool PrintHelpIfAsked(Args args, std::string_view help);
// Writes bytes to stdout and flushes; false (after reporting) when the output failed.
bool WriteStdout(std::string_view bytes);

} // namespace orvane::cli
