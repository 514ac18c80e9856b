#include "window/models/WellModel.h"

#include "core/workspace/Workspace.h"
#include "window/PathText.h"

WellModel::WellModel(const ketrilo::Workspace& ws, const ImageList& icons, QObject* parent)
    : RowListModel(
          {{QStringLiteral("ファイル"), 0, Qt::AlignLeft},
           {QStringLiteral("拡張子"), 50, Qt::AlignLeft},
           {QStringLiteral("サイズ"), 80, Qt::AlignRight, BytesDigits},
           {QStringLiteral("クラスタ"), 60, Qt::AlignRight, ClustersDigits},
           {QStringLiteral("パス"), 0, Qt::AlignLeft}},
          ws,
          [](const ketrilo::Workspace& w) -> const std::vector<ketrilo::WellRow>& {
              return w.well.Rows();
          },
          icons, parent) {}

QString WellModel::CellText(size_t row, int column) const {
    const ketrilo::WellRow& r = At(row);
    return column == ketrilo::WellColumnPath ? TextOfBytes(r.path) : SharedCellText(r, column);
}
