#pragma once

#include <string>
#include <vector>

namespace orvane {

// What the program was asked to do on its command line.
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    bool demo = false;       // --demo: offer the built-in demo camera
    std::string imageFile;   // a picture to open frozen at start; empty for none
    std::string resultsFile; // a results file (.mes) to load at start; empty for none
    std::string error;       // the complaint for Action::Error
};

// Arguments after the program name -> the request. "--help"/"-h" and
// "--version" win over everything else; "--" ends the options; unknown
// options are errors. A file argument ending in ".mes" (any case) is a
// results file, as "--results FILE" gives one, so that the desktop can open a
// results file with the program; any other is the picture. One picture and
// one results file at most.
[[nodiscard]] CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// Whether a file argument names a results file: its extension is ".mes" in any case.
[[nodiscard]] bool IsResultsFileName(const std::string& name);

// The text "--help" prints.
[[nodiscard]] std::string HelpText();
// The text "--version" prints.
[[nodiscard]] std::string VersionText();

} // namespace orvane
