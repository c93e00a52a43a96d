#pragma once
// The string grid of the statistics tables: a read-only table of texts over a
// StringGridModel (one flat store, no object per cell), so a table of hundreds
// of thousands of cells opens, scrolls and resizes at once.
//
// The fixed (header) rows and columns stay in view while the rest scrolls: the
// fixed rows are drawn above the scrolling cells, column by column, the fixed
// columns to their left, row by row, and the fixed block in the corner. Fixed
// cells are light grey and have horizontal lines only; the other cells have
// lines on both sides. Rows are 18 px high and columns 64 px wide unless given
// a size of their own; a width or height of 0 or less hides the column or row
// (the statistics tables hide their code row 0 and code column 0 with -1).
//
// The user selects one rectangle of non-fixed cells with the mouse or with
// Shift and the arrow keys; Tab leaves the grid, Enter stays with it. The
// popup menu set by the owner opens on a right click anywhere on the grid.
//
// Cells are addressed column first, as in the grid's Cells[col][row]:
// cell(col, row), setCell(col, row, text). Writing many cells is cheap (see
// StringGridModel): a fill that lets the event loop run between cells shows
// each value as it comes; beginUpdate()/endUpdate() bracket a fill that does not.

#include "widgets/stringgridmodel.h"

#include <QPointer>
#include <QTableView>

class QMenu;

class StringGrid : public QTableView {
    Q_OBJECT
public:
    explicit StringGrid(QWidget* parent = nullptr);

    // The store the grid shows; Widgets-free code can lay the table out and
    // read it through this.
    StringGridModel* gridModel() const { return m_model; }

    int rowCount() const { return m_model->rowCount(); }
    void setRowCount(int rows) { m_model->setRowCount(rows); }
    int colCount() const { return m_model->colCount(); }
    void setColCount(int cols) { m_model->setColCount(cols); }
    int fixedRows() const { return m_model->fixedRows(); }
    void setFixedRows(int rows) { m_model->setFixedRows(rows); }
    int fixedCols() const { return m_model->fixedCols(); }
    void setFixedCols(int cols) { m_model->setFixedCols(cols); }

    QString cell(int col, int row) const { return m_model->cell(col, row); }
    void setCell(int col, int row, const QString& text) { m_model->setCell(col, row, text); }
    void clear() { m_model->clear(); }
    void beginUpdate() { m_model->beginUpdate(); }
    void endUpdate() { m_model->endUpdate(); }

    int colWidth(int col) const { return m_model->colWidth(col); }
    void setColWidth(int col, int width) { m_model->setColWidth(col, width); }
    int rowHeight(int row) const { return m_model->rowHeight(row); }
    void setRowHeight(int row, int height) { m_model->setRowHeight(row, height); }
    int defaultColWidth() const { return m_model->defaultColWidth(); }
    void setDefaultColWidth(int width) { m_model->setDefaultColWidth(width); }
    int defaultRowHeight() const { return m_model->defaultRowHeight(); }
    void setDefaultRowHeight(int height) { m_model->setDefaultRowHeight(height); }

    // Qt::Alignment() for a column that follows the grid's default (left).
    Qt::Alignment colAlignment(int col) const { return m_model->colAlignment(col); }
    void setColAlignment(int col, Qt::Alignment alignment) { m_model->setColAlignment(col, alignment); }

    int tag() const { return m_model->tag(); }
    void setTag(int tag) { m_model->setTag(tag); }

    // The popup menu of the grid (not owned; none by default).
    void setPopupMenu(QMenu* menu);
    QMenu* popupMenu() const;
    // Opens the popup menu at a global position, if there is one.
    void showPopupMenu(const QPoint& globalPos);

    // The selected rectangle of non-fixed cells, x being the column and y the
    // row: the bounding rectangle of the selection, or the current cell when
    // nothing is selected; a null rectangle when there is no current cell.
    QRect selectedRange() const;
    // Selects the rectangle (clipped to the non-fixed cells) and makes its
    // top-left cell the current one.
    void selectRange(const QRect& range);

    // The total width of the shown fixed columns and height of the shown fixed
    // rows: the extent of the frozen panes.
    int fixedWidth() const;
    int fixedHeight() const;

protected:
    void updateGeometries() override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void applySection(Qt::Orientation orientation, int section);
    void applyLayout();
    void updateFixedExtent();

    StringGridModel* m_model;
    QWidget* m_corner;
    QPointer<QMenu> m_popupMenu;
};
