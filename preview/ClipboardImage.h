#pragma once

#include "platform/WorkerThread.h"

#include <QObject>
#include <QString>

#include <atomic>

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

    // Empties the clipboard at once; fills it with the picture of `path` when it
    // is ready. Nothing is put there when the file is no picture, or when a newer
    // copy came first.
    void copy(const QString &path);
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
