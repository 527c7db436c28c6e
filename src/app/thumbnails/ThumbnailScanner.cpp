#include "app/thumbnails/ThumbnailScanner.h"

#include <set>
#include <string>
#include <utility>

#include <QPointer>

#include "files/CThumbNail.h"

namespace orvane {

ThumbnailScanner::ThumbnailScanner(CThumbNail& thumbnails, int decoders, QObject* parent)
    : QObject(parent), m_thumbnails(thumbnails),
      m_decoders(decoders > 0 ? decoders : ThumbnailScanJob::DecodersForThisMachine()), m_merge(thumbnails)
{
}

ThumbnailScanner::~ThumbnailScanner()
{
    Cancel();
}

void ThumbnailScanner::Scan(const std::filesystem::path& folder)
{
    Cancel();
    ++m_scan;
    m_merge.Reset();
    m_total = 0;
    m_running = true;
    std::set<std::string> held;
    for (const THUMBNAIL* record = m_thumbnails.First(); record != nullptr; record = record->next) {
        held.insert(record->path);
    }
    // Each callback posts to this object; the call runs on the UI thread, and
    // never once this object is gone.
    const unsigned int scan = m_scan;
    QPointer<ThumbnailScanner> self(this);
    ThumbnailScanJob::Callbacks callbacks;
    callbacks.listed = [self, scan](bool listed, int matching, int toDecode) {
        QMetaObject::invokeMethod(
            self, [self, scan, listed, matching, toDecode] { self->OnListed(scan, listed, matching, toDecode); },
            Qt::QueuedConnection);
    };
    callbacks.decoded = [self, scan](ScannedThumbnail thumbnail) {
        auto shared = std::make_shared<ScannedThumbnail>(std::move(thumbnail));
        QMetaObject::invokeMethod(
            self, [self, scan, shared] { self->OnDecoded(scan, std::move(*shared)); }, Qt::QueuedConnection);
    };
    m_index = std::make_shared<PendingIndex>();
    callbacks.indexRead = [self, scan, index = m_index](std::unique_ptr<CThumbNail> records) {
        {
            const std::scoped_lock lock(index->mutex);
            index->records = std::move(records);
        }
        QMetaObject::invokeMethod(
            self,
            [self, scan] {
                if (scan == self->m_scan) {
                    self->TakeIndex();
                    emit self->changed();
                }
            },
            Qt::QueuedConnection);
    };
    callbacks.finished = [self, scan] {
        QMetaObject::invokeMethod(
            self, [self, scan] { self->OnFinished(scan); }, Qt::QueuedConnection);
    };
    m_job = std::make_unique<ThumbnailScanJob>(folder, std::move(held), m_decoders, std::move(callbacks),
                                               CThumbNail::IndexPathFor(folder));
    emit changed();
}

void ThumbnailScanner::Cancel()
{
    if (m_job) {
        m_job->Cancel();
        m_job.reset();
    }
    TakeIndex();
    if (m_running) {
        m_running = false;
        // Results already posted belong to the ended scan.
        ++m_scan;
        emit changed();
    }
}

void ThumbnailScanner::Forget(const std::filesystem::path& path)
{
    m_merge.Forget(path.string());
}

void ThumbnailScanner::TakeIndex()
{
    if (m_index == nullptr) {
        return;
    }
    std::unique_ptr<CThumbNail> index;
    {
        const std::scoped_lock lock(m_index->mutex);
        index = std::move(m_index->records);
    }
    m_index.reset();
    if (index == nullptr) {
        return;
    }
    for (const std::string& path : m_merge.forgotten()) {
        index->RemoveThumbnailsFor(path);
    }
    for (const THUMBNAIL* record = m_thumbnails.First(); record != nullptr; record = record->next) {
        if (!index->Holds(record->path)) {
            index->AddThumbnail(record->path, record->picture);
        }
    }
    m_thumbnails = std::move(*index);
}

void ThumbnailScanner::OnListed(unsigned int scan, bool listed, int matching, int toDecode)
{
    if (scan != m_scan) {
        return;
    }
    if (!listed || matching == 0) {
        m_thumbnails.RemoveAll();
    }
    m_total = toDecode;
    emit changed();
}

void ThumbnailScanner::OnDecoded(unsigned int scan, ScannedThumbnail thumbnail)
{
    if (scan != m_scan) {
        return;
    }
    m_merge.Take(std::move(thumbnail));
    emit changed();
}

void ThumbnailScanner::OnFinished(unsigned int scan)
{
    if (scan != m_scan) {
        return;
    }
    m_running = false;
    if (m_job) {
        m_job->Cancel(); // the thread has ended or is ending: join it
        m_job.reset();
    }
    emit changed();
    emit finished();
}

} // namespace orvane
