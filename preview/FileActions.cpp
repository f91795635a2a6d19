#include "preview/FileActions.h"


#include "platform/FileNames.h"
#include "platform/FileUrl.h"
#include "platform/PlainText.h"
#include "platform/Services.h"
#include "platform/StatusLine.h"
#include "preview/Picture.h"
#include "preview/PropertiesDialog.h"
#include "search/ResultList.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPointer>

#include <climits>

namespace preview {

QString folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

FileActions::FileActions(search::ResultList *list, QMenu *actionMenu, platform::Shell &shell,
                         platform::MessageBoxes &messages, platform::StatusLine &status, QWidget *dialogParent)
    : list_(list)
    , menu_(actionMenu)
    , shell_(shell)
    , messages_(messages)
    , status_(status)
    , dialogParent_(dialogParent)
{
}

void FileActions::openFailed()
{
    messages_.show(QCoreApplication::translate("Preview", "There was an error when trying to open a default programme"),
                   QCoreApplication::translate("Preview", "Error........Quorvele  File  Search"),
                   platform::MessageIcon::Critical);
}

bool FileActions::reachable(const QString &path)
{
    const qsizetype length = platform::encodeFileName(path).size();
    if (length < PATH_MAX)
        return true;
    messages_.show(QCoreApplication::translate("Preview", "%1\n\nThis path is %L2 bytes long; the system hands other programs "
                                                          "paths of at most %L3 bytes, so it cannot be opened or shown from here.")
                       .arg(platform::shownFileName(path))
                       .arg(length)
                       .arg(PATH_MAX - 1),
                   brand::kAppTitle, platform::MessageIcon::Critical);
    return false;
}

std::function<void()> FileActions::laterFailure()
{
    // The opener answers after a while; by then the window may be gone.
    return [this, window = QPointer<QWidget>(dialogParent_)] {
        if (window)
            openFailed();
    };
}

void FileActions::openSelected()
{
    if (!reachable(list_->Text()))
        return;
    if (!shell_.openFile(list_->Text(), laterFailure()))
        openFailed();
}

void FileActions::popUpMenu(QPoint globalPosition)
{
    menu_->popup(globalPosition);
}

void FileActions::openFile()
{
    const QString path = list_->List(list_->ListIndex());
    if (!path.isEmpty() && !reachable(path))
        return;
    if (path.isEmpty() || !shell_.openFile(path, laterFailure()))
        openFailed();
}

void FileActions::openFolder()
{
    const QString folder = folderOf(list_->Text());
    if (!folder.isEmpty() && reachable(folder))
        shell_.showFolder(folder);
}

void FileActions::showProperties()
{
    const QString path = list_->List(list_->ListIndex());
    if (!path.isEmpty() && !reachable(path))
        return;
    Module1::ShowFileProperties(shell_, dialogParent_, path);
}

void FileActions::copyPath()
{
    if (list_->ListCount() < 1) {
        messages_.show(QCoreApplication::translate("Preview", "No filename selected"), brand::kAppTitle, platform::MessageIcon::Critical);
        return;
    }
    const QString path = list_->List(list_->ListIndex());
    const QString shown = platform::shownFileName(path);
    auto data = std::make_unique<QMimeData>();
    data->setText(shown);
    // A name that is not UTF-8 cannot be written as text: its address keeps the
    // exact bytes, for the file managers and terminals that read one.
    if (shown != path)
        data->setData(QStringLiteral("text/uri-list"), (platform::fileUrl(path) + QStringLiteral("\r\n")).toLatin1());
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setMimeData(data.release());  // the clipboard owns it
}

void FileActions::copyList()
{
    if (list_->ListCount() == 0)
        return;
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(platform::shownFileName(platform::withLineEnds(list_->entries().toStringList())));
}

void FileActions::copyImage()
{
    clipboardImage_.copy(list_->Text(),
                         [this] { status_.setText(QCoreApplication::translate("Preview", "The picture could not be copied.")); });
}

}  // namespace preview

namespace Module1 {

bool ShowFileProperties(platform::Shell &shell, QWidget *parent, const QString &path)
{
    if (path.isEmpty() || !platform::fileExists(path))
        return false;
    // Where no file manager shows them, our own dialog does.
    shell.showItemProperties(path, [path, owner = QPointer<QWidget>(parent)] {
        if (!owner)
            return;
        auto *dialog = new preview::PropertiesDialog(path, owner);
        dialog->show();
    });
    return true;
}

}  // namespace Module1
