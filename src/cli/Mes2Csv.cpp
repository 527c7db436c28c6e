#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "files/CsvExport.h"
#include "files/DecodeLimits.h"
#include "files/MeasureFile.h"
#include "measure/Calibration.h"
#include "measure/MeasureResults.h"
#include "measure/ResultList.h"
#include "platform/StringTable.h"

namespace orvane::cli {
namespace {

constexpr std::string_view kCommand = "mes2csv";

constexpr const char* kHelp =
    "Usage: orvane-tool mes2csv FILE.mes [--lang en|ja] [--recompute MPPX MPPY UNIT --frame WxH]\n"
    "\n"
    "Prints to standard output the CSV file that Orvane exports for the results\n"
    "list of the measurements in FILE.mes: a header line, then one line per list\n"
    "row (\"No.\" counts the rows from 0), in the locale's character set, lines\n"
    "ended by CR LF.\n"
    "\n"
    "  --lang en|ja      language of the header and the type texts (default en)\n"
    "  --recompute MPPX MPPY UNIT\n"
    "                    first recompute the records as a change of the selected\n"
    "                    calibration does: lengths, diameters and distances with\n"
    "                    MPPX x MPPY units per pixel, polygon areas counted again,\n"
    "                    angles untouched; the list then shows UNIT (0 or cm, 1 or\n"
    "                    mm, 2 or um). Without it, each record shows its stored\n"
    "                    values in its stored unit.\n"
    "  --frame WxH       picture size on which polygon areas are counted (needed\n"
    "                    with --recompute)\n"
    "\n"
    "A damaged file (one that ends early, or whose counts do not fit its size)\n"
    "prints the rows of its complete records, warns on standard error how many\n"
    "records were dropped, and exits with 0.\n"
    "Exit status: 0 success, 1 unreadable file, not a results file, or failed\n"
    "output, 2 usage error.\n";

struct Recompute {
    CALIBRATION calibration;
    std::optional<FrameSize> frame;
};

struct Options {
    std::filesystem::path file;
    Language language = Language::English;
    std::optional<Recompute> recompute;
};

// A finite number written in full, as strtod reads it.
std::optional<double> ParseNumber(std::string_view text)
{
    const std::string copy(text);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(copy.c_str(), &end);
    if (copy.empty() || end != copy.c_str() + copy.size() || errno == ERANGE || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> ParseUnit(std::string_view text)
{
    if (text == "0" || text == "cm") {
        return kUnitCm;
    }
    if (text == "1" || text == "mm") {
        return kUnitMm;
    }
    if (text == "2" || text == "um") {
        return kUnitUm;
    }
    return std::nullopt;
}

// A side of a picture: a whole number from 1 to the largest picture the program decodes.
std::optional<std::int32_t> ParseSide(std::string_view text)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    const long value = std::strtol(std::string(text).c_str(), nullptr, 10);
    if (value < 1 || value > kMaxDecodeSide) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::optional<FrameSize> ParseFrame(std::string_view text)
{
    const std::size_t cross = text.find('x');
    if (cross == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<std::int32_t> width = ParseSide(text.substr(0, cross));
    const std::optional<std::int32_t> height = ParseSide(text.substr(cross + 1));
    if (!width || !height) {
        return std::nullopt;
    }
    return FrameSize{*width, *height};
}

// Parses the arguments into `options`; an error message, or empty on success.
std::string ParseArguments(Args args, Options& options)
{
    std::optional<FrameSize> frame;
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const std::size_t valuesLeft = args.size() - i - 1;
        if (arg == "--lang") {
            if (valuesLeft < 1) {
                return "--lang needs en or ja";
            }
            const std::string_view value = args[++i];
            if (value != "en" && value != "ja") {
                return "--lang needs en or ja, not '" + std::string(value) + "'";
            }
            options.language = value == "ja" ? Language::Japanese : Language::English;
        } else if (arg == "--recompute") {
            if (valuesLeft < 3) {
                return "--recompute needs MPPX MPPY UNIT";
            }
            const std::optional<double> mppX = ParseNumber(args[i + 1]);
            const std::optional<double> mppY = ParseNumber(args[i + 2]);
            const std::optional<std::int32_t> unit = ParseUnit(args[i + 3]);
            if (!mppX || !mppY) {
                return "--recompute needs two finite numbers of units per pixel";
            }
            if (!unit) {
                return "--recompute needs a unit of 0, 1, 2, cm, mm or um, not '" + std::string(args[i + 3]) + "'";
            }
            Recompute recompute;
            recompute.calibration.mpp = {*mppX, *mppY};
            recompute.calibration.unit = *unit;
            options.recompute = recompute;
            i += 3;
        } else if (arg == "--frame") {
            if (valuesLeft < 1) {
                return "--frame needs WxH";
            }
            frame = ParseFrame(args[++i]);
            if (!frame) {
                return "--frame needs WxH with whole numbers from 1 to " + std::to_string(kMaxDecodeSide);
            }
        } else if (arg.size() > 1 && arg.front() == '-') {
            return "unknown option '" + std::string(arg) + "'";
        } else if (haveFile) {
            return "only one results file can be given";
        } else {
            options.file = std::filesystem::path(std::string(arg));
            haveFile = true;
        }
    }
    if (!haveFile) {
        return "no results file given";
    }
    if (options.recompute.has_value() != frame.has_value()) {
        return "--recompute and --frame go together";
    }
    if (options.recompute) {
        options.recompute->frame = frame;
    }
    return {};
}

} // namespace

int RunMes2Csv(Args args)
{
    if (PrintHelpIfAsked(args, kHelp)) {
        return kExitSuccess;
    }
    Options options;
    if (const std::string error = ParseArguments(args, options); !error.empty()) {
        return UsageError(kCommand, error);
    }

    SetCurrentLanguage(options.language);
    CMeasureChain chain;
    const MeasureFileLoad load = LoadMeasureFile(chain, options.file);
    const std::string name = options.file.string();
    switch (load.status) {
    case MeasureFileStatus::Unreadable: PrintError("cannot read '" + name + "'"); return kExitBadInput;
    case MeasureFileStatus::NotResultsFile:
        PrintError("'" + name + "' is not an Orvane results file (no \"_MES\" \"1000\" header)");
        return kExitBadInput;
    case MeasureFileStatus::Loaded: break;
    }
    if (load.damaged) {
        PrintError("warning: '" + name + "' is damaged: " + std::to_string(load.loaded) + " complete records read, " +
                   std::to_string(load.dropped) + " dropped");
    }

    std::optional<std::int32_t> listUnit;
    if (options.recompute) {
        RecomputeForCalibration(chain, options.recompute->calibration, *options.recompute->frame);
        listUnit = options.recompute->calibration.unit;
    }
    const std::vector<ResultListRow> rows = ResultListRows(chain, listUnit);
    return WriteStdout(CsvText(rows, options.language)) ? kExitSuccess : kExitBadInput;
}

} // namespace orvane::cli
