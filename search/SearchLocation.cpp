#include "search/SearchLocation.h"

#include "app/Form1.h"
#include "search/FolderList.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSignalBlocker>

namespace search {

void fillDriveList(Form1 &f)
{
    const QString current = QDir::currentPath();
    const QString currentRoot = volumeRootOf(current);
    {
        const QSignalBlocker quiet(f.Drive1);
        f.Drive1->clear();
        for (const Volume &v : mountedVolumes()) {
            f.Drive1->addItem(v.caption, v.rootPath);
            if (v.rootPath == currentRoot)
                f.Drive1->setCurrentIndex(f.Drive1->count() - 1);
        }
    }
    const QSignalBlocker quiet(f.Dir1);
    if (!f.Dir1->setPath(current))
        f.Dir1->setPath(currentRoot);
}

void Drive1_Change(Form1 &f)
{
    const QString root = f.Drive1->currentData().toString();
    f.Text1->setText(root);
    // A volume whose root cannot be opened leaves the folder list where it was.
    f.Dir1->setPath(root);
    f.Text1->setText(f.Dir1->path());
    f.Dir1->show();
}

void Dir1_Change(Form1 &f)
{
    f.Text1->setText(f.Dir1->path());
}

}  // namespace search
