#include "WellModel.h"

#include "PathText.h"
#include "core/Workspace.h"

WellModel::WellModel(const ketrilo::Workspace& ws, const ImageList& icons, QObject* parent)
    : RowTableModel({{QStringLiteral("ファイル"), 0, Qt::AlignLeft},
                     {QStringLiteral("拡張子"), 50, Qt::AlignLeft},
                     {QStringLiteral("サイズ"), 80, Qt::AlignRight, BytesDigits},
                     {QStringLiteral("クラスタ"), 60, Qt::AlignRight, ClustersDigits},
                     {QStringLiteral("パス"), 0, Qt::AlignLeft}},
                    icons, parent),
      m_ws(ws) {}

size_t WellModel::CoreRowCount() const {
    return m_ws.well.Size();
}

QString WellModel::CellText(size_t row, int column) const {
    const ketrilo::WellRow& r = m_ws.well.Rows()[row];
    return column == ketrilo::WellColumnPath ? TextOfBytes(r.path) : SharedCellText(r, column);
}

int32_t WellModel::RowIcon(size_t row) const {
    return m_ws.well.Rows()[row].icon;
}
