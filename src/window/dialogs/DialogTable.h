#pragma once
// What the dialogs that show figures in tables share: the table, its rows, and the texts
// of their figures.

#include <QString>
#include <QStringList>

#include <cstdint>

class QTableWidget;

// A read-only table with whole-row single selection, no row numbers, named name.
[[nodiscard]] QTableWidget* DialogTable(const QStringList& headers, const QString& name);

// Fills row of table with texts; columns from firstNumber to lastNumber hold figures.
void SetDialogRow(QTableWidget* table, int row, const QStringList& texts, int firstNumber,
                  int lastNumber);

// "1,234,567".
[[nodiscard]] QString ThousandsText(int64_t value);

// "97.3%": tenths of a percent of capacity, cut rather than rounded, so a disc short of
// full never shows 100.0.
[[nodiscard]] QString FillPercentText(int64_t sectors, int64_t capacity);
