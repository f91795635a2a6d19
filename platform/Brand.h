#pragma once

#include <QString>

// The maker's addresses, wherever the program names them.
namespace brand {

inline const QString kWebAddress = QStringLiteral("https://quorvel.example/filesearch");
inline const QString kContactEmail = QStringLiteral("support@quorvel.example");
inline const QString kAppTitle = QStringLiteral("Quorvel File Search");

}  // namespace brand
