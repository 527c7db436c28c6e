#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/Cli.h"
#include "files/ImageFiles.h"
#include "image/FrameImage.h"

namespace orvane::cli {
namespace {

constexpr std::string_view kCommand = "convert";

constexpr const char* kHelp = "Usage: orvane-tool convert IN OUT [--type 1-4]\n"
                              "\n"
                              "Decodes IN (BMP, JPEG, PNG, GIF or TIFF, chosen by its extension) and writes\n"
                              "OUT as Orvane saves images:\n"
                              "  --type 1          BMP, the picture as stored (default when OUT ends in .bmp);\n"
                              "                    16-bit pictures become 8-bit grey of bits 2 to 9, as\n"
                              "                    the window shows them\n"
                              "  --type 2, 3, 4    progressive JPEG of quality 100, 90, 75 (type 2 is the\n"
                              "                    default when OUT ends in .jpg or .jpeg)\n"
                              "Other extensions of OUT need --type. An existing OUT is replaced only when\n"
                              "the new file is complete.\n"
                              "A PNG that records its gamma is corrected for a display gamma of 2.2 as it is\n"
                              "read, so its pixel values can differ from those stored in the file.\n"
                              "Exit status: 0 success, 1 IN cannot be decoded or OUT cannot be written,\n"
                              "2 usage error.\n";

std::optional<int> ParseType(std::string_view text)
{
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '4') {
        return text[0] - '0';
    }
    return std::nullopt;
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

} // namespace

int RunConvert(Args args)
{
    if (PrintHelpIfAsked(args, kHelp)) {
        return kExitSuccess;
    }
    std::vector<std::filesystem::path> files;
    std::optional<int> type;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--type") {
            if (i + 1 >= args.size() || !(type = ParseType(args[i + 1]))) {
                return UsageError(kCommand, "--type needs 1, 2, 3 or 4");
            }
            ++i;
        } else if (arg.size() > 1 && arg.front() == '-') {
            return UsageError(kCommand, "unknown option '" + std::string(arg) + "'");
        } else {
            files.emplace_back(std::string(arg));
        }
    }
    if (files.size() != 2) {
        return UsageError(kCommand, "needs an input and an output file");
    }
    const std::filesystem::path& input = files[0];
    const std::filesystem::path& output = files[1];
    if (ImageFormatForPath(input) == ImageFormat::Unknown) {
        return UsageError(kCommand,
                          "'" + input.string() + "' is not a .bmp, .jpg, .jpeg, .png, .gif, .tif or .tiff file");
    }
    if (!type) {
        type = TypeForOutput(output);
        if (!type) {
            return UsageError(kCommand, "'" + output.string() + "' ends in neither .bmp nor .jpg/.jpeg: give --type");
        }
    }

    // A BMP keeps the picture as stored; JPEG is written from 24 bits, so
    // palettes, 16-bit grey and alpha are resolved first.
    FrameImage image;
    const bool loaded = *type == kSaveTypeBmp ? LoadImageFile(input, image) : LoadPicture(input, image);
    if (!loaded) {
        PrintError("cannot decode '" + input.string() + "'");
        return kExitBadInput;
    }
    // A 16-bit BMP without bit fields is 5-5-5 colour to every other program.
    if (*type == kSaveTypeBmp && image.bitsPerPixel() == 16) {
        FrameImage grey;
        if (!SixteenBitToGrey(image, grey)) {
            PrintError("cannot convert '" + input.string() + "'");
            return kExitBadInput;
        }
        image = std::move(grey);
    }
    if (!SaveImage(output, image, *type)) {
        PrintError("cannot write '" + output.string() + "'");
        return kExitBadInput;
    }
    return kExitSuccess;
}

} // namespace orvane::cli
