#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QPushButton;

namespace platform {
class StatusLine;
}

namespace search {

class ResultList;
class WalkSession;

// The names of the normal files of a folder, in the order the folder lists them:
// regular files (links to regular files too) whose names do not begin with ".".
// Empty when the folder cannot be read.
QStringList normalFilesOf(const QString &folder);

// The two listings of the desktop button: its normal files (left click), and
// everything below it (right button).
class DesktopListings {
public:
    // `desktopFolder` is read at every listing: the desktop may move.
    DesktopListings(QPushButton *desktopButton, ResultList *list, WalkSession &walk, platform::StatusLine &status,
                    const QString &desktopFolder);

    // The desktop's normal files.
    void listFiles();
    // Everything below the desktop, subfolders included, walked like a search.
    void listTree();
    // Runs `fill`, a filling of the list; a tree listing under way is ended first,
    // so that two fillings never mix in the list.
    void fillAfterTreeListing(const std::function<void()> &fill);

private:
    void endTreeListing();

    QPushButton *button_;
    ResultList *list_;
    WalkSession &walk_;
    platform::StatusLine &status_;
    const QString &desktopFolder_;
    bool treeListingRunning_ = false;
};

}  // namespace search
