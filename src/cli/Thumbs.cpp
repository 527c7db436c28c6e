#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

#include <system_error>

#include "cli/Cli.h"
#include "files/CThumbNail.h"
#include "files/ImageSizeProbe.h"
#include "platform/Charset.h"

namespace orvane::cli {
namespace {

constexpr std::string_view kCommand = "thumbs";

constexpr const char* kHelp = "Usage: orvane-tool thumbs FOLDER [--rebuild]\n"
                              "\n"
                              "Lists the thumbnail index (the file \"ThumbNail\") of an image folder, one\n"
                              "line per thumbnail: the file name, a tab, and the size of the image file\n"
                              "as WIDTHxHEIGHT read from its header, or \"?\" when the header cannot be\n"
                              "read. Entries of files that no longer exist are left out, as Orvane drops\n"
                              "them.\n"
                              "  --rebuild   read the index, add thumbnails for the folder's images that it\n"
                              "              lacks (*.bmp *.jpg *.jpeg *.gif *.png *.tif *.tiff, lower-case\n"
                              "              extensions as Orvane takes them), write the index back and\n"
                              "              list it; a folder without images loses its index\n"
                              "Exit status: 0 success, 1 the folder or its index cannot be read or the\n"
                              "index cannot be written, 2 usage error.\n";

// "\rscanning done/total" on a terminal; nothing when stderr is redirected.
class ScanProgressLine {
public:
    ScanProgressLine() : m_enabled(::isatty(STDERR_FILENO) == 1) {}
    ScanProgressLine(const ScanProgressLine&) = delete;
    ScanProgressLine& operator=(const ScanProgressLine&) = delete;
    ~ScanProgressLine()
    {
        if (m_shown) {
            std::fputc('\n', stderr);
        }
    }

    bool Report(int done, int total)
    {
        if (m_enabled) {
            std::fprintf(stderr, "\rscanning %d/%d", done, total);
            std::fflush(stderr);
            m_shown = true;
        }
        return true;
    }

private:
    bool m_enabled;
    bool m_shown = false;
};

std::string SizeText(const std::string& path)
{
    const std::optional<ImageSize> size = ProbeImageSize(path);
    if (!size) {
        return "?";
    }
    return std::to_string(size->width) + "x" + std::to_string(size->height);
}

bool PrintListing(const CThumbNail& chain)
{
    std::string listing;
    for (const THUMBNAIL* record = chain.First(); record != nullptr; record = record->next) {
        listing += Utf8ToLocale(std::filesystem::path(record->path).filename().string());
        listing += '\t';
        listing += SizeText(record->path);
        listing += '\n';
    }
    return WriteStdout(listing);
}

// Reads the index that exists (1 read, 0 none or not an index) and reports why one is not used.
int LoadIndex(CThumbNail& chain, const std::filesystem::path& indexPath, bool rebuilding)
{
    std::error_code error;
    const bool exists = std::filesystem::exists(indexPath, error);
    if (exists && chain.LoadThumbnailIndex(indexPath) == 1) {
        return 1;
    }
    if (!exists && !rebuilding) {
        PrintError("'" + indexPath.parent_path().string() +
                   "' has no thumbnail index; 'orvane-tool thumbs FOLDER --rebuild' makes one");
    } else if (exists) {
        PrintError("'" + indexPath.string() + "' is not a thumbnail index of version 1000" +
                   (rebuilding ? "; it is made anew" : ""));
    }
    return 0;
}

int Rebuild(CThumbNail& chain, const std::filesystem::path& folder, const std::filesystem::path& indexPath)
{
    ThumbnailScanResult scan;
    {
        ScanProgressLine progress;
        scan = chain.ScanImageFolder(folder, [&progress](int done, int total) { return progress.Report(done, total); });
    }
    // The program empties the chain of a folder it cannot list; the tool keeps
    // the index of such a folder rather than remove it.
    if (!scan.listed) {
        PrintError("cannot list the folder '" + folder.string() + "'");
        return kExitBadInput;
    }
    if (chain.SaveThumbnailIndex(indexPath) == 0 && chain.Count() > 0) {
        PrintError("cannot write '" + indexPath.string() + "'");
        return kExitBadInput;
    }
    return kExitSuccess;
}

} // namespace

int RunThumbs(Args args)
{
    if (PrintHelpIfAsked(args, kHelp)) {
        return kExitSuccess;
    }
    std::optional<std::filesystem::path> folder;
    bool rebuild = false;
    for (const std::string_view arg : args) {
        if (arg == "--rebuild") {
            rebuild = true;
        } else if (arg.size() > 1 && arg.front() == '-') {
            return UsageError(kCommand, "unknown option '" + std::string(arg) + "'");
        } else if (folder) {
            return UsageError(kCommand, "takes one folder");
        } else {
            folder = std::filesystem::path(std::string(arg));
        }
    }
    if (!folder) {
        return UsageError(kCommand, "needs an image folder");
    }
    std::error_code error;
    if (!std::filesystem::is_directory(*folder, error)) {
        PrintError("'" + folder->string() + "' is not a folder");
        return kExitBadInput;
    }

    const std::filesystem::path indexPath = CThumbNail::IndexPathFor(*folder);
    CThumbNail chain;
    if (LoadIndex(chain, indexPath, rebuild) == 0 && !rebuild) {
        return kExitBadInput;
    }
    if (rebuild) {
        const int status = Rebuild(chain, *folder, indexPath);
        if (status != kExitSuccess) {
            return status;
        }
    }
    return PrintListing(chain) ? kExitSuccess : kExitBadInput;
}

} // namespace orvane::cli
