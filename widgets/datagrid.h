#pragma once
// The data grid of every list in the program: a read-only table bound to a
// dataset, one column per column description (field, title, visibility, width,
// alignment, display format, key list → pick list, footer), centred titles,
// whole-row selection, a row indicator, resizable columns and an optional
// footer row that stays at the bottom under its columns.
//
// The grid's current row is the dataset's current row: choosing a row moves
// the dataset, and after the dataset reloads, sorts, deletes or writes a row
// the grid shows the dataset's current row again.
//
// The spreadsheet export and the print preview read a grid through columns(),
// dataSet(), cellText() and footerText().

#include "widgets/datagridcolumn.h"

#include <QTableView>
#include <QVector>

class DataGridModel;
class TDataSet;

class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);

    // The dataset shown; the grid follows its signals. It may be open or closed.
    void setDataSet(TDataSet* dataSet);
    TDataSet* dataSet() const;

    void setColumns(const QVector<DataGridColumn>& columns);
    // The column descriptions in order, with the widths the user left them at.
    QVector<DataGridColumn> columns() const;

    // The footer row under the columns (off until switched on).
    void setFooterVisible(bool visible);
    bool footerVisible() const { return m_footerVisible; }

    // The text a row shows in a column (hidden columns included), and the
    // footer text under a column ("0条", "0.00" for an empty list).
    QString cellText(int row, int column) const;
    QString footerText(int column) const;

    // Orders the loaded rows by the column's field through the dataset and marks
    // the column's title with the direction. Returns false, changing nothing,
    // when the dataset is closed, being edited or lacks the column's field.
    using QTableView::sortByColumn;
    bool sortByColumn(int column, bool ascending);
    // The column the rows are ordered by (-1 while they stand in the
    // statement's order) and whether ascending.
    int sortColumn() const;
    bool sortAscending() const;

    // Shows the dataset's current row as the grid's current row (the last row
    // when the dataset stands past its end, as after a walk through all rows).
    void followRecNo();

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

Q_SIGNALS:
    void rowDoubleClicked(int row);
    void titleClicked(int column);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void updateGeometries() override;

private:
    void showSortMarker();
    int footerHeight() const;

    DataGridModel* m_model;
    QWidget* m_footer;
    bool m_footerVisible = false;
    bool m_following = false; // true while the grid, not the user, moves the current row
};
