#pragma once

#include <QString>

class Form1;

namespace listexport {

// Opens an exported workbook or document with the desktop's application for its
// kind; says so when there is none, naming where the file was saved.
void openWithOfficeApplication(Form1 &form, const QString &path, const QString &kind);

}  // namespace listexport
