#include "window/models/LongNameModel.h"

#include "core/workspace/Workspace.h"
#include "window/PathText.h"

LongNameModel::LongNameModel(const ketrilo::Workspace& ws, const ImageList& icons, QObject* parent)
    : RowListModel(
          {{QStringLiteral("ファイル"), 0, Qt::AlignLeft},
           {QStringLiteral("長さ"), 50, Qt::AlignLeft},
           {QStringLiteral("パス"), 0, Qt::AlignLeft}},
          ws,
          [](const ketrilo::Workspace& w) -> const std::vector<ketrilo::LongNameRow>& {
              return w.longNames.Rows();
          },
          icons, parent) {}

QString LongNameModel::CellText(size_t row, int column) const {
    const ketrilo::LongNameRow& r = At(row);
    switch (column) {
    case ketrilo::LongNameColumnName:
        return TextOfBytes(r.name);
    case ketrilo::LongNameColumnLength:
        return LengthText(r.length);
    case ketrilo::LongNameColumnFolder:
        return TextOfBytes(r.folder);
    default:
        return {};
    }
}
