#include "export/PdfExport.h"

#include "pdf/quorvelPDF.h"
#include "platform/FileNames.h"
#include "platform/Services.h"
#include "platform/StatusLine.h"

#include <QFile>
#include <QLabel>

namespace listexport {
namespace {

// A page holds 27 entries of one centimetre and its footer.
constexpr int kEntriesPerPage = 27;
const QString kProgress = QStringLiteral("Please wait exporting List to PDF : ");
const std::string kFooter = "Exported to PDF Format by Quorvel Software ................Page No. ";

std::string utf8(const QString &text)
{
    return text.toStdString();
}

class WindowMessages final : public pdf::PdfMessages {
public:
    explicit WindowMessages(platform::MessageBoxes &messages) : messages_(messages) {}
    void show(const std::string &text, const std::string &title, bool critical) override
    {
        const QString shownTitle = title.empty() ? brand::kAppTitle : QString::fromStdString(title);
        messages_.show(QString::fromStdString(text), shownTitle,
                       critical ? platform::MessageIcon::Critical : platform::MessageIcon::None);
    }

private:
    platform::MessageBoxes &messages_;
};

class DesktopViewer final : public pdf::PdfViewer {
public:
    explicit DesktopViewer(platform::Shell &shell) : shell_(shell) {}
    std::string findViewer() override
    {
        return utf8(shell_.defaultApplicationFor(QStringLiteral("application/pdf")));
    }
    // The viewer found is the desktop's default for PDF files, so opening the file opens it there.
    void openWith(const std::string &, const std::string &file) override { openWithDefault(file); }
    void openWithDefault(const std::string &file) override
    {
        shell_.openFile(QFile::decodeName(QByteArray::fromStdString(file)));
    }

private:
    platform::Shell &shell_;
};

}  // namespace

namespace {

// Footers stand 7 cm from the left, under the last entry of a full page or at
// 29 cm on the last, shorter page.
constexpr double kEntryLeft = 1.0;
constexpr double kFooterLeft = 7.0;
constexpr double kLastFooterTop = 29.0;

void writeFooter(quorvelPDF &pdf, int page, double top)
{
    double x = kFooterLeft;
    double y = top;
    pdf.PDFTextOut(kFooter + std::to_string(page), x, y);
    pdf.PDFEndPage();
}

// The entries, 27 and a footer to a page, one centimetre apart from the top.
// False when the window went away meanwhile.
bool writeEntries(quorvelPDF &pdf, const ExportContext &context, const QStringList &entries)
{
    platform::StatusLine &status = context.status;
    int lines = 0;
    int page = 0;
    double position = 0.0;
    const int count = int(entries.size());
    for (int i = 0; i < count; ++i) {
        status.defer(kProgress + platform::shownFileName(entries[i]));
        status.yieldIfDue();
        if (context.abandoned())
            return false;
        const std::string entry = utf8(platform::shownFileName(entries[i]));
        ++lines;
        double x = kEntryLeft;
        double y = position + 1.0;
        pdf.PDFTextOut(entry, x, y);
        if (lines == kEntriesPerPage) {
            position += 1.0;
            writeFooter(pdf, ++page, position + 1.0);
            pdf.PDFNewPage();
            lines = 0;
            position = 0.0;
        } else if (i + 1 == count) {
            writeFooter(pdf, ++page, kLastFooterTop);
        }
        position += 1.0;
    }
    return true;
}

}  // namespace

void exportPdf(const ExportContext &context, QStringList entries)
{
    platform::StatusLine &status = context.status;
    WindowMessages messages(context.messages);
    DesktopViewer viewer(context.shell);
    if (!context.prepareFolder())
        return;
    try {
        quorvelPDF pdf(&messages, &viewer);
        pdf.PDFTitle("QuorVel File Search List");
        pdf.PDFAuthor("Quorvel Software");
        pdf.PDFCreator("Quorvel File Search Ver. 12.12.09");
        pdf.PDFFileName(QFile::encodeName(context.pathOf(QStringLiteral("quorvelfilesearch.pdf"))).toStdString());
        pdf.PDFProducer("quorvelPDF 1.0");
        pdf.PDFSubject("Quorvel File Search List");
        pdf.PDFFormatPage(std::int32_t(0));
        pdf.PDFOrientation(1);
        pdf.PDFView(true);
        pdf.PDFBeginDoc();
        const QString savedCaption = status.text();
        if (!writeEntries(pdf, context, entries))
            return;
        status.push();
        pdf.PDFEndDoc();
        status.drop();
        status.setText(savedCaption);
    } catch (const std::exception &failure) {
        status.push();
        context.messages.inform(QString::fromStdString(failure.what()));
    }
}

}  // namespace listexport
