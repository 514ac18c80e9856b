#pragma once
// Reordering a list by a permutation.

#include <cstddef>
#include <utility>
#include <vector>

namespace ketrilo {

// Reorders items so that new item i is old item order[i]; order is a permutation.
template <typename T> void ApplyOrder(std::vector<T>& items, const std::vector<size_t>& order) {
    std::vector<T> reordered;
    reordered.reserve(order.size());
    for (size_t oldIndex : order) {
        reordered.push_back(std::move(items.at(oldIndex)));
    }
    items = std::move(reordered);
}

} // namespace ketrilo
