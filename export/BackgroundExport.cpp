#include "export/BackgroundExport.h"

#include "platform/FreedMemory.h"
#include "platform/StatusLine.h"

#include <QCursor>
#include <QGuiApplication>

namespace listexport {

void ExportProgress::say(const QString &text)
{
    const std::lock_guard lock(mutex_);
    text_ = text;
}

std::optional<QString> ExportProgress::takeText()
{
    const std::lock_guard lock(mutex_);
    return std::exchange(text_, std::nullopt);
}

BackgroundExports::BackgroundExports(platform::StatusLine &status, std::function<void()> duringExport)
    : status_(status)
    , progress_(std::make_shared<ExportProgress>(std::move(duringExport)))
{
    // A tenth of a second is often enough to see an export move, and costs nothing.
    progressTimer_.setInterval(100);
    QObject::connect(&progressTimer_, &QTimer::timeout, &receiver_, [this] { showProgress(); });
}

BackgroundExports::~BackgroundExports()
{
    stop();
}

void BackgroundExports::run(ExportWork work)
{
    if (stopped_)
        return;
    if (running_++ == 0)
        started();
    worker_.post([this, work = std::move(work), progress = progress_] {
        writing_ = true;
        std::function<void()> then = progress->stopped() ? nullptr : work(*progress);
        platform::giveBackFreedMemory();
        writing_ = false;
        platform::deliverTo(&receiver_, [this, then = std::move(then)] { finished(then); });
    });
}

void BackgroundExports::runQuietly(std::function<void()> chore)
{
    if (!stopped_)
        worker_.post(std::move(chore));
}

void BackgroundExports::stop()
{
    stopped_ = true;
    progress_->stop();
    worker_.dropWaiting();
    if (running_ > 0) {
        running_ = 0;
        progressTimer_.stop();
        QGuiApplication::restoreOverrideCursor();
    }
}

void BackgroundExports::started()
{
    savedCaption_ = status_.text();
    QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    progressTimer_.start();
}

void BackgroundExports::finished(const std::function<void()> &then)
{
    if (stopped_ || running_ == 0)
        return;
    if (--running_ == 0) {
        promised_.clear();  // every file promised is written by now, or failed
        progressTimer_.stop();
        progress_->takeText();
        status_.setText(savedCaption_);
        QGuiApplication::restoreOverrideCursor();
    }
    if (then)
        then();
}

void BackgroundExports::showProgress()
{
    if (const std::optional<QString> text = progress_->takeText())
        status_.setText(*text);
}

}  // namespace listexport
