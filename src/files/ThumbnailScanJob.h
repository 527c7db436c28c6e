#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "image/FrameImage.h"

namespace orvane {

class CThumbNail;

// One image file of a folder scan, decoded and scaled to the thumbnail size
// off the UI thread. `picture` is empty when the file could not be decoded.
struct ScannedThumbnail {
    int index = 0; // position among the files to decode, in name order
    std::string path;
    FrameImage picture;
};

// The folder scan of CThumbNail::ScanImageFolder on worker threads: one
// thread lists the folder, then `decoders` threads decode the image files that
// `held` does not name, each file once, and hand every thumbnail over as soon
// as it is made. The chain itself is never touched here; the UI thread links
// the results in (ThumbnailScanMerge).
//
// Thread affinity: constructed, cancelled and destroyed on one thread (the UI
// thread). The callbacks run on the job's worker threads and must only post
// their arguments to the UI thread; none is called once Cancel() or the
// destructor has returned.
class ThumbnailScanJob {
public:
    struct Callbacks {
        // Once, after listing: whether the folder could be listed, how many
        // image files it holds (held or not) and how many are to be decoded.
        std::function<void(bool listed, int matching, int toDecode)> listed;
        // Once for each file to decode, in any order.
        std::function<void(ScannedThumbnail thumbnail)> decoded;
        // After the last file, unless cancelled.
        std::function<void()> finished;
        // Once, before listing, when the job was given an index file: its
        // records (none when it is missing or unreadable). Also called when a
        // cancel came during the read, so that what was read is not lost.
        std::function<void(std::unique_ptr<CThumbNail> index)> indexRead;
    };

    // Starts at once. `decoders` below 1 counts as 1. With an `indexPath`,
    // the job reads that thumbnail index first (a large one takes a while,
    // so not on the UI thread) and decodes no file it holds.
    ThumbnailScanJob(std::filesystem::path folder, std::set<std::string> held, int decoders, Callbacks callbacks,
                     std::filesystem::path indexPath = {});
    ThumbnailScanJob(const ThumbnailScanJob&) = delete;
    ThumbnailScanJob& operator=(const ThumbnailScanJob&) = delete;
    // Cancels and waits for the threads (at most one decode each).
    ~ThumbnailScanJob();

    // Stops the scan and waits for its threads; nothing is reported afterwards.
    // An index read in progress is read to its end first.
    void Cancel();

    // The decoders a machine is given: its cores, at least 1, at most 4.
    [[nodiscard]] static int DecodersForThisMachine();

private:
    std::jthread m_thread;
};

// Links scanned thumbnails into the chain in file order, whatever order they
// arrive in, so that the strip fills from the left and the order matches the
// scan made in one go. A path the chain already holds (saved meanwhile) or
// that was removed during the scan is passed over. UI thread only.
class ThumbnailScanMerge {
public:
    explicit ThumbnailScanMerge(CThumbNail& chain) : m_chain(chain) {}

    // A new scan: forgets what the last one left behind.
    void Reset();
    // Takes one result; the number of records added to the chain by it.
    int Take(ScannedThumbnail thumbnail);
    // The path left the chain and the folder during the scan: not to come back.
    void Forget(const std::string& path) { m_removed.insert(path); }
    [[nodiscard]] const std::set<std::string>& forgotten() const { return m_removed; }
    // Results taken so far.
    [[nodiscard]] int done() const { return m_done; }

private:
    CThumbNail& m_chain;
    std::map<int, ScannedThumbnail> m_waiting;
    std::set<std::string> m_removed;
    int m_next = 0;
    int m_done = 0;
};

} // namespace orvane
