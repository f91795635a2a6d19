#pragma once

#include <QString>
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
