#pragma once

#include "platform/Brand.h"
#include "platform/FrameClock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QUrl>

#include <functional>
#include <limits>
#include <memory>
#include <optional>

namespace platform {

enum class MessageIcon { None, Critical };

// Every message box of the program goes through here, so tests can read them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void show(const QString &text, const QString &title, MessageIcon icon) = 0;

    // A message under the program's own title, without an icon.
    void inform(const QString &text) { show(text, brand::kAppTitle, MessageIcon::None); }
    // The one message for a file that could not be written.
    void cannotWrite(const QString &path, const QString &reason)
    {
        show(reason.isEmpty() ? QCoreApplication::translate("Export", "Cannot write %1").arg(path)
                              : QCoreApplication::translate("Export", "Cannot write %1: %2").arg(path, reason),
             brand::kAppTitle, MessageIcon::Critical);
    }
};

// What the desktop does with paths and addresses. Paths are always passed as one
// argument each; nothing here goes through a command interpreter.
class Shell {
public:
    virtual ~Shell() = default;
    // Opens a file with its default application; false when the opener could not
    // be started. The opener finds out later whether any application takes the
    // file (none may be associated with its kind); when none does, `whenFailed`
    // runs then.
    virtual bool openFile(const QString &path, std::function<void()> whenFailed = {}) = 0;
    // Opens a web address in the default browser.
    virtual bool openUrl(const QUrl &url) = 0;
    // Opens a folder in the file manager (or, where none answers, in whatever
    // opens folders); the window does not wait for the answer.
    virtual void showFolder(const QString &folder) = 0;
    // Asks the file manager to show the properties of a file; when none takes the
    // request, `whenFailed` runs, later. The window does not wait for the answer.
    virtual void showItemProperties(const QString &path, std::function<void()> whenFailed) = 0;
    // The desktop file of the default application for a MIME type, empty when none.
    // It may ask another program and wait for it, so it is called off the window's
    // thread, and may be called from any thread.
    virtual QString defaultApplicationFor(const QString &mimeType) = 0;
};

// The printer dialog and the printing service behind it.
class PrinterService {
public:
    virtual ~PrinterService() = default;
    // Shows the printer dialog; the number of copies chosen, nothing on Cancel.
    virtual std::optional<int> showPrinter() = 0;
    // Prints one document on the printer chosen; false when printing failed.
    virtual bool printDocument(const QString &text) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QTime timeOfDay() = 0;
    virtual QDateTime now() = 0;
};

// The services the window is built with. main() passes the real ones.
struct Services {
    std::unique_ptr<MessageBoxes> messages;
    std::unique_ptr<Shell> shell;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<PrinterService> printer;
    QString applicationFolder;
    QString desktopFolder;
    // Finds the desktop's wallpaper picture, drawn behind the controls; empty for
    // none, or when `stopped` says it is no longer wanted. It may ask other
    // programs, so it runs off the window's thread.
    std::function<QString(const std::function<bool()> &stopped)> findWallpaper;
    // Ends the application; tests record the request instead.
    std::function<void()> quit;
    // The shortest time between two updates of the window by a running walk: a frame.
    int walkFrameMs = 16;
    // What a walk's pace is kept by; empty: the system's clock.
    std::shared_ptr<FrameClock> walkFrameClock;
    // Threads that read folders ahead of a walk.
    int walkReaders = 8;
    // The most a walk's counters hold; tests lower it.
    int walkCountLimit = std::numeric_limits<int>::max();
    // Runs before a walk reads each folder, on the thread that reads it, and must
    // be safe to call from several at once; tests slow or block the file system here.
    std::function<void(const QByteArray &folder)> beforeFolderRead;
    // Runs on the export thread at every step of an export's writing; tests hold
    // an export in the middle of its file here.
    std::function<void()> duringExport;
    // Runs on the preview's decoding thread before each picture of it is decoded.
    std::function<void(const QString &path)> beforePictureDecode;
};

// The services of a real desktop session.
Services desktopServices();

}  // namespace platform
