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
    std::string resultsFile; // --results: a results file (.mes) to load at start
    std::string error;       // the complaint for Action::Error
};

// Arguments after the program name -> the request. "--help"/"-h" and
// "--version" win over everything else; "--" ends the options; one image file
// at most; "--results" takes the next argument as its file; unknown options
// are errors.
[[nodiscard]] CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The text "--help" prints.
[[nodiscard]] std::string HelpText();
// The text "--version" prints.
[[nodiscard]] std::string VersionText();

} // namespace orvane
