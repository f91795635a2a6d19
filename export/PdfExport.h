#pragma once

class Form1;

namespace listexport {

// Writes the whole list into "quorvelfilesearch.pdf" in the application folder,
// 27 entries and a numbered footer to a page, and opens it in the PDF viewer.
void exportPdf(Form1 &form);

}  // namespace listexport
