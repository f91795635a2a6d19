#pragma once

#include "platform/WorkerThread.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>

namespace preview {

// Copies a picture to the clipboard without making the window wait: the picture
// is loaded and its PNG bytes (what pasting programs ask for) are made on a
// thread of its own, so a paste hands over bytes ready-made instead of encoding
// the picture again each time.
class ClipboardImage {
public:
    ClipboardImage() = default;
    // A picture still being made is given up at its next read.
    ~ClipboardImage() { closing_ = true; }
    ClipboardImage(const ClipboardImage &) = delete;
    ClipboardImage &operator=(const ClipboardImage &) = delete;

    // Puts the picture of `path` on the clipboard when it is ready, in place of
    // what the clipboard held. When the file is no picture (or is gone), the
    // clipboard keeps what it held and `whenFailed` runs; when a newer copy came
    // first, nothing happens.
    void copy(const QString &path, std::function<void()> whenFailed);
    // A copy is still being made.
    bool busy() const { return awaited_ != 0; }

private:
    quint64 serial_ = 0;
    quint64 awaited_ = 0;
    std::atomic<bool> closing_{false};
    QObject receiver_;
    platform::WorkerThread worker_{platform::WorkerThread::Policy::NewestOnly};  // last: stopped before what it uses goes
};

}  // namespace preview
