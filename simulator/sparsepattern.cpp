#include "sparsepattern.h"

#include <algorithm>

namespace tarvelsim {

SparsePattern::SparsePattern(size_t size, const std::vector<std::pair<int, int>>& entries)
    : m_size(size)
{
    // Key a pair by column first: the order of the value array.
    auto key = [size](size_t row, size_t column) { return column * size + row; };
    std::vector<size_t> keys;
    keys.reserve(entries.size() + size);
    for (const auto& entry : entries)
        keys.push_back(key(static_cast<size_t>(entry.first), static_cast<size_t>(entry.second)));
    for (size_t i = 0; i < size; ++i)
        keys.push_back(key(i, i));
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());

    m_starts.assign(size + 1, 0);
    m_rows.resize(keys.size());
    m_diagonal.resize(size);
    for (size_t p = 0; p < keys.size(); ++p) {
        const size_t column = keys[p] / size;
        const size_t row = keys[p] % size;
        m_rows[p] = static_cast<std::int64_t>(row);
        ++m_starts[column + 1];
        if (row == column)
            m_diagonal[column] = p;
    }
    for (size_t j = 0; j < size; ++j)
        m_starts[j + 1] += m_starts[j];
    m_positions.reserve(entries.size());
    for (const auto& entry : entries) {
        const size_t wanted = key(static_cast<size_t>(entry.first), static_cast<size_t>(entry.second));
        m_positions.push_back(static_cast<size_t>(std::lower_bound(keys.begin(), keys.end(), wanted) - keys.begin()));
    }
}

} // namespace tarvelsim
