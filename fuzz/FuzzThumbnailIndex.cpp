#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzSupport.h"
#include "files/CThumbNail.h"
#include "files/ImageFiles.h"

// A thumbnail index in a folder that holds two of the pictures it may name
// ("a.bmp", "b.jpg"); what it loads must save and load again in full.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::filesystem::path folder = [] {
        const auto made = orvane::fuzz::WorkFolder() / "images";
        std::filesystem::create_directories(made);
        orvane::FrameImage picture;
        if (!picture.Create(8, 6, 24) || !orvane::SaveImage(made / "a.bmp", picture, orvane::kSaveTypeBmp) ||
            !orvane::SaveImage(made / "b.jpg", picture, orvane::kSaveTypeJpegMedium)) {
            orvane::fuzz::Fail("cannot make the pictures of the index folder");
        }
        return made;
    }();
    const auto index = folder / "ThumbNail";
    orvane::fuzz::WriteBytes(index, std::span(data, size));
    orvane::CThumbNail first;
    (void)first.LoadThumbnailIndex(index);
    if (first.Count() == 0) {
        return 0;
    }
    const auto copy = folder / "ThumbNailCopy";
    if (first.SaveThumbnailIndex(copy) != 1) {
        orvane::fuzz::Fail("thumbnail index cannot be saved");
    }
    orvane::CThumbNail second;
    if (second.LoadThumbnailIndex(copy) != 1 || second.Count() != first.Count()) {
        orvane::fuzz::Fail("thumbnail index saved from a load does not load in full");
    }
    return 0;
}
