#pragma once
// The long-name list (ListView2): one row per LongNameRow.

#include "core/workspace/Rows.h"
#include "window/models/RowListModel.h"

class LongNameModel final : public RowListModel<ketrilo::LongNameRow> {
    Q_OBJECT

public:
    LongNameModel(const ketrilo::Workspace& ws, const ImageList& icons, QObject* parent);

protected:
    QString CellText(size_t row, int column) const override;
};
