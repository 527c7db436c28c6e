#include "files/ThumbnailScanJob.h"

#include <algorithm>
#include <atomic>
#include <utility>

#include <system_error>

#include "files/CThumbNail.h"
#include "files/FilesLog.h"
#include "files/ImageFiles.h"
#include "files/Thumbnail.h"

namespace orvane {
namespace {

using files::kLog;

// What the decoders share: the files and the next one to take.
struct DecodeWork {
    std::vector<std::string> paths;
    std::atomic<std::size_t> next{0};
};

void Decode(const std::stop_token& stop, DecodeWork& work, const ThumbnailScanJob::Callbacks& callbacks)
{
    while (!stop.stop_requested()) {
        const std::size_t index = work.next.fetch_add(1);
        if (index >= work.paths.size()) {
            return;
        }
        ScannedThumbnail result;
        result.index = static_cast<int>(index);
        result.path = work.paths[index];
        FrameImage image;
        if (LoadImageForThumbnail(result.path, image, CThumbNail::kWidth, CThumbNail::kHeight)) {
            if (!ScaleToThumbnail(image, result.picture, CThumbNail::kWidth, CThumbNail::kHeight)) {
                result.picture.Release();
            }
        } else {
            kLog.Info("no thumbnail, the image cannot be decoded: " + result.path);
        }
        if (stop.stop_requested()) {
            return;
        }
        callbacks.decoded(std::move(result));
    }
}

void RunScan(const std::stop_token& stop, const std::filesystem::path& folder, std::set<std::string> held,
             int decoders, const std::shared_ptr<const ThumbnailScanJob::Callbacks>& callbacks,
             const std::filesystem::path& indexPath)
{
    if (!indexPath.empty()) {
        // Read to the end even when cancelled: the index's records are what
        // the folder's index is written from again.
        auto index = std::make_unique<CThumbNail>();
        index->LoadThumbnailIndex(indexPath);
        for (const THUMBNAIL* record = index->First(); record != nullptr; record = record->next) {
            held.insert(record->path);
        }
        if (callbacks->indexRead) {
            callbacks->indexRead(std::move(index));
        }
        if (stop.stop_requested()) {
            return;
        }
    }
    const std::optional<std::vector<std::string>> names = ListImageFiles(folder);
    if (stop.stop_requested()) {
        return;
    }
    auto work = std::make_shared<DecodeWork>();
    if (names) {
        for (const std::string& name : *names) {
            std::string path = (folder / name).string();
            if (held.count(path) == 0) {
                work->paths.push_back(std::move(path));
            }
        }
    }
    callbacks->listed(names.has_value(), names ? static_cast<int>(names->size()) : 0,
                      static_cast<int>(work->paths.size()));
    {
        // This thread decodes too; the helpers share the list with it.
        std::vector<std::jthread> helpers;
        const int extra = std::min(decoders, static_cast<int>(work->paths.size())) - 1;
        for (int i = 0; i < extra; ++i) {
            helpers.emplace_back([stop, work, callbacks] { Decode(stop, *work, *callbacks); });
        }
        Decode(stop, *work, *callbacks);
    } // the helpers are joined here: nothing is reported after this thread ends
    if (!stop.stop_requested()) {
        callbacks->finished();
    }
}

} // namespace

ThumbnailScanJob::ThumbnailScanJob(std::filesystem::path folder, std::set<std::string> held, int decoders,
                                   Callbacks callbacks, std::filesystem::path indexPath)
    : m_thread([folder = std::move(folder), held = std::move(held), decoders = std::max(decoders, 1),
                callbacks = std::make_shared<const Callbacks>(std::move(callbacks)),
                indexPath = std::move(indexPath)](const std::stop_token& stop) {
          RunScan(stop, folder, held, decoders, callbacks, indexPath);
      })
{
}

ThumbnailScanJob::~ThumbnailScanJob()
{
    Cancel();
}

void ThumbnailScanJob::Cancel()
{
    if (m_thread.joinable()) {
        m_thread.request_stop();
        m_thread.join();
    }
}

int ThumbnailScanJob::DecodersForThisMachine()
{
    const unsigned int cores = std::thread::hardware_concurrency();
    return std::clamp(static_cast<int>(cores), 1, 4);
}

void ThumbnailScanMerge::Reset()
{
    m_waiting.clear();
    m_removed.clear();
    m_next = 0;
    m_done = 0;
}

int ThumbnailScanMerge::Take(ScannedThumbnail thumbnail)
{
    ++m_done;
    const int index = thumbnail.index;
    m_waiting.emplace(index, std::move(thumbnail));
    int added = 0;
    for (auto first = m_waiting.find(m_next); first != m_waiting.end(); first = m_waiting.find(m_next)) {
        ScannedThumbnail& ready = first->second;
        if (!ready.picture.isEmpty() && m_removed.count(ready.path) == 0 && !m_chain.Holds(ready.path)) {
            added += m_chain.AddThumbnail(ready.path, ready.picture);
        }
        m_waiting.erase(first);
        ++m_next;
    }
    return added;
}

} // namespace orvane
