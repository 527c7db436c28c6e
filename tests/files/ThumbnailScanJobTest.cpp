#include "files/ThumbnailScanJob.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "CodecTestSupport.h"
#include "files/CThumbNail.h"
#include "files/ImageFiles.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// What a job's threads hand over, collected for the test's thread, as the
// window's queued calls collect it for the UI thread.
class Inbox {
public:
    Inbox() = default;
    // From the `slowAfter`th result on, each hand-over takes 100 ms, so that
    // a scan is surely still running when the test cancels it.
    explicit Inbox(std::size_t slowAfter) : m_slowAfter(slowAfter) {}

    ThumbnailScanJob::Callbacks Callbacks()
    {
        ThumbnailScanJob::Callbacks callbacks;
        callbacks.listed = [this](bool listed, int matching, int toDecode) {
            const std::scoped_lock lock(m_mutex);
            m_listed = listed;
            m_matching = matching;
            m_toDecode = toDecode;
        };
        callbacks.decoded = [this](ScannedThumbnail thumbnail) {
            bool slow = false;
            {
                const std::scoped_lock lock(m_mutex);
                m_decoded.push_back(std::move(thumbnail));
                slow = ++m_count >= m_slowAfter;
                m_changed.notify_all();
            }
            if (slow) {
                std::this_thread::sleep_for(100ms);
            }
        };
        callbacks.finished = [this] {
            const std::scoped_lock lock(m_mutex);
            m_finished = true;
            m_changed.notify_all();
        };
        return callbacks;
    }

    // Waits (at most 30 s) until `count` results arrived or the job finished.
    void WaitFor(std::size_t count)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, 30s, [&] { return m_decoded.size() >= count || m_finished; });
    }
    // Waits (at most 30 s) until the job reports its end.
    void WaitUntilFinished()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, 30s, [&] { return m_finished; });
    }
    std::vector<ScannedThumbnail> Take()
    {
        const std::scoped_lock lock(m_mutex);
        std::vector<ScannedThumbnail> taken(std::make_move_iterator(m_decoded.begin()),
                                            std::make_move_iterator(m_decoded.end()));
        m_decoded.clear();
        return taken;
    }
    bool finished()
    {
        const std::scoped_lock lock(m_mutex);
        return m_finished;
    }
    int matching()
    {
        const std::scoped_lock lock(m_mutex);
        return m_matching;
    }
    int toDecode()
    {
        const std::scoped_lock lock(m_mutex);
        return m_toDecode;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<ScannedThumbnail> m_decoded;
    bool m_listed = false;
    int m_matching = -1;
    int m_toDecode = -1;
    bool m_finished = false;
    std::size_t m_count = 0;
    std::size_t m_slowAfter = SIZE_MAX;
};

class ThumbnailScanJobTest : public ::testing::Test {
protected:
    // `count` pictures named p00.jpg ..., every other one a BMP, and a file
    // that is no picture.
    void WritePictures(int count)
    {
        for (int i = 0; i < count; ++i) {
            const std::string name = "p" + std::string(i < 10 ? "0" : "") + std::to_string(i);
            FrameImage picture = test::MakeColourPicture(320 + i, 240);
            ASSERT_TRUE(i % 2 == 0 ? SaveImage(temp / (name + ".jpg"), picture, kSaveTypeJpegMedium)
                                   : SaveImage(temp / (name + ".bmp"), picture, 1));
        }
        test::WriteFileBytes(temp / "zz.png", test::Bytes{1, 2, 3});
    }

    [[nodiscard]] std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const THUMBNAIL* t = chain.First(); t != nullptr; t = t->next) {
            names.push_back(std::filesystem::path(t->path).filename().string());
        }
        return names;
    }

    test::TempDir temp;
    CThumbNail chain;
};

// With one decoder and with several, the chain ends as the scan in one go
// leaves it: same files, same order, same pictures.
TEST_F(ThumbnailScanJobTest, ResultsMergeAsTheScanInOneGoWhateverTheDecoders)
{
    WritePictures(9);
    CThumbNail direct;
    direct.ScanImageFolder(temp.path());
    ASSERT_EQ(direct.Count(), 9);

    for (const int decoders : {1, 3}) {
        chain.RemoveAll();
        ThumbnailScanMerge merge(chain);
        Inbox inbox;
        ThumbnailScanJob job(temp.path(), {}, decoders, inbox.Callbacks());
        inbox.WaitUntilFinished();
        job.Cancel();
        ASSERT_TRUE(inbox.finished());
        EXPECT_EQ(inbox.matching(), 10);
        EXPECT_EQ(inbox.toDecode(), 10);
        for (ScannedThumbnail& t : inbox.Take()) {
            merge.Take(std::move(t));
        }
        EXPECT_EQ(merge.done(), 10);
        ASSERT_EQ(chain.Count(), 9) << decoders;
        const THUMBNAIL* a = direct.First();
        for (const THUMBNAIL* b = chain.First(); b != nullptr; b = b->next, a = a->next) {
            EXPECT_EQ(a->path, b->path);
            EXPECT_EQ(a->no, b->no);
            EXPECT_EQ(test::MeanAbsoluteDifference(a->picture, b->picture), 0.0) << b->path;
        }
    }
}

TEST_F(ThumbnailScanJobTest, HeldFilesAreNotDecodedAgain)
{
    WritePictures(4);
    Inbox inbox;
    const std::set<std::string> held{(temp / "p00.jpg").string(), (temp / "p03.bmp").string()};
    ThumbnailScanJob job(temp.path(), held, 2, inbox.Callbacks());
    inbox.WaitUntilFinished();
    job.Cancel();
    EXPECT_EQ(inbox.matching(), 5);
    EXPECT_EQ(inbox.toDecode(), 3);
    EXPECT_EQ(inbox.Take().size(), 3U);
}

// The index is read on the job's thread before listing, and the files it
// holds are not decoded again.
TEST_F(ThumbnailScanJobTest, AnIndexIsReadFirstAndItsFilesAreNotDecoded)
{
    WritePictures(4);
    ASSERT_EQ(chain.AddThumbnailFromFile((temp / "p01.bmp").string()), 1);
    ASSERT_EQ(chain.SaveThumbnailIndex(CThumbNail::IndexPathFor(temp.path())), 1);
    Inbox inbox;
    ThumbnailScanJob::Callbacks callbacks = inbox.Callbacks();
    std::vector<std::string> index;
    int matchingWhenIndexRead = 0;
    callbacks.indexRead = [&](std::unique_ptr<CThumbNail> records) {
        matchingWhenIndexRead = inbox.matching();
        for (const THUMBNAIL* t = records->First(); t != nullptr; t = t->next) {
            index.push_back(t->path);
        }
    };
    ThumbnailScanJob job(temp.path(), {}, 2, callbacks, CThumbNail::IndexPathFor(temp.path()));
    inbox.WaitUntilFinished();
    job.Cancel();
    EXPECT_EQ(index, std::vector<std::string>{(temp / "p01.bmp").string()});
    EXPECT_EQ(matchingWhenIndexRead, -1); // not listed yet
    EXPECT_EQ(inbox.toDecode(), 4);       // five files match, one is held
}

// Results arriving out of order wait for the ones before them; a file the
// chain holds meanwhile (saved again) or that was removed does not come
// back; one that did not decode leaves no gap.
TEST_F(ThumbnailScanJobTest, MergeKeepsFileOrderAndPassesOverHeldRemovedAndBroken)
{
    FrameImage picture = test::MakeColourPicture(CThumbNail::kWidth, CThumbNail::kHeight);
    const auto result = [&](int index, const std::string& name, bool decoded) {
        ScannedThumbnail t;
        t.index = index;
        t.path = (temp / name).string();
        if (decoded) {
            t.picture = picture;
        }
        return t;
    };
    ASSERT_EQ(chain.AddThumbnail((temp / "c.jpg").string(), picture), 1); // saved during the scan
    ThumbnailScanMerge merge(chain);
    merge.Forget((temp / "e.jpg").string());

    struct Step {
        int index;
        const char* name;
        bool decoded;
        int added;
    };
    const Step steps[] = {{2, "c.jpg", true, 0}, {1, "b.jpg", true, 0},  {0, "a.jpg", true, 2},
                          {4, "e.jpg", true, 0}, {3, "d.jpg", false, 0}, {5, "f.jpg", true, 1}};
    for (const Step& step : steps) {
        EXPECT_EQ(merge.Take(result(step.index, step.name, step.decoded)), step.added) << step.name;
    }
    EXPECT_EQ(Names(), (std::vector<std::string>{"c.jpg", "a.jpg", "b.jpg", "f.jpg"}));
    EXPECT_EQ(merge.done(), 6);
}

// Cancelled after the first thumbnails: the job stops, reports nothing more,
// and the index written from what arrived reads back whole.
TEST_F(ThumbnailScanJobTest, ScanCancelledHalfwayLeavesAReadableIndex)
{
    WritePictures(30);
    ThumbnailScanMerge merge(chain);
    Inbox inbox(3);
    // One decoder: results arrive in file order, so the first ones merge
    // even on a loaded machine (with two, file 0 may still be decoding).
    ThumbnailScanJob job(temp.path(), {}, 1, inbox.Callbacks());
    inbox.WaitFor(3);
    job.Cancel();
    std::vector<ScannedThumbnail> arrived = inbox.Take();
    EXPECT_FALSE(inbox.finished());
    EXPECT_LT(arrived.size(), 10U);
    for (ScannedThumbnail& t : arrived) {
        merge.Take(std::move(t));
    }
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(inbox.Take().empty()); // nothing after Cancel returned

    const int kept = chain.Count();
    ASSERT_GT(kept, 0);
    const std::filesystem::path index = CThumbNail::IndexPathFor(temp.path());
    ASSERT_EQ(chain.SaveThumbnailIndex(index), 1);
    CThumbNail reread;
    ASSERT_EQ(reread.LoadThumbnailIndex(index), 1);
    EXPECT_EQ(reread.Count(), kept);
    // The next scan decodes only what the index lacks.
    Inbox rest;
    std::set<std::string> held;
    for (const THUMBNAIL* t = reread.First(); t != nullptr; t = t->next) {
        held.insert(t->path);
    }
    ThumbnailScanJob again(temp.path(), held, 2, rest.Callbacks());
    rest.WaitUntilFinished();
    again.Cancel();
    EXPECT_EQ(rest.toDecode(), 31 - kept);
}

TEST_F(ThumbnailScanJobTest, AFolderThatCannotBeListedSaysSo)
{
    Inbox inbox;
    ThumbnailScanJob job(temp / "missing", {}, 2, inbox.Callbacks());
    inbox.WaitUntilFinished();
    job.Cancel();
    EXPECT_TRUE(inbox.finished());
    EXPECT_EQ(inbox.matching(), 0);
    EXPECT_EQ(inbox.toDecode(), 0);
}

} // namespace
} // namespace orvane
