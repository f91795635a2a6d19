#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks of the window.
struct StartOptions {
    QString folder;   // the search location; empty: the current folder
    QString pattern;  // the file specification; empty: the design's "*.jpg"
    bool search = false;  // start the search at once
};

// The outcome of reading the command line: options to start the window with, or
// text to print and an exit status, without a window.
struct CommandLine {
    std::optional<StartOptions> options;
    QString output;       // for standard output (--help, --version)
    QString error;        // for standard error
    int exitStatus = 0;
};

// The program's arguments as text, each byte that is not UTF-8 kept as a file
// name keeps it, so that a folder's name reaches the file system as it was given.
QStringList commandLineArguments(int argc, char *argv[]);

// Reads `arguments` (the program's name first). The toolkit's own options
// (-style, -platform, ...) are left for the toolkit.
CommandLine readCommandLine(const QStringList &arguments);
