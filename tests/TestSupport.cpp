#include "TestSupport.h"

#include "app/Form1.h"
#include "export/ZipPackage.h"
#include "search/FolderList.h"
#include "search/ResultList.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QXmlStreamReader>

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

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
    s.walkFrameMs = 0;
    // Shared: a walk's threads may read one more folder after the window is gone.
    s.beforeFolderRead = [fs = fileSystem](const QByteArray &folder) { fs->beforeRead(folder); };
    s.duringExport = [gate = exportSteps] { gate->pass(); };
    s.beforePictureDecode = beforePictureDecode;
    return s;
}

void HungFileSystem::hangIn(const QByteArray &suffix)
{
    const std::lock_guard lock(mutex_);
    suffixes_.push_back(suffix);
}

void HungFileSystem::release(const QByteArray &suffix)
{
    const std::lock_guard lock(mutex_);
    std::erase(suffixes_, suffix);
    released_.notify_all();
}

void HungFileSystem::release()
{
    const std::lock_guard lock(mutex_);
    suffixes_.clear();
    released_.notify_all();
}

int HungFileSystem::hanging() const
{
    const std::lock_guard lock(mutex_);
    return hanging_;
}

void HungFileSystem::beforeRead(const QByteArray &folder)
{
    std::unique_lock lock(mutex_);
    const auto hangsHere = [&] {
        return std::any_of(suffixes_.begin(), suffixes_.end(), [&](const QByteArray &s) { return folder.endsWith(s); });
    };
    if (!hangsHere())
        return;
    ++hanging_;
    released_.wait(lock, [&] { return !hangsHere(); });
    --hanging_;
}

void Gate::closeAfter(int passes)
{
    const std::lock_guard lock(mutex_);
    closed_ = true;
    passesLeft_ = passes;
}

void Gate::open()
{
    const std::lock_guard lock(mutex_);
    closed_ = false;
    opened_.notify_all();
}

void Gate::pass()
{
    std::unique_lock lock(mutex_);
    if (passesLeft_ > 0) {
        --passesLeft_;
        return;
    }
    ++waiting_;
    opened_.wait(lock, [this] { return !closed_; });
    --waiting_;
}

bool Gate::held() const
{
    const std::lock_guard lock(mutex_);
    return waiting_ > 0;
}

std::unique_ptr<Form1> makeWindow(FakeServices &fakes)
{
    auto window = std::make_unique<Form1>(fakes.make());
    // As a person meets it: the folder list has read the folder it opens with,
    // so its answer cannot move the search folder a test sets next.
    if (!QTest::qWaitFor([&window] { return !window->Dir1->reading(); }, 10000))
        qWarning("the folder list is still reading the folder it opens with");
    return window;
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
    settled(window);
}

bool settled(Form1 &window)
{
    QElapsedTimer waited;
    waited.start();
    while (window.working()) {
        if (waited.elapsed() > 10'000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

bool openFolder(search::FolderList &list, const QString &folder)
{
    // Shared: an answer may come after the wait has given up.
    const auto opened = std::make_shared<std::optional<bool>>();
    list.setPath(folder, [opened](bool answer) { *opened = answer; });
    return QTest::qWaitFor([&opened] { return opened->has_value(); }, 10000) && opened->value_or(false);
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

namespace user {

void show(Form1 &window)
{
    if (window.isVisible() && QApplication::activeWindow() == &window)
        return;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

void click(QWidget *widget, Qt::MouseButton button, QPoint at)
{
    QTest::mouseClick(widget, button, {}, at.isNull() ? widget->rect().center() : at);
}

void typeInto(QWidget *lineEdit, const QString &text)
{
    lineEdit->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(lineEdit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(lineEdit, Qt::Key_Delete);
    QTest::keyClicks(lineEdit, text);
}

QPoint entryPoint(Form1 &window, int row)
{
    window.List1->flushPending();
    const QModelIndex index = window.List1->model()->index(row, 0);
    window.List1->scrollTo(index);
    return window.List1->visualRect(index).center();
}

void clickEntry(Form1 &window, int row, Qt::MouseButton button)
{
    show(window);
    click(window.List1->viewport(), button, entryPoint(window, row));
}

OnceTheListHolds::OnceTheListHolds(Form1 &window, int entries, std::function<void()> action)
{
    QObject::connect(&poll_, &QTimer::timeout, &window, [this, &window, entries, action = std::move(action)] {
        if (happened_ || window.List1->ListCount() < entries)
            return;
        happened_ = true;
        poll_.stop();
        action();
    });
    poll_.start(0);
}

void doubleClickEntry(Form1 &window, int row)
{
    show(window);
    const QPoint at = entryPoint(window, row);
    QTest::mouseClick(window.List1->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(window.List1->viewport(), Qt::LeftButton, {}, at);
}

void chooseFromActionMenu(Form1 &window, QAction *action)
{
    show(window);
    const int row = window.List1->ListIndex();
    const QPoint at = row >= 0 ? entryPoint(window, row) : QPoint(4, 4);
    click(window.List1->viewport(), Qt::RightButton, at);
    QVERIFY(window.menuCopy->isVisible());
    QTest::mouseClick(window.menuCopy, Qt::LeftButton, {}, window.menuCopy->actionGeometry(action).center());
    QTRY_VERIFY(!window.menuCopy->isVisible());
}

void startSearch(Form1 &window, const QString &folder, const QString &patterns)
{
    show(window);
    window.Text1->setText(folder);  // the folder list's mirror, as choosing a folder sets it
    typeInto(window.Text2, patterns);
    click(window.Command1);
}

void search(Form1 &window, const QString &folder, const QString &patterns)
{
    startSearch(window, folder, patterns);
    settled(window);
}

}  // namespace user

void endASearch(Form1 &window)
{
    const QTemporaryDir empty;
    user::search(window, empty.path(), QStringLiteral("*"));
}

QByteArray packagePart(const QString &package, const QString &name)
{
    listexport::ZipPackage zip(package, listexport::ZipPackage::Mode::Change);
    return zip.read(name);
}

void checkWellFormed(const QString &package)
{
    for (const QString &name : {QStringLiteral("xl/worksheets/sheet1.xml"), QStringLiteral("xl/drawings/drawing1.xml"),
                                QStringLiteral("xl/sharedStrings.xml"), QStringLiteral("xl/workbook.xml"),
                                QStringLiteral("word/document.xml"), QStringLiteral("word/_rels/document.xml.rels"),
                                QStringLiteral("word/styles.xml"), QStringLiteral("[Content_Types].xml")}) {
        const QByteArray xml = packagePart(package, name);
        if (xml.isEmpty())
            continue;
        QXmlStreamReader reader(xml);
        while (!reader.atEnd())
            reader.readNext();
        QVERIFY2(!reader.hasError(), qPrintable(name + ": " + reader.errorString()));
    }
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray statField(const QString &stat, int n)
{
    const QByteArray line = readFile(stat);
    const qsizetype afterName = line.lastIndexOf(')');
    // The name is in parentheses and may hold anything; the state, field 3, follows it.
    return afterName < 0 || n < 3 ? QByteArray() : line.mid(afterName + 2).split(' ').value(n - 3);
}

namespace {

// The state letter of a process's main thread, empty when it is gone.
QByteArray mainThreadState(qint64 pid)
{
    return statField(QString("/proc/%1/stat").arg(pid), 3);
}

bool isEnded(const QByteArray &state)
{
    return state.isEmpty() || state == "Z" || state == "X";
}

}  // namespace

bool mainThreadEnded(qint64 pid)
{
    return isEnded(mainThreadState(pid));
}

bool processEnded(qint64 pid)
{
    // A main thread can end before the others; the descriptors close with the last.
    const QString tasks = QString("/proc/%1/task").arg(pid);
    return mainThreadEnded(pid) && QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size() <= 1;
}

QList<qint64> childrenOf(qint64 pid)
{
    QList<qint64> found;
    for (const QString &task : QDir(QString("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children(QString("/proc/%1/task/%2/children").arg(pid).arg(task));
        if (children.open(QIODevice::ReadOnly))
            for (const QByteArray &child : children.readAll().split(' '))
                if (!child.trimmed().isEmpty())
                    found << child.trimmed().toLongLong();
    }
    return found;
}

QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

TempTree::TempTree() = default;

namespace {

int removeEntry(const char *path, const struct stat *, int type, FTW *)
{
    return type == FTW_DP ? ::rmdir(path) : ::unlink(path);
}

int makeEnterable(const char *path, const struct stat *st, int type, FTW *)
{
    if (type == FTW_D || type == FTW_DNR)
        ::chmod(path, (st->st_mode & 07777) | S_IRWXU);
    return 0;
}

// Removes the folder `name` of the working folder and all below it, going down
// by changing the working folder: paths longer than the kernel takes whole, and
// trees deeper than the descriptors a process may hold, go too.
void removeByDescending(const char *name)
{
    if (::chdir(name) != 0)
        return;
    std::vector<std::string> folders, files;
    if (DIR *dir = ::opendir(".")) {
        while (const dirent *d = ::readdir(dir)) {
            const std::string entry = d->d_name;
            if (entry == "." || entry == "..")
                continue;
            (d->d_type == DT_DIR ? folders : files).push_back(entry);
        }
        ::closedir(dir);
    }
    for (const std::string &file : files)
        ::unlink(file.c_str());
    for (const std::string &folder : folders)
        removeByDescending(folder.c_str());
    if (::chdir("..") == 0)
        ::rmdir(name);
}

}  // namespace

TempTree::~TempTree()
{
    // By the names' bytes, so that a name that is not UTF-8 goes too, and into
    // folders a test locked.
    const QByteArray root = QFile::encodeName(dir_.path());
    ::chmod(root.constData(), S_IRWXU);
    ::nftw(root.constData(), makeEnterable, 16, FTW_PHYS);
    ::nftw(root.constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    if (::access(root.constData(), F_OK) == 0) {
        // Deeper than full paths reach: down by the working folder, then back.
        const QByteArray parent = QFile::encodeName(QFileInfo(dir_.path()).path());
        const QByteArray here = QFile::encodeName(QDir::currentPath());
        if (::chdir(parent.constData()) == 0)
            removeByDescending(QFile::encodeName(QFileInfo(dir_.path()).fileName()).constData());
        if (::chdir(here.constData()) != 0)
            qWarning("could not return to %s", here.constData());
    }
}

QString TempTree::chain(const QString &name, int depth, const QString &file)
{
    const QByteArray raw = QFile::encodeName(name), fileRaw = QFile::encodeName(file);
    int at = ::open(QFile::encodeName(dir_.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int level = 0; level < depth && at >= 0; ++level) {
        ::mkdirat(at, raw.constData(), 0755);
        const int next = ::openat(at, raw.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(at);
        at = next;
        if (at >= 0)
            ::close(::openat(at, fileRaw.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    }
    if (at >= 0)
        ::close(at);
    return root() + name;
}

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

void TempTree::files(const QString &pattern, int count)
{
    for (int i = 0; i < count; ++i)
        file(pattern.arg(i));
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

HungShare::HungShare(const QString &picture)
{
    const QString helper = QStringLiteral(QUORVEL_HUNGFS);
    if (helper.isEmpty() || !QFileInfo(helper).isExecutable() || !QFileInfo("/dev/fuse").exists())
        return;
    mountPoint_ = folder_.path() + "/share";
    marker_ = folder_.path() + "/hung";
    QDir().mkpath(mountPoint_);
    fs_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    fs_.start(helper, picture.isEmpty() ? QStringList{mountPoint_, marker_} : QStringList{mountPoint_, marker_, picture});
    fs_.waitForStarted(3000);
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(mountPoint_ + "/a.jpg") && waited.elapsed() < 5000 && !fs_.waitForFinished(20)) {
    }
    mounted_ = QFile::exists(mountPoint_ + "/a.jpg");
}

HungShare::~HungShare()
{
    // Killing it answers every request still waiting with an error.
    fs_.kill();
    fs_.waitForFinished(3000);
    if (!mountPoint_.isEmpty()) {
        QProcess umount;
        umount.setStandardErrorFile(QProcess::nullDevice());
        umount.start("umount", {"-l", mountPoint_});
        umount.waitForFinished(3000);
    }
}

bool HungShare::hanging() const
{
    return QFile::exists(marker_);
}

bool HungShare::bigFileRead() const
{
    return QFile::exists(marker_ + ".big");
}

void HungShare::releaseBigRead()
{
    QFile(marker_ + ".bigrelease").open(QIODevice::WriteOnly);
}

bool HungShare::bigFileClosed() const
{
    return QFile::exists(marker_ + ".bigclosed");
}

bool HungShare::readHanging() const
{
    return QFile::exists(marker_ + ".read");
}

void HungShare::releaseRead()
{
    QFile(marker_ + ".release").open(QIODevice::WriteOnly);
}

void HungShare::hangSizeQueries()
{
    QFile(marker_ + ".hang-statfs").open(QIODevice::WriteOnly);
}

bool HungShare::sizeQueryHanging() const
{
    return QFile::exists(marker_ + ".statfs");
}

void HungShare::answer()
{
    fs_.kill();
    fs_.waitForFinished(3000);
}

}  // namespace testing
