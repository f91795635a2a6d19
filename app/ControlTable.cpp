#include "app/ControlTable.h"

#include <QtGlobal>

#include <iterator>

namespace {

QColor rgb(int r, int g, int b)
{
    return QColor(r, g, b);
}

const QColor kDefault;
const QColor kExportGreen = rgb(192, 255, 192);

// The window's controls as designed. Positions are twips; colours red, green, blue.
const ControlRow kRows[] = {
    {"List1", ControlKind::ListBox, "", "", kDefault, {600, 720, 8055, 1425}, true, false},
    {"Label4", ControlKind::Label, "", QT_TRANSLATE_NOOP("Form1", "Showing selected record no."), rgb(224, 224, 224), {600, 240, 1215, 375}, true, false},
    {"Label1", ControlKind::Label, "", "", rgb(255, 192, 255), {120, 5040, 12135, 375}, true, false},
    {"Text3", ControlKind::TextBox, "", "", rgb(255, 255, 0), {600, 2640, 5415, 285}, false, false},
    {"Text4", ControlKind::MultiLineTextBox, "", "", rgb(255, 255, 0), {600, 3120, 5415, 645}, false, false},
    {"Drive1", ControlKind::DriveListBox, "", QT_TRANSLATE_NOOP("Form1", "Select Drive"), rgb(255, 192, 192), {600, 3960, 1575, 315}, true, false},
    {"Dir1", ControlKind::DirListBox, "", QT_TRANSLATE_NOOP("Form1", "Select Directory"), rgb(255, 224, 192), {2280, 3960, 2415, 990}, true, false},
    {"Text1", ControlKind::TextBox, "c:\\", "", kDefault, {600, 4200, 1455, 315}, false, false},
    {"Text2", ControlKind::TextBox, "*.jpg", QT_TRANSLATE_NOOP("Form1", "write your file specification here,  e.g. *.jpg;*.bmp"),
     rgb(255, 255, 192), {4800, 3960, 1215, 315}, true, false},
    {"Command1", ControlKind::CommandButton, QT_TRANSLATE_NOOP("Form1", "Search"), QT_TRANSLATE_NOOP("Form1", "click here to search"), rgb(192, 255, 192),
     {6360, 3960, 825, 735}, true, false},
    {"Check1", ControlKind::CheckBox, QT_TRANSLATE_NOOP("Form1", "Show Listbox while searching"), "", rgb(192, 192, 192),
     {6360, 2880, 2295, 375}, true, false},
    {"Check2", ControlKind::CheckBox, QT_TRANSLATE_NOOP("Form1", "Show Image Preview while searching"), "", rgb(192, 192, 192),
     {6360, 3360, 2295, 375}, true, false},
    {"Command9", ControlKind::CommandButton, QT_TRANSLATE_NOOP("Form1", "Showing Desktop Files"),
     QT_TRANSLATE_NOOP("Form1", "Right click to show files from subfolder from Desktop"), rgb(255, 192, 192), {6360, 2280, 2295, 495}, true,
     false},
    {"Command2", ControlKind::CommandButton, QT_TRANSLATE_NOOP("Form1", "About"), "", rgb(192, 255, 255), {7800, 3960, 825, 735}, true, false},
    {"Command7", ControlKind::CommandButton, QT_TRANSLATE_NOOP("Form1", "&Print"), QT_TRANSLATE_NOOP("Form1", "Print"), kExportGreen, {2400, 100, 800, 500}, false, false},
    {"Command6", ControlKind::CommandButton, QT_TRANSLATE_NOOP("Form1", "P&df"), QT_TRANSLATE_NOOP("Form1", "Export List to pdf file"), kExportGreen, {3480, 100, 800, 500},
     false, false},
    {"Command8", ControlKind::CommandButton, QT_TRANSLATE_NOOP("Form1", "&Html"), QT_TRANSLATE_NOOP("Form1", "Export List to Html"), kExportGreen, {4560, 100, 800, 500}, false,
     false},
    {"Command5", ControlKind::CommandButton, QT_TRANSLATE_NOOP("Form1", "&Notepad"), QT_TRANSLATE_NOOP("Form1", "Export List to Notepade Text file saved in App path"),
     kExportGreen, {5640, 100, 800, 500}, false, false},
    {"Command4", ControlKind::CommandButton, QT_TRANSLATE_NOOP("Form1", "&Word"), QT_TRANSLATE_NOOP("Form1", "Export List to Wordl document with Hyperlink."), kExportGreen,
     {6720, 100, 800, 500}, false, false},
    {"Command3", ControlKind::CommandButton, QT_TRANSLATE_NOOP("Form1", "&Excel"), QT_TRANSLATE_NOOP("Form1", "Export List to Excel Sheet with Hyperlink."), kExportGreen,
     {7800, 100, 800, 500}, false, false},
    {"Command10", ControlKind::CommandButton, QT_TRANSLATE_NOOP("Form1", "&Copy Image to Clipboard"), QT_TRANSLATE_NOOP("Form1", "Export List to Excel Sheet with Hyperlink."),
     kExportGreen, {9960, 120, 2235, 500}, false, false},
    {"Picture1", ControlKind::PictureBox, "", QT_TRANSLATE_NOOP("Form1", "image displayed by quorvel software"), kDefault, {9120, 720, 4000, 3255},
     true, false},
    {"Text5", ControlKind::MultiLineTextBox, "", "", rgb(192, 255, 192), {316, 320, 3375, 2535}, false, true},
    {"Label2", ControlKind::Label, "", "", kDefault, {600, 720, 2535, 1575}, false, true},
    {"Label3", ControlKind::Label, QT_TRANSLATE_NOOP("Form1", "Showing moving animation from static image, right click to stop."), "", kDefault,
     {9840, 4080, 2655, 615}, false, false},
    {"Picture2", ControlKind::PictureBox, "", "", kDefault, {12480, 4800, 735, 735}, true, false},
};

}  // namespace

const ControlRow *controlRows(int &count)
{
    count = int(std::size(kRows));
    return kRows;
}
