#include "LongNameModel.h"

#include "PathText.h"
#include "core/Workspace.h"

LongNameModel::LongNameModel(const ketrilo::Workspace& ws, const ImageList& icons, QObject* parent)
    : RowTableModel({{QStringLiteral("ファイル"), 0, Qt::AlignLeft},
                     {QStringLiteral("長さ"), 50, Qt::AlignLeft},
                     {QStringLiteral("パス"), 0, Qt::AlignLeft}},
                    icons, parent),
      m_ws(ws) {}

size_t LongNameModel::CoreRowCount() const {
    return m_ws.longNames.Size();
}

QString LongNameModel::CellText(size_t row, int column) const {
    const ketrilo::LongNameRow& r = m_ws.longNames.Rows()[row];
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

int32_t LongNameModel::RowIcon(size_t row) const {
    return m_ws.longNames.Rows()[row].icon;
}
