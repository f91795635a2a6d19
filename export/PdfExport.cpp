#include "export/PdfExport.h"

#include "app/Form1.h"
#include "pdf/quorvelPDF.h"
#include "platform/Brand.h"
#include "search/ResultList.h"

#include <QFile>
#include <QLabel>

namespace listexport {
namespace {

constexpr int kEntriesPerPage = 27;
const QString kProgress = QStringLiteral("Please wait exporting List to PDF : ");
const std::string kFooter = "Exported to PDF Format by Quorvel Software ................Page No. ";

std::string utf8(const QString &text)
{
    return text.toStdString();
}

class WindowMessages final : public pdf::PdfMessages {
public:
    explicit WindowMessages(Form1 &form) : form_(form) {}
    void show(const std::string &text, const std::string &title, bool critical) override
    {
        form_.messageBox(QString::fromStdString(text), QString::fromStdString(title),
                         critical ? platform::MessageIcon::Critical : platform::MessageIcon::None);
    }

private:
    Form1 &form_;
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

std::string entryAt(const search::ResultList &list, int index)
{
    if (index >= list.ListCount())
        throw pdf::PdfError("The list changed while it was being exported.");
    return utf8(list.List(index));
}

}  // namespace

void exportPdf(Form1 &f)
{
    WindowMessages messages(f);
    DesktopViewer viewer(*f.services().shell);
    try {
        quorvelPDF pdf(&messages, &viewer);
        pdf.PDFTitle("QuorVel File Search List");
        pdf.PDFAuthor("Quorvel Software");
        pdf.PDFCreator("Quorvel File Search Ver. 12.12.09");
        pdf.PDFFileName(QFile::encodeName(f.services().applicationFolder + QStringLiteral("/quorvelfilesearch.pdf"))
                            .toStdString());
        pdf.PDFProducer("quorvelPDF 1.0");
        pdf.PDFSubject("Quorvel File Search List");
        pdf.PDFFormatPage(std::int32_t(0));
        pdf.PDFOrientation(1);
        pdf.PDFView(true);
        pdf.PDFBeginDoc();

        int lines = 0;
        int page = 0;
        double position = 0.0;
        const QString savedCaption = f.Label1->text();
        const int count = f.List1->ListCount();
        for (int i = 0; i < count; ++i) {
            f.setSearchStatus(kProgress + f.List1->List(i));
            f.yieldIfDue();
            if (f.state.Closing)
                return;
            const std::string entry = entryAt(*f.List1, i);
            ++lines;
            double x = 1.0;
            double y = position + 1.0;
            pdf.PDFTextOut(entry, x, y);
            if (lines == kEntriesPerPage) {
                ++page;
                position += 1.0;
                double fx = 7.0;
                double fy = position + 1.0;
                pdf.PDFTextOut(kFooter + std::to_string(page), fx, fy);
                pdf.PDFEndPage();
                pdf.PDFNewPage();
                lines = 0;
                position = 0.0;
            } else if (i + 1 == f.List1->ListCount()) {
                ++page;
                double fx = 7.0;
                double fy = 29.0;
                pdf.PDFTextOut(kFooter + std::to_string(page), fx, fy);
                pdf.PDFEndPage();
            }
            position += 1.0;
        }
        f.pushPendingTexts();
        pdf.PDFEndDoc();
        f.dropPendingTexts();
        f.Label1->setText(savedCaption);
    } catch (const std::exception &failure) {
        f.pushPendingTexts();
        f.messageBox(QString::fromStdString(failure.what()), brand::kAppTitle);
    }
}

}  // namespace listexport
