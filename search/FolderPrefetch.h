#pragma once

#include "search/FolderScan.h"

#include <functional>
#include <memory>

namespace search {

// Reads folders ahead of the walk on a few threads of their own, so that the disk
// is kept busy while the walk consumes the scans strictly in its order. The
// readers always take the folder the walk will need first, and read no more than
// a window of folders ahead of it. A reader held up by the file system (a hung
// share) holds up nobody once the walk is stopped: the threads are let go, and end
// whenever the kernel gives them back.
class FolderPrefetch final : public FolderSource {
public:
    // `stopRequested` is polled while the walk waits for a folder.
    FolderPrefetch(WalkQuery query, int readers, const FolderJob &root, std::function<bool()> stopRequested);
    ~FolderPrefetch() override;
    FolderPrefetch(const FolderPrefetch &) = delete;
    FolderPrefetch &operator=(const FolderPrefetch &) = delete;

    std::shared_ptr<const FolderScan> take(const FolderJob &job) override;

    // How many folders may be read ahead of the walk.
    static constexpr int kWindow = 256;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::function<bool()> stopRequested_;
};

}  // namespace search
