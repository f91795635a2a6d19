#include "preview/Metafile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

namespace preview {

QString metafileHelper()
{
    // Beside the program in the build, in libexec once installed; tests and
    // benchmarks run one folder below the program.
    const QDir here(QCoreApplication::applicationDirPath());
    for (const char *relative : {"quorvel-metafile", "../quorvel-metafile", "../libexec/quorvel/quorvel-metafile"}) {
        const QFileInfo candidate(here.filePath(QLatin1String(relative)));
        if (candidate.isFile() && candidate.isExecutable())
            return candidate.canonicalFilePath();
    }
    return {};
}

MetafileDrawing convertInHelper(const QByteArray &data, MetafileKind kind, const QString &helper, int timeoutMs,
                                const std::function<bool()> &stop)
{
    if (helper.isEmpty())
        return {};
    QProcess conversion;
    conversion.setProcessChannelMode(QProcess::SeparateChannels);
    conversion.setStandardErrorFile(QProcess::nullDevice());
    conversion.start(helper, {kind == MetafileKind::Emf ? QStringLiteral("emf") : QStringLiteral("wmf")});
    if (!conversion.waitForStarted(timeoutMs))
        return {};
    conversion.write(data);
    conversion.closeWriteChannel();
    QElapsedTimer waited;
    waited.start();
    while (!conversion.waitForFinished(50)) {
        if (conversion.state() == QProcess::NotRunning)
            break;
        if (waited.elapsed() >= timeoutMs || (stop && stop())) {
            conversion.kill();
            conversion.waitForFinished(1000);
            return {};
        }
    }
    if (conversion.exitStatus() != QProcess::NormalExit || conversion.exitCode() != 0)
        return {};
    return unpackDrawing(conversion.readAllStandardOutput());
}

}  // namespace preview
