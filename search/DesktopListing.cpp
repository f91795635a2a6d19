#include "search/DesktopListing.h"

#include "app/Form1.h"
#include "platform/FolderEnumeration.h"
#include "platform/Palette.h"
#include "preview/PictureBox.h"
#include "search/FileFinder.h"
#include "search/ResultList.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <sys/stat.h>

namespace search {
namespace {

void setButtonColour(QPushButton *button, const QColor &colour)
{
    platform::setFixedColour(button, QPalette::Button, colour);
}

}  // namespace

QStringList normalFilesOf(const QString &folder)
{
    QStringList names;
    QByteArray raw = QFile::encodeName(folder);
    if (!raw.endsWith('/'))
        raw.append('/');
    platform::FolderEnumeration enumeration(raw);
    platform::FolderEntry entry;
    while (enumeration.next(entry)) {
        if (entry.name.empty() || entry.name[0] == '.' || entry.isFolder)
            continue;
        struct stat st {};
        const QByteArray full = raw + QByteArray::fromStdString(entry.name);
        if (::stat(full.constData(), &st) == 0 && S_ISREG(st.st_mode))
            names.append(QFile::decodeName(QByteArray::fromStdString(entry.name)));
    }
    return names;
}

void Command9_Click(Form1 &f)
{
    const QString desktop = f.services().desktopFolder;
    const QStringList names = normalFilesOf(desktop);
    f.List1->Clear();
    for (const QString &name : names)
        f.List1->AddItem(desktop + QLatin1Char('/') + name);
    f.List1->flushPending();
    f.Command9->setText(QStringLiteral("Showing Desktop File"));
    setButtonColour(f.Command9, QColor(255, 192, 192));
    f.List1->setBackColor(QColor(255, 230, 230));
    f.Label1->clear();
    f.List1->scrollToTop();
}

void walkDesktopTree(Form1 &f)
{
    QString desktop = f.services().desktopFolder;
    f.List1->Clear();
    f.Picture1->clearPicture();
    f.List1->setBackColor(QColor(214, 230, 230));
    f.Text3->show();
    f.Text3->clear();
    f.Text4->clear();
    f.Text4->show();
    f.state.FindContinue = 1;
    f.state.StopRequested = false;
    int FileCount = 0;
    int DirCount = 0;
    if (!desktop.isEmpty()) {
        try {
            FindFilesAPI(f, desktop, QStringLiteral("*"), FileCount, DirCount);
        } catch (const CounterOverflow &) {
            // The listing ends at a counter's limit with what it found so far.
        }
    }
}

void finishDesktopTree(Form1 &f)
{
    f.pushPendingTexts();
    f.List1->flushPending();
    f.List1->show();
    f.state.SearchIdle = true;
    setButtonColour(f.Command9, QColor(214, 230, 230));
    f.Label1->clear();
    f.List1->scrollToTop();
}

}  // namespace search
