#pragma once

#include <QString>
#include <QStringList>
#include <QTextDocument>

namespace platform {

// Tool tips render anything that looks like markup as markup; a file name must
// never be read that way, so such text is escaped into a rich-text tip that
// shows it literally.
inline QString plainToolTip(const QString &text)
{
    if (!Qt::mightBeRichText(text) && !text.contains(QLatin1Char('<')) && !text.contains(QLatin1Char('&')))
        return text;
    return QStringLiteral("<qt>") + text.toHtmlEscaped() + QStringLiteral("</qt>");
}

}  // namespace platform

namespace platform {

// The entries, each followed by a carriage return and a line feed: the form of
// the list on the clipboard, in the text file and on paper.
inline QString withLineEnds(const QStringList &entries)
{
    QString text;
    qsizetype size = 0;
    for (const QString &entry : entries)
        size += entry.size() + 2;
    text.reserve(size);
    for (const QString &entry : entries)
        text += entry + QStringLiteral("\r\n");
    return text;
}

}  // namespace platform
