#include "pdf/quorvelPDF.h"

#include "pdf/Cp1252.h"
#include "platform/Rounding.h"

#include <cerrno>
#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <utility>
#include <ctime>
#include <filesystem>
#include <thread>

namespace {

// Pages with text beyond Windows-1252 are compressed as fast as zlib can: their
// hexadecimal glyph codes shrink tenfold even so.
constexpr int kPageCompression = 1;
constexpr size_t kPagesPerBatch = 32;

const std::string kWriterName = "quorvelPDF 1.0";
const std::string kCrLf = "\r\n";
constexpr double kPointsPerMm = 72 / 25.4;
constexpr double kPointsPerCm = 72 / 2.54;

struct Format {
    double width;
    double height;
};
constexpr Format kFormats[] = {
    {595.28, 841.89},   // A4
    {841.89, 1190.55},  // A3
    {420.94, 595.28},   // A5
    {612, 792},         // Letter
    {612, 1008},        // Legal
};

std::int16_t toInt16(double v)
{
    const std::optional<std::int16_t> r = platform::toInt16(v);
    if (!r)
        throw pdf::PdfError("Overflow");
    return *r;
}

std::string decimal(std::int64_t v)
{
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

// Shortest decimal form, up to 15 significant digits: 595, 595.28. Always with
// "." whatever the locale: the C library's formatting would follow it.
std::string shortest(double v)
{
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    return std::string(buf, res.ptr);
}

std::string pdfString(const std::string &utf8);

std::string localTimestamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[16];
    std::strftime(buf, sizeof buf, "%Y%m%d%H%M%S", &local);
    return buf;
}

std::int32_t increment(std::int32_t value)
{
    if (value == INT32_MAX)
        throw pdf::PdfError("Overflow");
    return value + 1;
}

bool isPermissionError(int error)
{
    return error == EACCES || error == EPERM || error == ETXTBSY || error == EBUSY;
}

}  // namespace

quorvelPDF::quorvelPDF(pdf::PdfMessages *messages, pdf::PdfViewer *viewer)
    : messages_(messages)
    , viewer_(viewer)
{
    PDFInit();
}

quorvelPDF::~quorvelPDF() = default;

// --- Settings and units ---

void quorvelPDF::validationMessage(const std::string &subject, const std::string &firstLine,
                                   const std::string &value, const std::string &secondLine)
{
    if (messages_)
        messages_->show(firstLine + value + "." + kCrLf + secondLine, subject + kWriterName, true);
}

void quorvelPDF::PDFSetViewerPreferences(std::int32_t pViewerPref)
{
    ViewerPrefs = pViewerPref;
    ViewerPrefsSet = true;
}

void quorvelPDF::PDFSetLayoutMode(std::int32_t pLayoutMode)
{
    if (pLayoutMode >= 0 && pLayoutMode <= 3) {
        LayoutMode = pLayoutMode;
        return;
    }
    validationMessage("Layout Mode - ", "Layout incorrect : ", decimal(pLayoutMode),
                      "Layout will be set to simple single page.");
    LayoutMode = 0;
}

void quorvelPDF::PDFSetUnit(std::int32_t str_Unite)
{
    switch (str_Unite) {
    case 0:
        UnitScale = 1.0;
        return;
    case 1:
        UnitScale = kPointsPerMm;
        return;
    case 2:
        UnitScale = kPointsPerCm;
        return;
    default:
        validationMessage("Error in measurement unit - ", "Incorrect Unit of Measure : ", decimal(str_Unite),
                          "Using centimeter ");
        UnitScale = kPointsPerCm;
    }
}

std::string quorvelPDF::PDFGetUnit() const
{
    if (UnitScale == 1.0)
        return "pt";
    if (UnitScale == kPointsPerMm)
        return "mm";
    if (UnitScale == kPointsPerCm)
        return "cm";
    return "";
}

void quorvelPDF::ensureSizeEntries(std::int32_t count)
{
    if (std::int32_t(PageSizeTable.size()) < count)
        PageSizeTable.resize(size_t(count));
}

quorvelPDF::PageSize &quorvelPDF::sizeEntry()
{
    ensureSizeEntries(SizeIndex);
    return PageSizeTable[size_t(SizeIndex - 1)];
}

void quorvelPDF::PDFOrientation(std::int32_t str_Orientation)
{
    PageSize &entry = sizeEntry();
    const std::int16_t w = toInt16(entry.width);
    const std::int16_t h = toInt16(entry.height);
    if (str_Orientation == 0) {
        entry.width = h;
        entry.height = w;
        entry.orientation = 'l';
    } else {
        if (str_Orientation != 1)
            validationMessage("Error in orientation - ", "Orientation set incorrectly: ", decimal(str_Orientation),
                              "Orientation set to portrait.");
        entry.width = w;
        entry.height = h;
        entry.orientation = 'p';
    }
    entry.empty = false;
}

void quorvelPDF::PDFFormatPage(const pdf::FormatPageArg &str_FormatPage)
{
    PageSize &entry = sizeEntry();
    auto set = [&entry](double w, double h) {
        entry.width = w;
        entry.height = h;
        entry.empty = false;
    };
    if (const auto *sizes = std::get_if<std::vector<double>>(&str_FormatPage); sizes && sizes->size() >= 2) {
        set((*sizes)[0], (*sizes)[1]);
        return;
    }
    if (const auto *number = std::get_if<std::int32_t>(&str_FormatPage)) {
        if (*number >= 0 && *number <= 4) {
            set(kFormats[*number].width, kFormats[*number].height);
            return;
        }
        validationMessage("Format Page - ", "Format page set incorrectly : ", decimal(*number),
                          "Format page set to A4.");
        set(kFormats[0].width, kFormats[0].height);
        return;
    }
    std::string shown;
    if (const auto *small = std::get_if<std::int16_t>(&str_FormatPage))
        shown = decimal(*small);
    else if (const auto *real = std::get_if<double>(&str_FormatPage))
        shown = shortest(*real);
    else if (const auto *text = std::get_if<std::string>(&str_FormatPage))
        shown = *text;
    validationMessage("Format Page - ", "Format page set incorrectly : ", shown, "Format page set to A4");
    set(kFormats[0].width, kFormats[0].height);
}

void quorvelPDF::PDFPageWidth(double in_PageWidth)
{
    sizeEntry().width = in_PageWidth;
    sizeEntry().empty = false;
}

void quorvelPDF::PDFPageHeight(double in_PageHeight)
{
    sizeEntry().height = in_PageHeight;
    sizeEntry().empty = false;
}

double quorvelPDF::PDFGetPageWidth()
{
    return sizeEntry().width;
}

double quorvelPDF::PDFGetPageHeight()
{
    return sizeEntry().height;
}

void quorvelPDF::PDFSetLeftMargin(double in_left)
{
    LeftMargin = toInt16(in_left);
}

void quorvelPDF::PDFSetRightMargin(double in_right)
{
    RightMargin = toInt16(in_right);
}

void quorvelPDF::PDFSetTopMargin(double in_top)
{
    TopMargin = toInt16(in_top);
}

void quorvelPDF::PDFSetBottomMargin(double in_bottom)
{
    BottomMargin = toInt16(in_bottom);
}

void quorvelPDF::PDFSetCellMargin(double in_cell)
{
    CellMargin = toInt16(in_cell);
}

void quorvelPDF::PDFSetMargins(std::int16_t in_left, std::int16_t in_top, std::int16_t in_right,
                               std::int16_t in_bottom)
{
    LeftMargin = in_left;
    TopMargin = in_top;
    RightMargin = in_right == -1 ? in_left : in_right;
    BottomMargin = in_bottom == -1 ? in_top : in_bottom;
}

std::int16_t quorvelPDF::PDFGetX() const
{
    return toInt16(CurrentX);
}

std::int16_t quorvelPDF::PDFGetY() const
{
    return toInt16(CurrentY);
}

void quorvelPDF::PDFSetDrawMode(std::int32_t pDrawMode)
{
    switch (pDrawMode) {
    case 0:
        DrawMode = "";
        return;
    case 1:
        DrawMode = "D";
        return;
    case 2:
        DrawMode = "DB";
        return;
    default:
        validationMessage("Object Rectangle - ", "Draw Mode set incorrectly : ", decimal(pDrawMode),
                          "Draw mode set to normal");
        DrawMode = "";
    }
}

void quorvelPDF::PDFSetAlignement(std::int32_t gAlignement)
{
    static const char *const kAlignments[] = {"C", "L", "R", "FJ"};
    if (gAlignement >= 0 && gAlignement <= 3) {
        Alignment = kAlignments[gAlignement];
        return;
    }
    validationMessage("Alignment - ", "Invalid alignment set. : ", decimal(gAlignement), "Using left alignment.");
    Alignment = "L";
}

std::string quorvelPDF::PDFGetAlignement() const
{
    if (Alignment == "C")
        return "Center";
    if (Alignment == "R")
        return "Right";
    return "Left";
}

void quorvelPDF::PDFInit()
{
    ViewerFound = false;
    if (PathConfig.empty()) {
        std::error_code ec;
        PathConfig = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string();
    }
    PageSizeTable.clear();
    OffsetTable.clear();
    PageContents.clear();
    PageBoxes.clear();
    PageTableUpper = -1;
    SizeIndex = 1;
    ItalicFlag = BoldFlag = UnderlineFlag = false;
    UnitScale = kPointsPerCm;
    const std::int16_t m = toInt16(kPointsPerCm / 28.35);
    PDFSetMargins(m, m, -1, -1);
    CellMargin = toInt16(m / 10.0 * UnitScale);
    CurrentX = LeftMargin;
    CurrentY = TopMargin;
    LineWidth = 0.567;
    ObjectBuffer.clear();
    ContentBuffer.clear();
    DrawColour = "0 G";
    FillColour = "0 g";
    TextColour = "0 g";
    PageSizeTable.push_back({kFormats[0].width, kFormats[0].height, 'p', false});
    Producer.clear();
    Author.clear();
    Creator.clear();
    Keywords.clear();
    Subject.clear();
}

namespace {

constexpr long long kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// Appends the value with a fixed number of decimals, halves away from zero.
void appendFixed(std::string &out, double value, int decimals)
{
    decimals = std::clamp(decimals, 0, 9);
    const auto unit = static_cast<unsigned long long>(kPowersOfTen[decimals]);
    double scaled = value * double(unit);
    // Values meant as exact halves (1.125, 0.125) come out of the multiplication a
    // hair off; take them as halves so they round away from zero.
    const double floor = std::floor(scaled);
    if (std::fabs(scaled - floor - 0.5) < 1e-9 * std::max(1.0, std::fabs(scaled)))
        scaled = floor + 0.5;
    const long long n = std::llround(scaled);
    const unsigned long long magnitude =
        n < 0 ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    char buf[48];
    char *p = buf;
    if (n < 0)
        *p++ = '-';
    p = std::to_chars(p, buf + sizeof buf, magnitude / unit).ptr;
    if (decimals > 0) {
        *p++ = '.';
        char digits[16];
        char *end = std::to_chars(digits, digits + sizeof digits, magnitude % unit).ptr;
        const auto written = int(end - digits);
        for (int i = written; i < decimals; ++i)
            *p++ = '0';
        p = std::copy(digits, end, p);
    }
    out.append(buf, size_t(p - buf));
}

// Appends text as the body of a string of the file: Windows-1252, "\" "(" ")" escaped.
void appendPdfString(std::string &out, const std::string &utf8)
{
    bool ascii = true;
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    const std::string converted = ascii ? std::string() : pdf::toCp1252(utf8);
    const std::string &bytes = ascii ? utf8 : converted;
    for (char c : bytes) {
        if (c == '\\' || c == '(' || c == ')')
            out.push_back('\\');
        out.push_back(c);
    }
}

std::string pdfString(const std::string &utf8)
{
    std::string out;
    appendPdfString(out, utf8);
    return out;
}

}  // namespace

std::string quorvelPDF::FormatNumber(double value, int decimals)
{
    std::string out;
    appendFixed(out, value, decimals);
    return out;
}

// --- The file ---

void quorvelPDF::PDFFileName(const std::string &str_FileName)
{
    OutputFileName = str_FileName;
    OutputStream.reset();
    creationError_.clear();
    if (str_FileName.empty())
        return;
    const size_t slash = str_FileName.find_last_of('/');
    const std::string name = slash == std::string::npos ? str_FileName : str_FileName.substr(slash + 1);
    const std::string folder = str_FileName.substr(0, str_FileName.size() - name.size());
    OutputPath = folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
    openOutput();
}

void quorvelPDF::openOutput()
{
    auto file = std::make_unique<platform::WholeFile>(OutputPath);
    if (file->open()) {
        OutputStream = std::move(file);
        return;
    }
    if (isPermissionError(errno)) {
        // The folder may be held by a program that is letting go of it: one more try.
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        file = std::make_unique<platform::WholeFile>(OutputPath);
        if (file->open()) {
            OutputStream = std::move(file);
            return;
        }
        throw pdf::PdfError("Permission denied: " + OutputPath + " (" + file->reason() + ")");
    }
    creationError_ = file->reason();
}

void quorvelPDF::writeRaw(const char *data, size_t size)
{
    if (!OutputStream)
        throw creationError_.empty() ? pdf::PdfError("No PDF file is open") : pdf::WriteError(OutputPath, creationError_);
    if (!OutputStream->write(data, size))
        throw pdf::WriteError(OutputPath, OutputStream->reason());
}

void quorvelPDF::write(const std::string &piece)
{
    writeRaw(piece.data(), piece.size());
    writeRaw(kCrLf.data(), kCrLf.size());
}

void quorvelPDF::writePiece(const std::string &piece)
{
    write(piece);
    RecordOffset(std::int64_t(piece.size()) + std::int64_t(kCrLf.size()));
}

void quorvelPDF::RecordOffset(std::int64_t n)
{
    BytesWritten += n;
    OffsetTable.push_back(BytesWritten);
}

void quorvelPDF::AppendLine(std::string &buffer, const std::string &line)
{
    buffer += line;
    buffer += kCrLf;
}

std::int32_t quorvelPDF::nextObject()
{
    ObjectCount = increment(ObjectCount);
    return ObjectCount;
}

void quorvelPDF::PDFBeginDoc()
{
    PageCount = 1;
    unicodeFonts_.reset();
    pageHasUnicode_ = false;
    closedPages_.clear();
    closedFirst_.reset();
    compressingFirst_.reset();
    ObjectCount = 0;
    BytesWritten = 0;
    OffsetTable.clear();
    PageContents.assign(1, 0);
    PageBoxes.assign(1, {0, 0});
    PageTableUpper = 1;
    ObjectBuffer.clear();
    WriteHeader();
    WriteInfo();
    OpenContent();
}

void quorvelPDF::WriteHeader()
{
    const std::string header = std::string("%PDF-") + "1.0";
    writePiece(header);
}

void quorvelPDF::WriteInfo()
{
    ObjectCount = 1;
    const std::string date = CreationDate.empty() ? localTimestamp() : CreationDate;
    ObjectBuffer.clear();
    AppendLine(ObjectBuffer, "1 0 obj");
    AppendLine(ObjectBuffer, "<<");
    AppendLine(ObjectBuffer, "/Producer (" + pdfString(Producer) + ")");
    AppendLine(ObjectBuffer, "/Author (" + pdfString(Author) + ")");
    AppendLine(ObjectBuffer, "/CreationDate (D:" + date + ")");
    AppendLine(ObjectBuffer, "/Creator (" + pdfString(Creator) + ")");
    AppendLine(ObjectBuffer, "/Keywords (" + pdfString(Keywords) + ")");
    AppendLine(ObjectBuffer, "/Subject (" + pdfString(Subject) + ")");
    AppendLine(ObjectBuffer, "/Title (" + pdfString(Title) + ")");
    AppendLine(ObjectBuffer, "/ModDate ()");
    AppendLine(ObjectBuffer, ">>");
    AppendLine(ObjectBuffer, "endobj");
    writePiece(ObjectBuffer);
}

void quorvelPDF::PDFEndDoc()
{
    ClosePage();
    writeCompressedPages();
    WritePages();
    WriteResources();
    for (std::int32_t i = 1; i <= PageCount; ++i)
        WritePage(i);
    WriteCatalog();
    WriteUnicodeFonts();
    WriteXref();
    write("%%EOF");
    const std::unique_ptr<platform::WholeFile> file = std::move(OutputStream);
    if (!file->commit())
        throw pdf::WriteError(OutputPath, file->reason());
    if (ConfirmFlag && messages_)
        messages_->show("PDF file generated.", "Generated PDF file - " + kWriterName, false);
    if (ViewFlag)
        openInViewer();
}

void quorvelPDF::openInViewer()
{
    if (!viewer_)
        return;
    ViewerPath = showInViewer(*viewer_, messages_, OutputFileName);
    ViewerFound = !ViewerPath.empty();
}

std::string quorvelPDF::showInViewer(pdf::PdfViewer &viewer, pdf::PdfMessages *messages, const std::string &file)
{
    std::string viewerPath = viewer.findViewer();
    if (!viewerPath.empty()) {
        viewer.openWith(viewerPath, file);
        return viewerPath;
    }
    if (messages)
        messages->show("Adob Software not installed. This file can only be best viewd with Adob Software",
                       "Quorvel File Search", false);
    viewer.openWithDefault(file);
    return viewerPath;
}

void quorvelPDF::WriteCatalog()
{
    CatalogObject = nextObject();
    const std::int32_t firstPage = 2 * PageCount + 4;
    ObjectBuffer.clear();
    AppendLine(ObjectBuffer, decimal(CatalogObject) + " 0 obj");
    AppendLine(ObjectBuffer, "<<");
    AppendLine(ObjectBuffer, "/Type /Catalog");
    AppendLine(ObjectBuffer, "/Pages " + decimal(PagesObject) + " 0 R");
    const std::int32_t zoom = ZoomMode.value_or(0);
    const std::string target = "/OpenAction [" + decimal(firstPage) + " 0 R ";
    if (zoom == 0)
        AppendLine(ObjectBuffer, target + "/Fit]");
    else if (zoom == 1)
        AppendLine(ObjectBuffer, target + "/FitH null]");
    else if (zoom == 2)
        AppendLine(ObjectBuffer, target + "/XYZ null null 1]");
    else
        AppendLine(ObjectBuffer, target + "/XYZ null null " + FormatNumber(zoom / 100.0, 2) + "]");
    switch (LayoutMode.value_or(0)) {
    case 0:
        AppendLine(ObjectBuffer, "/PageLayout /SinglePage");
        break;
    case 1:
        AppendLine(ObjectBuffer, "/PageLayout /OneColumn");
        break;
    case 2:
        AppendLine(ObjectBuffer, "/PageLayout /TwoColumnLeft");
        break;
    default:
        break;
    }
    if (ThumbsFlag)
        AppendLine(ObjectBuffer, "/PageMode /UseThumbs");
    // There is no outline object to point at; the viewer is only asked to show its outline pane.
    if (OutlinesFlag)
        AppendLine(ObjectBuffer, "/PageMode /UseOutlines");
    if (ViewerPrefsSet) {
        AppendLine(ObjectBuffer, "/ViewerPreferences<<");
        const std::string digits = decimal(ViewerPrefs);
        static const std::pair<char, const char *> kPreferences[] = {
            {'2', "/HideMenubar true"},   {'1', "/HideToolbar true"},   {'3', "/HideWindowUI true"},
            {'6', "/DisplayDocTitle true"}, {'5', "/CenterWindow true"}, {'4', "/FitWindow true"}};
        for (const auto &[digit, line] : kPreferences)
            if (digits.find(digit) != std::string::npos)
                AppendLine(ObjectBuffer, line);
        AppendLine(ObjectBuffer, ">>");
    }
    AppendLine(ObjectBuffer, ">>");
    AppendLine(ObjectBuffer, "endobj");
    writePiece(ObjectBuffer);
}

void quorvelPDF::WriteUnicodeFonts()
{
    for (size_t k = 0; unicodeFonts_ && k < unicodeFonts_->fontCount(); ++k) {
        const std::int32_t first = ObjectCount + 1;
        for (const std::string &object : unicodeFonts_->objects(k, first))
            writePiece(decimal(nextObject()) + " 0 obj\r\n" + object + "\r\nendobj\r\n");
    }
}

void quorvelPDF::WriteXref()
{
    const std::int32_t size = nextObject();
    std::string xref;
    xref.reserve(size_t(size) * 20 + 128);
    AppendLine(xref, "xref");
    AppendLine(xref, "0 " + decimal(size));
    AppendLine(xref, "0000000000 65535 f");
    for (std::int32_t k = 1; k <= size - 1; ++k) {
        std::string offset = decimal(OffsetTable[size_t(k - 1)]);
        if (offset.size() < 10)
            offset.insert(0, 10 - offset.size(), '0');
        AppendLine(xref, offset + " 00000 n");
    }
    AppendLine(xref, "trailer");
    AppendLine(xref, "<< /Size " + decimal(size));
    AppendLine(xref, "/Root " + decimal(CatalogObject) + " 0 R");
    AppendLine(xref, "/Info 1 0 R");
    AppendLine(xref, ">>");
    AppendLine(xref, "startxref");
    AppendLine(xref, decimal(OffsetTable[size_t(size - 1)]));
    writePiece(xref);
}

// --- Pages ---

void quorvelPDF::OpenContent()
{
    const std::int32_t m = nextObject();
    ObjectBuffer.clear();
    AppendLine(ContentBuffer, "%DEBUT_OBJ/%");
    AppendLine(ObjectBuffer, decimal(m) + " 0 obj");
    AppendLine(ObjectBuffer, "<< /Length " + decimal(std::int64_t(m) + 1) + " 0 R");
    AppendLine(ObjectBuffer, " >>");
    StreamStart = std::int64_t(ObjectBuffer.size());
    AppendLine(ObjectBuffer, "stream");
    if (PageCount == 1)
        ContentBuffer.clear();
}

void quorvelPDF::closeCompressedPage()
{
    if (!closedFirst_)
        closedFirst_ = ObjectCount;  // the content's object, numbered when the page opened
    const size_t room = ContentBuffer.capacity();
    closedPages_.push_back(std::move(ContentBuffer));
    ContentBuffer.clear();
    ContentBuffer.reserve(room);  // the next page is about as long
    pageHasUnicode_ = false;
    nextObject();  // its length's object, as an uncompressed page numbers it
    if (closedPages_.size() < kPagesPerBatch)
        return;
    if (!deflater_)
        deflater_ = std::make_unique<pdf::DeflateAhead>(kPageCompression);
    if (compressingFirst_) {  // the batch before goes first
        const std::int32_t first = *std::exchange(compressingFirst_, std::nullopt);
        const std::vector<pdf::DeflateAhead::Result> pages = deflater_->take();
        for (size_t i = 0; i < pages.size(); ++i)
            writeCompressedPage(first + 2 * std::int32_t(i), pages[i]);
    }
    compressingFirst_ = std::exchange(closedFirst_, std::nullopt);
    deflater_->start(std::exchange(closedPages_, {}));
}

void quorvelPDF::writeCompressedPages()
{
    if (!compressingFirst_ && !closedFirst_)
        return;
    if (!deflater_)
        deflater_ = std::make_unique<pdf::DeflateAhead>(kPageCompression);
    for (std::optional<std::int32_t> *batch : {&compressingFirst_, &closedFirst_}) {
        if (!*batch)
            continue;
        if (batch == &closedFirst_)
            deflater_->start(std::exchange(closedPages_, {}));
        const std::int32_t first = *std::exchange(*batch, std::nullopt);
        const std::vector<pdf::DeflateAhead::Result> pages = deflater_->take();
        for (size_t i = 0; i < pages.size(); ++i)
            writeCompressedPage(first + 2 * std::int32_t(i), pages[i]);
    }
}

void quorvelPDF::writeCompressedPage(std::int32_t m, const pdf::DeflateAhead::Result &content)
{
    std::string head = decimal(m) + " 0 obj\r\n<< /Length " + decimal(std::int64_t(m) + 1) + " 0 R";
    if (content.compressed)
        head += " /Filter /FlateDecode";
    head += "\r\n >>\r\nstream\r\n";
    // Compressed data is ended by a line end of its own, outside its length.
    const std::string tail = content.compressed ? "\r\nendstream\r\nendobj\r\n" : "endstream\r\nendobj\r\n";
    writeRaw(head.data(), head.size());
    writeRaw(content.bytes.data(), content.bytes.size());
    write(tail);
    RecordOffset(std::int64_t(head.size() + content.bytes.size() + tail.size()) + 2);

    std::string length;
    AppendLine(length, decimal(std::int64_t(m) + 1) + " 0 obj");
    AppendLine(length, decimal(std::int64_t(content.bytes.size())));
    AppendLine(length, "endobj");
    writePiece(length);
}

void quorvelPDF::ClosePage()
{
    if (pageHasUnicode_) {
        closeCompressedPage();
        return;
    }
    writeCompressedPages();
    // Written in three parts rather than copied into one buffer: the same bytes,
    // without moving a page's content twice.
    static const std::string tail = "endstream\r\nendobj\r\n";
    writeRaw(ObjectBuffer.data(), ObjectBuffer.size());
    writeRaw(ContentBuffer.data(), ContentBuffer.size());
    write(tail);
    const std::int64_t total = std::int64_t(ObjectBuffer.size() + ContentBuffer.size() + tail.size());
    RecordOffset(total + 2);
    const std::int64_t L = total - StreamStart - 27;
    ContentBuffer.clear();

    const std::int32_t n = nextObject();
    ObjectBuffer.clear();
    AppendLine(ObjectBuffer, decimal(n) + " 0 obj");
    AppendLine(ObjectBuffer, decimal(L));
    AppendLine(ObjectBuffer, "endobj");
    writePiece(ObjectBuffer);
}

void quorvelPDF::PDFNewPage()
{
    PageCount = increment(PageCount);
    CurrentX = LeftMargin;
    CurrentY = TopMargin;
    ClosePage();
    OpenContent();
}

void quorvelPDF::PDFEndPage()
{
    SizeIndex = increment(SizeIndex);
    ensureSizeEntries(SizeIndex);
    PageSize &entry = PageSizeTable[size_t(SizeIndex - 1)];
    if (entry.empty) {
        entry = PageSizeTable[size_t(SizeIndex - 2)];
    }
}

void quorvelPDF::WritePages()
{
    PagesObject = nextObject();
    const std::int64_t P = PageCount;
    ObjectBuffer.clear();
    AppendLine(ObjectBuffer, decimal(PagesObject) + " 0 obj");
    AppendLine(ObjectBuffer, "<< /Type /Pages");
    AppendLine(ObjectBuffer, "/Kids [");
    PageContents.assign(size_t(P), 0);
    PageBoxes.assign(size_t(P), {0, 0});
    for (std::int64_t i = 1; i <= P; ++i) {
        AppendLine(ObjectBuffer, decimal(2 * P + 3 + i) + " 0 R");
        if (i > std::int64_t(PageSizeTable.size()))
            throw pdf::PdfError("Subscript out of range: no page size for page " + decimal(i));
        PageContents[size_t(i - 1)] = std::int32_t(2 * i);
        PageBoxes[size_t(i - 1)] = {PageSizeTable[size_t(i - 1)].width, PageSizeTable[size_t(i - 1)].height};
    }
    PageTableUpper = PageCount;
    AppendLine(ObjectBuffer, "]");
    AppendLine(ObjectBuffer, "/Count " + decimal(P));
    AppendLine(ObjectBuffer, ">>");
    AppendLine(ObjectBuffer, "endobj");
    writePiece(ObjectBuffer);
}

std::string quorvelPDF::standardFontName() const
{
    std::string family = FontFamily.empty() ? "Helvetica" : FontFamily;
    // The symbol fonts come in one style only.
    if (family == "Symbol" || family == "ZapfDingbats")
        return family;
    const bool times = family == "Times";
    if (BoldFlag && ItalicFlag)
        return family + (times ? "-BoldItalic" : "-BoldOblique");
    if (BoldFlag)
        return family + "-Bold";
    if (ItalicFlag)
        return family + (times ? "-Italic" : "-Oblique");
    return times ? "Times-Roman" : family;
}

void quorvelPDF::WriteResources()
{
    ResourcesObject = nextObject();
    const std::string font = standardFontName();
    const bool symbolic = font == "Symbol" || font == "ZapfDingbats";
    ObjectBuffer.clear();
    AppendLine(ObjectBuffer, decimal(ResourcesObject) + " 0 obj");
    AppendLine(ObjectBuffer, "<< /ProcSet [ /PDF /Text /ImageC]");
    AppendLine(ObjectBuffer, "/XObject << ");
    AppendLine(ObjectBuffer, ">>");
    AppendLine(ObjectBuffer, "/Font << ");
    AppendLine(ObjectBuffer, "/F0 << /Type /Font /Subtype /Type1 /BaseFont /" + font +
                                 (symbolic ? std::string() : std::string(" /Encoding /WinAnsiEncoding")) + " >>");
    // The embedded fonts follow the catalog: after the page objects and the catalog.
    const std::int64_t firstFontObject = std::int64_t(ResourcesObject) + PageCount + 2;
    for (size_t k = 0; unicodeFonts_ && k < unicodeFonts_->fontCount(); ++k)
        AppendLine(ObjectBuffer, "/F" + decimal(std::int64_t(k) + 1) + " " +
                                     decimal(firstFontObject + std::int64_t(k) * pdf::UnicodeFonts::kObjectsPerFont) +
                                     " 0 R");
    AppendLine(ObjectBuffer, ">>");
    AppendLine(ObjectBuffer, ">>");
    AppendLine(ObjectBuffer, "endobj");
    writePiece(ObjectBuffer);
}

void quorvelPDF::WritePage(std::int32_t i)
{
    const std::int32_t n = nextObject();
    const auto &[width, height] = PageBoxes[size_t(i - 1)];
    ObjectBuffer.clear();
    AppendLine(ObjectBuffer, decimal(n) + " 0 obj");
    AppendLine(ObjectBuffer, "<< /Type /Page");
    AppendLine(ObjectBuffer, "/Parent " + decimal(PagesObject) + " 0 R");
    AppendLine(ObjectBuffer, "/MediaBox [ 0 0 " + shortest(width) + " " + shortest(height) + "]");
    AppendLine(ObjectBuffer, "/Resources " + decimal(ResourcesObject) + " 0 R");
    AppendLine(ObjectBuffer, "/Contents " + decimal(PageContents[size_t(i - 1)]) + " 0 R");
    AppendLine(ObjectBuffer, ">>");
    AppendLine(ObjectBuffer, "endobj");
    writePiece(ObjectBuffer);
}

// --- Fonts and text ---

void quorvelPDF::PDFSetFont(std::int32_t str_Fontname, std::int16_t in_FontSize, std::int32_t str_Style)
{
    static const char *const kFamilies[] = {"Helvetica", "Courier", "Times", "Symbol", "ZapfDingbats"};
    ItalicFlag = false;
    BoldFlag = false;
    FontFamily = str_Fontname >= 0 && str_Fontname <= 4 ? kFamilies[str_Fontname] : "";
    const std::string style = decimal(str_Style);
    if (style.find('1') != std::string::npos)
        ItalicFlag = true;
    if (style.find('2') != std::string::npos)
        BoldFlag = true;
    if (style.find('3') != std::string::npos)
        UnderlineFlag = true;
    FontSize = in_FontSize;
}

bool quorvelPDF::appendUnicodeText(std::string &b, const std::string &utf8)
{
    if (!unicodeFonts_)
        unicodeFonts_ = std::make_unique<pdf::UnicodeFonts>();
    const std::vector<pdf::GlyphRun> runs = unicodeFonts_->layout(utf8);
    if (runs.empty())
        return false;
    pageHasUnicode_ = true;
    // Where the glyphs alone do not give the text back (ligatures, letters drawn
    // before the one they follow, right-to-left runs), the line says its text
    // itself, so that it can be searched and copied as it was written.
    const bool spelledOut = std::any_of(runs.begin(), runs.end(), [](const pdf::GlyphRun &run) { return !run.textInOrder; });
    if (spelledOut)
        b += "/Span << /ActualText <FEFF" + pdf::utf16Hex(pdf::decodeUtf8(utf8)) + "> >> BDC\r\n";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string size;
    appendFixed(size, FontSize, 2);
    for (const pdf::GlyphRun &run : runs) {
        b += "/F";
        b += decimal(std::int64_t(run.font) + 1);
        b += ' ';
        b += size;
        b += " Tf\r\n<";
        for (const std::uint16_t g : run.glyphs) {
            b += kHex[g >> 12];
            b += kHex[(g >> 8) & 15];
            b += kHex[(g >> 4) & 15];
            b += kHex[g & 15];
        }
        b += "> Tj\r\n";
    }
    if (spelledOut)
        b += "EMC\r\n";
    return true;
}

double quorvelPDF::PDFTextWidth(const std::string &str_Text)
{
    const double size = FontSize == 0 ? 10 : FontSize;
    if (!pdf::fitsCp1252(str_Text)) {
        if (!unicodeFonts_)
            unicodeFonts_ = std::make_unique<pdf::UnicodeFonts>();
        const std::vector<pdf::GlyphRun> runs = unicodeFonts_->layout(str_Text);
        if (!runs.empty()) {
            int thousandths = 0;
            for (const pdf::GlyphRun &run : runs)
                thousandths += run.width;
            return thousandths * size / 1000.0;
        }
    }
    const std::string font = standardFontName();
    if (!standardWidths_ || standardWidthsOf_ != font) {
        standardWidths_ = std::make_unique<pdf::StandardFontWidths>(font);
        standardWidthsOf_ = font;
    }
    return standardWidths_->width(pdf::decodeUtf8(str_Text)) * size / 1000.0;
}

void quorvelPDF::PDFTextOut(const std::string &str_Text, double &X, double &Y)
{
    if (X == 0)
        X = CurrentX;
    if (Y == 0)
        Y = CurrentY;
    if (FontSize == 0)
        FontSize = 10;
    const double x = (LeftMargin + X) * UnitScale;
    const double y = sizeEntry().height - Y * UnitScale;
    const bool coloured = !TextColour.empty();
    std::string &b = ContentBuffer;
    if (coloured) {
        b += "q ";
        b += TextColour;
        b += " \r\n";
    }
    b += "%DEBUT_TEXT/%\r\nBT\r\n";
    appendFixed(b, x, 2);
    b += ' ';
    appendFixed(b, y, 2);
    b += " Td\r\n";
    // Horizontal scaling stays in the page's graphics state past ET: it is set
    // back for the text after this.
    const bool scaled = HorizontalScaling != 100;
    if (scaled) {
        appendFixed(b, HorizontalScaling, 2);
        b += " Tz\r\n";
    }
    if (pdf::fitsCp1252(str_Text) || !appendUnicodeText(b, str_Text)) {
        b += "/F0 ";
        appendFixed(b, FontSize, 2);
        b += " Tf\r\n(";
        appendPdfString(b, str_Text);
        b += ") Tj\r\n";
    }
    if (scaled)
        b += "100 Tz\r\n";
    b += "ET\r\n";
    if (UnderlineFlag)
        b += kCrLf;
    if (coloured)
        b += "Q\r\n";
    b += "%FIN_TEXT/%\r\n";
    UnderlineFlag = false;
    CurrentX = X;
    CurrentY = Y + FontSize;
}
