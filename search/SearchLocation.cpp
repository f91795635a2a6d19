#include "search/SearchLocation.h"

#include "search/FolderList.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSignalBlocker>

namespace search {

SearchLocation::SearchLocation(QComboBox *drives, FolderList *folders, QLineEdit *searchFolder)
    : drives_(drives)
    , folders_(folders)
    , searchFolder_(searchFolder)
{
}

void SearchLocation::fillDrives()
{
    const QString current = QDir::currentPath();
    const QString currentRoot = volumeRootOf(current);
    {
        const QSignalBlocker quiet(drives_);
        drives_->clear();
        for (const Volume &v : mountedVolumes()) {
            drives_->addItem(v.caption, v.rootPath);
            if (v.rootPath == currentRoot)
                drives_->setCurrentIndex(drives_->count() - 1);
        }
    }
    const QSignalBlocker quiet(folders_);
    if (!folders_->setPath(current))
        folders_->setPath(currentRoot);
    searchFolder_->setText(folders_->path());
}

void SearchLocation::driveChanged()
{
    const QString root = drives_->currentData().toString();
    searchFolder_->setText(root);
    // A volume whose root cannot be opened leaves the folder list where it was.
    folders_->setPath(root);
    searchFolder_->setText(folders_->path());
    folders_->show();
}

void SearchLocation::folderChanged()
{
    searchFolder_->setText(folders_->path());
}

void SearchLocation::open(const QString &folder)
{
    const int drive = drives_->findData(volumeRootOf(folder));
    if (drive >= 0) {
        const QSignalBlocker quiet(drives_);
        drives_->setCurrentIndex(drive);
    }
    if (folders_->setPath(folder))
        searchFolder_->setText(folders_->path());
}

void SearchLocation::showFolders()
{
    folders_->show();
}

}  // namespace search
