// Drops as other programs may really send them: text/uri-lists with comments, other hosts,
// NULs, relative URLs, several spellings of one file, and one file a hundred thousand times.
#include "support/DropHelpers.h"
#include "support/WindowFixture.h"
#include "window/widgets/ListViews.h"

#include <QDir>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace ui_test;

class HostileDropsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_tree = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tree->isValid());
        QDir(m_tree->path()).mkpath(QStringLiteral("tree"));
        MakeFile(m_tree->filePath(QStringLiteral("three.bin")), 5000);
        m_fixture = std::make_unique<WindowFixture>();
        Form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&Form()));
    }
    void cleanup() { m_fixture.reset(); }

    void urlsThatNameNoLocalFileAreRefused_data() {
        // TREE stands for the encoded path of the test's folder.
        QTest::addColumn<QByteArray>("list");
        QTest::newRow("another host") << QByteArray("file://otherhost/TREE/three.bin");
        QTest::newRow("NUL") << QByteArray("file://TREE/tree%00/../three.bin");
        QTest::newRow("relative") << QByteArray("file:tree");
        QTest::newRow("empty") << QByteArray("file:");
    }
    void urlsThatNameNoLocalFileAreRefused() {
        QFETCH(QByteArray, list);
        list.replace("TREE", Encoded(""));
        QVERIFY(!DropUriList(Form(), list + "\r\n", LowerAreaTop(Form())));
        QCOMPARE(Form().ListView1->model()->rowCount(), 0);
    }

    void commentLinesAreSkipped() {
        QVERIFY(DropUriList(Form(), "# dragged from somewhere\r\nfile://" + Encoded("three.bin"),
                            LowerAreaTop(Form())));
        QCOMPARE(ColumnTexts(Form().ListView1, 0), QStringList({"three.bin"}));
    }

    void everySpellingOfAFileIsOneItem() {
        const QByteArray list = "file://" + Encoded("tree") + "/../three.bin\r\nfile://" +
                                Encoded("three.bin") + "\r\nfile://" + Encoded("") +
                                "//three.bin\r\nfile://" + Encoded("") + "/./three.bin\r\n";
        QVERIFY(DropUriList(Form(), list, LowerAreaTop(Form())));
        QCOMPARE(ColumnTexts(Form().ListView1, 0), QStringList({"three.bin"}));
        QCOMPARE(ColumnTexts(Form().ListView1, 4), QStringList({m_tree->path() + "/"}));
        QCOMPARE(Texts(), QStringList({Duplicate, "ほかにも重複が 2 件ありました"}));
    }

    void aHundredThousandCopiesAskForTwoBoxes() {
        const QByteArray url = "file://" + Encoded("three.bin") + "\r\n";
        QVERIFY(DropUriList(Form(), url.repeated(100000), LowerAreaTop(Form())));
        QCOMPARE(Form().ListView1->model()->rowCount(), 1);
        QCOMPARE(Texts(), QStringList({Duplicate, "ほかにも重複が 99,998 件ありました"}));
    }

private:
    const QString Duplicate = QStringLiteral("重複しています");

    TForm1& Form() { return m_fixture->Form(); }
    // The percent-encoded path of an entry of the tree ("" for the tree itself).
    QByteArray Encoded(const QString& name) const {
        return QUrl::fromLocalFile(m_tree->path() + (name.isEmpty() ? "" : "/" + name))
            .path(QUrl::FullyEncoded)
            .toLatin1();
    }
    QStringList Texts() const {
        QStringList texts;
        for (const RecordedMessage& m : m_fixture->messages)
            texts << m.text;
        return texts;
    }

    std::unique_ptr<QTemporaryDir> m_tree;
    std::unique_ptr<WindowFixture> m_fixture;
};

QTEST_MAIN(HostileDropsTest)
#include "test_hostile_drops.moc"
