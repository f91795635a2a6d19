#include "search/SearchCommand.h"

#include "app/Form1.h"
#include "platform/Rounding.h"
#include "preview/PictureBox.h"
#include "search/FileFinder.h"
#include "search/FolderList.h"
#include "search/ResultList.h"
#include "search/SearchTexts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace search {
namespace {

const QString kCancel = QStringLiteral("Cancel");

}  // namespace

void runSearchCommand(Form1 &f)
{
    WindowState &state = f.state;
    const QTime StartTime = f.services().clock->timeOfDay();
    state.SearchIdle = false;
    platform::assignInt16(state.PaintWidth, f.Picture1->ScaleWidth());
    platform::assignInt16(state.PaintHeight, f.Picture1->ScaleHeight());
    f.Dir1->hide();
    for (QPushButton *b : {f.Command3, f.Command4, f.Command5, f.Command6, f.Command7, f.Command8,
                           f.Command9, f.Command10})
        b->hide();

    if (f.Command1->text() == kCancel) {
        state.FindContinue = 0;
        state.StopRequested = true;
        return;
    }

    state.FindContinue = 1;
    state.StopRequested = false;
    f.dropPendingTexts();
    f.Label1->clear();
    f.Text3->clear();
    f.Text4->clear();
    f.List1->Clear();
    f.Picture1->clearPicture();
    f.List1->setBackColor(QColor(214, 230, 230));
    QString folder = f.Text1->text();
    const QString fileSpec = f.Text2->text();
    f.Command1->setText(kCancel);
    f.Text3->show();
    f.Text3->clear();
    f.Text4->clear();
    f.Text4->show();

    int FileCount = 0;
    int DirCount = 0;
    std::int64_t total = 0;
    try {
        total = FindFilesAPI(f, folder, fileSpec, FileCount, DirCount);
    } catch (const CounterOverflow &overflow) {
        // The walk ended at a counter's limit; what it listed stands.
        total = overflow.listedSize;
    }
    f.pushPendingTexts();
    f.List1->flushPending();

    const QTime EndTime = f.services().clock->timeOfDay();
    if (f.List1->ListCount() > 10) {
        for (QPushButton *b : {f.Command3, f.Command4, f.Command5, f.Command6, f.Command7, f.Command8,
                               f.Command9})
            b->show();
        f.Command9->setText(QStringLiteral("Show Desktop File"));
    }
    f.Text3->setText(countsText(FileCount, DirCount));
    f.Text4->setPlainText(summarySizeText(folder, total));
    f.Command1->setText(QStringLiteral("Search"));
    f.Label1->setText(elapsedText(StartTime, EndTime, state.StopRequested));
    f.List1->show();
    state.SearchIdle = true;
}

}  // namespace search
