#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QWidget;

// The kinds of control the window is made of.
enum class ControlKind {
    ListBox,
    Label,
    TextBox,           // one line
    MultiLineTextBox,  // several lines; laid out like a text box
    DriveListBox,
    DirListBox,
    CommandButton,
    CheckBox,
    PictureBox,
    Menu,
    CommonDialog,
};

// Text boxes keep their height when the window is resized.
inline bool isTextBox(ControlKind kind)
{
    return kind == ControlKind::TextBox || kind == ControlKind::MultiLineTextBox;
}

// One row of the window's design: name, kind, caption or initial text, tool tip,
// colour, position in twips (relative to Picture1 for the controls inside it) and
// whether it shows at start.
struct ControlRow {
    const char *name;
    ControlKind kind;
    const char *caption;
    const char *toolTip;
    QColor colour;  // invalid: the default
    QRect twips;    // left, top, width, height
    bool shown;
    bool insidePicture1;
};

// One control as the layout and the start-up record see it.
struct ControlEntry {
    QWidget *widget = nullptr;  // null for menu items and the printer dialog
    ControlKind kind = ControlKind::Menu;
};

// The design rows in the order the window records them.
const ControlRow *controlRows(int &count);
