#pragma once

class Form1;

namespace search {

// Fills the drive list with the mounted volumes, selects the one holding the
// current folder and opens the current folder in the folder list.
void fillDriveList(Form1 &form);

// Another volume was picked: open its root and mirror it into the search folder.
void Drive1_Change(Form1 &form);

// The folder list opened another folder: it becomes the folder to search.
void Dir1_Change(Form1 &form);

}  // namespace search
