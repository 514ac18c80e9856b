// The real folder chooser, answered by a user simulated on its own widgets.
#include "window/dialogs/FileFolder.h"
#include "window/seams/QtMessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs user once the chooser is up, then returns what SelectFolder returned.
QString ChooseWith(const std::function<void(QFileDialog*)>& user, const ConfirmNotice& confirm) {
    QTimer::singleShot(0, [user] {
        QFileDialog* dialog = nullptr;
        QTRY_VERIFY((dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())));
        user(dialog);
    });
    // A user step that failed must not leave the chooser open for ever.
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    safety.start(30000);
    return SelectFolder(confirm);
}

QModelIndex ChildNamed(const QAbstractItemView* view, const QString& name) {
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
        const QModelIndex index = model->index(row, 0, view->rootIndex());
        if (index.data().toString() == name)
            return index;
    }
    return {};
}

// Where the chooser's side bar keeps each place's URL.
constexpr int UrlRole = Qt::UserRole + 1;

void TypeAndAccept(QFileDialog* dialog, const QString& text) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit != nullptr);
    edit->setText(text);
    static_cast<QDialog*>(dialog)->accept(); // as the Choose button does
}

} // namespace

class FolderChooserTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("chosen")));
    }

    void looksLikeAFolderChooser() {
        QString title;
        bool directoriesOnly = false;
        QString status;
        const QString result = ChooseWith(
            [&](QFileDialog* dialog) {
                title = dialog->windowTitle();
                directoriesOnly = dialog->fileMode() == QFileDialog::Directory &&
                                  dialog->testOption(QFileDialog::ShowDirsOnly);
                dialog->setDirectory(m_dir.path());
                // The user clicks the folder once the chooser has read the folder.
                auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
                QVERIFY(view != nullptr);
                QModelIndex chosen;
                QTRY_VERIFY((chosen = ChildNamed(view, QStringLiteral("chosen"))).isValid());
                view->setCurrentIndex(chosen);
                const auto* line = dialog->findChild<QLabel*>(QStringLiteral("ChooserStatus"));
                QTRY_VERIFY(line && line->text().endsWith(QStringLiteral("/chosen")));
                status = line->text();
                dialog->reject();
            },
            [](QWidget*, const QString&) {});
        QCOMPARE(title, QStringLiteral("フォルダを選択して下さい。"));
        QVERIFY(directoriesOnly);
        QCOMPARE(status, m_dir.filePath(QStringLiteral("chosen")));
        QCOMPARE(result, QString()); // cancelled
    }

    void aTypedNameThatIsNoFolderKeepsTheChooserOpen() {
        QStringList notices;
        bool stayedOpen = false;
        const QString result = ChooseWith(
            [&](QFileDialog* dialog) {
                dialog->setDirectory(m_dir.path());
                TypeAndAccept(dialog, QStringLiteral("nowhere"));
                stayedOpen = dialog->isVisible();
                TypeAndAccept(dialog, m_dir.filePath(QStringLiteral("chosen")));
            },
            [&](QWidget*, const QString& text) { notices << text; });
        QVERIFY(stayedOpen);
        QCOMPARE(notices, QStringList{QStringLiteral("nowhere ディレクトリは存在しません")});
        QCOMPARE(result, m_dir.filePath(QStringLiteral("chosen"))); // no trailing "/"
    }

    void theStatusLineShowsWhatChoosingWouldTake() {
        QStringList notices;
        const QString result = ChooseWith(
            [&](QFileDialog* dialog) {
                const auto* line = dialog->findChild<QLabel*>(QStringLiteral("ChooserStatus"));
                const QString chosenPath = m_dir.filePath(QStringLiteral("chosen"));
                dialog->setDirectory(m_dir.path());
                // The chooser shows its folders in detail, as a tree.
                auto* view = dialog->findChild<QAbstractItemView*>(QStringLiteral("treeView"));
                QVERIFY(view && view->isVisible());
                QModelIndex chosen;
                QTRY_VERIFY((chosen = ChildNamed(view, QStringLiteral("chosen"))).isValid());
                auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                edit->setText(chosenPath); // pasted
                QTRY_COMPARE(line->text(), chosenPath);
                edit->clear();
                QTRY_COMPARE(line->text(), m_dir.path());
                const QPoint at = view->visualRect(chosen).center();
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
                QTRY_COMPARE(dialog->directory().path(), chosenPath);
                QTRY_COMPARE(line->text(), chosenPath);
                // The side bar's computer view has no folder path: choosing it chooses
                // nothing and closes the chooser.
                auto* sidebar = dialog->findChild<QListView*>(QStringLiteral("sidebar"));
                QVERIFY(sidebar != nullptr);
                QModelIndex computer;
                for (int row = 0; row < sidebar->model()->rowCount(); ++row) {
                    const QModelIndex place = sidebar->model()->index(row, 0);
                    if (place.data(UrlRole).toUrl().toLocalFile().isEmpty())
                        computer = place;
                }
                QVERIFY(computer.isValid());
                QTest::mouseClick(sidebar->viewport(), Qt::LeftButton, {},
                                  sidebar->visualRect(computer).center());
                QTRY_COMPARE(line->text(), QString());
                static_cast<QDialog*>(dialog)->accept();
            },
            [&](QWidget*, const QString& text) { notices << text; });
        QCOMPARE(notices, QStringList());
        QCOMPARE(result, QString());
    }

    void theNoticeIsAConfirmationBox() {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title;
        QMessageBox::StandardButtons buttons;
        QTimer::singleShot(0, [&] {
            QMessageBox* box = nullptr;
            QTRY_VERIFY((box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())));
            icon = box->icon();
            title = box->windowTitle();
            buttons = box->standardButtons();
            box->accept();
        });
        QtMessageBoxes().Show(nullptr, MessageKind::Confirm,
                              QStringLiteral("x ディレクトリは存在しません"));
        QCOMPARE(icon, QMessageBox::Question);
        QCOMPARE(title, QStringLiteral("確認"));
        QCOMPARE(buttons, QMessageBox::Ok);
    }

    void theRootComesBackAsOneSlash() {
        const QString result =
            ChooseWith([](QFileDialog* dialog) { TypeAndAccept(dialog, QStringLiteral("/")); },
                       [](QWidget*, const QString&) {});
        QCOMPARE(result, QStringLiteral("/"));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(FolderChooserTest)
#include "test_folder_chooser.moc"
