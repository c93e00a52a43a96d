#include "stats/stattable.h"

void StatTable::resize(int rows, int cols) {
    std::vector<QString> resized(size_t(rows) * size_t(cols));
    for (int r = 0; r < std::min(rows, rowCount); ++r)
        for (int c = 0; c < std::min(cols, colCount); ++c)
            resized[size_t(r) * size_t(cols) + size_t(c)] =
                std::move(cells[size_t(r) * size_t(colCount) + size_t(c)]);
    cells = std::move(resized);
    rowCount = rows;
    colCount = cols;
}
