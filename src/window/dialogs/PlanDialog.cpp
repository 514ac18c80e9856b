#include "window/dialogs/PlanDialog.h"

#include "window/dialogs/DialogTable.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

PlanDialog::PlanDialog(ketrilo::SpanningPlan plan,
                       std::function<void(const ketrilo::PlannedDisc&)> load, QWidget* parent)
    : QDialog(parent), m_plan(std::move(plan)), m_load(std::move(load)) {
    setWindowTitle(QStringLiteral("複数ディスクに分ける"));
    setObjectName(QStringLiteral("PlanDialog"));
    resize(760, 560);

    QString summary = QStringLiteral("ディスク %1 枚（下限 %2 枚）、1 枚 %3 セクタ")
                          .arg(m_plan.discs.size())
                          .arg(m_plan.lowerBound)
                          .arg(ThousandsText(m_plan.capacity));
    for (const std::string& path : m_plan.tooLarge)
        summary += QStringLiteral("\n1 枚に入らないファイル（計画から外しました）: ") +
                   QString::fromUtf8(path);
    Summary = new QLabel(summary);
    Summary->setTextFormat(Qt::PlainText);
    Summary->setWordWrap(true);

    Discs = DialogTable({QStringLiteral("ディスク"), QStringLiteral("項目数"),
                         QStringLiteral("クラスタ"), QStringLiteral("イメージ(セクタ)"),
                         QStringLiteral("使用率")},
                        QStringLiteral("ディスク一覧"));
    Discs->setRowCount(static_cast<int>(m_plan.discs.size()));
    for (int d = 0; d < Discs->rowCount(); ++d) {
        const ketrilo::PlannedDisc& disc = m_plan.discs[static_cast<size_t>(d)];
        SetDialogRow(Discs, d,
                     {QString::number(d + 1),
                      ThousandsText(static_cast<int64_t>(disc.items.size())),
                      ThousandsText(disc.clusters), ThousandsText(disc.sectors),
                      FillPercentText(disc.sectors, m_plan.capacity)},
                     0, 4);
    }
    Items = DialogTable({QStringLiteral("イメージ内のパス"), QStringLiteral("クラスタ"),
                         QStringLiteral("ディスク上の場所")},
                        QStringLiteral("ディスクの項目"));

    LoadButton = new QPushButton(QStringLiteral("このディスクをウェルに"));
    LoadButton->setObjectName(QStringLiteral("LoadButton"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->addButton(LoadButton, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(LoadButton, &QPushButton::clicked, this, [this] {
        const QList<QTableWidgetSelectionRange> ranges = Discs->selectedRanges();
        if (!ranges.isEmpty())
            m_load(m_plan.discs.at(static_cast<size_t>(ranges.front().topRow())));
    });
    connect(Discs, &QTableWidget::itemSelectionChanged, this, &PlanDialog::ShowItemsOfSelectedDisc);

    StaleNote = new QLabel(QStringLiteral(
        "計画のあとでウェル、名前またはディスクが変わったため、この計画のディスクはウェルに"
        "入れられません。もう一度「複数ディスクに分ける…」で分けてください。"));
    StaleNote->setObjectName(QStringLiteral("StaleNote"));
    StaleNote->setWordWrap(true);
    QPalette warning = StaleNote->palette();
    warning.setColor(QPalette::WindowText, Qt::red);
    StaleNote->setPalette(warning);
    StaleNote->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Summary);
    layout->addWidget(Discs, 1);
    layout->addWidget(Items, 2);
    layout->addWidget(StaleNote);
    layout->addWidget(buttons);
    if (Discs->rowCount() > 0)
        Discs->selectRow(0);
    ShowItemsOfSelectedDisc();
}

void PlanDialog::ShowItemsOfSelectedDisc() {
    const QList<QTableWidgetSelectionRange> ranges = Discs->selectedRanges();
    Items->setRowCount(0);
    if (ranges.isEmpty())
        return;
    const ketrilo::PlannedDisc& disc =
        m_plan.discs.at(static_cast<size_t>(ranges.front().topRow()));
    Items->setRowCount(static_cast<int>(disc.items.size()));
    for (int i = 0; i < Items->rowCount(); ++i) {
        const ketrilo::PlannedItem& item = disc.items[static_cast<size_t>(i)];
        SetDialogRow(Items, i,
                     {QString::fromUtf8(item.imagePath), ThousandsText(item.clusters),
                      QString::fromUtf8(item.diskPath)},
                     1, 1);
    }
}

void PlanDialog::MarkStale() {
    StaleNote->show();
    LoadButton->setEnabled(false);
}

bool PlanDialog::Stale() const {
    return !StaleNote->isHidden();
}
