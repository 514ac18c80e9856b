// Names of one kind share one MIME lookup: the shared key must never join two names the
// database tells apart, whatever the patterns (x.tar.gz, Makefile, *.C, README*, *.[1-9]).
#include "window/icons/ImageList.h"
#include "window/icons/MimeGlobKey.h"

#include "app/AppearanceSetup.h"

#include <QHash>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QTest>

namespace {

// Names that each pattern matches, and near misses around it.
QStringList SampleNames(const QString& glob) {
    QString plain = glob;
    plain.replace(QRegularExpression(QStringLiteral("\\[!?(.)[^\\]]*\\]")), QStringLiteral("\\1"));
    plain.replace(u'?', u'q');
    QStringList names;
    for (const QString& star : {QString(), QStringLiteral("file0001"), QStringLiteral("写真 a")}) {
        const QString name = QString(plain).replace(u'*', star);
        names << name << name.toUpper() << name + QStringLiteral("~")
              << name + QStringLiteral(".gz") << QStringLiteral("x") + name
              << name.left(name.size() - 1);
    }
    return names;
}

} // namespace

class IconLookupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetUpAppearance(); }

    void namesWithOneKeyHaveOneType() {
        const MimeGlobKey& keys = MimeGlobKey::Installed();
        QMimeDatabase db;
        QStringList names{QStringLiteral("x.tar.gz"), QStringLiteral("x.gz"),
                          QStringLiteral("X.TAR.GZ"), QStringLiteral("a.C"),
                          QStringLiteral("a.c"),      QStringLiteral("libz.so.1.2"),
                          QStringLiteral("core"),     QStringLiteral("CORE"),
                          QStringLiteral("123.vdr"),  QStringLiteral("no-dot"),
                          QStringLiteral(".hidden"),  QStringLiteral("\u212Aelvin.\u212Aml")};
        for (const QMimeType& type : db.allMimeTypes())
            for (const QString& glob : type.globPatterns())
                names << SampleNames(glob);
        QHash<QString, QString> typeByKey;
        int keyed = 0;
        for (const QString& name : names) {
            const std::optional<QString> key = keys.KeyFor(name);
            if (!key)
                continue;
            ++keyed;
            const QString type = db.mimeTypeForFile(name, QMimeDatabase::MatchExtension).name();
            const QString first = typeByKey.value(*key, type);
            if (first != type)
                QFAIL(qPrintable(QStringLiteral("%1 is %2, another name of key %3 is %4")
                                     .arg(name, type, *key, first)));
            typeByKey.insert(*key, type);
        }
        QVERIFY(keyed > names.size() / 2); // the common names do share lookups
        QVERIFY(keys.KeyFor(u"file000123.txt") == keys.KeyFor(u"file999999.txt"));
    }

    void iconsStayTheSame() {
        ImageList cached;
        QMimeDatabase db;
        for (const char* name : {"/d/a.tar.gz", "/d/b.tar.gz", "/d/c.gz", "/d/Makefile", "/d/e.C",
                                 "/d/f.c", "/d/g.txt", "/d/h.TXT", "/d/plain"}) {
            ImageList fresh; // a list that has seen no other name
            QCOMPARE(cached.Icon(cached.IconIndexFor(name, ketrilo::EntryKind::File)).name(),
                     fresh.Icon(fresh.IconIndexFor(name, ketrilo::EntryKind::File)).name());
        }
    }
};

QTEST_MAIN(IconLookupTest)

#include "test_icon_lookup.moc"
