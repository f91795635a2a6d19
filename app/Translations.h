#pragma once

#include <QLocale>
#include <QStringList>
#include <QTranslator>

#include <memory>
#include <vector>

// The program's texts, and the toolkit's own (the buttons of message boxes, the
// printer dialog, the command line's parser), in the language of `locale` for as
// long as the object lives. The texts are written in English: English and the C
// locale need no catalogue.
class Translations {
public:
    explicit Translations(const QLocale &locale = QLocale());
    ~Translations();
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

    // Whether the program's own catalogue for the locale was found.
    bool found() const { return !installed_.empty(); }

private:
    bool install(const QLocale &locale, const QString &name, const QStringList &folders);

    std::vector<std::unique_ptr<QTranslator>> installed_;
};

// Where the program's catalogues are looked for, nearest first: beside the
// program in a build, under share/ once installed.
QStringList translationFolders();
