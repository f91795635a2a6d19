#pragma once

#include "export/ExportContext.h"

namespace search {
class ResultList;
}

namespace listexport {

// Writes the whole list into "quorvelfilesearch.pdf" in the application folder,
// 27 entries and a numbered footer to a page, and opens it in the PDF viewer.
void exportPdf(const ExportContext &context, const search::ResultList &list);

}  // namespace listexport
