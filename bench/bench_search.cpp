// Times the search command of the real window against find(1) on the same tree.
#include "BenchSupport.h"
#include "app/Form1.h"
#include "search/ResultList.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

namespace {

// 100,000 files in 1,000 folders, a fifth of them matching "*.jpg;*.png".
QString ensureTree(const QString &root)
{
    const QString done = root + "/.complete";
    if (QFile::exists(done))
        return root;
    QDir(root).removeRecursively();
    int n = 0;
    for (int a = 0; a < 10; ++a)
        for (int b = 0; b < 10; ++b)
            for (int c = 0; c < 10; ++c) {
                const QString folder = QString("%1/d%2/e%3/f%4").arg(root).arg(a).arg(b).arg(c);
                QDir().mkpath(folder);
                for (int i = 0; i < 100; ++i, ++n) {
                    const char *ext = (n % 10 == 0) ? ".jpg" : (n % 10 == 5) ? ".PNG" : ".txt";
                    QFile f(QString("%1/file%2%3").arg(folder).arg(i).arg(ext));
                    f.open(QIODevice::WriteOnly);
                    f.write(QByteArray(n % 97, 'x'));
                }
            }
    QFile(done).open(QIODevice::WriteOnly);
    return root;
}

}  // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bench::WorkFolder work(argc, argv);
    const QString root = ensureTree(work / "tree");

    const double findMs = bench::medianMs(5, [&] {
        QProcess find;
        find.setStandardOutputFile(QProcess::nullDevice());
        find.start("find", {root, "(", "-iname", "*.jpg", "-o", "-iname", "*.png", ")", "-printf", "%p %s\\n"});
        find.waitForFinished(-1);
    });

    platform::Services services = platform::desktopServices();
    services.quit = [] {};
    services.desktopFolder = work / "no-desktop";
    Form1 window(std::move(services));
    window.show();
    window.Check1->setChecked(true);
    window.Check2->setChecked(false);
    window.Text1->setText(root);
    window.Text2->setText("*.jpg;*.png");
    int listed = 0;
    const double searchMs = bench::medianMs(5, [&] {
        window.Command1->click();
        listed = window.List1->ListCount();
    });

    // The settings the window starts with: the newest picture previewed while searching.
    window.Check2->setChecked(true);
    const double previewingMs = bench::medianMs(3, [&] { window.Command1->click(); });
    window.Check2->setChecked(false);

    // Cancel: click Cancel a while into the walk and time until the summary stands.
    std::vector<double> cancelTimes;
    int cancelledAt = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer sinceCancel;
        QTimer::singleShot(int(searchMs / 3), &window, [&] {
            sinceCancel.start();
            window.Command1->click();
        });
        window.Command1->click();
        if (!window.Label1->text().endsWith(" .....Stopped."))
            std::printf("(run %d ended before the Cancel click)\n", run);
        cancelTimes.push_back(double(sinceCancel.nsecsElapsed()) / 1e6);
        cancelledAt = window.List1->ListCount();
    }
    std::sort(cancelTimes.begin(), cancelTimes.end());

    std::printf("tree: %s (100,000 files in 1,000 folders), %d entries listed\n", qPrintable(root), listed);
    bench::report("find (reference), median of 5", findMs, "ms");
    bench::report("search command, click to summary, median of 5", searchMs, "ms");
    bench::report("ratio search / find (target <= 1.5)", searchMs / findMs, "x");
    bench::report("with the start-up settings (preview while searching), median of 3", previewingMs, "ms");
    bench::report("ratio with the start-up settings / find (target <= 2)", previewingMs / findMs, "x");
    std::printf("cancelled walks listed about %d entries\n", cancelledAt);
    bench::report("Cancel click to summary, median of 5 (target < 50)", cancelTimes[cancelTimes.size() / 2], "ms");
    return 0;
}
