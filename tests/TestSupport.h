#pragma once

#include "platform/Services.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QPoint>
#include <QStringList>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <memory>
#include <vector>

class Form1;
class QAction;
class QWidget;

namespace search {
class FolderList;
}

namespace testing {

struct ShownMessage {
    QString text;
    QString title;
    platform::MessageIcon icon;
};

class RecordingMessageBoxes final : public platform::MessageBoxes {
public:
    void show(const QString &text, const QString &title, platform::MessageIcon icon) override
    {
        shown.push_back({text, title, icon});
    }
    std::vector<ShownMessage> shown;
};

class RecordingShell final : public platform::Shell {
public:
    bool openFile(const QString &path, std::function<void()> whenFailed) override
    {
        opened.append(path);
        if (openSucceeds && !applicationFound && whenFailed)
            whenFailed();
        return openSucceeds;
    }
    bool openUrl(const QUrl &url) override
    {
        urls.append(url);
        return true;
    }
    void showFolder(const QString &folder) override { folders.append(folder); }
    void showItemProperties(const QString &path, std::function<void()> whenFailed) override
    {
        properties.append(path);
        if (!propertiesSucceed && whenFailed)
            whenFailed();
    }
    QString defaultApplicationFor(const QString &mimeType) override
    {
        QThread::msleep(answerDelayMs);  // a desktop slow to answer
        askedOnWindowThread = askedOnWindowThread || QThread::currentThread() == QCoreApplication::instance()->thread();
        asked.append(mimeType);
        return defaultApplication;
    }

    QStringList opened, folders, properties, asked;
    QList<QUrl> urls;
    bool openSucceeds = true;     // the opener starts
    bool applicationFound = true; // and finds an application for the file
    bool propertiesSucceed = true;
    QString defaultApplication = QStringLiteral("viewer.desktop");
    unsigned long answerDelayMs = 0;
    bool askedOnWindowThread = false;
};

class RecordingPrinter final : public platform::PrinterService {
public:
    std::optional<int> showPrinter() override
    {
        ++dialogs;
        return copies;
    }
    bool printDocument(const QString &text) override
    {
        documents.append(text);
        return true;
    }
    std::optional<int> copies = 1;
    int dialogs = 0;
    QStringList documents;
};

class FakeClock final : public platform::Clock {
public:
    QTime timeOfDay() override
    {
        const QTime t = time;
        time = time.addSecs(stepSeconds);
        return t;
    }
    QDateTime now() override { return dateTime; }
    QTime time{10, 0, 0};
    int stepSeconds = 0;
    QDateTime dateTime{QDate(2024, 1, 1), QTime(12, 0, 0)};
};

// The file system as a walk's threads meet it: slow, or hung in one folder (a
// share that stopped answering) until released.
class HungFileSystem {
public:
    // Reads of folders whose path ends with `suffix` hang until released.
    void hangIn(const QByteArray &suffix);
    void release(const QByteArray &suffix);
    void release();
    // How many reads hang now.
    int hanging() const;
    // What a walk calls before it reads `folder`.
    void beforeRead(const QByteArray &folder);

private:
    mutable std::mutex mutex_;
    std::condition_variable released_;
    std::vector<QByteArray> suffixes_;
    int hanging_ = 0;
};

// A point where work on another thread waits while the gate is closed: a test
// holds the work there, acts, and lets it go.
class Gate {
public:
    void close() { closeAfter(0); }
    // Lets `passes` more through, then holds what comes.
    void closeAfter(int passes);
    void open();
    // Called by the work: waits while the gate is closed.
    void pass();
    // Work is waiting at the gate now.
    bool held() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable opened_;
    bool closed_ = false;
    int passesLeft_ = 0;
    int waiting_ = 0;
};

// Fakes for every service, with handles on them for the test to read.
struct FakeServices {
    RecordingMessageBoxes *messages = nullptr;
    RecordingShell *shell = nullptr;
    FakeClock *clock = nullptr;
    RecordingPrinter *printer = nullptr;
    int quitRequests = 0;
    std::unique_ptr<QTemporaryDir> appFolder = std::make_unique<QTemporaryDir>();
    std::unique_ptr<QTemporaryDir> desktop = std::make_unique<QTemporaryDir>();
    // What a walk meets reading folders: a slow disk lets a test act while a walk runs.
    std::shared_ptr<HungFileSystem> fileSystem = std::make_shared<HungFileSystem>();
    // Every step of an export's writing passes here.
    std::shared_ptr<Gate> exportSteps = std::make_shared<Gate>();
    // Runs before each picture of the preview is decoded.
    std::function<void(const QString &path)> beforePictureDecode;

    // Services for one window; the fakes stay reachable through the pointers above.
    platform::Services make();
};

// A window built with fakes, its folder list read; a walk's batches reach it as
// soon as they are ready.
std::unique_ptr<Form1> makeWindow(FakeServices &fakes);

// A sample picture of tests/data, by file name.
QString testData(const char *name);

// Replaces the result list with `entries` and selects `selected` (-1: nothing).
// Fills the list and selects `selected`, then waits for its picture.
void fillList(Form1 &window, const QStringList &entries, int selected = -1);
// Waits until the work the window handed to other threads is done: a walk shown
// to its end, the selected entry's picture drawn (or found to be none), a copied
// picture on the clipboard.
// False if that takes over ten seconds.
bool settled(Form1 &window);

// Opens `folder` in the folder list and waits for its answer: whether it opened.
// False also when no answer came within ten seconds.
bool openFolder(search::FolderList &list, const QString &folder);

// Points the window's application folder at a place nothing can be written into,
// and returns it.
QString blockApplicationFolder(Form1 &window, FakeServices &fakes);

// A person's hands on the window: mouse and key events sent to the real widgets,
// so that every test goes through the connections a person's input goes through.
namespace user {

// Shows the window and waits until it takes input.
void show(Form1 &window);
// A press and release of `button` in the middle of `widget` (or at `at`).
void click(QWidget *widget, Qt::MouseButton button = Qt::LeftButton, QPoint at = {});
// Types `text` into a line edit in place of what it held.
void typeInto(QWidget *lineEdit, const QString &text);
// The middle of the list's entry `row`, scrolled into view, in viewport coordinates.
QPoint entryPoint(Form1 &window, int row);
void clickEntry(Form1 &window, int row, Qt::MouseButton button = Qt::LeftButton);
void doubleClickEntry(Form1 &window, int row);
// Opens the Action menu with the right button over the list and chooses `action`.
void chooseFromActionMenu(Form1 &window, QAction *action);
// Sets the search location and the file specification and clicks Search; the
// walk is under way when it returns.
void startSearch(Form1 &window, const QString &folder, const QString &patterns);
// The same, and waits until the search is over.
void search(Form1 &window, const QString &folder, const QString &patterns);

// Does `action` once, from the event loop, the moment the list holds `entries`
// entries: a person clicking while a walk or a listing runs.
class OnceTheListHolds {
public:
    OnceTheListHolds(Form1 &window, int entries, std::function<void()> action);
    bool happened() const { return happened_; }

private:
    QTimer poll_;
    bool happened_ = false;
};

}  // namespace user

// Runs a search of an empty folder, as a person would, so that the window counts
// a search as ended; the list is empty afterwards.
void endASearch(Form1 &window);

// A part of a zip package (a workbook, a document), empty when it has none.
QByteArray packagePart(const QString &package, const QString &name);
// Every XML part of the package is well-formed.
void checkWellFormed(const QString &package);
QByteArray readFile(const QString &path);
// Runs a tool and gives what it printed, both streams.
QString runTool(const QString &program, const QStringList &arguments);

// Field `n` of a process's or thread's status in /proc (its `stat` file), numbered as
// proc(5) numbers them: 3 the state, 14 and 15 the processor time, 19 the nice
// value. Empty when it is gone.
QByteArray statField(const QString &stat, int n);
// The process's main thread has ended: the process is gone, a zombie waiting for
// its parent, or only threads the kernel holds (a hung share) are left of it.
bool mainThreadEnded(qint64 pid);
// Every thread of the process has ended, and with the last its descriptors closed.
bool processEnded(qint64 pid);
// The processes `pid` started that are still its children.
QList<qint64> childrenOf(qint64 pid);

// Files and folders in a temporary tree.
class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree &) = delete;
    TempTree &operator=(const TempTree &) = delete;
    QString root() const;  // ends with "/"
    QString file(const QString &relative, const QByteArray &content = {});
    QString folder(const QString &relative);
    // `count` empty files, `pattern`'s "%1" numbering them from 0.
    void files(const QString &pattern, int count);
    QString sparseFile(const QString &relative, qint64 size);
    // `depth` folders named `name`, each inside the one before, each holding an
    // empty `file`; the first's path. Deeper than full paths reach, if asked.
    QString chain(const QString &name, int depth, const QString &file);
    bool valid() const { return dir_.isValid(); }

private:
    QTemporaryDir dir_;
};

// A file system of ours mounted on a folder of its own, that stops answering when
// its folder "hang" is listed, and whose folder "broken" fails part way through
// its listing, after "b1.jpg" and "b2.jpg".
class HungShare {
public:
    // `picture`: what "pictures/stuck.jpg" gives once the share answers again.
    explicit HungShare(const QString &picture = {});
    ~HungShare();
    bool mounted() const { return mounted_; }
    QString root() const { return mountPoint_ + "/"; }
    // A listing of "hang" has begun (and will not end).
    bool hanging() const;
    // A read of "pictures/stuck.jpg" has begun (and will not end until released).
    bool readHanging() const;
    // A read of "big/big.txt" past its first 64 MiB has begun, and is held.
    bool bigFileRead() const;
    // The held read returns; reads past 128 MiB are held for good.
    void releaseBigRead();
    // "big/big.txt" was closed.
    bool bigFileClosed() const;
    // The share answers again: the held read fails, later ones give the picture.
    void releaseRead();
    // From now on, asking the file system for its size never returns.
    void hangSizeQueries();
    // A size query has begun (and will not end).
    bool sizeQueryHanging() const;
    // The file system goes away: every request it holds ends with an error.
    void answer();

private:
    QTemporaryDir folder_;
    QString mountPoint_, marker_;
    QProcess fs_;
    bool mounted_ = false;
};

}  // namespace testing
