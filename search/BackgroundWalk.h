#pragma once

#include "search/FileFinder.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace search {

// What a walk gathered since the window last looked, and where it stands.
struct WalkBatch {
    EntryList entries;                // listed, in order
    std::optional<QString> status;    // the newest status text
    std::optional<WalkTotals> totals; // the figures after the newest entry
    bool folderRead = false;          // a folder's entries were looked through
    // Where the walk stands after this batch.
    int fileCount = 0;
    int dirCount = 0;
    std::int64_t listedSize = 0;
    bool ended = false;           // the walk is over
    WalkCut cut = WalkCut::None;  // and why it ended early
};

// One walk of a folder tree on a thread of its own, handing what it finds over in
// batches. The walk's thread wakes the receiver (`wake`, called on that thread)
// when a batch is ready and the previous one was taken; `ended` says the walk is
// over. Stopping or destroying it never waits for the thread, which may be held
// in the kernel by a hung share: it ends on its own, and nothing it finds later
// reaches anybody.
class BackgroundWalk {
public:
    BackgroundWalk(const QString &folder, const QString &patterns, const WalkOptions &options,
                   std::function<void(bool ended)> wake);
    ~BackgroundWalk();
    BackgroundWalk(const BackgroundWalk &) = delete;
    BackgroundWalk &operator=(const BackgroundWalk &) = delete;

    // Everything gathered since the last take.
    WalkBatch take();
    void stop();

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace search
