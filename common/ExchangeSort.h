#pragma once
// The exchange sort the lists order their rows with, and the header click
// that picks its column and direction.
#include <utility>
#include <vector>

// Orders rows[first] .. rows[first + keys.size() - 1] by the keys that travel
// with them: for each position i and each later position j the two swap when
// before(keys[j], keys[i]). Equal keys never swap with each other directly,
// but their order can change through swaps with others.
template <class Rows, class Key, class Before>
void ExchangeSort(Rows& rows, int first, std::vector<Key>& keys, Before before)
{
    const int n = static_cast<int>(keys.size());
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (before(keys[j], keys[i])) {
                std::swap(rows[first + i], rows[first + j]);
                std::swap(keys[i], keys[j]);
            }
}

// A header click on column once the click is recorded: the same column again
// turns the order round, another starts ascending (1).
inline void ClickSortColumn(int column, int& sortColumn, int& ascending)
{
    if (column == sortColumn) {
        ascending = ascending ? 0 : 1;
    } else {
        sortColumn = column;
        ascending = 1;
    }
}
