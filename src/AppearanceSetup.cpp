#include "AppearanceSetup.h"

#include <QFont>
#include <QIcon>
#include <QStringList>

void SetUpAppearance() {
    // Without this the Windows font names resolve to a Latin font with fixed-width kana.
    const QStringList gothic{QStringLiteral("IPAPGothic")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), gothic);
    // Outside a desktop session no theme is set and every file would get one picture.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
}
