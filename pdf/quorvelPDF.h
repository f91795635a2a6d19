#pragma once

#include "pdf/Deflate.h"
#include "pdf/StandardFontWidths.h"
#include "pdf/UnicodeFonts.h"
#include "platform/WholeFile.h"

#include <cstdint>
#include <cstdio>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace pdf {

// A failure of a writer operation; what() is the description shown to the user.
class PdfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file could not be made or written; `reason` is the system's.
class WriteError : public PdfError {
public:
    WriteError(const std::string &path, const std::string &reason)
        : PdfError("Cannot write " + path + ": " + reason)
        , path_(path)
        , reason_(reason)
    {
    }
    const std::string &path() const { return path_; }
    const std::string &reason() const { return reason_; }

private:
    std::string path_;
    std::string reason_;
};

// Where the writer's own messages go (validation, confirmation, missing viewer).
class PdfMessages {
public:
    virtual ~PdfMessages() = default;
    virtual void show(const std::string &text, const std::string &title, bool critical) = 0;
};

// How the finished file reaches the user.
class PdfViewer {
public:
    virtual ~PdfViewer() = default;
    // The application that shows PDF files; empty when there is none.
    virtual std::string findViewer() = 0;
    virtual void openWith(const std::string &viewer, const std::string &file) = 0;
    virtual void openWithDefault(const std::string &file) = 0;
};

// The argument of PDFFormatPage: a format number (32-bit), pairs of sizes, or
// anything else a caller may pass by mistake.
using FormatPageArg = std::variant<std::int32_t, std::int16_t, double, std::string, std::vector<double>>;

}  // namespace pdf

// Writes one PDF file from settings, page breaks and lines of text. Text comes in
// as UTF-8 and is written as Windows-1252.
class quorvelPDF {
public:
    explicit quorvelPDF(pdf::PdfMessages *messages = nullptr, pdf::PdfViewer *viewer = nullptr);
    ~quorvelPDF();
    quorvelPDF(const quorvelPDF &) = delete;
    quorvelPDF &operator=(const quorvelPDF &) = delete;

    // Settings and units.
    void PDFPathConfiguration(const std::string &sPathConfig) { PathConfig = sPathConfig; }
    void PDFSetViewerPreferences(std::int32_t pViewerPref);
    void PDFSetZoomMode(std::int32_t pZoomMode) { ZoomMode = pZoomMode; }
    std::optional<std::int32_t> PDFGetZoomMode() const { return ZoomMode; }
    void PDFUseThumbs(bool boThumbs) { ThumbsFlag = boThumbs; }
    void PDFUseOutlines(bool boOutlines) { OutlinesFlag = boOutlines; }
    void PDFSetLayoutMode(std::int32_t pLayoutMode);
    std::optional<std::int32_t> PDFGetLayoutMode() const { return LayoutMode; }
    void PDFSetUnit(std::int32_t str_Unite);
    std::string PDFGetUnit() const;
    void PDFOrientation(std::int32_t str_Orientation);
    void PDFFormatPage(const pdf::FormatPageArg &str_FormatPage);
    void PDFPageWidth(double in_PageWidth);
    void PDFPageHeight(double in_PageHeight);
    double PDFGetPageWidth();
    double PDFGetPageHeight();
    void PDFSetLeftMargin(double in_left);
    void PDFSetRightMargin(double in_right);
    void PDFSetTopMargin(double in_top);
    void PDFSetBottomMargin(double in_bottom);
    void PDFSetCellMargin(double in_cell);
    double PDFGetLeftMargin() const { return LeftMargin; }
    double PDFGetRightMargin() const { return RightMargin; }
    double PDFGetTopMargin() const { return TopMargin; }
    double PDFGetBottomMargin() const { return BottomMargin; }
    double PDFGetCellMargin() const { return CellMargin; }
    void PDFSetMargins(std::int16_t in_left, std::int16_t in_top, std::int16_t in_right = -1,
                       std::int16_t in_bottom = -1);
    std::int16_t PDFGetX() const;
    std::int16_t PDFGetY() const;
    void PDFSetLineWidth(double pLineWidth) { LineWidth = pLineWidth; }
    void PDFSetDrawMode(std::int32_t pDrawMode);
    void PDFSetAlignement(std::int32_t gAlignement);
    std::string PDFGetAlignement() const;
    std::string PDFGetTextColor() const { return TextColour; }
    void PDFInit();

    // Document information and the file.
    void PDFTitle(const std::string &str_Title) { Title = str_Title; }
    void PDFAuthor(const std::string &str_Author) { Author = str_Author; }
    void PDFCreator(const std::string &str_Creator) { Creator = str_Creator; }
    void PDFKeywords(const std::string &str_Keywords) { Keywords = str_Keywords; }
    void PDFSubject(const std::string &str_Subject) { Subject = str_Subject; }
    void PDFProducer(const std::string &str_Producer) { Producer = str_Producer; }
    void PDFFileName(const std::string &str_FileName);
    std::string PDFGetFileName() const { return OutputFileName; }
    void PDFConfirm(bool boConfirm) { ConfirmFlag = boConfirm; }
    void PDFView(bool boView) { ViewFlag = boView; }
    // The local date and time written as the creation date; now when not set.
    void setCreationDate(const std::string &yyyymmddhhmmss) { CreationDate = yyyymmddhhmmss; }
    void PDFBeginDoc();
    void PDFEndDoc();

    // Pages.
    void PDFEndPage();
    void PDFNewPage();
    std::int32_t PDFPageNumber() const { return PageCount; }
    std::int32_t PDFNbPage() const { return PageTableUpper; }

    // Fonts and text.
    void PDFSetFont(std::int32_t str_Fontname, std::int16_t in_FontSize, std::int32_t str_Style);
    void PDFTextOut(const std::string &str_Text, double &X, double &Y);
    double PDFTextHeight() const { return FontSize * UnitScale; }
    // The width of UTF-8 text set by PDFTextOut in the current font and size, in
    // points (as PDFGetPageWidth gives the page's), before any horizontal scaling.
    double PDFTextWidth(const std::string &str_Text);
    // Horizontal scaling of the text written from now on, in percent (100: none).
    void PDFSetHorizontalScaling(double percent) { HorizontalScaling = percent; }

    // Fixed decimals, no grouping, "." whatever the locale, halves away from zero.
    static std::string FormatNumber(double value, int decimals);
    // The standard font that F0 names, from the family and the style flags.
    std::string standardFontName() const;

private:
    struct PageSize {
        double width = 0;
        double height = 0;
        char orientation = 0;
        bool empty = true;
    };

    void validationMessage(const std::string &subject, const std::string &firstLine,
                           const std::string &value, const std::string &secondLine);
    PageSize &sizeEntry();
    void ensureSizeEntries(std::int32_t count);

    void openOutput();
    void write(const std::string &piece);
    // Writes a piece with its line end and records where the next one starts.
    void writePiece(const std::string &piece);
    void writeRaw(const char *data, size_t size);
    void RecordOffset(std::int64_t n);
    static void AppendLine(std::string &buffer, const std::string &line);
    void WriteHeader();
    void WriteInfo();
    void OpenContent();
    void ClosePage();
    // Pages with text beyond Windows-1252 are stored compressed: gathered into
    // batches as they close, each batch compressed on a thread of its own while the
    // next is made, and written when that one is handed over (or a page without
    // such text closes, or the document ends), so that objects keep their order.
    void closeCompressedPage();
    void writeCompressedPages();
    void writeCompressedPage(std::int32_t m, const pdf::DeflateAhead::Result &content);
    void WritePages();
    void WriteResources();
    void WritePage(std::int32_t i);
    void WriteCatalog();
    void WriteXref();
    void WriteUnicodeFonts();
    // Writes a line that needs fonts beyond the standard one; false when no font
    // for it is installed.
    bool appendUnicodeText(std::string &content, const std::string &utf8);
    void openInViewer();
    std::int32_t nextObject();

public:
    // Opens `file` in the PDF viewer found, else (telling so) with the desktop's
    // default; gives the viewer found. For a document written where no viewer
    // could be reached, opened later.
    static std::string showInViewer(pdf::PdfViewer &viewer, pdf::PdfMessages *messages, const std::string &file);

private:

    pdf::PdfMessages *messages_;
    pdf::PdfViewer *viewer_;

    double UnitScale = 0;
    std::vector<PageSize> PageSizeTable;  // entry i at index i - 1
    std::int32_t SizeIndex = 1;
    std::int16_t LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0, CellMargin = 0;
    double CurrentX = 0, CurrentY = 0;
    std::optional<std::int32_t> ZoomMode, LayoutMode;
    std::int32_t ViewerPrefs = 0;
    bool ViewerPrefsSet = false, ThumbsFlag = false, OutlinesFlag = false;
    bool ConfirmFlag = false, ViewFlag = false;
    std::string Title, Author, Creator, Keywords, Subject, Producer;
    std::string OutputFileName, OutputPath, PathConfig, CreationDate;
    // The file being written: it takes the output's name only when the document
    // is complete, so a failed or abandoned export leaves the earlier file.
    std::unique_ptr<platform::WholeFile> OutputStream;
    // The fonts of the text Windows-1252 cannot hold; made when such text first comes.
    std::unique_ptr<pdf::UnicodeFonts> unicodeFonts_;
    // The widths of the standard font F0 names, read when text is first measured.
    std::unique_ptr<pdf::StandardFontWidths> standardWidths_;
    std::string standardWidthsOf_;
    bool pageHasUnicode_ = false;
    std::unique_ptr<pdf::DeflateAhead> deflater_;  // made for the first compressed page
    std::vector<std::string> closedPages_;           // the batch being gathered
    std::optional<std::int32_t> closedFirst_;        // the content object of its first page
    std::optional<std::int32_t> compressingFirst_;   // the same of the batch being compressed
    std::string creationError_;  // the system's reason the file could not be made
    std::int16_t FontSize = 0;
    double HorizontalScaling = 100;
    std::string FontFamily;
    bool ItalicFlag = false, BoldFlag = false, UnderlineFlag = false;
    std::string TextColour, DrawColour, FillColour;
    double LineWidth = 0;
    std::string DrawMode, Alignment = "L";

    std::string ObjectBuffer, ContentBuffer;
    std::int32_t ObjectCount = 0;
    std::int64_t BytesWritten = 0;
    std::vector<std::int64_t> OffsetTable;  // entry k at index k - 1
    std::int32_t PageCount = 0;
    std::int64_t StreamStart = 0;
    std::vector<std::int32_t> PageContents;
    std::vector<std::pair<double, double>> PageBoxes;
    std::int32_t PageTableUpper = -1;
    std::int32_t PagesObject = 0, ResourcesObject = 0, CatalogObject = 0;
    std::string ViewerPath;
    bool ViewerFound = false;
};
