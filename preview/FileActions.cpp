#include "preview/FileActions.h"

#include "app/Form1.h"
#include "platform/Brand.h"
#include "preview/Picture.h"
#include "preview/PropertiesDialog.h"
#include "search/ResultList.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>

namespace preview {
namespace {

void openFailed(Form1 &f)
{
    f.messageBox(QStringLiteral("There was an error when trying to open a default programme"),
                 QStringLiteral("Error........Quorvele  File  Search"), platform::MessageIcon::Critical);
}

}  // namespace

QString folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

void List1_DblClick(Form1 &f)
{
    if (!f.services().shell->openFile(f.List1->Text()))
        openFailed(f);
}

void List1_MouseDown(Form1 &f, Qt::MouseButton button, QPoint globalPosition)
{
    if (button == Qt::RightButton)
        f.menuCopy->popup(globalPosition);
}

void openfile_Click(Form1 &f)
{
    const QString path = f.List1->List(f.List1->ListIndex());
    if (path.isEmpty() || !f.services().shell->openFile(path))
        openFailed(f);
}

void openfolder_Click(Form1 &f)
{
    const QString folder = folderOf(f.List1->Text());
    if (!folder.isEmpty())
        f.services().shell->showFolder(folder);
}

void Fileproperty_Click(Form1 &f)
{
    Module1::ShowFileProperties(f, f.List1->List(f.List1->ListIndex()));
}

void copy1_Click(Form1 &f)
{
    if (f.List1->ListCount() < 1) {
        f.messageBox(QStringLiteral("No filename selected"), brand::kAppTitle, platform::MessageIcon::Critical);
        return;
    }
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(f.List1->List(f.List1->ListIndex()));
}

void copylist_Click(Form1 &f)
{
    if (f.List1->ListCount() == 0)
        return;
    QString text;
    for (const QString &entry : f.List1->entries())
        text += entry + QStringLiteral("\r\n");
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

void CopyImage_Click(Form1 &f)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    try {
        const QImage image = LoadPicture(f.List1->Text()).toImage();
        if (!image.isNull())
            clipboard->setImage(image);
    } catch (const PictureError &) {
        // What cannot be loaded leaves the clipboard empty.
    }
}

}  // namespace preview

namespace Module1 {

bool ShowFileProperties(Form1 &f, const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    if (f.services().shell->showItemProperties(path))
        return true;
    auto *dialog = new preview::PropertiesDialog(path, &f);
    dialog->show();
    return true;
}

}  // namespace Module1
