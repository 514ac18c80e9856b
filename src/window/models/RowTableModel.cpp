#include "window/models/RowTableModel.h"

#include "core/text/NameRules.h"
#include "core/workspace/ListChange.h"
#include "window/icons/ImageList.h"

#include <algorithm>
#include <utility>

RowTableModel::RowTableModel(std::vector<ColumnSpec> columns, const ImageList& icons,
                             QObject* parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns)), m_icons(icons) {}

void RowTableModel::Show(const ketrilo::ListChange& change) {
    const auto coreRows = static_cast<int>(CoreRowCount());
    if (!change.replaced) {
        // The core's list has already changed: until each step is announced, the views
        // read the rows they know of where the core now keeps them.
        if (!change.removed.empty() || !change.order.empty())
            m_coreRowOf = CoreRowsOfShownRows(change);
        RemoveRows(change.removed);
        Reorder(change.order);
        m_coreRowOf.clear();
        if (change.appended > 0) {
            beginInsertRows({}, m_shownRows, m_shownRows + static_cast<int>(change.appended) - 1);
            m_shownRows += static_cast<int>(change.appended);
            endInsertRows();
        }
        RowsChanged(change.changed);
    }
    // A change that does not add up to the core's rows would leave the views reading
    // past the list: they are then shown the whole list anew. It is a fault of the
    // change, which the tests turn into a failure.
    if (!change.replaced && m_shownRows != coreRows)
        qWarning("RowTableModel: a change of %d rows left %d, the list holds %d; shown anew",
                 static_cast<int>(change.removed.size() + change.appended), m_shownRows, coreRows);
    if (change.replaced || m_shownRows != coreRows) {
        beginResetModel();
        m_coreRowOf.clear();
        m_shownRows = coreRows;
        endResetModel();
    }
}

std::vector<int> RowTableModel::CoreRowsOfShownRows(const ketrilo::ListChange& change) const {
    std::vector<int> coreRowOf(static_cast<size_t>(m_shownRows), -1);
    std::vector<int> reorderedTo(change.order.size());
    for (size_t row = 0; row < change.order.size(); ++row)
        if (change.order[row] < reorderedTo.size())
            reorderedTo[change.order[row]] = static_cast<int>(row);
    size_t gone = 0;
    for (size_t row = 0; row < coreRowOf.size(); ++row) {
        if (gone < change.removed.size() && change.removed[gone] == row) {
            ++gone;
            continue;
        }
        const size_t kept = row - gone;
        coreRowOf[row] = kept < reorderedTo.size() ? reorderedTo[kept] : static_cast<int>(kept);
    }
    return coreRowOf;
}

int RowTableModel::CoreRowOf(int shownRow) const {
    if (m_coreRowOf.empty())
        return shownRow;
    return static_cast<size_t>(shownRow) < m_coreRowOf.size()
               ? m_coreRowOf[static_cast<size_t>(shownRow)]
               : -1;
}

void RowTableModel::RemoveRows(const std::vector<size_t>& removed) {
    if (removed.empty() || removed.back() >= static_cast<size_t>(m_shownRows))
        return;
    std::vector<std::pair<int, int>> runs; // first and last row of each run of neighbours
    for (size_t row : removed) {
        if (!runs.empty() && static_cast<size_t>(runs.back().second) + 1 == row)
            runs.back().second = static_cast<int>(row);
        else
            runs.emplace_back(static_cast<int>(row), static_cast<int>(row));
    }
    // Each removal costs the views a pass over every selected range, so thousands of
    // scattered runs (a scattered selection deleted) are shown as one change of layout
    // in which the removed rows' indexes become invalid.
    constexpr size_t MaxRemovalsOneByOne = 256;
    if (runs.size() > MaxRemovalsOneByOne) {
        std::vector<int> newRow(static_cast<size_t>(m_shownRows));
        size_t gone = 0;
        for (size_t row = 0; row < newRow.size(); ++row) {
            if (gone < removed.size() && removed[gone] == row) {
                newRow[row] = -1;
                ++gone;
            } else {
                newRow[row] = static_cast<int>(row - gone);
            }
        }
        MoveRows(newRow, static_cast<int>(static_cast<size_t>(m_shownRows) - removed.size()));
        return;
    }
    // The last run first, so that the indexes of the runs before it still hold.
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        beginRemoveRows({}, run->first, run->second);
        m_shownRows -= run->second - run->first + 1;
        m_coreRowOf.erase(m_coreRowOf.begin() + run->first, m_coreRowOf.begin() + run->second + 1);
        endRemoveRows();
    }
}

void RowTableModel::Reorder(const std::vector<size_t>& order) {
    if (order.empty() || order.size() != static_cast<size_t>(m_shownRows))
        return;
    std::vector<int> newRow(order.size());
    for (size_t row = 0; row < order.size(); ++row)
        newRow[order[row]] = static_cast<int>(row);
    MoveRows(newRow, m_shownRows);
}

void RowTableModel::MoveRows(const std::vector<int>& newRow, int rowsAfter) {
    // Only rows move (no column does), which lets the views keep a selection by rows.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before) {
        const int row = newRow[static_cast<size_t>(old.row())];
        after.append(row < 0 ? QModelIndex() : index(row, old.column()));
    }
    std::vector<int> coreRowOf(static_cast<size_t>(rowsAfter), -1);
    for (size_t row = 0; row < newRow.size(); ++row)
        if (newRow[row] >= 0)
            coreRowOf[static_cast<size_t>(newRow[row])] = CoreRowOf(static_cast<int>(row));
    m_coreRowOf = std::move(coreRowOf);
    m_shownRows = rowsAfter;
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void RowTableModel::RowsChanged(const std::vector<size_t>& changed) {
    if (changed.empty())
        return;
    const auto [first, last] = std::minmax_element(changed.begin(), changed.end());
    if (*last < static_cast<size_t>(m_shownRows))
        emit dataChanged(index(static_cast<int>(*first), 0),
                         index(static_cast<int>(*last), columnCount() - 1));
}

int RowTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_shownRows;
}

int RowTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant RowTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int coreRow = CoreRowOf(index.row());
    if (coreRow < 0 || static_cast<size_t>(coreRow) >= CoreRowCount())
        return {};
    const auto row = static_cast<size_t>(coreRow);
    switch (role) {
    case Qt::DisplayRole:
        return CellText(row, index.column());
    case Qt::DecorationRole:
        return index.column() == 0 ? QVariant(m_icons.Icon(RowIcon(row))) : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant(m_columns[index.column()].alignment | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        return CellBackground(row, index.column());
    default:
        return {};
    }
}

QVariant RowTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns[section].caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant(m_columns[section].alignment | Qt::AlignVCenter);
    return {};
}

QString RowTableModel::BytesText(int64_t bytes) {
    return QString::fromStdString(ketrilo::FormatPadded(bytes, 12));
}

QString RowTableModel::ClustersText(int64_t clusters) {
    return QString::fromStdString(ketrilo::FormatPadded(clusters, 6));
}

QString RowTableModel::LengthText(int32_t length) {
    return QString::fromStdString(ketrilo::FormatPadded(length, 3));
}
