// The real folder chooser, answered by a user simulated on its own widgets.
#include "FileFolder.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
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

QModelIndex ChildNamed(const QListView* view, const QString& name) {
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
        const QModelIndex index = model->index(row, 0, view->rootIndex());
        if (index.data().toString() == name)
            return index;
    }
    return {};
}

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
