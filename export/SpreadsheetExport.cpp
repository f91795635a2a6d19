#include "export/SpreadsheetExport.h"

#include "export/BackgroundExport.h"
#include "export/ExportFile.h"
#include "export/OpenExport.h"
#include "export/WorkbookPictures.h"
#include "export/ZipPackage.h"
#include "preview/DecoderClient.h"
#include "platform/Brand.h"
#include "platform/FileNames.h"
#include "platform/FileUrl.h"
#include "platform/NumericLocale.h"
#include "platform/XmlText.h"
#include "platform/Services.h"
#include "platform/WholeFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QFontMetricsF>
#include <QLabel>
#include <QLocale>
#include <QLineEdit>
#include <QUrl>

#include <xlsxwriter.h>

#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace listexport {
namespace {

// The links a worksheet holds, and the longest link; spreadsheet programs refuse more.
constexpr qsizetype kLongestLink = 2079;
constexpr double kPictureColumnWidth = 45;  // characters
constexpr double kPictureRowHeight = 175;   // points
constexpr qint64 kEmuPerPixel = 9525;       // the drawing's unit: 914,400 an inch, 96 pixels an inch
constexpr double kMaxDigitWidth = 7;        // pixels, of the workbook's default font
constexpr int kDefaultColumnPixels = 64;    // a column of the default width (8.43 characters)

// Pixels of a column `width` characters wide, as spreadsheet applications lay it out.
int columnPixels(double width)
{
    return int(std::lround(width * kMaxDigitWidth + 5));
}

double pointsToPixels(double points)
{
    return points * 96.0 / 72.0;
}

struct WorkbookCloser {
    void operator()(lxw_workbook *w) const { workbook_close(w); }
};

QString upperFirstLetters(const QString &text)
{
    QString out = text.toLower();
    bool start = true;
    for (QChar &c : out) {
        if (start && c.isLetter())
            c = c.toUpper();
        start = !c.isLetterOrNumber();
    }
    return out;
}

// Places the picture of `file` over cell B of `row` (kept in `pictures`), floating free of the cells,
// not printed (the last is set in the package). The spreadsheet application the
// export was made for locks a picture's shape: the width and then the height set
// on it leave it as high as the row less 14 points, and as wide as that makes it.
bool InsertPictureInRange(lxw_worksheet *sheet, const QString &PictureFileName, lxw_row_t row,
                          WorkbookPictures &pictures)
{
    if (!platform::isRegularFile(PictureFileName))
        return true;
    const double h = pointsToPixels(kPictureRowHeight - 14);
    // Wide pictures may pass the cell's right edge, as they do there.
    const CellPicture picture = cellPicture(PictureFileName, QSize(columnPixels(kPictureColumnWidth) * 4, int(h)));
    if (picture.encoded.isEmpty())
        return true;  // no picture, nothing placed
    if (!pictures.add(picture.encoded))
        return false;
    // The placeholder, one pixel, scaled to the picture's size.
    const QSizeF shown = shownPictureSize(picture.natural, h);
    lxw_image_options options{};
    options.x_scale = shown.width();
    options.y_scale = shown.height();
    options.object_position = LXW_OBJECT_DONT_MOVE_DONT_SIZE;
    const QByteArray description = platform::xmlSafe(QFileInfo(PictureFileName).fileName()).toUtf8();
    options.description = const_cast<char *>(description.constData());
    const QByteArray &placeholder = WorkbookPictures::placeholder();
    return worksheet_insert_image_buffer_opt(sheet, row, 1, reinterpret_cast<const unsigned char *>(placeholder.constData()),
                                             size_t(placeholder.size()), &options) == LXW_NO_ERROR;
}

const QByteArray kRelationshipsHead = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                                     "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";

// The sheet's links, which stand after its rows, before its print settings.
QByteArray hyperlinks(const std::vector<int> &linked)
{
    if (linked.empty())
        return {};
    QByteArray links = "<hyperlinks>";
    for (size_t i = 0; i < linked.size(); ++i)
        links += "<hyperlink ref=\"A" + QByteArray::number(linked[i] + 1) + "\" r:id=\"rIdL" +
                 QByteArray::number(qulonglong(i) + 1) + "\"/>";
    return links + "</hyperlinks>";
}

// The sheet's relationships: those the library wrote (its drawing), then one per link.
ZipPackage::Pieces sheetRelationships(const QByteArray &written, const search::EntryList &entries,
                                      const std::vector<int> &linked)
{
    const qsizetype end = written.lastIndexOf("</Relationships>");
    QByteArray head = end >= 0 ? written.left(end) : kRelationshipsHead;
    return [head = std::move(head), &entries, &linked, next = qsizetype(-1)]() mutable -> std::optional<QByteArray> {
        if (next == -1) {
            next = 0;
            return head;
        }
        if (next > qsizetype(linked.size()))
            return QByteArray();
        if (next == qsizetype(linked.size())) {
            ++next;
            return QByteArray("</Relationships>");
        }
        QByteArray batch;
        for (const qsizetype stop = std::min(qsizetype(linked.size()), next + 512); next < stop; ++next)
            batch += "<Relationship Id=\"rIdL" + QByteArray::number(next + 1) +
                     "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/hyperlink\" "
                     "Target=\"" +
                     platform::fileUrl(entries[linked[size_t(next)]]).toHtmlEscaped().toUtf8() +
                     "\" TargetMode=\"External\"/>";
        return batch;
    };
}

// The sheet's print settings, after its rows: print quality, black and white,
// the first page number when it is 1, header and footer margins of nothing.
void finishPrintSettings(QByteArray &tail)
{
    QByteArray setup = "<pageSetup blackAndWhite=\"1\" horizontalDpi=\"300\" verticalDpi=\"300\" ";
    if (!tail.contains(" firstPageNumber="))
        setup += "firstPageNumber=\"1\" ";
    if (!tail.contains(" useFirstPageNumber="))
        setup += "useFirstPageNumber=\"1\" ";
    tail.replace("<pageSetup ", setup);
    const qsizetype margins = tail.indexOf("<pageMargins ");
    if (margins >= 0) {
        const qsizetype end = tail.indexOf("/>", margins);
        tail.replace(margins, end + 2 - margins,
                     "<pageMargins left=\"0.14\" right=\"0.14\" top=\"0.14\" bottom=\"0.14\" header=\"0\" footer=\"0\"/>");
    }
}

// The sheet as written, its rows passed on piece by piece as they are read, and
// what follows them given its print settings: the rows of a long list are never
// held in memory.
ZipPackage::Pieces sheetWithPrintSettings(ZipPackage::Pieces rows, QByteArray links)
{
    return [rows = std::move(rows), links = std::move(links), pending = QByteArray(), inTail = false,
            ended = false]() mutable -> std::optional<QByteArray> {
        static const QByteArray kEnds[] = {"</sheetData>", "<sheetData/>"};
        constexpr qsizetype kLongestEnd = 12;
        while (!ended) {
            std::optional<QByteArray> next = rows();
            if (!next)
                return std::nullopt;
            if (next->isEmpty()) {
                ended = true;
                finishPrintSettings(pending);
                // The links go after the rows and what may follow them, before the print settings.
                qsizetype at = -1;
                for (const char *before : {"<printOptions", "<pageMargins", "<pageSetup", "<headerFooter", "<drawing",
                                           "</worksheet>"})
                    if ((at = pending.indexOf(before)) >= 0)
                        break;
                if (at >= 0)
                    pending.insert(at, links);
                return std::exchange(pending, QByteArray());
            }
            pending += *next;
            if (inTail)
                continue;
            for (const QByteArray &end : kEnds) {
                if (const qsizetype at = pending.indexOf(end); at >= 0) {
                    inTail = true;
                    QByteArray rowsPart = pending.left(at);
                    pending.remove(0, at);
                    if (!rowsPart.isEmpty())
                        return rowsPart;
                }
            }
            if (inTail)
                continue;
            // Everything but what may be the start of the rows' end goes on (an
            // empty piece would end the part).
            const qsizetype keep = std::min(pending.size(), kLongestEnd - 1);
            QByteArray rowsPart = pending.left(pending.size() - keep);
            pending.remove(0, pending.size() - keep);
            if (!rowsPart.isEmpty())
                return rowsPart;
        }
        return QByteArray();
    };
}

// The cell marker where a picture `width` EMU wide that starts at the left of
// `column` ends: in that column when it fits there, else in one of the columns
// of the default width after it.
std::pair<qint64, qint64> columnWhereItEnds(qint64 column, qint64 width)
{
    const qint64 own = qint64(columnPixels(kPictureColumnWidth)) * kEmuPerPixel;
    if (width <= own)
        return {column, width};
    const qint64 other = qint64(kDefaultColumnPixels) * kEmuPerPixel;
    const qint64 past = width - own;
    return {column + 1 + past / other, past % other};
}

// Each picture ends in the row it begins in, over its own cell and as high and
// wide as it is: the library, writing rows as they come, no longer knows their
// heights when it writes the drawing, and would end each picture rows further
// down, where a reader that places pictures by their cells stretches it over the
// rows below.
QByteArray anchoredInTheirRows(const QByteArray &drawing)
{
    static const QRegularExpression anchor(
        QStringLiteral("<xdr:from><xdr:col>(\\d+)</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>(\\d+)</xdr:row>"
                       "<xdr:rowOff>0</xdr:rowOff></xdr:from><xdr:to>.*?</xdr:to>(.*?)<a:ext cx=\"(\\d+)\" cy=\"(\\d+)\"/>"),
        QRegularExpression::DotMatchesEverythingOption);
    QString text = QString::fromUtf8(drawing);
    QString anchored;
    qsizetype done = 0;
    for (QRegularExpressionMatchIterator it = anchor.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString column = m.captured(1);
        const QString row = m.captured(2);
        const auto [endColumn, endOffset] = columnWhereItEnds(column.toLongLong(), m.captured(4).toLongLong());
        anchored += QStringView(text).mid(done, m.capturedStart() - done);
        anchored += QStringLiteral("<xdr:from><xdr:col>") + column + QStringLiteral("</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>") +
                    row + QStringLiteral("</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:from><xdr:to><xdr:col>") +
                    QString::number(endColumn) + QStringLiteral("</xdr:col><xdr:colOff>") + QString::number(endOffset) +
                    QStringLiteral("</xdr:colOff><xdr:row>") + row + QStringLiteral("</xdr:row><xdr:rowOff>") +
                    m.captured(5) + QStringLiteral("</xdr:rowOff></xdr:to>") + m.captured(3) +
                    QStringLiteral("<a:ext cx=\"") + m.captured(4) + QStringLiteral("\" cy=\"") + m.captured(5) +
                    QStringLiteral("\"/>");
        done = m.capturedEnd();
    }
    anchored += QStringView(text).mid(done);
    return anchored.toUtf8();
}

// What the library cannot say: pictures not printed, and the print settings;
// and what it would hold in memory whole: the links.
// The pieces of `part`, counting the rows they hold into `rows` as they pass.
ZipPackage::Pieces countingRows(ZipPackage::Pieces part, qsizetype &rows)
{
    return [part = std::move(part), &rows, carry = QByteArray()]() mutable -> std::optional<QByteArray> {
        std::optional<QByteArray> piece = part();
        if (piece && !piece->isEmpty()) {
            // A row's start may straddle two pieces: the end of the last one is looked at again.
            const QByteArray seen = carry + *piece;
            rows += seen.count("<row ");
            carry = seen.right(4);
        }
        return piece;
    };
}

// The reason a file on the disk holding `folder` could not be written whole, when
// the library that failed did not keep the system's.
QString reasonForIncomplete(const QString &folder)
{
    struct statvfs disk {};
    constexpr std::uint64_t kNearlyFull = std::uint64_t(1024) * 1024;
    const bool full = ::statvfs(QFile::encodeName(folder).constData(), &disk) == 0 &&
                      std::uint64_t(disk.f_bavail) * disk.f_frsize < kNearlyFull;
    return QString::fromLocal8Bit(std::strerror(full ? ENOSPC : EIO));
}

// Writes what the library leaves out into the workbook at `path`, and checks that
// it holds `rows` rows: the library writes its rows through temporary files
// whose write errors it never reports.
bool finishPackage(const QString &path, const search::EntryList &entries, const std::vector<int> &linked,
                   qsizetype rows, const WorkbookPictures &pictures, QString &error)
{
    ZipPackage package(path, ZipPackage::Mode::Change);
    const ZipPackage original(path, ZipPackage::Mode::Change);  // read as it was while the new one is written
    if (!package.isOpen() || !original.isOpen()) {
        error = package.isOpen() ? original.errorString() : package.errorString();
        return false;
    }
    const bool picturesIn = pictures.finish(package, original, [](const QByteArray &anchor) {
        QByteArray changed = anchor;
        changed.replace("<xdr:clientData/>", "<xdr:clientData fPrintsWithSheet=\"0\"/>");
        return anchoredInTheirRows(changed);
    });
    const QString sheet = QStringLiteral("xl/worksheets/sheet1.xml");
    const QString relationships = QStringLiteral("xl/worksheets/_rels/sheet1.xml.rels");
    qsizetype rowsFound = 0;
    const bool written =
        picturesIn && package.write(sheet, sheetWithPrintSettings(countingRows(original.pieces(sheet), rowsFound), hyperlinks(linked))) &&
        (linked.empty() || package.write(relationships, sheetRelationships(package.read(relationships), entries, linked)));
    if (!written || !package.commit()) {
        error = package.errorString();
        return false;
    }
    if (rowsFound != rows) {
        error = reasonForIncomplete(QFileInfo(path).absolutePath());
        return false;
    }
    return true;
}

double fittedWidth(const search::EntryList &texts)
{
    QFont font(QStringLiteral("Calibri"));
    font.setPixelSize(15);  // 11 points at 96 dpi
    const QFontMetricsF metrics(font);
    double widest = 0;
    for (const QString &t : texts)
        widest = std::max(widest, metrics.horizontalAdvance(t));
    return std::clamp(std::ceil((widest + 5) / kMaxDigitWidth * 256) / 256, 8.43, 255.0);
}

}  // namespace

QString GetFilenameFromPath(platform::MessageBoxes &messages, const QString &sFilePath, bool bWithExtension,
                            int enmCase)
{
    if (enmCase != UpperCase && enmCase != LowerCase && enmCase != ProperCase) {
        messages.show(QCoreApplication::translate("Export", "Error on Line "),
                      QCoreApplication::translate("Export", "Quorvel File Search: Function>Getfilename.."),
                     platform::MessageIcon::Critical);
        return {};
    }
    return fileNamePart(sFilePath, bWithExtension, Case(enmCase));
}

QString fileNamePart(const QString &sFilePath, bool bWithExtension, Case enmCase)
{
    const QString name = sFilePath.mid(sFilePath.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString part = (bWithExtension || dot < 0) ? name : name.left(dot);
    switch (enmCase) {
    case UpperCase:
        return part.toUpper();
    case LowerCase:
        return part.toLower();
    default:
        return upperFirstLetters(part);
    }
}

CellPicture cellPicture(const QString &path, QSize shownPixels)
{
    // Decoded and encoded as a JPEG in the decoder helper: the export's thread
    // never reads a picture's content.
    preview::decoding::Request request;
    request.route = preview::decoding::Route::CellPicture;
    request.boundWidth = shownPixels.width() * 2;
    request.boundHeight = shownPixels.height() * 2;
    const std::optional<preview::HelperPicture> decoded = preview::decoderOfThisThread().decode(path, request);
    if (!decoded || decoded->encoded.isEmpty() || decoded->size.isEmpty() || decoded->natural.isEmpty())
        return {};
    return {decoded->encoded, decoded->size, decoded->natural};
}

QSizeF shownPictureSize(QSize natural, double height)
{
    const double scale = std::min(1.0, height / natural.height());
    return QSizeF(natural) * scale;
}

namespace {

struct RowFormats {
    lxw_format *centred;
    lxw_format *link;
    lxw_format *centredLink;
};

RowFormats addFormats(lxw_workbook *book)
{
    RowFormats f{workbook_add_format(book), workbook_add_format(book), workbook_add_format(book)};
    format_set_align(f.centred, LXW_ALIGN_CENTER);
    format_set_align(f.centred, LXW_ALIGN_VERTICAL_CENTER);
    format_set_underline(f.link, LXW_UNDERLINE_SINGLE);
    format_set_font_color(f.link, LXW_COLOR_BLUE);
    format_set_underline(f.centredLink, LXW_UNDERLINE_SINGLE);
    format_set_font_color(f.centredLink, LXW_COLOR_BLUE);
    format_set_align(f.centredLink, LXW_ALIGN_CENTER);
    return f;
}

// One row an entry: the path as a link in A, the lower-case name in B, and for a
// JPG the picture over B in a tall row.
// False when told to stop half way. The rows whose path is a link are added to
// `linked`: the links themselves are written into the package afterwards.
// The first error of the library's calls, the rest being pointless after it.
struct FirstError {
    lxw_error error = LXW_NO_ERROR;
    void operator()(lxw_error e)
    {
        if (error == LXW_NO_ERROR)
            error = e;
    }
};

bool writeEntryRows(lxw_worksheet *sheet, const RowFormats &formats, ExportProgress &progress,
                    const search::EntryList &entries, int mostLinks, std::vector<int> &linked, FirstError &check,
                    WorkbookPictures &pictures)
{
    const QString saying = QCoreApplication::translate("Export", "Please wait exporting List to Excel : ");
    const QString sayingPicture =
        QCoreApplication::translate("Export", "Please wait exporting List to Excel with Image filename ");
    for (int i = 0; i < int(entries.size()) && check.error == LXW_NO_ERROR; ++i) {
        if (progress.stopped())
            return false;
        const QString &E = entries[i];
        const auto row = lxw_row_t(i);
        progress.say(saying + E);
        const bool isJpg = E.right(3).toUpper() == QLatin1String("JPG");
        const QByteArray text = platform::xmlSafe(E).toUtf8();
        const QByteArray name = platform::xmlSafe(fileNamePart(E, false, LowerCase)).toUtf8();
        check(worksheet_write_string(sheet, row, 1, name.constData(), formats.centred));
        // A worksheet holds so many links, each so long; other paths are plain text.
        if (int(linked.size()) < mostLinks && platform::fileUrl(E).size() <= kLongestLink) {
            check(worksheet_write_string(sheet, row, 0, text.constData(), isJpg ? formats.centredLink : formats.link));
            linked.push_back(i);
        } else {
            check(worksheet_write_string(sheet, row, 0, text.constData(), isJpg ? formats.centred : nullptr));
        }
        if (isJpg) {
            check(worksheet_set_column(sheet, 1, 1, kPictureColumnWidth, nullptr));
            progress.say(sayingPicture + E);
            check(worksheet_set_row(sheet, row, kPictureRowHeight, nullptr));
            // A picture that cannot be read is left out; one that cannot be kept is an error.
            if (!InsertPictureInRange(sheet, E, row, pictures))
                check(LXW_ERROR_CREATING_TMPFILE);
        }
    }
    return true;
}

// The two closing rows under the entries.
void writeClosingRows(lxw_worksheet *sheet, lxw_row_t first, const QString &fileSpec, FirstError &check)
{
    const QByteArray closing =
        (QStringLiteral("File List exported by quorvel software:  ") + brand::kContactEmail).toUtf8();
    check(worksheet_write_string(sheet, first, 0, closing.constData(), nullptr));
    const QByteArray spec = platform::xmlSafe(QStringLiteral("File Spec : ") + fileSpec).toUtf8();
    check(worksheet_write_string(sheet, first + 1, 0, spec.constData(), nullptr));
}

// Header, footer, margins, headings, gridlines, A4 portrait, from page 1.
void setPrintLayout(lxw_worksheet *sheet, FirstError &check)
{
    constexpr double kMarginInches = 0.14;
    constexpr std::uint8_t kA4 = 9;  // the paper code of A4
    check(worksheet_set_header(sheet, "&CPage &P of &N"));
    const QByteArray footer = (QStringLiteral("&CFile List by Quorvel Software ") + brand::kContactEmail).toUtf8();
    check(worksheet_set_footer(sheet, footer.constData()));
    worksheet_set_margins(sheet, kMarginInches, kMarginInches, kMarginInches, kMarginInches);
    worksheet_print_row_col_headers(sheet);
    worksheet_gridlines(sheet, LXW_SHOW_ALL_GRIDLINES);
    worksheet_set_portrait(sheet);
    worksheet_set_paper(sheet, kA4);
    worksheet_set_start_page(sheet, 1);
}

// Why a workbook could not be written: the system's reason when the library met
// one, its own description otherwise.
QString reasonFor(lxw_error error, int systemError)
{
    if (systemError != 0)
        return QString::fromLocal8Bit(std::strerror(systemError));
    return QString::fromUtf8(lxw_strerror(error));
}

// Writes the workbook at `path`; the failure's description (which may be empty),
// nothing on success.
std::optional<QString> writeWorkbook(const QString &path, const SpreadsheetInput &input, ExportProgress &progress,
                                     std::vector<int> &linked, WorkbookPictures &pictures)
{
    const platform::CNumericLocale numbersWithAPoint;
    // Each row goes to the disk once the next one begins, and its texts stand in
    // the row itself: a long list costs the memory of a row, not of the sheet.
    // The library's temporary files go beside the workbook, on the disk the person
    // chose, never into a /tmp that may be small or full.
    QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = folder.data();
    errno = 0;
    std::unique_ptr<lxw_workbook, WorkbookCloser> book(
        workbook_new_opt(QFile::encodeName(path).constData(), &options));
    lxw_worksheet *sheet = book ? workbook_add_worksheet(book.get(), nullptr) : nullptr;
    if (!sheet)
        return reasonFor(LXW_ERROR_MEMORY_MALLOC_FAILED, errno);
    const QByteArray title = QStringLiteral("File List by Quorvel Software").toUtf8();
    lxw_doc_properties properties{};
    properties.title = const_cast<char *>(title.constData());
    FirstError check;
    check(workbook_set_properties(book.get(), &properties));

    // What a worksheet cannot hold is left out; the closing rows always stay.
    const search::EntryList entries = input.entries.first(entriesThatFit(input.rows));
    if (!writeEntryRows(sheet, addFormats(book.get()), progress, entries, input.links, linked, check, pictures)) {
        lxw_workbook_free(book.release());  // nothing of it is written
        return QString();
    }
    // Nothing selected means no row to activate; the sheet then opens at its top.
    if (input.selected >= 0 && input.selected < entries.size())
        worksheet_set_selection(sheet, lxw_row_t(input.selected), 0, lxw_row_t(input.selected), 0);
    check(worksheet_set_column(sheet, 0, 0, fittedWidth(entries), nullptr));
    writeClosingRows(sheet, lxw_row_t(entries.size()), input.fileSpec, check);
    setPrintLayout(sheet, check);
    if (check.error != LXW_NO_ERROR) {
        const int systemError = errno;
        lxw_workbook_free(book.release());
        return reasonFor(check.error, systemError);
    }

    errno = 0;
    const lxw_error result = workbook_close(book.release());
    if (result != LXW_NO_ERROR)
        return reasonFor(result, errno);
    return std::nullopt;
}

}  // namespace

void exportSpreadsheet(const ExportContext &context, SpreadsheetInput input)
{
    if (!context.prepareFolder())
        return;
    const QString path = context.newPathOf(QStringLiteral("QuorvelFileSearch"), QStringLiteral(".xlsx"));
    context.background.run([&context, planned = path, input = std::move(input)](ExportProgress &progress) {
        progress.say(QCoreApplication::translate("Export", "Please wait exporting List to Excel"));
        // Written beside its name and given it only when complete.
        platform::FileBeside file(QFile::encodeName(planned).toStdString());
        std::optional<QString> failure;
        std::vector<int> linked;
        if (!file.create() || !file.close()) {
            failure = QString::fromLocal8Bit(std::strerror(file.errorNumber()));
        } else {
            const QString written = QFile::decodeName(QByteArray::fromStdString(file.path()));
            // Gone, with every picture file in it, when the export ends however it ends.
            WorkbookPictures pictures(QFileInfo(written).absolutePath());
            failure = pictures.isValid() ? writeWorkbook(written, input, progress, linked, pictures)
                                         : QString::fromLocal8Bit(std::strerror(errno));
            const qsizetype rows = std::min<qsizetype>(input.entries.size(), entriesThatFit(input.rows)) + 2;
            if (QString packageFailure; !failure && !progress.stopped() &&
                                        !finishPackage(written, input.entries, linked, rows, pictures, packageFailure))
                failure = packageFailure;
            if (!failure && !progress.stopped() &&
                !claimNumberedName(file, context.folder, QStringLiteral("QuorvelFileSearch"), QStringLiteral(".xlsx")))
                failure = QString::fromLocal8Bit(std::strerror(file.errorNumber()));
        }
        // Another window may have taken the name first: the workbook is where it landed.
        const QString path = QFile::decodeName(QByteArray::fromStdString(file.target()));
        if (progress.stopped())
            return std::function<void()>();
        const qsizetype total = input.entries.size();
        const int fit = entriesThatFit(input.rows);
        const qsizetype written = std::min<qsizetype>(total, fit);
        // Past the worksheet's links, entries are plain text: the person is told how many.
        const qsizetype unlinked = int(linked.size()) >= input.links ? written - qsizetype(linked.size()) : 0;
        const int mostLinks = input.links;
        const QString application = failure ? QString() : officeApplicationFor(context.shell, path);
        return std::function<void()>([&context, path, failure, total, fit, unlinked, mostLinks, application] {
            if (failure) {
                context.messages.cannotWrite(path, *failure);
                return;
            }
            const QLocale locale;
            if (total > fit) {
                context.messages.inform(
                    QCoreApplication::translate(
                        "Export", "A worksheet holds %1 entries; the last %2 of the %3 in the list were left out of %4.")
                        .arg(locale.toString(fit), locale.toString(total - fit), locale.toString(total), path));
            }
            if (unlinked > 0) {
                context.messages.inform(
                    QCoreApplication::translate(
                        "Export", "A worksheet holds %1 links; %2 entries in %3 are plain text, without a link.")
                        .arg(locale.toString(mostLinks), locale.toString(unlinked), path));
            }
            openExported(context, path, ExportKind::Spreadsheet, !application.isEmpty());
        });
    });
}

}  // namespace listexport
