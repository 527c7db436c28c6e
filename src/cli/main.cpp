#include <cstdlib>
#include <string_view>
#include <vector>

#include "cli/Cli.h"
#include "platform/Charset.h"
#include "platform/Log.h"

int main(int argc, char** argv)
{
    // The character set follows the environment (CSV text is written in it);
    // numbers keep the '.' that the program writes.
    orvane::InitLocale();
    // The tool reports problems in its own words; the libraries' messages
    // show with ORVANE_DEBUG=1.
    if (std::getenv("ORVANE_DEBUG") == nullptr) {
        orvane::log::SetMinimumLevel(orvane::log::Level::Error);
    }
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return orvane::cli::Run(args);
}
