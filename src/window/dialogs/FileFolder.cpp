#include "window/dialogs/FileFolder.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

// Qt's own chooser with a status line for the folder 選択 would take and our notice
// for a typed name that is not a folder.
class FolderDialog final : public QFileDialog {
public:
    explicit FolderDialog(ConfirmNotice confirm)
        : QFileDialog(nullptr, QStringLiteral("フォルダを選択して下さい。"), QStringLiteral("/")),
          m_confirm(std::move(confirm)) {
        setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
        setFileMode(QFileDialog::Directory);
        setObjectName(QStringLiteral("FolderChooser"));
        m_status = new QLabel(this);
        m_status->setObjectName(QStringLiteral("ChooserStatus"));
        if (auto* grid = qobject_cast<QGridLayout*>(layout()))
            grid->addWidget(m_status, grid->rowCount(), 0, 1, grid->columnCount());
        // Whatever moves the choice (a click, a double-click into a folder, the side bar,
        // a typed name), the status line follows it.
        connect(this, &QFileDialog::currentChanged, this, &FolderDialog::ShowChoice);
        connect(this, &QFileDialog::directoryEntered, this, &FolderDialog::ShowChoice);
        if (QLineEdit* edit = NameEdit())
            connect(edit, &QLineEdit::textChanged, this, &FolderDialog::ShowChoice);
        ShowChoice();
    }

    void accept() override {
        const QString chosen = Choice();
        // An item without a folder path (the side bar's computer view) chooses nothing.
        if (chosen.isEmpty()) {
            done(QDialog::Rejected);
            return;
        }
        if (!QFileInfo(chosen).isDir()) {
            m_confirm(this, TypedName(chosen) + QStringLiteral(" ディレクトリは存在しません"));
            return;
        }
        QFileDialog::accept();
    }

    // The path 選択 would take now: the typed or selected name, else the folder shown;
    // empty where the chooser shows no folder.
    [[nodiscard]] QString Choice() const {
        const QStringList files = selectedFiles();
        return files.isEmpty() || files.first().isEmpty() ? QString()
                                                          : QDir::cleanPath(files.first());
    }

private:
    void ShowChoice() { m_status->setText(Choice()); }

    [[nodiscard]] QLineEdit* NameEdit() const {
        return findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    }

    [[nodiscard]] QString TypedName(const QString& fallback) const {
        const QLineEdit* edit = NameEdit();
        return edit && !edit->text().isEmpty() ? edit->text() : fallback;
    }

    ConfirmNotice m_confirm;
    QLabel* m_status = nullptr;
};

} // namespace

QString SelectFolder(const ConfirmNotice& confirm) {
    FolderDialog dialog(confirm);
    return dialog.exec() == QDialog::Accepted ? dialog.Choice() : QString();
}
