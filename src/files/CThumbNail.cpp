#include "files/CThumbNail.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <vector>

#include <system_error>

#include "files/FilesLog.h"
#include "files/ImageFiles.h"
#include "measure/CMeasureChain.h"
#include "platform/Charset.h"
#include "platform/Clock.h"
#include "platform/FileIo.h"

namespace orvane {
namespace {

using files::kLog;

constexpr std::string_view kMagic = "KELVOR THUMBNAILFILE VER";
constexpr std::string_view kOlderMagic = "ZB-QT THUMBNAILFILE VER";
constexpr std::array<std::uint8_t, 5> kVersionField{'1', '0', '0', '0', 0};
constexpr int kVersion = 1000;
constexpr std::size_t kBmpHeadersSize = 54;
constexpr std::size_t kMaxStoredNameLength = 259;
// Far beyond any folder's index (about 44 KB per thumbnail), short of memory trouble.
constexpr std::size_t kMaxIndexFileBytes = std::size_t{1} << 30;

constexpr std::array<std::string_view, 7> kImageExtensions{".bmp", ".jpg", ".jpeg", ".gif", ".png", ".tif", ".tiff"};

[[nodiscard]] std::uint32_t ReadLe32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void AppendLe32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void AppendLe16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

// The decimal number at the start of the version field (digits up to the
// first other byte), or nothing when there is none.
[[nodiscard]] std::optional<int> ParseVersion(std::span<const std::uint8_t> field)
{
    int value = 0;
    std::size_t digits = 0;
    for (const std::uint8_t byte : field) {
        if (byte < '0' || byte > '9') {
            break;
        }
        value = value * 10 + (byte - '0');
        ++digits;
    }
    return digits == 0 ? std::nullopt : std::optional<int>(value);
}

// Offset of the entry count, after a known magic and the version 1000.
[[nodiscard]] std::optional<std::size_t> CheckHeader(std::span<const std::uint8_t> data)
{
    const auto startsWith = [&data](std::string_view magic) {
        return data.size() >= magic.size() && std::memcmp(data.data(), magic.data(), magic.size()) == 0;
    };
    std::size_t versionAt = 0;
    if (startsWith(kMagic)) {
        versionAt = kMagic.size();
    } else if (startsWith(kOlderMagic)) {
        versionAt = kOlderMagic.size();
    } else {
        return std::nullopt;
    }
    if (data.size() - versionAt < kVersionField.size() + 4) {
        return std::nullopt;
    }
    if (ParseVersion(data.subspan(versionAt, kVersionField.size())) != kVersion) {
        return std::nullopt;
    }
    return versionAt + kVersionField.size();
}

// A stored name names a file inside the index's folder: not empty, no folder part.
[[nodiscard]] bool IsPlainFileName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

[[nodiscard]] bool IsRegularFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// One index entry: the name, the two size fields and the picture as a BMP file image.
void AppendEntry(std::vector<std::uint8_t>& out, std::string_view storedName, const FrameImage& picture)
{
    const auto pixelBytes = static_cast<std::uint32_t>(picture.byteCount());
    const std::uint32_t size = static_cast<std::uint32_t>(kBmpHeadersSize) + pixelBytes;
    out.insert(out.end(), storedName.begin(), storedName.end());
    out.push_back(0);
    AppendLe32(out, size);
    AppendLe32(out, 0);

    out.push_back('B');
    out.push_back('M');
    AppendLe32(out, size);
    AppendLe16(out, 0);
    AppendLe16(out, 0);
    AppendLe32(out, static_cast<std::uint32_t>(kBmpHeadersSize));

    BITMAPINFOHEADER header = picture.header();
    header.biSize = 40;
    AppendLe32(out, header.biSize);
    AppendLe32(out, static_cast<std::uint32_t>(header.biWidth));
    AppendLe32(out, static_cast<std::uint32_t>(header.biHeight));
    AppendLe16(out, header.biPlanes);
    AppendLe16(out, header.biBitCount);
    AppendLe32(out, header.biCompression);
    AppendLe32(out, header.biSizeImage);
    AppendLe32(out, static_cast<std::uint32_t>(header.biXPelsPerMeter));
    AppendLe32(out, static_cast<std::uint32_t>(header.biYPelsPerMeter));
    AppendLe32(out, header.biClrUsed);
    AppendLe32(out, header.biClrImportant);

    out.insert(out.end(), picture.bits(), picture.bits() + pixelBytes);
}

} // namespace

bool IsThumbnailImageName(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    const std::string_view extension = fileName.substr(dot);
    return std::find(kImageExtensions.begin(), kImageExtensions.end(), extension) != kImageExtensions.end();
}

std::optional<std::vector<std::string>> ListImageFiles(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::directory_iterator entry(folder, error);
    if (error) {
        kLog.Info("image folder cannot be listed: " + folder.string() + ": " + error.message());
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (; entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        std::string name = entry->path().filename().string();
        std::error_code statusError;
        if (IsThumbnailImageName(name) && entry->is_regular_file(statusError)) {
            names.push_back(std::move(name));
        }
    }
    if (error) {
        kLog.Warning("listing of " + folder.string() + " ended early: " + error.message());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::filesystem::path CThumbNail::IndexPathFor(const std::filesystem::path& folder)
{
    return folder / kThumbnailIndexName;
}

int CThumbNail::LoadThumbnailIndex(const std::filesystem::path& indexPath)
{
    const std::optional<std::vector<std::uint8_t>> file = ReadWholeFile(indexPath, kMaxIndexFileBytes);
    if (!file) {
        return 0;
    }
    const std::span<const std::uint8_t> data(*file);
    const std::optional<std::size_t> countAt = CheckHeader(data);
    if (!countAt) {
        kLog.Info("thumbnail index ignored, unknown magic or version: " + indexPath.string());
        return 0;
    }
    const auto count = static_cast<std::int32_t>(ReadLe32(data.data() + *countAt));
    const std::filesystem::path folder = indexPath.parent_path();
    std::size_t position = *countAt + 4;
    std::int32_t entry = 0;
    for (; entry < count; ++entry) {
        const auto* nameStart = data.data() + position;
        const auto* nameEnd = static_cast<const std::uint8_t*>(std::memchr(nameStart, 0, data.size() - position));
        if (nameEnd == nullptr) {
            break;
        }
        const std::size_t sizeAt = static_cast<std::size_t>(nameEnd - data.data()) + 1;
        if (data.size() - sizeAt < 8) {
            break;
        }
        const std::uint32_t size = ReadLe32(data.data() + sizeAt);
        const std::size_t pictureAt = sizeAt + 8;
        if (size < kBmpHeadersSize || size > data.size() - pictureAt) {
            break;
        }
        FrameImage picture;
        if (!picture.LoadBmpImage(data.data() + pictureAt, size)) {
            break;
        }
        position = pictureAt + size;

        const std::string name = LocaleToUtf8(
            std::string_view(reinterpret_cast<const char*>(nameStart), static_cast<std::size_t>(nameEnd - nameStart)));
        if (!IsPlainFileName(name)) {
            kLog.Warning("thumbnail index entry with an unusable file name skipped: " + indexPath.string());
            continue;
        }
        const std::filesystem::path imagePath = folder / name;
        if (IsRegularFile(imagePath)) {
            AddThumbnail(imagePath.string(), picture);
        }
    }
    if (entry < count) {
        kLog.Warning("thumbnail index cut short or damaged after " + std::to_string(entry) + " of " +
                     std::to_string(count) + " entries: " + indexPath.string());
    }
    return 1;
}

int CThumbNail::SaveThumbnailIndex(const std::filesystem::path& indexPath) const
{
    if (First() == nullptr) {
        std::error_code error;
        std::filesystem::remove(indexPath, error);
        return 0;
    }
    std::vector<std::uint8_t> out;
    std::int32_t entries = 0;
    try {
        out.insert(out.end(), kMagic.begin(), kMagic.end());
        out.insert(out.end(), kVersionField.begin(), kVersionField.end());
        AppendLe32(out, 0); // the count, set below
        for (const THUMBNAIL* record = First(); record != nullptr; record = record->next) {
            const std::string storedName = Utf8ToLocale(std::filesystem::path(record->path).filename().string());
            if (storedName.empty() || storedName.size() > kMaxStoredNameLength || record->picture.isEmpty()) {
                kLog.Warning("thumbnail left out of the index: " + record->path);
                continue;
            }
            AppendEntry(out, storedName, record->picture);
            ++entries;
        }
    } catch (const std::bad_alloc&) {
        kLog.Warning("out of memory writing the thumbnail index " + indexPath.string());
        return 0;
    }
    const std::size_t countAt = kMagic.size() + kVersionField.size();
    for (int i = 0; i < 4; ++i) {
        out[countAt + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(static_cast<std::uint32_t>(entries) >> (8 * i));
    }
    if (!WriteFileAtomically(indexPath, out)) {
        kLog.Warning("cannot write the thumbnail index " + indexPath.string());
        return 0;
    }
    return 1;
}

ThumbnailScanResult CThumbNail::ScanImageFolder(const std::filesystem::path& folder,
                                                const ThumbnailScanProgress& progress)
{
    ThumbnailScanResult result;
    std::optional<std::vector<std::string>> listing = ListImageFiles(folder);
    if (!listing) {
        RemoveAll();
        return result;
    }
    result.listed = true;
    const std::vector<std::string>& names = *listing;
    result.matching = static_cast<int>(names.size());
    if (names.empty()) {
        RemoveAll();
        return result;
    }
    const int total = result.matching;
    if (progress && !progress(0, total)) {
        result.cancelled = true;
        return result;
    }
    for (int done = 0; done < total; ++done) {
        const std::string path = (folder / names[static_cast<std::size_t>(done)]).string();
        if (!Holds(path) && AddThumbnailFromFile(path) != 0) {
            ++result.added;
        }
        if (progress && !progress(done + 1, total)) {
            result.cancelled = done + 1 < total;
            break;
        }
    }
    return result;
}

int CThumbNail::AddThumbnailFromFile(const std::string& path)
{
    FrameImage image;
    if (!LoadImageForThumbnail(path, image, kWidth, kHeight)) {
        kLog.Info("no thumbnail, the image cannot be decoded: " + path);
        return 0;
    }
    return AddThumbnail(path, image);
}

int CThumbNail::AddThumbnail(const std::string& path, const FrameImage& image)
{
    try {
        auto record = std::make_unique<THUMBNAIL>();
        if (!ScaleToThumbnail(image, record->picture, kWidth, kHeight)) {
            return 0;
        }
        record->id = MakeRecordId(TickCount(), std::rand());
        record->no = Count();
        record->path = path;
        record->mark = 0;
        return AddTail(std::move(record));
    } catch (const std::bad_alloc&) {
        kLog.Warning("out of memory: no thumbnail for " + path);
        return 0;
    }
}

int CThumbNail::RemoveThumbnailsFor(std::string_view path)
{
    int removed = 0;
    if (MoveFirst() == 0) {
        return 0;
    }
    // RemoveCurrent moves the cursor to the successor, or to the predecessor
    // when the last record went.
    const THUMBNAIL* record = Current();
    while (record != nullptr) {
        if (record->path == path) {
            const bool wasLast = record->next == nullptr;
            RemoveCurrent();
            ++removed;
            record = wasLast ? nullptr : Current();
        } else {
            record = MoveNext() != 0 ? Current() : nullptr;
        }
    }
    if (removed > 0) {
        Renumber();
    }
    return removed;
}

int CThumbNail::SelectThumbnail(int index)
{
    return MoveTo(index);
}

bool CThumbNail::Holds(std::string_view path) const
{
    for (const THUMBNAIL* record = First(); record != nullptr; record = record->next) {
        if (record->path == path) {
            return true;
        }
    }
    return false;
}

} // namespace orvane
