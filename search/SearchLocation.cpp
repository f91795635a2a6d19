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
    wantedDrive_ = currentRoot;
    searchFolder_->setText(current);
    volumes_.read([this](const QList<Volume> &volumes) {
        const QSignalBlocker quiet(drives_);
        drives_->clear();
        for (const Volume &v : volumes) {
            drives_->addItem(v.caption, v.rootPath);
            if (v.rootPath == wantedDrive_)
                drives_->setCurrentIndex(drives_->count() - 1);
        }
    });
    folders_->setPath(current, [this, currentRoot](bool opened) {
        if (!opened)
            folders_->setPath(currentRoot);
    });
}

void SearchLocation::driveChanged()
{
    const QString root = drives_->currentData().toString();
    searchFolder_->setText(root);
    folders_->show();
    // A volume whose root cannot be opened leaves the folder list where it was.
    folders_->setPath(root, [this](bool opened) {
        if (!opened)
            searchFolder_->setText(folders_->path());
    });
}

void SearchLocation::folderChanged()
{
    searchFolder_->setText(folders_->path());
}

void SearchLocation::open(const QString &folder)
{
    wantedDrive_ = volumeRootOf(folder);
    const int drive = drives_->findData(wantedDrive_);
    if (drive >= 0) {
        const QSignalBlocker quiet(drives_);
        drives_->setCurrentIndex(drive);
    }
    // The folder to search at once, whether or not its subfolders can be listed.
    searchFolder_->setText(folder);
    folders_->setPath(folder);
}

void SearchLocation::showFolders()
{
    folders_->show();
}

}  // namespace search
