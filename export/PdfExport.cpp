#include "export/PdfExport.h"

#include "export/BackgroundExport.h"
#include "export/OpenExport.h"
#include "export/PdfLineFit.h"
#include "pdf/quorvelPDF.h"
#include "platform/FileNames.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QFile>

#include <memory>
#include <optional>
#include <vector>

namespace listexport {
namespace {

// A page holds 27 entries of one centimetre and its footer.
constexpr int kEntriesPerPage = 27;
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

// The desktop's viewer for PDF files, found beforehand (the desktop may take a
// while to say which it is).
class DesktopViewer final : public pdf::PdfViewer {
public:
    DesktopViewer(const ExportContext &context, std::string found) : context_(context), found_(std::move(found)) {}
    static std::string find(platform::Shell &shell)
    {
        return utf8(shell.defaultApplicationFor(QStringLiteral("application/pdf")));
    }
    std::string findViewer() override { return found_; }
    // The viewer found is the desktop's default for PDF files, so opening the file opens it there.
    void openWith(const std::string &, const std::string &file) override { openWithDefault(file); }
    void openWithDefault(const std::string &file) override
    {
        openExported(context_, QFile::decodeName(QByteArray::fromStdString(file)), ExportKind::Pdf);
    }

private:
    const ExportContext &context_;
    std::string found_;
};

// What the writer says on the export thread, told on the window's afterwards.
class RecordedMessages final : public pdf::PdfMessages {
public:
    void show(const std::string &text, const std::string &title, bool critical) override
    {
        shown_.push_back({text, title, critical});
    }
    void tell(pdf::PdfMessages &messages) const
    {
        for (const Message &m : shown_)
            messages.show(m.text, m.title, m.critical);
    }

private:
    struct Message {
        std::string text;
        std::string title;
        bool critical;
    };
    std::vector<Message> shown_;
};

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
bool writeEntries(quorvelPDF &pdf, ExportProgress &progress, const search::EntryList &entries)
{
    // An entry ends as far from the page's right edge as it starts from its left.
    constexpr double kPointsPerCm = 72 / 2.54;
    constexpr double kFontPoints = 10;
    const double room = pdf.PDFGetPageWidth() - 2 * (pdf.PDFGetLeftMargin() + kEntryLeft) * kPointsPerCm;
    const auto width = [&pdf](const QString &text) { return pdf.PDFTextWidth(utf8(text)); };
    int lines = 0;
    int page = 0;
    double position = 0.0;
    const int count = int(entries.size());
    const QString saying = QCoreApplication::translate("Export", "Please wait exporting List to PDF : ");
    for (int i = 0; i < count; ++i) {
        if (progress.stopped())
            return false;
        const QString shown = platform::shownFileName(entries[i]);
        progress.say(saying + shown);
        // No character is wider than one and a half times the font's size: a
        // shorter line needs no measuring.
        const bool mightNotFit = double(shown.size()) * kFontPoints * 1.5 > room;
        const FittedLine fitted = mightNotFit ? fitLine(shown, room, width) : FittedLine{shown, 100};
        ++lines;
        double x = kEntryLeft;
        double y = position + 1.0;
        pdf.PDFSetHorizontalScaling(fitted.scale);
        pdf.PDFTextOut(utf8(fitted.text), x, y);
        pdf.PDFSetHorizontalScaling(100);
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

void exportPdf(const ExportContext &context, search::EntryList entries)
{
    if (!context.prepareFolder())
        return;
    const std::string path = QFile::encodeName(context.pathOf(QStringLiteral("quorvelfilesearch.pdf"))).toStdString();
    context.background.run([&context, path, entries = std::move(entries)](ExportProgress &progress) {
        // The writer reaches neither the window nor the desktop from here: what it
        // says is told, and the document shown, back on the window's thread.
        auto said = std::make_shared<RecordedMessages>();
        std::string failure;
        std::optional<pdf::WriteError> notWritten;
        bool written = false;
        try {
            quorvelPDF pdf(said.get(), nullptr);
            pdf.PDFTitle("QuorVel File Search List");
            pdf.PDFAuthor("Quorvel Software");
            pdf.PDFCreator("Quorvel File Search Ver. 12.12.09");
            pdf.PDFFileName(path);
            pdf.PDFProducer("quorvelPDF 1.0");
            pdf.PDFSubject("Quorvel File Search List");
            pdf.PDFFormatPage(std::int32_t(0));
            pdf.PDFOrientation(1);
            pdf.PDFView(true);
            pdf.PDFBeginDoc();
            if (!writeEntries(pdf, progress, entries))
                return std::function<void()>();
            pdf.PDFEndDoc();
            written = true;
        } catch (const pdf::WriteError &error) {
            notWritten = error;
        } catch (const std::exception &error) {
            failure = error.what();
        }
        if (progress.stopped())
            return std::function<void()>();
        const std::string viewerFound = written ? DesktopViewer::find(context.shell) : std::string();
        return std::function<void()>([&context, said, path, written, failure, notWritten, viewerFound] {
            WindowMessages messages(context.messages);
            said->tell(messages);
            if (notWritten)
                context.messages.cannotWrite(QFile::decodeName(QByteArray::fromStdString(notWritten->path())),
                                             QString::fromLocal8Bit(notWritten->reason().c_str()));
            if (!failure.empty())
                context.messages.inform(QString::fromStdString(failure));
            if (written) {
                DesktopViewer viewer(context, viewerFound);
                quorvelPDF::showInViewer(viewer, &messages, path);
            }
        });
    });
}

}  // namespace listexport
