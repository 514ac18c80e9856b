#include "FileFolder.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

// Qt's own chooser with a status line for the selected folder's path and our notice
// for a typed name that is not a folder.
class FolderDialog final : public QFileDialog {
public:
    explicit FolderDialog(ConfirmNotice confirm)
        : QFileDialog(nullptr, QStringLiteral("フォルダを選択して下さい。"), QStringLiteral("/")),
          m_confirm(std::move(confirm)) {
        setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
        setFileMode(QFileDialog::Directory);
        setObjectName(QStringLiteral("FolderChooser"));
        auto* status = new QLabel(QStringLiteral("/"), this);
        status->setObjectName(QStringLiteral("ChooserStatus"));
        if (auto* grid = qobject_cast<QGridLayout*>(layout()))
            grid->addWidget(status, grid->rowCount(), 0, 1, grid->columnCount());
        connect(this, &QFileDialog::currentChanged, status, &QLabel::setText);
    }

    void accept() override {
        const QStringList files = selectedFiles();
        const QString chosen = files.isEmpty() ? QString() : files.first();
        if (!QFileInfo(chosen).isDir()) {
            m_confirm(this, TypedName(chosen) + QStringLiteral(" ディレクトリは存在しません"));
            return;
        }
        QFileDialog::accept();
    }

private:
    [[nodiscard]] QString TypedName(const QString& fallback) const {
        const auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        return edit && !edit->text().isEmpty() ? edit->text() : fallback;
    }

    ConfirmNotice m_confirm;
};

} // namespace

QString SelectFolder(const ConfirmNotice& confirm) {
    FolderDialog dialog(confirm);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::cleanPath(dialog.selectedFiles().first());
}
