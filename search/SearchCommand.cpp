#include "search/SearchCommand.h"

#include "platform/FileNames.h"
#include "platform/PictureBox.h"
#include "platform/Services.h"
#include "platform/StatusLine.h"
#include "search/FolderList.h"
#include "search/ResultList.h"
#include "search/SearchCriteria.h"
#include "search/SearchTexts.h"
#include "search/WalkSession.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace search {
namespace {

// More entries than this make the list worth exporting.
constexpr int kExportableCount = 10;

}  // namespace

SearchCommand::SearchCommand(SearchControls controls, WalkSession &walk, platform::StatusLine &status,
                             platform::Clock &clock, platform::MessageBoxes &messages)
    : c_(std::move(controls))
    , walk_(walk)
    , status_(status)
    , clock_(clock)
    , messages_(messages)
{
}

void SearchCommand::run()
{
    const QDateTime now = clock_.now();
    if (!searching_) {
        const auto criteria = readCriteria(c_.patterns->text(), now);
        if (const CriteriaError *error = std::get_if<CriteriaError>(&criteria)) {
            messages_.show(error->message(), brand::kAppTitle, platform::MessageIcon::Critical);
            return;
        }
    }
    const QTime StartTime = clock_.timeOfDay();
    walk_.setSearching();
    c_.preview->resetPaintArea();
    c_.folders->hide();
    for (QPushButton *b : c_.exportButtons)
        b->hide();
    c_.desktopButton->hide();
    c_.copyImageButton->hide();

    if (searching_) {
        walk_.stop();
        return;
    }

    startTime_ = StartTime;
    searching_ = true;
    walk_.begin();
    status_.setText(QString());
    const QString folder = c_.folder->text();
    const QString fileSpec = c_.patterns->text();
    c_.searchButton->setText(QCoreApplication::translate("Search", "Cancel"));
    walk_.start(folder, fileSpec, [this](const WalkOutcome &outcome) { writeSummary(outcome); }, now);
}

void SearchCommand::writeSummary(const WalkOutcome &outcome)
{
    searching_ = false;
    const QTime EndTime = clock_.timeOfDay();
    if (c_.list->ListCount() > kExportableCount) {
        for (QPushButton *b : c_.exportButtons)
            b->show();
        c_.desktopButton->show();
        c_.desktopButton->setText(QCoreApplication::translate("Search", "Show Desktop File"));
    }
    c_.counts->setText(countsText(outcome.fileCount, outcome.dirCount));
    c_.sizes->setPlainText(summarySizeText(platform::shownFileName(outcome.folder), outcome.total));
    c_.searchButton->setText(QCoreApplication::translate("Search", "Search"));
    status_.setText(elapsedText(startTime_, EndTime, outcome.stopped, outcome.cut));
}

}  // namespace search
