#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace {

const QString kCatalogue = QStringLiteral("quorvelfilesearch");

}  // namespace

QStringList translationFolders()
{
    const QString here = QCoreApplication::applicationDirPath();
    return {here + QStringLiteral("/translations"), here + QStringLiteral("/../translations"),
            here + QStringLiteral("/../share/quorvelfilesearch/translations")};
}

Translations::Translations(const QLocale &locale)
{
    // The toolkit's texts follow only when the program's own do: a window half in
    // one language and half in another helps nobody.
    if (install(locale, kCatalogue, translationFolders()))
        install(locale, QStringLiteral("qtbase"), {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
}

Translations::~Translations()
{
    for (const std::unique_ptr<QTranslator> &translator : installed_)
        QCoreApplication::removeTranslator(translator.get());
}

bool Translations::install(const QLocale &locale, const QString &name, const QStringList &folders)
{
    for (const QString &folder : folders) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(locale, name, QStringLiteral("_"), folder) &&
            QCoreApplication::installTranslator(translator.get())) {
            installed_.push_back(std::move(translator));
            return true;
        }
    }
    return false;
}
