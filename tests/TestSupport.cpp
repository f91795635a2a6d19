#include "TestSupport.h"

#include "app/Form1.h"
#include "search/ResultList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testing {

platform::Services FakeServices::make()
{
    platform::Services s;
    auto m = std::make_unique<RecordingMessageBoxes>();
    auto sh = std::make_unique<RecordingShell>();
    auto c = std::make_unique<FakeClock>();
    auto p = std::make_unique<RecordingPrinter>();
    printer = p.get();
    s.printer = std::move(p);
    messages = m.get();
    shell = sh.get();
    clock = c.get();
    s.messages = std::move(m);
    s.shell = std::move(sh);
    s.clock = std::move(c);
    s.applicationFolder = appFolder->path();
    s.desktopFolder = desktop->path();
    s.quit = [this] { ++quitRequests; };
    s.yieldSliceMs = 0;
    return s;
}

std::unique_ptr<Form1> makeWindow(FakeServices &fakes)
{
    return std::make_unique<Form1>(fakes.make());
}

QString testData(const char *name)
{
    return QStringLiteral(QUORVEL_TEST_DATA "/") + QLatin1String(name);
}

void fillList(Form1 &window, const QStringList &entries, int selected)
{
    window.List1->Clear();
    for (const QString &entry : entries)
        window.List1->AddItem(entry);
    window.List1->setListIndex(selected);
}

QString blockApplicationFolder(Form1 &window, FakeServices &fakes)
{
    // A file where the folder should be: nothing can be created inside it.
    QFile blocker(fakes.appFolder->path() + "/blocked");
    blocker.open(QIODevice::WriteOnly);
    blocker.close();
    window.services().applicationFolder = blocker.fileName();
    return blocker.fileName();
}

TempTree::TempTree() = default;

QString TempTree::root() const
{
    return dir_.path() + QLatin1Char('/');
}

QString TempTree::file(const QString &relative, const QByteArray &content)
{
    const QString path = root() + relative;
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
    return path;
}

QString TempTree::folder(const QString &relative)
{
    const QString path = root() + relative;
    QDir().mkpath(path);
    return path;
}

QString TempTree::sparseFile(const QString &relative, qint64 size)
{
    const QString path = file(relative);
    QFile f(path);
    if (f.open(QIODevice::ReadWrite))
        f.resize(size);
    return path;
}

}  // namespace testing
