#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/Thumbnail.h"
#include "image/FrameImage.h"
#include "measure/CTChain.h"

namespace orvane {

// Name of the thumbnail index file inside an image folder. Linux has no hidden
// attribute; the name stays as the program has always written it.
inline constexpr std::string_view kThumbnailIndexName = "ThumbNail";

// Reported by ScanImageFolder after each image file (done of total, from 1);
// once with done 0 before the first. Returning false stops the scan there.
using ThumbnailScanProgress = std::function<bool(int done, int total)>;

struct ThumbnailScanResult {
    bool listed = false;    // the folder could be listed
    bool cancelled = false; // the progress callback stopped the scan
    int matching = 0;       // image files in the folder, held already or not
    int added = 0;          // thumbnails made by this scan
};

// The thumbnails of the image folder, in the order they were added, and their
// index file, which keeps every thumbnail's picture so that a folder of large
// images is not decoded again at every start.
//
// Index file (little-endian, unpadded): the 24 bytes "KELVOR THUMBNAILFILE
// VER", the five bytes "1000\0", int32 entry count, then per entry the file
// name (no folder) in the locale's character set with a terminating zero,
// int32 S = 54 + pixel bytes, int32 0, and the thumbnail as a BMP file image
// of S bytes (24 bits, bottom-up). Files of an older version carry the 23-byte
// magic "ZB-QT THUMBNAILFILE VER" instead; they are read, never written.
//
// Every operation keeps the records' `no` equal to their position. Not
// thread-safe: one thread at a time.
class CThumbNail : public CTChain<THUMBNAIL> {
public:
    static constexpr int kWidth = 140;
    static constexpr int kHeight = 105;

    // `folder`/ThumbNail.
    [[nodiscard]] static std::filesystem::path IndexPathFor(const std::filesystem::path& folder);

    // Appends a record for every complete entry whose image file (the index's
    // folder + the name) still exists as a regular file. 1 when the file was
    // read, 0 when it is missing, unreadable or its magic or version (1000)
    // does not match. Reading stops cleanly at the first entry that is cut
    // short or whose picture is not a sound BMP; names that are empty or would
    // leave the folder are passed over.
    int LoadThumbnailIndex(const std::filesystem::path& indexPath);

    // Writes every record as an entry, first to last, through a temporary file
    // renamed into place. An empty chain removes the file and answers 0; a
    // failed write leaves the old file and answers 0.
    int SaveThumbnailIndex(const std::filesystem::path& indexPath) const;

    // Adds a thumbnail for every image file of the folder (a regular file named
    // *.bmp, *.jpg, *.jpeg, *.gif, *.png, *.tif or *.tiff, case-sensitive) that
    // no record holds yet, in the byte order of the names. Empties the chain
    // when the folder cannot be listed or holds no image file.
    ThumbnailScanResult ScanImageFolder(const std::filesystem::path& folder,
                                        const ThumbnailScanProgress& progress = {});

    // Decodes the file (JPEGs at a reduced DCT scale) and adds its thumbnail;
    // 0 (nothing added) when it cannot be decoded.
    int AddThumbnailFromFile(const std::string& path);

    // Adds a record for `path` (kept verbatim) after the last one, its picture
    // `image` scaled by ScaleToThumbnail; the cursor moves to it. 0 for an
    // image ScaleToThumbnail refuses.
    int AddThumbnail(const std::string& path, const FrameImage& image);

    // Removes every record whose path equals `path`; the number removed.
    int RemoveThumbnailsFor(std::string_view path);

    // Cursor to the record at a 0-based position; 0 when there is none.
    int SelectThumbnail(int index);

    [[nodiscard]] bool Holds(std::string_view path) const;
};

// True for a file name whose extension (from its last '.') is one of the
// image extensions the folder scan takes, compared case-sensitively.
[[nodiscard]] bool IsThumbnailImageName(std::string_view fileName);

// The image files of a folder that the scan takes (regular files with such a
// name), in byte order of their names; nothing when it cannot be listed.
[[nodiscard]] std::optional<std::vector<std::string>> ListImageFiles(const std::filesystem::path& folder);

} // namespace orvane
