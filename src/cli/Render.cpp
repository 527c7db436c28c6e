#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <system_error>

#include "app/qt/QtDrawingSurface.h"
#include "cli/Cli.h"
#include "files/ImageFiles.h"
#include "files/MeasureFile.h"
#include "image/FrameImage.h"
#include "measure/CCalibChain.h"
#include "measure/MeasureDrawing.h"
#include "measure/MeasureResults.h"
#include "platform/ProfileFile.h"
#include "platform/StringTable.h"
#include "settings/CalibrationSettings.h"
#include "settings/MeasureStyleSettings.h"
#include "settings/OrvaneSettings.h"

namespace orvane::cli {
namespace {

constexpr std::string_view kCommand = "render";
constexpr int kCalibrationCount = 20;

constexpr const char* kHelp =
    "Usage: orvane-tool render IMAGE FILE.mes OUT [--settings INI] [--calib N] [--lang en|ja]\n"
    "\n"
    "Draws the measurements of FILE.mes over IMAGE (BMP, JPEG, PNG, GIF or TIFF)\n"
    "as Orvane burns them into a saved picture: at zoom 1, with the measurement\n"
    "pen, label font, text colour and show-angle setting of the settings file,\n"
    "and writes OUT as a BMP (.bmp) or a progressive JPEG of quality 100\n"
    "(.jpg, .jpeg). An existing OUT is replaced only when the new file is\n"
    "complete.\n"
    "\n"
    "  --settings INI    Orvane's settings file (Orvane.ini) to take the colours,\n"
    "                    pen, font and calibrations from (default: the built-in\n"
    "                    defaults)\n"
    "  --calib N         first recompute the measurements with calibration N\n"
    "                    (0-19) of the settings file, as choosing it in the\n"
    "                    calibration list does; without it, each measurement\n"
    "                    shows its stored values\n"
    "  --lang en|ja      language of the angle unit in the labels (default en)\n"
    "\n"
    "Exit status: 0 success, 1 unreadable image, settings or results file, or\n"
    "OUT cannot be written, 2 usage error.\n";

struct Options {
    std::filesystem::path image;
    std::filesystem::path results;
    std::filesystem::path output;
    int saveType = kSaveTypeBmp;
    std::optional<std::filesystem::path> settings;
    std::optional<int> calibration;
    Language language = Language::English;
};

std::optional<int> ParseCalibration(std::string_view text)
{
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    const int value = std::stoi(std::string(text));
    return value < kCalibrationCount ? std::optional<int>(value) : std::nullopt;
}

// The save type an output name implies: 1 for ".bmp", 2 for ".jpg"/".jpeg".
std::optional<int> TypeForOutput(const std::filesystem::path& path)
{
    switch (ImageFormatForPath(path)) {
    case ImageFormat::Bmp: return kSaveTypeBmp;
    case ImageFormat::Jpeg: return kSaveTypeJpegHigh;
    default: return std::nullopt;
    }
}

// Parses the arguments into `options`; an error message, or empty on success.
std::string ParseArguments(Args args, Options& options)
{
    std::vector<std::filesystem::path> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--settings") {
            if (!hasValue) {
                return "--settings needs a file";
            }
            options.settings = std::filesystem::path(std::string(args[++i]));
        } else if (arg == "--calib") {
            if (!hasValue || !(options.calibration = ParseCalibration(args[i + 1]))) {
                return "--calib needs a calibration number from 0 to 19";
            }
            ++i;
        } else if (arg == "--lang") {
            if (!hasValue || (args[i + 1] != "en" && args[i + 1] != "ja")) {
                return "--lang needs en or ja";
            }
            options.language = args[++i] == "ja" ? Language::Japanese : Language::English;
        } else if (arg.size() > 1 && arg.front() == '-') {
            return "unknown option '" + std::string(arg) + "'";
        } else {
            files.emplace_back(std::string(arg));
        }
    }
    if (files.size() != 3) {
        return "needs an image, a results file and an output file";
    }
    options.image = files[0];
    options.results = files[1];
    options.output = files[2];
    if (ImageFormatForPath(options.image) == ImageFormat::Unknown) {
        return "'" + options.image.string() + "' is not a .bmp, .jpg, .jpeg, .png, .gif, .tif or .tiff file";
    }
    const std::optional<int> type = TypeForOutput(options.output);
    if (!type) {
        return "'" + options.output.string() + "' ends in neither .bmp nor .jpg/.jpeg";
    }
    options.saveType = *type;
    return {};
}

// The settings file, or the empty profile that gives every default.
std::optional<ProfileFile> LoadSettings(const Options& options)
{
    ProfileFile profile;
    if (!options.settings) {
        return profile;
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(*options.settings, error) || !profile.Load(*options.settings)) {
        return std::nullopt;
    }
    return profile;
}

// Text needs the font database of a GUI application; with no display named,
// the offscreen platform serves.
int DrawAndSave(const Options& options, FrameImage& image, CMeasureChain& chain, const MeasureStyle& style)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int argc = 1;
    char name[] = "orvane-tool";
    char* argv[] = {name, nullptr};
    const QGuiApplication application(argc, argv);

    const FrameSize size{image.width(), image.height()};
    {
        QtDrawingSurface surface(image);
        if (!surface.isValid()) {
            PrintError("cannot draw on '" + options.image.string() + "'");
            return kExitBadInput;
        }
        DrawMeasurements(surface, chain, style, MeasureCanvas{ViewTransform{}, size, size});
    }
    if (!SaveImage(options.output, image, options.saveType)) {
        PrintError("cannot write '" + options.output.string() + "'");
        return kExitBadInput;
    }
    return kExitSuccess;
}

} // namespace

int RunRender(Args args)
{
    if (PrintHelpIfAsked(args, kHelp)) {
        return kExitSuccess;
    }
    Options options;
    if (const std::string error = ParseArguments(args, options); !error.empty()) {
        return UsageError(kCommand, error);
    }
    SetCurrentLanguage(options.language);

    const std::optional<ProfileFile> profile = LoadSettings(options);
    if (!profile) {
        PrintError("cannot read the settings file '" + options.settings->string() + "'");
        return kExitBadInput;
    }
    OrvaneSettings settings;
    LoadOrvaneSection(*profile, settings);

    FrameImage image;
    if (!LoadPicture(options.image, image)) {
        PrintError("cannot decode '" + options.image.string() + "'");
        return kExitBadInput;
    }

    CMeasureChain chain;
    const MeasureFileLoad load = LoadMeasureFile(chain, options.results);
    const std::string resultsName = options.results.string();
    switch (load.status) {
    case MeasureFileStatus::Unreadable: PrintError("cannot read '" + resultsName + "'"); return kExitBadInput;
    case MeasureFileStatus::NotResultsFile:
        PrintError("'" + resultsName + "' is not an Orvane results file (no \"_MES\" \"1000\" header)");
        return kExitBadInput;
    case MeasureFileStatus::Loaded: break;
    }
    if (load.damaged) {
        PrintError("warning: '" + resultsName + "' is damaged: " + std::to_string(load.loaded) +
                   " complete records read, " + std::to_string(load.dropped) + " dropped");
    }

    if (options.calibration) {
        CCalibChain calibrations;
        AddDefaultCalibrations(calibrations);
        LoadCalibrationSection(*profile, calibrations);
        const CALIBRATION* calibration = calibrations.RectAt(*options.calibration);
        if (calibration == nullptr) {
            PrintError("no calibration " + std::to_string(*options.calibration));
            return kExitBadInput;
        }
        RecomputeForCalibration(chain, *calibration, FrameSize{image.width(), image.height()});
    }

    return DrawAndSave(options, image, chain, MeasureStyleOf(settings.color));
}

} // namespace orvane::cli
