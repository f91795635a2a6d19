#include "preview/PictureFile.h"

#include "platform/FileNames.h"

#include <algorithm>

namespace preview {

PictureFile::PictureFile(const QString &path, Interrupted interrupted)
    : interrupted_(std::move(interrupted))
{
    if (platform::openRegularFile(path, file_)) {
        size_ = file_.size();
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
}

bool PictureFile::seek(qint64 position)
{
    return QIODevice::seek(position) && file_.seek(position);
}

qint64 PictureFile::readData(char *data, qint64 maxSize)
{
    if (interrupted())
        return -1;
    // No further than the size found when it was opened: a file that keeps
    // growing (written into meanwhile) is read as it was.
    const qint64 left = size_ - file_.pos();
    return left > 0 ? file_.read(data, std::min(maxSize, left)) : 0;
}

}  // namespace preview
