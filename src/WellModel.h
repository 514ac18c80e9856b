#pragma once
// The well (ListView1): one row per WellRow, in display order.

#include "RowTableModel.h"

namespace ketrilo {
struct Workspace;
}

class WellModel final : public RowTableModel {
    Q_OBJECT

public:
    WellModel(const ketrilo::Workspace& ws, const ImageList& icons, QObject* parent);

protected:
    size_t CoreRowCount() const override;
    QString CellText(size_t row, int column) const override;
    int32_t RowIcon(size_t row) const override;

private:
    const ketrilo::Workspace& m_ws; // the window's, which outlives the model
};
