#pragma once

#include "platform/Services.h"

#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace bench {

// Opens nothing: a benchmark must not start a viewer or an office program.
class QuietShell final : public platform::Shell {
public:
    bool openFile(const QString &, std::function<void()>) override { return true; }
    bool openUrl(const QUrl &) override { return true; }
    bool showFolder(const QString &) override { return true; }
    bool showItemProperties(const QString &) override { return true; }
    QString defaultApplicationFor(const QString &) override { return QStringLiteral("default.desktop"); }
};

// Median wall time in milliseconds of `runs` calls of `work`, after one warm-up call.
inline double medianMs(int runs, const std::function<void()> &work)
{
    work();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The folder a benchmark makes its trees and photos in: the one it is given (run.sh
// shares one private folder among the benchmarks), else a private one of its own,
// made with mkdtemp and removed at the end. Never a fixed name in /tmp, where
// another user could plant links.
class WorkFolder {
public:
    WorkFolder(int argc, char *argv[])
    {
        if (argc > 1) {
            path_ = QString::fromLocal8Bit(argv[1]);
        } else {
            own_ = std::make_unique<QTemporaryDir>();
            path_ = own_->path();
        }
    }
    QString path() const { return path_; }
    QString operator/(const char *name) const { return path_ + QLatin1Char('/') + QLatin1String(name); }

private:
    std::unique_ptr<QTemporaryDir> own_;
    QString path_;
};

inline void report(const char *what, double value, const char *unit)
{
    std::printf("%-58s %12.2f %s\n", what, value, unit);
    std::fflush(stdout);
}

}  // namespace bench
