#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace tarvelsim {

// The non-zero layout of a square sparse matrix in compressed sparse columns,
// fixed once from the (row, column) pairs that can ever be non-zero, plus the
// whole diagonal, which CVODE's I - gamma J needs. Each given pair gets the
// index of its value in the column-ordered value array, so that a producer
// visiting the pairs in their original order can add straight into it.
class SparsePattern
{
public:
    SparsePattern() = default;
    SparsePattern(size_t size, const std::vector<std::pair<int, int>>& entries);

    size_t size() const { return m_size; }
    size_t nonZeros() const { return m_rows.size(); }
    // size() + 1 offsets into rows(): column j holds rows()[starts()[j] ... starts()[j + 1]).
    const std::vector<std::int64_t>& starts() const { return m_starts; }
    const std::vector<std::int64_t>& rows() const { return m_rows; }
    // The value index of each pair given to the constructor, in its order.
    const std::vector<size_t>& positions() const { return m_positions; }
    // The value index of the diagonal element of a column.
    size_t diagonal(size_t column) const { return m_diagonal[column]; }

private:
    size_t m_size = 0;
    std::vector<std::int64_t> m_starts;
    std::vector<std::int64_t> m_rows;
    std::vector<size_t> m_positions;
    std::vector<size_t> m_diagonal;
};

} // namespace tarvelsim
