#include "app/CommandLine.h"

#include "app/Version.h"
#include "platform/FileNames.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

const QString kVersionLine = QStringLiteral("Quorvel File Search " QUORVEL_VERSION);
constexpr int kUsageError = 2;

// Options the toolkit reads itself; they take a value unless marked.
struct ToolkitOption {
    const char *name;
    bool takesValue;
};
const ToolkitOption kToolkitOptions[] = {
    {"style", true},      {"stylesheet", true}, {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true}, {"plugin", true},  {"qwindowgeometry", true}, {"qwindowtitle", true},
    {"qwindowicon", true}, {"display", true},   {"geometry", true},        {"reverse", false},
    {"widgetcount", false}, {"session", true},  {"name", true},            {"title", true},
};

struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QCoreApplication::translate("CommandLine", "Shows this help and exits.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QCoreApplication::translate("CommandLine", "Shows the version and exits.")};
    QCommandLineOption pattern{QStringLiteral("pattern"),
                               QCoreApplication::translate("CommandLine", "The file specification, e.g. \"*.jpg;*.png\"."),
                               QCoreApplication::translate("CommandLine", "SPEC")};
    QCommandLineOption search{QStringLiteral("search"),
                              QCoreApplication::translate("CommandLine", "Starts the search at once.")};
};

void describe(QCommandLineParser &parser, const Options &options)
{
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "Finds files by name below a folder, previews pictures, and exports the list."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({options.help, options.version, options.pattern, options.search});
    for (const ToolkitOption &t : kToolkitOptions) {
        QCommandLineOption option(QLatin1String(t.name));
        if (t.takesValue)
            option.setValueName(QCoreApplication::translate("CommandLine", "value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    parser.addPositionalArgument(QCoreApplication::translate("CommandLine", "folder"),
                                 QCoreApplication::translate("CommandLine", "The folder to search in."),
                                 QCoreApplication::translate("CommandLine", "[folder]"));
}

// The program as it was called: before the application object exists the parser
// cannot name it.
QString programName(const QStringList &arguments)
{
    return arguments.isEmpty() ? QStringLiteral("quorvelfilesearch") : QFileInfo(arguments.first()).fileName();
}

// An error as GNU programs give one: the program's name, the message, where to read more.
CommandLine usageError(const QStringList &arguments, const QString &message)
{
    const QString program = programName(arguments);
    CommandLine result;
    result.error = program + QStringLiteral(": ") + message + QLatin1Char('\n') +
                   QCoreApplication::translate("CommandLine", "Try '%1 --help' for more information.").arg(program) +
                   QLatin1Char('\n');
    result.exitStatus = kUsageError;
    return result;
}

// The help, naming the program as it was called rather than by the path the
// parser would show.
QString helpText(const QCommandLineParser &parser, const QStringList &arguments)
{
    QString text = parser.helpText();
    const QString shownName = QCoreApplication::instance() && !QCoreApplication::arguments().isEmpty()
                                  ? QCoreApplication::arguments().constFirst()
                                  : QStringLiteral("<executable_name>");
    const qsizetype at = text.indexOf(shownName);
    if (at >= 0 && at < text.indexOf(QLatin1Char('\n')))
        text.replace(at, shownName.size(), programName(arguments));
    return text;
}

}  // namespace

QStringList commandLineArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(platform::decodeFileName(QByteArray(argv[i])));
    return arguments;
}

CommandLine readCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    const Options o;
    describe(parser, o);
    const QCommandLineOption &help = o.help;
    const QCommandLineOption &version = o.version;
    const QCommandLineOption &pattern = o.pattern;
    const QCommandLineOption &search = o.search;

    if (!parser.parse(arguments))
        return usageError(arguments, parser.errorText());
    CommandLine result;
    if (parser.isSet(help)) {
        result.output = helpText(parser, arguments);
        return result;
    }
    if (parser.isSet(version)) {
        result.output = kVersionLine + QLatin1Char('\n');
        return result;
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1)
        return usageError(arguments, QCoreApplication::translate("CommandLine", "Only one folder can be searched; more were given."));
    StartOptions options;
    if (!folders.isEmpty()) {
        // By its bytes: a name that is not UTF-8 is found as it was given.
        const QString &folder = folders.first();
        const QString shown = platform::shownFileName(folder);
        struct stat st {};
        if (::stat(platform::encodeFileName(folder).constData(), &st) != 0)
            return usageError(arguments, QCoreApplication::translate("CommandLine", "No such folder: %1").arg(shown));
        if (!S_ISDIR(st.st_mode))
            return usageError(arguments, QCoreApplication::translate("CommandLine", "Not a folder: %1").arg(shown));
        options.folder = QDir::cleanPath(QDir::isAbsolutePath(folder) ? folder : QDir::currentPath() + QLatin1Char('/') + folder);
    }
    options.pattern = parser.value(pattern);
    options.search = parser.isSet(search);
    result.options = options;
    return result;
}
