#include "PlanDialog.h"

#include "core/Numbers.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString Thousands(int64_t value) {
    return QString::fromStdString(ketrilo::FormatThousands(value));
}

// Tenths of a percent, cut rather than rounded, so a disc short of full never shows 100.0.
QString FillText(int64_t sectors, int64_t capacity) {
    const int64_t tenths = capacity > 0 ? sectors * 1000 / capacity : 0;
    return QStringLiteral("%1.%2%").arg(tenths / 10).arg(tenths % 10);
}

QTableWidget* Table(const QStringList& headers, const QString& name) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    table->setAccessibleName(name);
    table->setObjectName(name);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

// Cells of columns from firstNumber to lastNumber hold figures: right-aligned.
void SetRow(QTableWidget* table, int row, const QStringList& texts, int firstNumber,
            int lastNumber) {
    for (int column = 0; column < texts.size(); ++column) {
        auto* cell = new QTableWidgetItem(texts[column]);
        if (column >= firstNumber && column <= lastNumber)
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, column, cell);
    }
}

} // namespace

PlanDialog::PlanDialog(ketrilo::SpanningPlan plan,
                       std::function<void(const ketrilo::PlannedDisc&)> load, QWidget* parent)
    : QDialog(parent), m_plan(std::move(plan)), m_load(std::move(load)) {
    setWindowTitle(QStringLiteral("複数ディスクに分ける"));
    setObjectName(QStringLiteral("PlanDialog"));
    resize(760, 560);

    QString summary = QStringLiteral("ディスク %1 枚（下限 %2 枚）、1 枚 %3 セクタ")
                          .arg(m_plan.discs.size())
                          .arg(m_plan.lowerBound)
                          .arg(Thousands(m_plan.capacity));
    for (const std::string& path : m_plan.tooLarge)
        summary += QStringLiteral("\n1 枚に入らないファイル（計画から外しました）: ") +
                   QString::fromUtf8(path);
    Summary = new QLabel(summary);
    Summary->setTextFormat(Qt::PlainText);
    Summary->setWordWrap(true);

    Discs = Table({QStringLiteral("ディスク"), QStringLiteral("項目数"), QStringLiteral("クラスタ"),
                   QStringLiteral("イメージ(セクタ)"), QStringLiteral("使用率")},
                  QStringLiteral("ディスク一覧"));
    Discs->setRowCount(static_cast<int>(m_plan.discs.size()));
    for (int d = 0; d < Discs->rowCount(); ++d) {
        const ketrilo::PlannedDisc& disc = m_plan.discs[static_cast<size_t>(d)];
        SetRow(Discs, d,
               {QString::number(d + 1), Thousands(static_cast<int64_t>(disc.items.size())),
                Thousands(disc.clusters), Thousands(disc.sectors),
                FillText(disc.sectors, m_plan.capacity)},
               0, 4);
    }
    Items = Table({QStringLiteral("イメージ内のパス"), QStringLiteral("クラスタ"),
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
        SetRow(Items, i,
               {QString::fromUtf8(item.imagePath), Thousands(item.clusters),
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
