#pragma once
// The read-only model behind a data grid: one row per loaded row of a dataset,
// one column per column description. Nothing is copied out of the dataset:
// every text is computed when a view asks for it, so a result of any size is
// shown at once. The model follows the dataset's signals (reset, rowRemoved,
// rowWritten) and keeps the footer texts up to date with them.

#include "widgets/datagridcolumn.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QVector>

class TDataSet;

class DataGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataGridModel(QObject* parent = nullptr);

    void setDataSet(TDataSet* dataSet);
    TDataSet* dataSet() const { return m_dataSet; }

    void setColumns(const QVector<DataGridColumn>& columns);
    const QVector<DataGridColumn>& columns() const { return m_columns; }

    // The text shown in a cell, and under a column.
    QString cellText(int row, int column) const;
    QString footerText(int column) const { return m_footers.value(column); }

    // The row marked in the vertical header (the current row), -1 for none.
    void setIndicatorRow(int row);
    int indicatorRow() const { return m_indicatorRow; }

    // The column the rows were last ordered by (-1 while they stand in the
    // statement's order) and its direction.
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    // Whether sort() can order the rows by this column now: the dataset is
    // open, not being edited, and holds the column's field.
    bool canSort(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Orders the loaded rows through the dataset; does nothing when !canSort(column).
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

Q_SIGNALS:
    void footersChanged();

private:
    void dataSetReset();
    void dataSetRowRemoved(int row);
    void dataSetRowWritten(int row);
    void resolveFields();
    void updateFooters();

    QPointer<TDataSet> m_dataSet;
    QVector<DataGridColumn> m_columns;
    QVector<int> m_fields; // the dataset's field number of each column, -1 when absent
    QStringList m_footers;
    int m_rows = 0; // the row count the views know
    int m_indicatorRow = -1;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    bool m_sorting = false;
};
