#pragma once

#include <QCoreApplication>
#include <QString>

namespace about {

// The thank-you text shown in the preview box by About; CR LF between lines.
inline constexpr char kThankYou[] = QT_TRANSLATE_NOOP(
    "Form1",
    "Thank you for using \"Quorvel File Search\".\r\n"
    "\r\n"
    "\r\n"
    "This software was developed in my valuable \r\n"
    "spare time without any salary or sponsorship.\r\n"
    "\r\n"
    "If you liked it, appreicaite  your donation thus I \r\n"
    "will ensure future development of this \r\n"
    "software. \r\n"
    "\r\n"
    "\r\n"
    "Thank you for your support,\r\n");

// The thank-you text in the user's language.
inline QString thankYou()
{
    return QCoreApplication::translate("Form1", kThankYou);
}

}  // namespace about
