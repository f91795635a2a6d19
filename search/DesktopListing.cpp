#include "search/DesktopListing.h"

#include "platform/FileNames.h"
#include "platform/FolderEnumeration.h"
#include "platform/Palette.h"
#include "platform/StatusLine.h"
#include "search/ResultList.h"
#include "search/WalkSession.h"

#include <QCoreApplication>
#include <QPushButton>

#include <sys/stat.h>

namespace search {
namespace {

// The desktop button's own colour, and the list's ground after the file listing.
const QColor kDesktopButtonColour(255, 192, 192);
const QColor kDesktopListColour(255, 230, 230);

}  // namespace

QStringList normalFilesOf(const QString &folder)
{
    QStringList names;
    QByteArray raw = platform::encodeFileName(folder);
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
            names.append(platform::decodeFileName(QByteArray::fromStdString(entry.name)));
    }
    return names;
}

DesktopListings::DesktopListings(QPushButton *desktopButton, ResultList *list, WalkSession &walk,
                                 platform::StatusLine &status, const QString &desktopFolder)
    : button_(desktopButton)
    , list_(list)
    , walk_(walk)
    , status_(status)
    , desktopFolder_(desktopFolder)
{
}

void DesktopListings::listFiles()
{
    const QString desktop = desktopFolder_;
    const QStringList names = normalFilesOf(desktop);
    list_->Clear();
    for (const QString &name : names)
        list_->AddItem(desktop + QLatin1Char('/') + name);
    list_->flushPending();
    button_->setText(QCoreApplication::translate("Search", "Showing Desktop File"));
    platform::setFixedColour(button_, QPalette::Button, kDesktopButtonColour);
    list_->setBackColor(kDesktopListColour);
    status_.setText(QString());
    list_->scrollToTop();
}

void DesktopListings::listTree()
{
    treeListingRunning_ = true;
    walk_.begin();
    const QString desktop = desktopFolder_;
    if (desktop.isEmpty()) {
        walk_.finish();
        endTreeListing();
        return;
    }
    walk_.start(desktop, QStringLiteral("*"), [this](const WalkOutcome &) { endTreeListing(); });
}

void DesktopListings::endTreeListing()
{
    treeListingRunning_ = false;
    platform::setFixedColour(button_, QPalette::Button, kWalkedListColour);
    status_.setText(QString());
    list_->scrollToTop();
}

void DesktopListings::fillAfterTreeListing(const std::function<void()> &fill)
{
    if (treeListingRunning_) {
        // The list becomes the other filling's.
        treeListingRunning_ = false;
        walk_.abandon();
    }
    fill();
}

}  // namespace search
