#pragma once

#include "platform/FileNames.h"

#include <QString>
#include <QUrl>

#include <cctype>

namespace platform {

// A file: address for a path, every character that is not plain ASCII or that
// means something in an address ("#", "?", "%", blanks) percent-encoded, as links
// in exported files and to other programs carry it; a name's bytes that are not
// UTF-8 are percent-encoded as they are.
inline QString fileUrl(const QString &path)
{
    const QByteArray raw = encodeFileName(path);
    if (QString::fromUtf8(raw) == path)
        return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    // Bytes that are not UTF-8 go into the address as they are, percent-encoded
    // (an address built through QUrl would turn them into U+FFFD first).
    static const QByteArray kKept = "/-._~!$&'()*+,;=:@";
    QString address = QStringLiteral("file://");
    for (const char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if ((std::isalnum(byte) && byte < 0x80) || kKept.contains(c))
            address += QLatin1Char(c);
        else
            address += QStringLiteral("%%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    }
    return address;
}

}  // namespace platform
