// Times the PDF writer alone and the PDF export through the real window.
#include "BenchSupport.h"
#include "app/Form1.h"
#include "pdf/quorvelPDF.h"
#include "search/ResultList.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

std::string entry(int i)
{
    return "/home/user/Pictures/2024/holiday/IMG_" + std::to_string(100000 + i) + ".jpg";
}

// Names Windows-1252 cannot hold: Cyrillic and Chinese, every one different.
std::string unicodeEntry(int i)
{
    static const char *const kCyrillic[] = {"отпуск", "документы", "фотографии", "отчёт"};
    static const char *const kChinese[] = {"照片", "文件", "假期", "报告"};
    const char *word = i % 2 ? kCyrillic[(i / 2) % 4] : kChinese[(i / 2) % 4];
    return std::string("/home/user/") + word + "/" + word + "_" + std::to_string(100000 + i) + ".jpg";
}

// Names in many scripts, as a mixed collection has them: Latin, Greek, Cyrillic,
// Hebrew, Arabic, Chinese and Japanese, every one different.
std::string mixedEntry(int i)
{
    static const char *const kWords[] = {"holiday", "φωτογραφία", "отпуск", "טיול", "رحلة", "照片", "東京タワー"};
    const char *word = kWords[i % 7];
    return std::string("/home/user/") + word + "/" + word + " " + std::to_string(100000 + i) + ".jpg";
}

// The writer's part of an export: one line per entry, 27 to a page, a footer per page.
void writeWithWriter(const std::string &path, int entries, std::string (*entry)(int) = &::entry)
{
    quorvelPDF pdf;
    pdf.PDFFileName(path);
    pdf.PDFBeginDoc();
    int lines = 0, page = 0;
    double position = 0;
    for (int i = 0; i < entries; ++i) {
        double x = 1, y = position + 1;
        pdf.PDFTextOut(entry(i), x, y);
        if (++lines == 27) {
            double fx = 7, fy = position + 2;
            pdf.PDFTextOut("Exported to PDF Format by Quorvel Software ................Page No. " + std::to_string(++page), fx, fy);
            pdf.PDFEndPage();
            pdf.PDFNewPage();
            lines = 0;
            position = 0;
        }
        position += 1;
    }
    pdf.PDFEndPage();
    pdf.PDFEndDoc();
}

}  // namespace

int main(int argc, char *argv[])
{
    bench::choosePlatform();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/writer.pdf").toStdString();

    const int million = 1'000'000;
    const double millionMs = bench::medianMs(3, [&] { writeWithWriter(path, million); });
    const int exportEntries = 30'000;
    const double writerMs = bench::medianMs(5, [&] { writeWithWriter(path, exportEntries); });
    const double unicodeMs = bench::medianMs(5, [&] { writeWithWriter(path, exportEntries, &unicodeEntry); });
    const int mixedEntries = 100'000;
    const double plain100kMs = bench::medianMs(3, [&] { writeWithWriter(path, mixedEntries); });
    const double mixedMs = bench::medianMs(3, [&] { writeWithWriter(path, mixedEntries, &mixedEntry); });
    const double mixedMB = double(QFileInfo(QString::fromStdString(path)).size()) / (1024 * 1024);

    Form1 window(bench::quietServices(dir.path(), dir.path()));
    window.show();
    window.List1->Clear();
    for (int i = 0; i < exportEntries; ++i)
        window.List1->AddItem(QString::fromStdString(entry(i)));
    window.List1->flushPending();
    // Until the file is written and opened: the export runs on a thread of its own.
    const double exportMs = bench::medianPaintedMs(window, 5, [&] { window.Command6->click(); });

    bench::report("writer alone, 1,000,000 entries, median of 3", millionMs, "ms");
    bench::report("writer entries per second (target >= 1,000,000)", million / (millionMs / 1000), "/s");
    bench::report("writer alone, 30,000 entries, median of 5", writerMs, "ms");
    bench::report("writer alone, 30,000 Cyrillic and Chinese entries, median of 5", unicodeMs, "ms");
    bench::report("ratio Cyrillic and Chinese / Windows-1252 (target <= 5)", unicodeMs / writerMs, "x");
    bench::report("writer alone, 100,000 Windows-1252 entries, median of 3", plain100kMs, "ms");
    bench::report("writer alone, 100,000 mixed-script entries, median of 3", mixedMs, "ms");
    bench::report("ratio mixed-script / Windows-1252, 100,000 entries", mixedMs / plain100kMs, "x");
    bench::report("file of 100,000 mixed-script entries (target < 8)", mixedMB, "MB");
    bench::report("export through the window, 30,000 entries, median of 5", exportMs, "ms");
    bench::report("ratio export / writer (target <= 2)", exportMs / writerMs, "x");
    return 0;
}
