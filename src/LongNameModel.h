#pragma once
// The long-name list (ListView2): one row per LongNameRow.

#include "RowTableModel.h"

namespace ketrilo {
struct Workspace;
}

class LongNameModel final : public RowTableModel {
    Q_OBJECT

public:
    LongNameModel(const ketrilo::Workspace& ws, const ImageList& icons, QObject* parent);

protected:
    size_t CoreRowCount() const override;
    QString CellText(size_t row, int column) const override;
    int32_t RowIcon(size_t row) const override;

private:
    const ketrilo::Workspace& m_ws; // the window's, which outlives the model
};
