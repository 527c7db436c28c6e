#pragma once

#include <filesystem>
#include <memory>

#include <QObject>

#include "app/core/IThumbnailScanner.h"
#include "files/ThumbnailScanJob.h"

namespace orvane {

class CThumbNail;

// The window's folder scan: a ThumbnailScanJob decodes on worker threads and
// posts each thumbnail to this object, which links it into the chain on the
// UI thread in file order. A new scan, Cancel() and the destructor end the
// job first and wait for its threads; results still queued from an ended
// scan are dropped by their scan number.
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
    void OnListed(unsigned int scan, bool listed, int matching, int toDecode);
    void OnDecoded(unsigned int scan, ScannedThumbnail thumbnail);
    void OnFinished(unsigned int scan);

    CThumbNail& m_thumbnails;
    int m_decoders;
    ThumbnailScanMerge m_merge;
    std::unique_ptr<ThumbnailScanJob> m_job;
    unsigned int m_scan = 0;
    bool m_running = false;
    int m_total = 0;
};

} // namespace orvane
