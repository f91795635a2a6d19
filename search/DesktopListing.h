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

// Right button on the desktop button: everything below the desktop, subfolders
// included. The walk and the summary are two steps, so that a listing ended to
// make way for another filling of the list leaves the list to that filling.
void walkDesktopTree(Form1 &form);
void finishDesktopTree(Form1 &form);

}  // namespace search
