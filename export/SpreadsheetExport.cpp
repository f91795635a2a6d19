#include "export/SpreadsheetExport.h"

#include "export/BackgroundExport.h"
#include "export/OfficeApplication.h"
#include "export/ZipPackage.h"
#include "platform/Brand.h"
#include "platform/FileNames.h"
#include "platform/FileUrl.h"
#include "platform/NumericLocale.h"
#include "platform/XmlText.h"
#include "platform/Services.h"
#include "platform/WholeFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QLineEdit>
#include <QUrl>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace listexport {
namespace {

const QString kProgress = QStringLiteral("Please wait exporting List to Excel");
// The links a worksheet holds; spreadsheet programs refuse a sheet with more.
constexpr int kWorksheetLinks = 65530;
constexpr double kPictureColumnWidth = 45;  // characters
constexpr double kPictureRowHeight = 175;   // points
constexpr double kMaxDigitWidth = 7;        // pixels, of the workbook's default font

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

// Places the picture of `file` over cell B of `row`: as wide as the cell, 14 points
// less high, floating free of the cells, not printed (the last is set in the package).
void InsertPictureInRange(lxw_worksheet *sheet, const QString &PictureFileName, lxw_row_t row)
{
    if (!platform::isRegularFile(PictureFileName))
        return;
    const double w = columnPixels(kPictureColumnWidth);
    const double h = pointsToPixels(kPictureRowHeight - 14);
    QSize size;
    const QByteArray bytes = cellPicture(PictureFileName, QSize(int(w), int(h)), size);
    if (bytes.isEmpty())
        return;
    lxw_image_options options{};
    options.x_scale = w / size.width();
    options.y_scale = h / size.height();
    options.object_position = LXW_OBJECT_DONT_MOVE_DONT_SIZE;
    const QByteArray description = platform::xmlSafe(QFileInfo(PictureFileName).fileName()).toUtf8();
    options.description = const_cast<char *>(description.constData());
    worksheet_insert_image_buffer_opt(sheet, row, 1, reinterpret_cast<const unsigned char *>(bytes.constData()),
                                      size_t(bytes.size()), &options);
}

// What the library cannot say: pictures not printed, print quality, black and white,
// the first page number when it is 1, header and footer margins of nothing.
bool finishPackage(const QString &path, QString &error)
{
    ZipPackage package(path, ZipPackage::Mode::Change);
    if (!package.isOpen()) {
        error = package.errorString();
        return false;
    }
    for (int i = 1;; ++i) {
        const QString name = QStringLiteral("xl/drawings/drawing%1.xml").arg(i);
        QByteArray drawing = package.read(name);
        if (drawing.isEmpty())
            break;
        drawing.replace("<xdr:clientData/>", "<xdr:clientData fPrintsWithSheet=\"0\"/>");
        package.write(name, drawing);
    }
    QByteArray sheet = package.read(QStringLiteral("xl/worksheets/sheet1.xml"));
    QByteArray setup = "<pageSetup blackAndWhite=\"1\" horizontalDpi=\"300\" verticalDpi=\"300\" ";
    if (!sheet.contains(" firstPageNumber="))
        setup += "firstPageNumber=\"1\" ";
    if (!sheet.contains(" useFirstPageNumber="))
        setup += "useFirstPageNumber=\"1\" ";
    sheet.replace("<pageSetup ", setup);
    const qsizetype margins = sheet.indexOf("<pageMargins ");
    if (margins >= 0) {
        const qsizetype end = sheet.indexOf("/>", margins);
        sheet.replace(margins, end + 2 - margins,
                      "<pageMargins left=\"0.14\" right=\"0.14\" top=\"0.14\" bottom=\"0.14\" header=\"0\" footer=\"0\"/>");
    }
    package.write(QStringLiteral("xl/worksheets/sheet1.xml"), sheet);
    if (!package.commit()) {
        error = package.errorString();
        return false;
    }
    return true;
}

double fittedWidth(const QStringList &texts)
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
        messages.show(QStringLiteral("Error on Line "), QStringLiteral("Quorvel File Search: Function>Getfilename.."),
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

QByteArray cellPicture(const QString &path, QSize cellPixels, QSize &pictureSize)
{
    QFile file;
    if (!platform::openRegularFile(path, file))
        return {};
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QSize natural = reader.size();
    const QSize limit = cellPixels * 2;
    if (natural.isValid() && (natural.width() > limit.width() || natural.height() > limit.height()))
        reader.setScaledSize(natural.scaled(limit, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    QImage image = reader.read();
    if (image.isNull())
        return {};
    image = image.convertToFormat(QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);  // 96 dpi, so the picture's size in the sheet is its size in pixels
    image.setDotsPerMeterY(3780);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPG", 85))
        return {};
    pictureSize = image.size();
    return bytes;
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
// False when told to stop half way.
bool writeEntryRows(lxw_worksheet *sheet, const RowFormats &formats, ExportProgress &progress,
                    const QStringList &entries)
{
    int links = 0;
    for (int i = 0; i < int(entries.size()); ++i) {
        if (progress.stopped())
            return false;
        const QString &E = entries[i];
        const auto row = lxw_row_t(i);
        progress.say(kProgress + QStringLiteral(" : ") + E);
        const bool isJpg = E.right(3).toUpper() == QLatin1String("JPG");
        const QByteArray text = platform::xmlSafe(E).toUtf8();
        const QByteArray name = platform::xmlSafe(fileNamePart(E, false, LowerCase)).toUtf8();
        worksheet_write_string(sheet, row, 1, name.constData(), formats.centred);
        const QByteArray url = platform::fileUrl(E).toUtf8();
        // A worksheet holds so many links; the paths past them are plain text.
        if (links >= kWorksheetLinks ||
            worksheet_write_url_opt(sheet, row, 0, url.constData(), isJpg ? formats.centredLink : formats.link,
                                    text.constData(), nullptr) != LXW_NO_ERROR)
            worksheet_write_string(sheet, row, 0, text.constData(), isJpg ? formats.centred : nullptr);
        else
            ++links;
        if (isJpg) {
            worksheet_set_column(sheet, 1, 1, kPictureColumnWidth, nullptr);
            progress.say(QStringLiteral("Please wait exporting List to Excel with Image filename ") + E);
            worksheet_set_row(sheet, row, kPictureRowHeight, nullptr);
            InsertPictureInRange(sheet, E, row);
        }
    }
    return true;
}

// The two closing rows under the entries.
void writeClosingRows(lxw_worksheet *sheet, lxw_row_t first, const QString &fileSpec)
{
    const QByteArray closing =
        (QStringLiteral("File List exported by quorvel software:  ") + brand::kContactEmail).toUtf8();
    worksheet_write_string(sheet, first, 0, closing.constData(), nullptr);
    const QByteArray spec = platform::xmlSafe(QStringLiteral("File Spec : ") + fileSpec).toUtf8();
    worksheet_write_string(sheet, first + 1, 0, spec.constData(), nullptr);
}

// Header, footer, margins, headings, gridlines, A4 portrait, from page 1.
void setPrintLayout(lxw_worksheet *sheet)
{
    constexpr double kMarginInches = 0.14;
    constexpr std::uint8_t kA4 = 9;  // the paper code of A4
    worksheet_set_header(sheet, "&CPage &P of &N");
    const QByteArray footer = (QStringLiteral("&CFile List by Quorvel Software ") + brand::kContactEmail).toUtf8();
    worksheet_set_footer(sheet, footer.constData());
    worksheet_set_margins(sheet, kMarginInches, kMarginInches, kMarginInches, kMarginInches);
    worksheet_print_row_col_headers(sheet);
    worksheet_gridlines(sheet, LXW_SHOW_ALL_GRIDLINES);
    worksheet_set_portrait(sheet);
    worksheet_set_paper(sheet, kA4);
    worksheet_set_start_page(sheet, 1);
}

// Writes the workbook at `path`; the failure's description (which may be empty),
// nothing on success.
std::optional<QString> writeWorkbook(const QString &path, const SpreadsheetInput &input, ExportProgress &progress)
{
    const platform::CNumericLocale numbersWithAPoint;
    std::unique_ptr<lxw_workbook, WorkbookCloser> book(workbook_new(QFile::encodeName(path).constData()));
    lxw_worksheet *sheet = book ? workbook_add_worksheet(book.get(), nullptr) : nullptr;
    if (!sheet)
        return QString();
    const QByteArray title = QStringLiteral("File List by Quorvel Software").toUtf8();
    lxw_doc_properties properties{};
    properties.title = const_cast<char *>(title.constData());
    workbook_set_properties(book.get(), &properties);

    // What a worksheet cannot hold is left out; the closing rows always stay.
    const QStringList entries = input.entries.mid(0, entriesThatFit(input.rows));
    if (!writeEntryRows(sheet, addFormats(book.get()), progress, entries)) {
        lxw_workbook_free(book.release());  // nothing of it is written
        return QString();
    }
    // Nothing selected means no row to activate; the sheet then opens at its top.
    if (input.selected >= 0 && input.selected < entries.size())
        worksheet_set_selection(sheet, lxw_row_t(input.selected), 0, lxw_row_t(input.selected), 0);
    worksheet_set_column(sheet, 0, 0, fittedWidth(entries), nullptr);
    writeClosingRows(sheet, lxw_row_t(entries.size()), input.fileSpec);
    setPrintLayout(sheet);

    const lxw_error result = workbook_close(book.release());
    if (result != LXW_NO_ERROR)
        return QString::fromUtf8(lxw_strerror(result));
    return std::nullopt;
}

}  // namespace

void exportSpreadsheet(const ExportContext &context, SpreadsheetInput input)
{
    if (!context.prepareFolder())
        return;
    const QString path = context.newPathOf(QStringLiteral("QuorvelFileSearch"), QStringLiteral(".xlsx"));
    context.background.run([&context, path, input = std::move(input)](ExportProgress &progress) {
        progress.say(kProgress);
        // Written beside its name and given it only when complete.
        platform::FileBeside file(QFile::encodeName(path).toStdString());
        std::optional<QString> failure;
        if (!file.create() || !file.close()) {
            failure = QString::fromLocal8Bit(std::strerror(file.errorNumber()));
        } else {
            const QString written = QFile::decodeName(QByteArray::fromStdString(file.path()));
            failure = writeWorkbook(written, input, progress);
            if (QString packageFailure; !failure && !progress.stopped() && !finishPackage(written, packageFailure))
                failure = packageFailure;
            if (!failure && !progress.stopped() && !file.replaceTarget())
                failure = QString::fromLocal8Bit(std::strerror(file.errorNumber()));
        }
        if (progress.stopped())
            return std::function<void()>();
        const qsizetype total = input.entries.size();
        const int fit = entriesThatFit(input.rows);
        const QString application = failure ? QString() : officeApplicationFor(context.shell, path);
        return std::function<void()>([&context, path, failure, total, fit, application] {
            if (failure) {
                context.messages.cannotWrite(path, *failure);
                return;
            }
            if (total > fit) {
                const QLocale locale;
                context.messages.inform(QStringLiteral("A worksheet holds ") + locale.toString(fit) +
                                        QStringLiteral(" entries; the last ") + locale.toString(total - fit) +
                                        QStringLiteral(" of the ") + locale.toString(total) +
                                        QStringLiteral(" in the list were left out of ") + path + QLatin1Char('.'));
            }
            openWithOfficeApplication(context, path, QStringLiteral("spreadsheet"), application);
        });
    });
}

}  // namespace listexport
