// A row's picture says what its entry is: a folder (a hidden one too) the folder picture,
// a symbolic link the theme's link picture, a file its type's picture.
#include "app/AppearanceSetup.h"
#include "support/DropHelpers.h"
#include "support/WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace ui_test;

namespace {

// The picture the list shows in the name cell of its row named name.
QIcon PictureOf(const QTableView* view, const QString& name) {
    const QStringList names = ColumnTexts(view, 0);
    return view->model()->index(names.indexOf(name), 0).data(Qt::DecorationRole).value<QIcon>();
}

} // namespace

class RowPicturesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetUpAppearance(); }

    void picturesFollowWhatTheEntryIs() {
        QTemporaryDir tree;
        const QDir root(tree.path());
        QVERIFY(root.mkpath(QStringLiteral(".hidden")) && root.mkpath(QStringLiteral("real")));
        QVERIFY(QFile::link(root.filePath(QStringLiteral("real")),
                            root.filePath(QStringLiteral("link"))));
        MakeFile(root.filePath(QStringLiteral("notes.txt")), 10);
        WindowFixture fixture;
        TForm1& f = fixture.Form();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));

        QVERIFY(DropFiles(f,
                          {root.filePath(QStringLiteral(".hidden")),
                           root.filePath(QStringLiteral("link")),
                           root.filePath(QStringLiteral("notes.txt"))},
                          LowerAreaTop(f)));
        QTRY_COMPARE(f.ListView1->model()->rowCount(), 3);
        fixture.AnswerChooser(tree.path());
        QVERIFY(Handled(f, [&] { f.ToolButton2->click(); }));
        QTRY_COMPARE(f.ListView3->model()->rowCount(), 3); // the hidden folder is not listed

        const qint64 folder = f.ImageList1.Icon(ketrilo::FolderIconIndex).cacheKey();
        for (const QTableView* list : {f.ListView1, f.ListView3}) {
            QCOMPARE(PictureOf(list, QStringLiteral("link")).name(),
                     QStringLiteral("inode-symlink"));
            const QIcon file = PictureOf(list, QStringLiteral("notes.txt"));
            QVERIFY(file.cacheKey() != folder && !file.name().startsWith(QLatin1String("inode")));
        }
        QCOMPARE(PictureOf(f.ListView1, QStringLiteral(".hidden")).cacheKey(), folder);
        QCOMPARE(PictureOf(f.ListView3, QStringLiteral("real")).cacheKey(), folder);
    }
};

QTEST_MAIN(RowPicturesTest)
#include "test_row_pictures.moc"
