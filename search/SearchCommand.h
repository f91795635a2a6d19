#pragma once

#include <QList>
#include <QString>
#include <QTime>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class Clock;
class MessageBoxes;
class PictureBox;
class StatusLine;
}  // namespace platform

namespace search {

class FolderList;
class ResultList;
class WalkSession;
struct WalkOutcome;

// The controls the search command reads and changes.
struct SearchControls {
    QPushButton *searchButton = nullptr;  // Command1: Search / Cancel
    QLineEdit *folder = nullptr;          // Text1
    QLineEdit *patterns = nullptr;        // Text2: the file specification
    QLineEdit *counts = nullptr;          // Text3
    QPlainTextEdit *sizes = nullptr;      // Text4
    FolderList *folders = nullptr;        // Dir1
    ResultList *list = nullptr;           // List1
    platform::PictureBox *preview = nullptr;  // Picture1, whose paint rectangle a search resets
    QPushButton *desktopButton = nullptr;     // Command9
    QList<QPushButton *> exportButtons;       // Command3 .. Command8
    QPushButton *copyImageButton = nullptr;   // Command10
};

// The Search / Cancel button: starts a walk of the chosen folder, or stops the
// running one, and writes the summary when the walk is over. A criterion in the
// pattern field that does not read starts nothing: a message says which, and how
// it is written, and the window stays as it was.
class SearchCommand {
public:
    SearchCommand(SearchControls controls, WalkSession &walk, platform::StatusLine &status,
                  platform::Clock &clock, platform::MessageBoxes &messages);

    void run();
    // A search runs (the button cancels it).
    bool searching() const { return searching_; }

private:
    void writeSummary(const WalkOutcome &outcome);

    SearchControls c_;
    WalkSession &walk_;
    platform::StatusLine &status_;
    platform::Clock &clock_;
    platform::MessageBoxes &messages_;
    bool searching_ = false;
    QTime startTime_;
};

}  // namespace search
