#pragma once
// The store behind a string grid: a table of texts of RowCount × ColCount cells
// held in one contiguous row-major block (no object per cell), the number of
// fixed (header) rows and columns, the width of every column and the height of
// every row, the alignment of every column and a tag. It needs no widgets, so
// the statistics engine, the spreadsheet export and the print preview can lay
// out or read a table without a window; the StringGrid widget shows it.
//
// Cells are addressed column first, as in the grid's Cells[col][row]:
// cell(col, row) and setCell(col, row, text). Outside the table cell() gives an
// empty text and setCell() changes nothing.
//
// Writing cells is cheap: setCell() (and a change of alignment or of the fixed
// counts) only records the touched rectangle, and one dataChanged() for all
// the cells touched since the last one follows when the event loop next runs,
// or at endUpdate() when the writes are bracketed by beginUpdate()/endUpdate().
// A fill that lets the event loop run after every cell therefore shows every
// new value, and a fill of a whole table in one go costs one signal.

#include <QAbstractTableModel>
#include <QColor>
#include <QRect>
#include <climits>
#include <vector>

class StringGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The colour of fixed cells: 15790320 (0xF0F0F0), a light grey.
    static constexpr QRgb FixedColor = 0xF0F0F0;

    explicit StringGridModel(QObject* parent = nullptr);

    // Table size. Changing it keeps every cell that still lies inside the new
    // table; cells cut off are gone, new cells are empty and new rows and
    // columns have the default size. Negative counts are taken as 0. Fixed rows
    // or columns beyond a smaller count are no longer fixed.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    void setRowCount(int rows);
    int colCount() const { return m_cols; }
    void setColCount(int cols);

    // The first fixed rows and columns form the header: never selectable, shown
    // in FixedColor and kept in view while the rest scrolls. At most the row or
    // column count.
    int fixedRows() const { return m_fixedRows; }
    void setFixedRows(int rows);
    int fixedCols() const { return m_fixedCols; }
    void setFixedCols(int cols);

    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);
    bool isFixed(int col, int row) const { return row < m_fixedRows || col < m_fixedCols; }
    // Empties every cell; counts, sizes, alignments and the tag stay.
    void clear();

    // Brackets a series of writes: the views hear of them once, at the
    // outermost endUpdate().
    void beginUpdate();
    void endUpdate();

    // Column widths and row heights in pixels. A width or height of 0 or less
    // hides the column or row and is kept as given (the hidden code column has
    // width -1). Columns and rows without a size of their own follow the
    // default (64 and 18 px); changing a default changes all of those.
    int colWidth(int col) const;
    void setColWidth(int col, int width);
    int rowHeight(int row) const;
    void setRowHeight(int row, int height);
    int defaultColWidth() const { return m_defaultColWidth; }
    void setDefaultColWidth(int width);
    int defaultRowHeight() const { return m_defaultRowHeight; }
    void setDefaultRowHeight(int height);

    // The horizontal alignment of a column's non-fixed cells. A column without
    // one of its own gives Qt::Alignment() and is shown left-aligned; header
    // cells are always shown left-aligned.
    Qt::Alignment colAlignment(int col) const;
    void setColAlignment(int col, Qt::Alignment alignment);

    // A number the owner keeps with the table (the statistics window tells its
    // base table, 1, from its allocation table, 2).
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    // A column's width or a row's height changed (orientation Qt::Horizontal
    // for a column).
    void sectionSizeChanged(Qt::Orientation orientation, int section);
    // Sizes of many sections, or the fixed rows or columns, changed.
    void layoutSizesChanged();

private:
    static constexpr int NoSize = INT_MIN; // a section that follows the default
    void markDirty(const QRect& cells);    // x = column, y = row
    void flush();

    std::vector<QString> m_cells; // row-major: cell (col, row) at row * m_cols + col
    std::vector<int> m_colWidths;
    std::vector<int> m_rowHeights;
    std::vector<Qt::Alignment> m_alignments;
    int m_rows = 0;
    int m_cols = 0;
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    int m_defaultColWidth = 64;
    int m_defaultRowHeight = 18;
    int m_tag = 0;
    int m_updateDepth = 0;
    bool m_flushQueued = false;
    QRect m_dirty; // x = column, y = row; null while nothing waits to be announced
};
