#pragma once

#include "platform/DetachedCall.h"

#include <QListWidget>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

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
    // Opens `folder`. Its subfolders are read on a thread of their own, so that a
    // folder on a share that stopped answering holds nothing up: meanwhile the
    // list shows the folder being read, and another can be opened at once, the
    // late answer then dropped. `done` runs once the folder is open (true) or
    // found unreadable (false, and the list is as it was), and not at all when
    // another open overtook this one.
    void setPath(const QString &folder, std::function<void(bool opened)> done = {});
    // A folder is being read now.
    bool reading() const { return !wanted_.isEmpty(); }

signals:
    void Change();

private:
    void open(QListWidgetItem *item);
    // Shows `folder`'s ancestors and its subfolders, or that it is being read.
    void showFolder(const QString &folder, const QStringList *subfolders);
    void answered(const QString &folder, std::optional<QStringList> subfolders);

    QString path_;
    QStringList subfolders_;  // of the open folder, in the order shown
    QString wanted_;          // the folder being read; empty when none
    std::function<void(bool)> whenOpened_;
    // Folders whose reading has not answered yet: one thread each, however often
    // a hung one is asked for again.
    QSet<QString> unanswered_;
    QObject answers_;  // answers reach the window's thread through it
    platform::DetachedCalls calls_{&answers_};
};

}  // namespace search
