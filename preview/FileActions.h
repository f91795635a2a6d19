#pragma once

#include <QPoint>
#include <QString>
#include <Qt>

class Form1;

namespace preview {

// Opens the selected entry with its default application.
void List1_DblClick(Form1 &form);
// The right button over the list pops up the "Action" menu.
void List1_MouseDown(Form1 &form, Qt::MouseButton button, QPoint globalPosition);
void openfile_Click(Form1 &form);
void openfolder_Click(Form1 &form);
void Fileproperty_Click(Form1 &form);
void copy1_Click(Form1 &form);
void copylist_Click(Form1 &form);
void CopyImage_Click(Form1 &form);

// The folder part of a path with its trailing "/", as the path writes it; empty without a "/".
QString folderOf(const QString &path);

}  // namespace preview

namespace Module1 {

// Asks the file manager to show the properties of `path`; where none answers, the
// window's own properties dialog shows them. False when neither could.
bool ShowFileProperties(Form1 &form, const QString &path);

}  // namespace Module1
