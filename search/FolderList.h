#pragma once

#include <QListWidget>
#include <QString>

namespace search {

// The folder list: the open folder's ancestors from the root down, then its
// subfolders one level further in. A double click (or Enter) opens a folder;
// a single click only highlights it.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget *parent = nullptr);

    // The open folder: no trailing "/" except for the root.
    QString path() const { return path_; }
    // Opens `folder`; false, and nothing changes, when it cannot be read.
    bool setPath(const QString &folder);

signals:
    void Change();

private:
    void open(QListWidgetItem *item);

    QString path_;
};

// The volumes of the machine, as the drive list shows them.
struct Volume {
    QString rootPath;
    QString caption;  // root path and label
};
QList<Volume> mountedVolumes();
// The volume holding `path`, as its root path.
QString volumeRootOf(const QString &path);

}  // namespace search
