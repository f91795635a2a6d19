#pragma once

#include "search/EntryList.h"

#include <QByteArray>
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

// The picture of a JPG row: the photo scaled down to at most twice `cellPixels`,
// as JPEG bytes at 96 dpi, and its size; empty when it cannot be read.
QByteArray cellPicture(const QString &path, QSize cellPixels, QSize &pictureSize);

}  // namespace listexport
