#include "preview/PictureFile.h"

#include "platform/FileNames.h"

namespace preview {

PictureFile::PictureFile(const QString &path, Interrupted interrupted)
    : interrupted_(std::move(interrupted))
{
    if (platform::openRegularFile(path, file_))
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool PictureFile::seek(qint64 position)
{
    return QIODevice::seek(position) && file_.seek(position);
}

qint64 PictureFile::readData(char *data, qint64 maxSize)
{
    if (interrupted())
        return -1;
    return file_.read(data, maxSize);
}

}  // namespace preview
