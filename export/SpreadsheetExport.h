#pragma once

#include "search/EntryList.h"

#include <QByteArray>
#include <QSize>
#include <QSize>
#include <QString>
#include <QStringList>

#include "export/ExportContext.h"

namespace platform {
class MessageBoxes;
}

namespace listexport {

// Case conversions of GetFilenameFromPath, as the word-processing world numbers them.
enum Case { UpperCase = 1, LowerCase = 2, ProperCase = 3 };

// The file-name part of a path, with or without its extension, case-converted.
// An unknown case code is reported in a message box and gives the empty text.
QString GetFilenameFromPath(platform::MessageBoxes &messages, const QString &sFilePath, bool bWithExtension,
                            int enmCase);
// The same for a case that is known to be one of the three.
QString fileNamePart(const QString &sFilePath, bool bWithExtension, Case enmCase);

// Writes "QuorvelFileSearch.xlsx" into the application folder: one row an entry,
// the path as a hyperlink in A, the name in B, each JPG picture over its row; then
// opens it with the desktop's spreadsheet application.
// The rows a worksheet holds.
constexpr int kWorksheetRows = 1048576;

// The most links one worksheet holds.
constexpr int kWorksheetLinks = 65530;

struct SpreadsheetInput {
    search::EntryList entries;
    int selected = -1;     // the row made active, -1 for none
    QString fileSpec;      // the search folder and file specification, for the closing row
    int rows = kWorksheetRows;  // the worksheet's rows; fewer only where a test says so
    int links = kWorksheetLinks;  // the links a worksheet holds; fewer only where a test says so
};

// How many entries a worksheet of `rows` rows holds with the two closing rows under them.
inline int entriesThatFit(int rows)
{
    return rows - 2;
}
void exportSpreadsheet(const ExportContext &context, SpreadsheetInput input);

// The picture of a JPG row, upright as its EXIF orientation says.
struct CellPicture {
    QByteArray encoded;  // JPEG at 96 dpi; empty when the file cannot be read
    QSize size;          // of the encoded picture
    QSize natural;       // of the picture itself, in pixels
};
// The picture scaled down to at most twice `shownPixels`, which it keeps its
// shape within (it is never enlarged).
CellPicture cellPicture(const QString &path, QSize shownPixels);
// The size a picture of `natural` pixels is shown at over a row's cell: as high
// as `height` allows and as wide as that makes it, its shape kept, and never
// larger than it is.
QSizeF shownPictureSize(QSize natural, double height);

}  // namespace listexport
