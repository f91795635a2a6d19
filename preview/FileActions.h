#pragma once

#include "preview/ClipboardImage.h"

#include <QPoint>
#include <QString>

#include <functional>

class QMenu;
class QWidget;

namespace platform {
class MessageBoxes;
class Shell;
class StatusLine;
}  // namespace platform
namespace search {
class ResultList;
}

namespace preview {

// The folder part of a path with its trailing "/", as the path writes it; empty without a "/".
QString folderOf(const QString &path);

// What can be done with one entry or the whole list: open it, open its folder,
// show its properties, copy its path, the list or its picture to the clipboard.
class FileActions {
public:
    // `dialogParent` owns the properties dialogs this shows.
    FileActions(search::ResultList *list, QMenu *actionMenu, platform::Shell &shell, platform::MessageBoxes &messages,
                platform::StatusLine &status, QWidget *dialogParent);

    // Opens the selected entry with its default application (a double click).
    void openSelected();
    // Pops up the Action menu at `globalPosition`, over the selection as it stands.
    void popUpMenu(QPoint globalPosition);
    void openFile();
    void openFolder();
    void showProperties();
    void copyPath();
    void copyList();
    void copyImage();
    // A picture is still being made ready for the clipboard.
    bool copying() const { return clipboardImage_.busy(); }

private:
    void openFailed();
    // Whether other programs can be handed `path`; says why not when it is too
    // long for the system to take whole (a file deep in a deep tree).
    bool reachable(const QString &path);
    std::function<void()> laterFailure();

    search::ResultList *list_;
    QMenu *menu_;
    platform::Shell &shell_;
    platform::MessageBoxes &messages_;
    platform::StatusLine &status_;  // says when a picture could not be copied
    QWidget *dialogParent_;
    ClipboardImage clipboardImage_;
};

}  // namespace preview

namespace Module1 {

// Asks the file manager to show the properties of `path`; where none answers, our
// own properties dialog, a child of `parent`, shows them. False when neither could.
bool ShowFileProperties(platform::Shell &shell, QWidget *parent, const QString &path);

}  // namespace Module1
