#pragma once

#include <QString>
#include <QStringList>

class Form1;

namespace search {

// The names of the normal files of a folder, in the order the folder lists them:
// regular files (links to regular files too) whose names do not begin with ".".
// Empty when the folder cannot be read.
QStringList normalFilesOf(const QString &folder);

// Left click on the desktop button: the desktop's normal files.
void Command9_Click(Form1 &form);

// Right button on the desktop button: everything below the desktop, subfolders included.
void ListDesktopTree(Form1 &form);

}  // namespace search
