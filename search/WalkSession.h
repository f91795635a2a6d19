#pragma once

#include "search/BackgroundWalk.h"
#include "search/FileFinder.h"
#include "search/WalkControl.h"

#include <QColor>
#include <QDateTime>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QAbstractButton;
class QLineEdit;
class QPlainTextEdit;

namespace platform {
class FrameClock;
class PictureBox;
class StatusLine;
}  // namespace platform

namespace search {

class ResultList;

// The list's ground after a search or a desktop-tree listing.
inline const QColor kWalkedListColour{214, 230, 230};

// What a walk shows while it runs and the controls it fills.
struct WalkView {
    ResultList *list = nullptr;                 // List1
    QAbstractButton *showList = nullptr;        // Check1
    QAbstractButton *previewPictures = nullptr; // Check2
    QLineEdit *counts = nullptr;                // Text3
    QPlainTextEdit *sizes = nullptr;            // Text4
    platform::PictureBox *preview = nullptr;    // Picture1
};

// How a walk ended, as the window showed it.
struct WalkOutcome {
    QString folder;  // ending with "/"
    int fileCount = 0;
    int dirCount = 0;
    std::int64_t total = 0;  // bytes listed
    bool stopped = false;
    WalkCut cut = WalkCut::None;  // ended early on its own
};

// How walks are run: the window's pace and the file system's seam.
struct WalkSettings {
    int frameMs = 16;  // the shortest time between two updates of the window
    int readers = 8;   // threads reading folders ahead
    std::function<void(const QByteArray &folder)> beforeRead;
    int countLimit = INT_MAX;  // the most the counters hold (tests lower it)
    std::shared_ptr<platform::FrameClock> clock;  // empty: the system's
};

// One walk of a folder tree into the result list, shared by the search command
// and the desktop-tree listing: the same set-up, the same live texts, the same
// tear-down. The walk runs on threads of its own; what it finds reaches the
// window in batches, at most once a frame, so the window's thread only routes
// and paints. It also knows whether a search has ended yet.
class WalkSession {
public:
    WalkSession(WalkView view, platform::StatusLine &status, WalkSettings settings);
    ~WalkSession();

    // No search runs, and one has ended since the window opened.
    bool searchIdle() const { return searchIdle_; }
    // A walk is filling the list now.
    bool walking() const { return control_.FindContinue != 0; }
    void setSearching() { searchIdle_ = false; }

    // Empties the list, the preview and the totals.
    void begin();
    // Starts the run flags and lists what matches `patterns` below `folder`, and
    // returns at once; `whenEnded` runs once the walk is over and shown, or at
    // once when it is stopped. Times in the criteria count from `now` (invalid: the start).
    void start(const QString &folder, const QString &patterns, std::function<void(const WalkOutcome &)> whenEnded,
               const QDateTime &now = {});
    // Ends the running walk now, with what the window shows of it.
    void stop();
    // Ends the running walk now and forgets it: another filling takes the list.
    void abandon();
    // Shows the list as a finished walk leaves it, and tells whoever waits for the
    // end, and whether it was stopped.
    void finish();

private:
    void wake(bool ended);
    void applyBatch();

    WalkView view_;
    platform::StatusLine &status_;
    const WalkSettings settings_;
    WalkControl control_;  // the run and stop flags: Cancel sets them, a new walk clears them
    bool searchIdle_ = false;

    std::unique_ptr<BackgroundWalk> walk_;
    unsigned generation_ = 0;  // which walk a wake is for
    std::function<void(const WalkOutcome &)> whenEnded_;
    WalkOutcome shown_;  // the walk as far as the window shows it
    // The folders this window's walks are reading: a folder held by a hung share
    // is read by one thread, however often it is searched again.
    const std::shared_ptr<FolderReads> reads_ = std::make_shared<FolderReads>();
    QObject receiver_;   // wakes reach the window's thread through it
    const std::shared_ptr<platform::FrameClock> clock_;
    qint64 appliedAt_ = -1;  // when a batch was last shown; -1: none of this walk yet
};

}  // namespace search
