#pragma once

#include <QString>
#include <QUrl>

namespace platform {

// A file: address for a path, every character that is not plain ASCII or that
// means something in an address ("#", "?", "%", blanks) percent-encoded, as links
// in exported files and to other programs carry it.
inline QString fileUrl(const QString &path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

}  // namespace platform
