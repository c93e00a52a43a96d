#pragma once
// What the print preview shows and prints: a table with a title, header lines
// above data rows, column widths and alignments, and the texts of its cells.
// The preview control (TPPreview) is such a table; the loaders below fill one
// from a data grid and its dataset or from a string grid, and previewlayout.h
// lays one out on pages.
//
// Columns, header lines and rows count from 0. Widths and the row height are
// in the grid's pixels (96 to the inch); a column of width 0 or less is not
// shown. The rows after the data rows that hold text (the footer texts of a
// data grid go into the row after the last record) are summary rows, shown
// below the data.

#include <QString>
#include <QVariant>
#include <QVector>
#include <vector>

class StringGridModel;
class TDataSet;
struct DataGridColumn;

class PreviewTable {
public:
    // The kind of print; 1, a ruled table, is the only kind there is.
    int pPrintType = 1;
    int pRowHeight = 18;
    QString pCaption; // the title, printed on every page
    int pColCount = 0;
    int pHeaderRowCount = 1;
    int pDataRowCount = 0;
    // Summary rows after the data rows that are shown even when they are
    // empty, while pShowCount is set.
    int pCountRowCount = 0;
    bool pShowCount = false;
    // The leading columns printed again on every page when the table is split
    // into slices of columns (the row names of a statistics table).
    int pFixedColCount = 0;

    // Writes to a column outside 0 … pColCount - 1, or to a negative line or
    // row, change nothing. Alignment: 0 left, 1 centred, 2 right.
    void pSetColWidth(int col, int width);
    void pSetColAlign(int col, int align);
    void pSetTitle(int col, int line, const QString& text);
    void pSetCell(int col, int row, const QString& text);

    int colWidth(int col) const;
    int colAlign(int col) const;
    QString title(int col, int line) const;
    QString cell(int col, int row) const;
    // The rows shown after the data rows.
    int summaryRowCount() const;
    // Empties the table and resets every property.
    void clearTable();

private:
    std::vector<int> m_widths;
    std::vector<int> m_aligns;
    std::vector<std::vector<QString>> m_titles; // [col][line]
    std::vector<std::vector<QString>> m_cells;  // [col][row]
};

// The number of header lines of a caption: its "|" plus one.
int HeaderLineCount(const QString& caption);
// Header line i of a caption: its i-th part between "|"; the last part
// repeats on every further line ("A|B" gives A, B, B, …).
QString HeaderLine(const QString& caption, int line);

// The text the preview shows for a value of a data-grid column: the pick-list
// entry when the column's key list holds the value's plain text, else the
// value under the column's display format.
QString PreviewCellText(const DataGridColumn& column, const QVariant& value);

// Loads a data grid's columns (hidden ones with width 0) and the records of
// its open dataset, walked from the first and left standing past the last,
// then the footer texts into the row after the last record when the grid
// shows a footer row.
void LoadDataGridPreview(PreviewTable& table, const QString& title, const QVector<DataGridColumn>& columns,
                         TDataSet& dataSet, bool footerRow);

// Loads a string grid: row 0 gives the header lines, rows 1 … RowCount - 1 the
// data rows; columns of width 0 or less get width 0. The grid's fixed columns
// are repeated on every slice of a split table.
void LoadStringGridPreview(PreviewTable& table, const QString& title, const StringGridModel& grid);
