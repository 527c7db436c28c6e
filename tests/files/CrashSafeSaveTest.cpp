#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CodecTestSupport.h"
#include "files/CThumbNail.h"
#include "files/ImageFiles.h"
#include "files/MeasureFile.h"
#include "measure/CMeasureChain.h"
#include "measure/Measure.h"
#include "platform/FileIo.h"
#include "platform/ProfileFile.h"

// A save that fails at any step that reaches the disk leaves the previous file
// as it was and readable, and says so to its caller.
namespace orvane {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

int g_steps = 0;
int g_failAt = 0;

bool FailNthStep(AtomicFileStep)
{
    return ++g_steps != g_failAt;
}

// One kind of file: how to save an old and a new version, and how to read one.
struct SavedFile {
    const char* name;
    const char* fileName;
    std::function<bool(const fs::path&)> saveOld;
    std::function<bool(const fs::path&)> saveNew;
    std::function<bool(const fs::path&)> reads;
    int leastSteps; // steps the new version takes at least: writes, the sync and the rename
};

ProfileFile Settings(int keys)
{
    ProfileFile profile;
    for (int i = 0; i < keys; ++i) {
        profile.WriteString("Orvane", "key" + std::to_string(i), std::string(40, static_cast<char>('a' + i % 26)));
    }
    return profile;
}

bool SaveResults(const fs::path& path, int records)
{
    CMeasureChain chain;
    for (int i = 0; i < records; ++i) {
        MEASURE record;
        record.kind = FinishedKind(kModeLength);
        record.pointCount = 2;
        record.points.SetAt(0, i, 2.0 * i);
        record.points.SetAt(1, i + 1.0, 3.0 * i);
        chain.AddTailCopy(&record);
    }
    return SaveMeasureFile(chain, path) == 1;
}

bool SaveIndex(const fs::path& path, int thumbnails)
{
    CThumbNail index;
    for (int i = 0; i < thumbnails; ++i) {
        index.AddThumbnail("p" + std::to_string(i) + ".bmp", test::MakeColourPicture(140, 105));
    }
    return index.SaveThumbnailIndex(path) == 1;
}

std::vector<SavedFile> Files()
{
    return {
        {"settings", "Orvane.ini", [](const fs::path& p) { return Settings(3).Save(p); },
         [](const fs::path& p) { return Settings(600).Save(p); },
         [](const fs::path& p) {
             ProfileFile profile;
             return profile.Load(p) && profile.GetInt("Orvane", "key0", -1) == 0 && profile.HasKey("Orvane", "key2");
         },
         4},
        {"results", "job.mes", [](const fs::path& p) { return SaveResults(p, 2); },
         [](const fs::path& p) { return SaveResults(p, 400); },
         [](const fs::path& p) {
             CMeasureChain chain;
             return LoadMeasureFile(chain, p).ok() && chain.Count() > 0;
         },
         4},
        {"thumbnail_index", "ThumbNail", [](const fs::path& p) { return SaveIndex(p, 1); },
         [](const fs::path& p) { return SaveIndex(p, 6); },
         [](const fs::path& p) {
             CThumbNail index;
             return index.LoadThumbnailIndex(p) == 1;
         },
         4},
        {"bmp_picture", "picture.bmp",
         [](const fs::path& p) { return SaveImage(p, test::MakeColourPicture(20, 10), kSaveTypeBmp); },
         [](const fs::path& p) { return SaveImage(p, test::MakeColourPicture(200, 150), kSaveTypeBmp); },
         [](const fs::path& p) {
             FrameImage image;
             return LoadImageFile(p, image) && image.width() > 0;
         },
         4},
        {"jpeg_picture", "picture.jpg",
         [](const fs::path& p) { return SaveImage(p, test::MakeColourPicture(20, 10), kSaveTypeJpegMedium); },
         [](const fs::path& p) { return SaveImage(p, test::MakeColourPicture(400, 300), kSaveTypeJpegHigh); },
         [](const fs::path& p) {
             FrameImage image;
             return LoadImageFile(p, image) && image.width() > 0;
         },
         4},
    };
}

class CrashSafeSave : public ::testing::TestWithParam<SavedFile> {};

TEST_P(CrashSafeSave, AFailureAtAnyStepKeepsThePreviousFile)
{
    const SavedFile& kind = GetParam();
    test::TempDir folder;
    const fs::path path = folder.path() / kind.fileName;
    ASSERT_TRUE(kind.saveOld(path));
    const Bytes old = test::ReadFileBytes(path);

    int failures = 0;
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 1000) << "the save never finishes";
        g_steps = 0;
        g_failAt = n;
        SetAtomicFileFaultHook(FailNthStep);
        const bool saved = kind.saveNew(path);
        SetAtomicFileFaultHook(nullptr);
        if (saved) {
            EXPECT_LT(g_steps, n) << "a failed step was reported as success";
            EXPECT_NE(test::ReadFileBytes(path), old);
            break;
        }
        ++failures;
        SCOPED_TRACE("failure at step " + std::to_string(n));
        EXPECT_EQ(test::ReadFileBytes(path), old);
        EXPECT_TRUE(kind.reads(path));
        // Nothing but the file itself is left in the folder.
        int entries = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path())) {
            ++entries;
        }
        EXPECT_EQ(entries, 1);
    }
    EXPECT_GE(failures, kind.leastSteps);
    EXPECT_TRUE(kind.reads(path));
}

INSTANTIATE_TEST_SUITE_P(Files, CrashSafeSave, ::testing::ValuesIn(Files()),
                         [](const ::testing::TestParamInfo<SavedFile>& c) { return std::string(c.param.name); });

} // namespace
} // namespace orvane
