#pragma once
// A statistics table as a flat block of texts, laid out like the statistics
// window shows it: header rows (row 0 hidden, holding the column codes) and
// header columns (column 0 hidden, holding the row codes), then one data row
// per expense category and one data column per department and employee, both
// in tree order.

#include <QString>
#include <vector>

struct StatTable {
    int rowCount = 0;
    int colCount = 0;
    int fixedRows = 0;          // header rows, the hidden code row 0 included
    int fixedCols = 1;          // header columns, the hidden code column 0 included
    std::vector<QString> cells; // row-major

    // Per data column (index col - fixedCols): whether its node has no children.
    std::vector<bool> leafColumns;

    void resize(int rows, int cols);
    const QString& cell(int col, int row) const {
        return cells[size_t(row) * size_t(colCount) + size_t(col)];
    }
    void setCell(int col, int row, const QString& text) {
        cells[size_t(row) * size_t(colCount) + size_t(col)] = text;
    }

    int dataRows() const { return rowCount - fixedRows; }
    int dataCols() const { return colCount - fixedCols; }
    // The code of a data row (column 0) and of a data column (row 0).
    const QString& rowCode(int row) const { return cell(0, row); }
    const QString& colCode(int col) const { return cell(col, 0); }
};
