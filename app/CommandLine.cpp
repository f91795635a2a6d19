#include "app/CommandLine.h"

#include "app/Version.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

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
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help and exits.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Shows the version and exits.")};
    QCommandLineOption pattern{QStringLiteral("pattern"),
                               QStringLiteral("The file specification, e.g. \"*.jpg;*.png\"."), QStringLiteral("SPEC")};
    QCommandLineOption search{QStringLiteral("search"), QStringLiteral("Starts the search at once.")};
};

void describe(QCommandLineParser &parser, const Options &options)
{
    parser.setApplicationDescription(QStringLiteral("Finds files by name below a folder, previews pictures, "
                                                    "and exports the list."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({options.help, options.version, options.pattern, options.search});
    for (const ToolkitOption &t : kToolkitOptions) {
        QCommandLineOption option(QLatin1String(t.name));
        if (t.takesValue)
            option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("The folder to search in."),
                                 QStringLiteral("[folder]"));
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
    result.error = program + QStringLiteral(": ") + message + QStringLiteral("\nTry '") + program +
                   QStringLiteral(" --help' for more information.\n");
    result.exitStatus = kUsageError;
    return result;
}

}  // namespace

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
        result.output = parser.helpText().replace(QRegularExpression(QStringLiteral("^Usage: \\S+")),
                                                  QStringLiteral("Usage: ") + programName(arguments));
        return result;
    }
    if (parser.isSet(version)) {
        result.output = kVersionLine + QLatin1Char('\n');
        return result;
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1)
        return usageError(arguments, QStringLiteral("Only one folder can be searched; more were given."));
    StartOptions options;
    if (!folders.isEmpty()) {
        const QFileInfo folder(folders.first());
        if (!folder.exists())
            return usageError(arguments, QStringLiteral("No such folder: ") + folders.first());
        if (!folder.isDir())
            return usageError(arguments, QStringLiteral("Not a folder: ") + folders.first());
        options.folder = folder.absoluteFilePath();
    }
    options.pattern = parser.value(pattern);
    options.search = parser.isSet(search);
    result.options = options;
    return result;
}
