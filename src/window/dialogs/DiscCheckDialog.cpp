#include "window/dialogs/DiscCheckDialog.h"

#include "core/image/DiscImageStatus.h"
#include "core/text/EscapedText.h"
#include "window/work/DiscImageWatcher.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { PathColumn, ReasonColumn, ActionColumn, ColumnCount };
constexpr int KindRole = Qt::UserRole;
constexpr int PathBytesRole = Qt::UserRole + 1; // the path as the file system spells it

// A cell that shows text, elided when narrow, with the whole of it as its tooltip and
// accessible name.
QTableWidgetItem* WholeTextItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(text);
    item->setData(Qt::AccessibleTextRole, text);
    return item;
}

} // namespace

DiscCheckDialog::DiscCheckDialog(const DiscImageWatcher& watcher,
                                 std::function<bool(const std::string&)> holdsLongName,
                                 std::function<void(const std::string&)> showLongName,
                                 QWidget* parent)
    : QDialog(parent), m_watcher(watcher), m_holdsLongName(std::move(holdsLongName)) {
    setObjectName(QStringLiteral("DiscCheckDialog"));
    setWindowTitle(QStringLiteral("ディスクの検査"));
    resize(760, 320);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("DiscCheckSummary"));
    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setObjectName(QStringLiteral("DiscCheckList"));
    m_table->setAccessibleName(QStringLiteral("ディスクの検査"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("パス"), QStringLiteral("問題"),
                                        QStringLiteral("ライティングソフトの処理")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Paths that differ only near their end stay told apart; each cell's tooltip and
    // accessible name hold its whole text.
    m_table->setTextElideMode(Qt::ElideMiddle);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(PathColumn, 300);
    m_table->setColumnWidth(ReasonColumn, 220);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_summary);
    column->addWidget(m_table, 1);
    column->addWidget(buttons);

    connect(m_table, &QTableWidget::cellDoubleClicked, this,
            [this, showLongName = std::move(showLongName)](int row, int) {
                const QTableWidgetItem* path = m_table->item(row, PathColumn);
                const std::string bytes = path->data(PathBytesRole).toByteArray().toStdString();
                if (path->data(KindRole).toInt() !=
                        static_cast<int>(ketrilo::ImageFindingKind::JolietNameTooLong) ||
                    !m_holdsLongName(bytes))
                    return;
                showLongName(bytes);
                accept(); // the user goes on in the long-name list
            });
    connect(&watcher, &DiscImageWatcher::Changed, this, &DiscCheckDialog::Fill);
    Fill();
}

void DiscCheckDialog::Fill() {
    m_table->setRowCount(0);
    const auto& report = m_watcher.Report();
    if (m_watcher.ShowsComputing()) {
        m_summary->setText(QString::fromUtf8(ketrilo::ImageComputingText));
    } else if (!report) {
        m_summary->setText(QStringLiteral("イメージを計算できませんでした: ") +
                           m_watcher.Failure());
    } else if (report->findings.empty()) {
        m_summary->setText(QStringLiteral("ライティングソフトが変えるものや拒むものはありません"));
    } else {
        m_summary->setText(QStringLiteral("ライティングソフトが変えるか拒むもの: %1件")
                               .arg(report->findings.size()));
        m_table->setRowCount(static_cast<int>(report->findings.size()));
        int row = 0;
        for (const ketrilo::ImageFinding& finding : report->findings) {
            auto* path = WholeTextItem(
                QString::fromStdString(ketrilo::EscapeControlCharacters(finding.path)));
            path->setData(KindRole, static_cast<int>(finding.kind));
            path->setData(PathBytesRole, QByteArray::fromStdString(finding.path));
            m_table->setItem(row, PathColumn, path);
            m_table->setItem(
                row, ReasonColumn,
                WholeTextItem(QString::fromUtf8(ketrilo::ImageFindingReason(finding.kind))));
            QString action = QString::fromUtf8(ketrilo::ImageFindingAction(finding.kind));
            if (finding.kind == ketrilo::ImageFindingKind::JolietNameTooLong)
                action += QStringLiteral("。") +
                          QString::fromUtf8(ketrilo::LongNameAdvice(m_holdsLongName(finding.path)));
            m_table->setItem(row, ActionColumn, WholeTextItem(action));
            ++row;
        }
    }
    emit Filled();
}
