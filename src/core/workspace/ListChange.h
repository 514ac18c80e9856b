#pragma once
// What one operation did to the rows of one list, so that a view can follow the rows
// (and keep its selection and current row) instead of reading the whole list anew.

#include <cstddef>
#include <vector>

namespace ketrilo {

// The steps are shown in this order: removed, reordered, changed, appended. Each step's
// indexes are those of the list as it stands once the steps before it are done. A
// replaced list stands for everything and the other fields are then empty.
struct ListChange {
    bool replaced = false;       // the rows are new as a whole (listed again, cleared)
    std::vector<size_t> removed; // indexes of the removed rows, ascending
    std::vector<size_t> order;   // when not empty: row i is the row that stood at order[i]
    std::vector<size_t> changed; // indexes of rows whose cells changed in place, ascending
    size_t appended = 0;         // rows added at the end

    [[nodiscard]] bool Any() const {
        return replaced || !removed.empty() || !order.empty() || !changed.empty() || appended > 0;
    }
};

} // namespace ketrilo
