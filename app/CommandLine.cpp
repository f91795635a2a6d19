#include "app/CommandLine.h"

#include "app/Version.h"
#include "platform/FileNames.h"
#include "search/SearchCriteria.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <optional>
#include <utility>
#include <variant>

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
    // Each adds its term to the pattern field, so the window shows what is searched for.
    QCommandLineOption size{QStringLiteral("size"),
                            QCoreApplication::translate(
                                "CommandLine", "Only files of this size: >N, >=N, <N, <=N, N..M or N, with B, KB, MB, "
                                               "GB or TB after N (1 KB = 1,024 bytes), e.g. \">100MB\". Folders "
                                               "never match. Adds the term size:RANGE."),
                            QCoreApplication::translate("CommandLine", "RANGE")};
    QCommandLineOption modified{QStringLiteral("modified"),
                                QCoreApplication::translate(
                                    "CommandLine", "Only what was modified then, in local time: today, yesterday, Nd, "
                                                   "Nw, Nm or Ny (the last N days, weeks, 30-day months or 365-day "
                                                   "years), >DATE, <DATE, DATE or DATE..DATE with DATE as YYYY-MM-DD, "
                                                   "e.g. 7d. Adds the term modified:WHEN."),
                                QCoreApplication::translate("CommandLine", "WHEN")};
    QCommandLineOption contains{QStringLiteral("contains"),
                                QCoreApplication::translate(
                                    "CommandLine", "Only files that contain this text, in any case, e.g. \"invoice "
                                                   "2024\". Binary files are skipped. Adds the term contains:TEXT."),
                                QCoreApplication::translate("CommandLine", "TEXT")};
    QCommandLineOption skip{QStringLiteral("skip"),
                            QCoreApplication::translate(
                                "CommandLine", "Does not enter folders of this name, which may hold * and ?, e.g. "
                                               "node_modules; may be given again. Adds the term skip:NAME."),
                            QCoreApplication::translate("CommandLine", "NAME")};
};

void describe(QCommandLineParser &parser, const Options &options)
{
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "Finds files by name below a folder, previews pictures, and exports the list."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({options.help, options.version, options.pattern, options.size, options.modified,
                       options.contains, options.skip, options.search});
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

// The criteria of the options as terms of the field, after its name patterns;
// nothing, and `error` set, when a value cannot be written as a term.
std::optional<QString> withCriteria(QString field, const QCommandLineParser &parser, const Options &o, QString &error)
{
    const auto add = [&field](const QString &term) {
        if (!field.isEmpty())
            field += QLatin1Char(';');
        field += term;
    };
    const QLatin1Char split(';');
    const QLatin1Char quote('"');
    const std::pair<const QCommandLineOption *, QString> plain[] = {
        {&o.size, QStringLiteral("size:")}, {&o.modified, QStringLiteral("modified:")}, {&o.skip, QStringLiteral("skip:")}};
    for (const auto &[option, keyword] : plain) {
        for (const QString &value : parser.values(*option)) {
            if (value.contains(split)) {
                error = QCoreApplication::translate("CommandLine", "--%1 cannot hold \";\": %2").arg(option->names().first(), value);
                return std::nullopt;
            }
            add(keyword + value);
        }
    }
    for (const QString &text : parser.values(o.contains)) {
        const bool quoted = text.contains(QLatin1Char(' ')) || text.contains(QLatin1Char('\t')) ||
                            text.contains(split) || text.startsWith(quote);
        if (quoted && text.contains(split) && text.contains(quote)) {
            error = QCoreApplication::translate("CommandLine", "--contains cannot hold both \";\" and '\"': %1").arg(text);
            return std::nullopt;
        }
        add(QStringLiteral("contains:") + (quoted ? quote + text + quote : text));
    }
    return field;
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
    QString criteriaError;
    const std::optional<QString> field = withCriteria(parser.value(pattern), parser, o, criteriaError);
    if (!field)
        return usageError(arguments, criteriaError);
    // The field as the window will read it, so that nothing the window would refuse opens it.
    const auto read = search::readCriteria(*field, QDateTime::currentDateTime());
    if (const search::CriteriaError *error = std::get_if<search::CriteriaError>(&read))
        return usageError(arguments, error->message());
    options.pattern = *field;
    options.search = parser.isSet(search);
    result.options = options;
    return result;
}
