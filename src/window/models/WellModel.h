#pragma once
// The well (ListView1): one row per WellRow, in display order.

#include "core/workspace/Rows.h"
#include "window/models/RowListModel.h"

class WellModel final : public RowListModel<ketrilo::WellRow> {
    Q_OBJECT

public:
    WellModel(const ketrilo::Workspace& ws, const ImageList& icons, QObject* parent);

protected:
    QString CellText(size_t row, int column) const override;
};
