#pragma once

#include <filesystem>

namespace orvane {

// Fills the thumbnail chain with the image files of a folder that it does not
// hold yet. The window scans in the background; without a scanner the state
// scans in one go (CThumbNail::ScanImageFolder). UI thread only.
class IThumbnailScanner {
public:
    virtual ~IThumbnailScanner() = default;
    // Starts filling the chain from `folder`, ending any scan in progress:
    // the records of the folder's thumbnail index first, then the image files
    // that the index does not hold.
    virtual void Scan(const std::filesystem::path& folder) = 0;
    // Ends a scan in progress; the thumbnails it added stay, complete, and so
    // do the index's records whenever the scan had begun reading it.
    virtual void Cancel() = 0;
    // The path's thumbnail left the chain (its file is gone): a scan in
    // progress does not bring it back.
    virtual void Forget(const std::filesystem::path& path) = 0;
};

} // namespace orvane
