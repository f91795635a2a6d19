#pragma once

#include <QList>
#include <QString>
#include <QTime>

#include <cstdint>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class Clock;
class PictureBox;
class StatusLine;
}  // namespace platform

namespace search {

class FolderList;
class ResultList;
class WalkSession;

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

// The Search / Cancel button: starts a walk of the chosen folder, or asks the
// running one to stop, and writes the summary when the walk is over.
class SearchCommand {
public:
    SearchCommand(SearchControls controls, WalkSession &walk, platform::StatusLine &status,
                  platform::Clock &clock);

    void run();

private:
    void writeSummary(const QString &folder, int fileCount, int dirCount, std::int64_t total, QTime start);

    SearchControls c_;
    WalkSession &walk_;
    platform::StatusLine &status_;
    platform::Clock &clock_;
};

}  // namespace search
