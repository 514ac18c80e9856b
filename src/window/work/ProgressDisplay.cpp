#include "window/work/ProgressDisplay.h"

#include "core/base/WorkProgress.h"
#include "core/text/Numbers.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int FolderTextWidth = 460; // pixels; a longer path is shortened in its middle

QString Figure(int64_t value) {
    return QString::fromStdString(ketrilo::FormatThousands(value));
}

} // namespace

ProgressDisplay::ProgressDisplay(ketrilo::WorkProgress& progress, QWidget* window)
    : QDialog(window), m_progress(progress) {
    setObjectName(QStringLiteral("ProgressDisplay"));
    setWindowTitle(QStringLiteral("処理中"));
    auto* layout = new QVBoxLayout(this);
    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("ProgressCounts"));
    m_folder = new QLabel(this);
    m_folder->setObjectName(QStringLiteral("ProgressFolder"));
    m_folder->setMinimumWidth(FolderTextWidth);
    m_folder->setTextFormat(Qt::PlainText);
    auto* buttons = new QDialogButtonBox(this);
    m_cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    m_cancel->setObjectName(QStringLiteral("ProgressCancel"));
    connect(buttons, &QDialogButtonBox::rejected, this, &ProgressDisplay::reject);
    layout->addWidget(m_counts);
    layout->addWidget(m_folder);
    layout->addWidget(buttons);
    Refresh();
}

void ProgressDisplay::Refresh() {
    if (m_progress.Cancelled())
        return; // the display says so already
    const ketrilo::WorkProgress::Snapshot now = m_progress.Read();
    m_counts->setText(QStringLiteral("ファイル %1　フォルダ %2　%3 バイト")
                          .arg(Figure(now.files), Figure(now.folders), Figure(now.bytes)));
    const QString folder = QString::fromUtf8(now.currentFolder);
    m_folder->setText(m_folder->fontMetrics().elidedText(folder, Qt::ElideMiddle, FolderTextWidth));
    m_folder->setToolTip(folder);
}

void ProgressDisplay::reject() {
    m_progress.Cancel();
    m_cancel->setEnabled(false);
    m_counts->setText(QStringLiteral("キャンセルしています…"));
}
