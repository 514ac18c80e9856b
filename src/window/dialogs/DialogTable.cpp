#include "window/dialogs/DialogTable.h"

#include "core/text/Numbers.h"

#include <QHeaderView>
#include <QTableWidget>

QTableWidget* DialogTable(const QStringList& headers, const QString& name) {
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

void SetDialogRow(QTableWidget* table, int row, const QStringList& texts, int firstNumber,
                  int lastNumber) {
    for (int column = 0; column < texts.size(); ++column) {
        auto* cell = new QTableWidgetItem(texts[column]);
        if (column >= firstNumber && column <= lastNumber)
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, column, cell);
    }
}

QString ThousandsText(int64_t value) {
    return QString::fromStdString(ketrilo::FormatThousands(value));
}

QString FillPercentText(int64_t sectors, int64_t capacity) {
    const int64_t tenths = capacity > 0 ? sectors * 1000 / capacity : 0;
    return QStringLiteral("%1.%2%").arg(tenths / 10).arg(tenths % 10);
}
