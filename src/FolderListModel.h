#pragma once
// The folder list (ListView3): one row per FolderRow, tinted by what still fits.

#include "RowListModel.h"
#include "core/Rows.h"

class FolderListModel final : public RowListModel<ketrilo::FolderRow> {
    Q_OBJECT

public:
    FolderListModel(const ketrilo::Workspace& ws, const ImageList& icons, QObject* parent);
    // RemainingBytes changed: every cell's background is asked for again.
    void TintsChanged();

protected:
    QString CellText(size_t row, int column) const override;
    QVariant CellBackground(size_t row, int column) const override;
};
