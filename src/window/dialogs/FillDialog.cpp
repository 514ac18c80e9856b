#include "window/dialogs/FillDialog.h"

#include "core/image/DiscImageStatus.h"
#include "core/workspace/Columns.h"
#include "window/dialogs/DialogTable.h"
#include "window/models/RowTableModel.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

FillDialog::FillDialog(const ketrilo::DiscFill& fill, const std::vector<ketrilo::FolderRow>& chosen,
                       QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("空きを埋める"));
    setObjectName(QStringLiteral("FillDialog"));
    resize(640, 480);

    const auto free = [&fill](int64_t sectors) {
        return ThousandsText(ketrilo::ImageRemainingSectors(sectors, fill.capacity));
    };
    QString summary =
        QStringLiteral("イメージ: %1 → %2 セクタ（ディスク %3 セクタ）\n空き: %4 → %5 セクタ\n"
                       "使用率: %6 → %7\n入らない候補: %8 件")
            .arg(ThousandsText(fill.sectorsBefore), ThousandsText(fill.sectorsAfter),
                 ThousandsText(fill.capacity), free(fill.sectorsBefore), free(fill.sectorsAfter),
                 FillPercentText(fill.sectorsBefore, fill.capacity),
                 FillPercentText(fill.sectorsAfter, fill.capacity))
            .arg(fill.tooLarge);
    if (chosen.empty())
        summary += QStringLiteral("\n空きに入る候補はありません");
    Summary = new QLabel(summary);
    Summary->setTextFormat(Qt::PlainText);
    Summary->setWordWrap(true);

    // The rows as the folder list shows them.
    const int columns[] = {ketrilo::SharedColumnName, ketrilo::SharedColumnBytes,
                           ketrilo::SharedColumnClusters};
    Rows = DialogTable(
        {QStringLiteral("ファイル"), QStringLiteral("サイズ"), QStringLiteral("クラスタ")},
        QStringLiteral("追加する項目"));
    Rows->setRowCount(static_cast<int>(chosen.size()));
    for (int r = 0; r < Rows->rowCount(); ++r) {
        QStringList texts;
        for (int column : columns)
            texts << RowTableModel::SharedCellText(chosen[static_cast<size_t>(r)], column);
        SetDialogRow(Rows, r, texts, 1, 2);
    }
    // The name takes the room the figures leave.
    Rows->setWordWrap(false);
    QHeaderView* header = Rows->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(2, QHeaderView::ResizeToContents);

    AddButton = new QPushButton(QStringLiteral("ウェルに追加"));
    AddButton->setObjectName(QStringLiteral("AddButton"));
    AddButton->setEnabled(!chosen.empty());
    CancelButton = new QPushButton(QStringLiteral("キャンセル"));
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(AddButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(CancelButton, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Summary);
    layout->addWidget(Rows, 1);
    layout->addWidget(buttons);
}
