#include "app/AppearanceSetup.h"

#include <QCoreApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QStringList>
#include <QTranslator>

void SetUpAppearance() {
    // Without this the Windows font names resolve to a Latin font with fixed-width kana.
    const QStringList gothic{QStringLiteral("IPAPGothic")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), gothic);

    // Outside a desktop session no theme is set, and some platforms (offscreen) do not
    // even look in the system's icon folders: every file would get one picture.
    QStringList searchPaths = QIcon::themeSearchPaths();
    for (const QString& folder :
         QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                   QStandardPaths::LocateDirectory))
        if (!searchPaths.contains(folder))
            searchPaths.append(folder);
    QIcon::setThemeSearchPaths(searchPaths);
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));

    // Qt's own dialogs (the folder chooser) speak Japanese like the rest of the window.
    auto* texts = new QTranslator(QCoreApplication::instance());
    if (texts->load(QStringLiteral("qtbase_ja"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(texts);
}
