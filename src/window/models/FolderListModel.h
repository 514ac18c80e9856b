#pragma once
// The folder list (ListView3): one row per FolderRow, tinted by what still fits.

#include "core/workspace/Rows.h"
#include "window/models/RowListModel.h"

#include <cstdint>
#include <optional>

class FolderListModel final : public RowListModel<ketrilo::FolderRow> {
    Q_OBJECT

public:
    FolderListModel(const ketrilo::Workspace& ws, const ImageList& icons, QObject* parent);
    // RemainingBytes changed: every cell's background is asked for again.
    void TintsChanged();
    // The image's sectors left on the disc in force, or nothing while it is not known: an
    // image that does not fit leaves no row tinted as fitting.
    void SetImageRemainingSectors(std::optional<int64_t> sectors);

protected:
    QString CellText(size_t row, int column) const override;
    QVariant CellBackground(size_t row, int column) const override;

private:
    std::optional<int64_t> m_imageRemainingSectors;
};
