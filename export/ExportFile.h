#pragma once

#include "search/EntryList.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

#include "export/BackgroundExport.h"
#include "export/ExportContext.h"
#include "export/OpenExport.h"
#include "platform/WholeFile.h"

namespace listexport {

// Where an export writes its bytes, piece by piece.
using ExportSink = std::function<void(const QByteArray &piece)>;
// Writes the whole export of `entries` into the sink; false when told to stop half way.
using ExportWriter = bool (*)(const search::EntryList &entries, const ExportSink &sink, ExportProgress &progress);

// Writes the file `name` in the export folder on the export thread, as `writer`
// makes it of `entries`, and opens it with its default application once it is
// complete (see openExported); nothing is opened when it could not be written,
// and the user is told why.
void writeAndOpen(const ExportContext &context, const QString &name, ExportKind kind, search::EntryList entries,
                  ExportWriter writer);

// Gives a numbered export written beside `file`'s target the first of its names
// ("stem.ext", "stem (2).ext", ...) that nothing holds at that moment, never
// replacing a file another window or program wrote meanwhile; the name it got
// is the file's target afterwards.
bool claimNumberedName(platform::FileBeside &file, const QString &folder, const QString &stem, const QString &extension);

// The bytes an export writer makes of `entries`, gathered.
QByteArray exportBytes(const search::EntryList &entries, ExportWriter writer);

}  // namespace listexport
