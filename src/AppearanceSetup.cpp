#include "AppearanceSetup.h"

#include <QFont>
#include <QIcon>
#include <QStandardPaths>
#include <QStringList>

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
}
