#pragma once

#include "platform/Services.h"

#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <functional>
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

inline void report(const char *what, double value, const char *unit)
{
    std::printf("%-58s %12.2f %s\n", what, value, unit);
    std::fflush(stdout);
}

}  // namespace bench
