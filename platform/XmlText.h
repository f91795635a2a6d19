#pragma once

#include <QString>

namespace platform {

// The text with every character XML 1.0 cannot hold (controls but tab, line feed
// and carriage return; U+FFFE and U+FFFF; halves of surrogate pairs standing alone)
// replaced by U+FFFD. A file name may hold any of them; a workbook or a document
// holding one is refused by every program that opens it.
inline QString xmlSafe(const QString &text)
{
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t c = out[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < out.size() && QChar::isLowSurrogate(out[i + 1].unicode())) {
            ++i;  // a whole pair: a character beyond the first plane, which XML holds
            continue;
        }
        const bool control = c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r';
        if (control || QChar::isSurrogate(c) || c == 0xFFFE || c == 0xFFFF)
            out[i] = QChar(0xFFFD);
    }
    return out;
}

}  // namespace platform
