#pragma once

#include <QFile>
#include <QIODevice>
#include <QString>

#include <functional>

namespace preview {

// Asked while a picture is read: true when nobody wants it any more.
using Interrupted = std::function<bool()>;

// A picture file open for a decoder: only a regular file (a FIFO or a device
// named like a picture is none), read through a device that fails at once when
// the reading is interrupted, so that a decode nobody waits for any more stops
// within a few kilobytes instead of running to its end.
class PictureFile : public QIODevice {
public:
    PictureFile(const QString &path, Interrupted interrupted);
    // The file is a regular one and open.
    bool ok() const { return isOpen(); }
    bool interrupted() const { return interrupted_ && interrupted_(); }

    bool isSequential() const override { return false; }
    qint64 size() const override { return size_; }
    bool seek(qint64 position) override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QFile file_;
    qint64 size_ = 0;
    Interrupted interrupted_;
};

}  // namespace preview
