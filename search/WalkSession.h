#pragma once

#include "search/FileFinder.h"
#include "search/WalkControl.h"

#include <QColor>
#include <QString>

#include <cstdint>
#include <optional>

class QAbstractButton;
class QLineEdit;
class QPlainTextEdit;

namespace platform {
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

// One walk of a folder tree into the result list, shared by the search command
// and the desktop-tree listing: the same set-up, the same live texts, the same
// tear-down. It also knows whether a search has ended yet.
class WalkSession final : public WalkHost {
public:
    WalkSession(WalkView view, platform::StatusLine &status);

    WalkControl &control() override { return control_; }
    // Stops a running walk at its next step.
    void stop() { control_.stop(); }
    // No search runs, and one has ended since the window opened.
    bool searchIdle() const { return searchIdle_; }
    // A walk is filling the list now (between begin and end).
    bool walking() const { return walking_; }
    void setSearching() { searchIdle_ = false; }

    // Empties the list, the preview and the totals and starts the run flags.
    void begin();
    // Lists what matches `patterns` below `folder` (which gets its "/"), and
    // returns the total size of what it listed; a walk cut short at a counter's
    // limit keeps what it listed.
    std::int64_t walk(QString &folder, const QString &patterns, int &fileCount, int &dirCount);
    // Shows what the walk left pending, and the list.
    void end();

    // WalkHost
    bool showListWhileSearching() override;
    bool previewWhileSearching() override;
    void setListVisible(bool visible) override;
    void setSearchStatus(const QString &text) override;
    void appendEntry(const QString &entry) override;
    void selectLastEntry() override;
    void showWalkTotals(int fileCount, int dirCount, const QString &folder, std::int64_t folderSize) override;
    void yieldToEvents() override;

private:
    void pushTotals();

    WalkView view_;
    platform::StatusLine &status_;
    WalkControl control_;
    bool searchIdle_ = false;
    bool walking_ = false;
    struct Totals {
        int fileCount;
        int dirCount;
        QString folder;
        std::int64_t folderSize;
    };
    std::optional<Totals> pendingTotals_;
};

}  // namespace search
