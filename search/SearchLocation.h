#pragma once

#include "search/Volumes.h"

#include <QString>

class QComboBox;
class QLineEdit;

namespace search {

class FolderList;

// Where the search starts: a volume in the drive list, a folder in the folder
// list, mirrored into the hidden search folder box.
class SearchLocation {
public:
    SearchLocation(QComboBox *drives, FolderList *folders, QLineEdit *searchFolder);

    // Fills the drive list with the mounted volumes and selects the one holding
    // the current folder, and opens the current folder in the folder list; both
    // are read on threads, and fill their lists when they answer.
    void fillDrives();
    // Another volume was picked: open its root and mirror it into the search folder.
    void driveChanged();
    // The folder list opened another folder: it becomes the folder to search.
    void folderChanged();
    // Opens `folder` as a person choosing its volume and then the folder would.
    void open(const QString &folder);
    // The folder list comes back when the person turns to the file specification.
    void showFolders();

private:
    QComboBox *drives_;
    FolderList *folders_;
    QLineEdit *searchFolder_;
    VolumeReader volumes_;
    QString wantedDrive_;  // to select once the drive list is filled
};

}  // namespace search
