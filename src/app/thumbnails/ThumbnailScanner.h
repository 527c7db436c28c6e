#pragma once

#include <filesystem>
#include <memory>
#include <mutex>

#include <QObject>

#include "app/core/IThumbnailScanner.h"
#include "files/ThumbnailScanJob.h"

namespace orvane {

class CThumbNail;

// The window's folder scan: a ThumbnailScanJob reads the folder's thumbnail
// index and decodes the other image files on worker threads and posts the
// results to this object, which links them into the chain on the UI thread,
// the index's records first, then the files in order. A new scan, Cancel()
// and the destructor end the job first and wait for its threads; an index
// that was read is taken into the chain even then (the folder's index is
// written again from the chain), while decoded results still queued from an
// ended scan are dropped by their scan number.
//
// Thread affinity: UI thread. Only the job's callbacks run on its threads,
// and they do nothing but post to this object.
class ThumbnailScanner : public QObject, public IThumbnailScanner {
    Q_OBJECT

public:
    // `decoders` worker threads; 0 takes the machine's cores (at most 4).
    explicit ThumbnailScanner(CThumbNail& thumbnails, int decoders = 0, QObject* parent = nullptr);
    ~ThumbnailScanner() override;

    void Scan(const std::filesystem::path& folder) override;
    void Cancel() override;
    void Forget(const std::filesystem::path& path) override;

    [[nodiscard]] bool running() const { return m_running; }
    // Files decoded so far of those the scan has to decode.
    [[nodiscard]] int done() const { return m_merge.done(); }
    [[nodiscard]] int total() const { return m_total; }

signals:
    // The chain or the progress changed.
    void changed();
    // The scan went through every file.
    void finished();

private:
    // An index read by a job, waiting for the UI thread to take it.
    struct PendingIndex {
        std::mutex mutex;
        std::unique_ptr<CThumbNail> records;
    };

    // Puts the read index's records in front of those the chain gained since
    // the scan began, leaving out files removed meanwhile.
    void TakeIndex();
    void OnListed(unsigned int scan, bool listed, int matching, int toDecode);
    void OnDecoded(unsigned int scan, ScannedThumbnail thumbnail);
    void OnFinished(unsigned int scan);

    CThumbNail& m_thumbnails;
    int m_decoders;
    ThumbnailScanMerge m_merge;
    std::unique_ptr<ThumbnailScanJob> m_job;
    std::shared_ptr<PendingIndex> m_index;
    unsigned int m_scan = 0;
    bool m_running = false;
    int m_total = 0;
};

} // namespace orvane
