#pragma once
// The folder list (ListView3): one row per FolderRow, tinted by what still fits.

#include "RowTableModel.h"

namespace ketrilo {
struct Workspace;
}

class FolderListModel final : public RowTableModel {
    Q_OBJECT

public:
    FolderListModel(const ketrilo::Workspace& ws, const ImageList& icons, QObject* parent);
    // RemainingBytes changed: every cell's background is asked for again.
    void TintsChanged();

protected:
    size_t CoreRowCount() const override;
    QString CellText(size_t row, int column) const override;
    int32_t RowIcon(size_t row) const override;
    QVariant CellBackground(size_t row, int column) const override;

private:
    const ketrilo::Workspace& m_ws; // the window's, which outlives the model
};
