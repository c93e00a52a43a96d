#include "widgets/datagridmodel.h"

#include "app/dataset.h"

namespace {
const QString IndicatorMark = QStringLiteral("\u25B6");
} // namespace

DataGridModel::DataGridModel(QObject* parent)
    : QAbstractTableModel(parent) {}

void DataGridModel::setDataSet(TDataSet* dataSet) {
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    if (dataSet) {
        connect(dataSet, &TDataSet::reset, this, &DataGridModel::dataSetReset);
        connect(dataSet, &TDataSet::rowRemoved, this, &DataGridModel::dataSetRowRemoved);
        connect(dataSet, &TDataSet::rowWritten, this, &DataGridModel::dataSetRowWritten);
        connect(dataSet, &QObject::destroyed, this, &DataGridModel::dataSetReset);
    }
    dataSetReset();
}

void DataGridModel::setColumns(const QVector<DataGridColumn>& columns) {
    beginResetModel();
    m_columns = columns;
    resolveFields();
    endResetModel();
    updateFooters();
}

QString DataGridModel::cellText(int row, int column) const {
    if (!m_dataSet || row < 0 || row >= m_rows || column < 0 || column >= m_columns.size())
        return QString();
    const int field = m_fields[column];
    return ColumnText(m_columns[column], field < 0 ? QVariant() : m_dataSet->valueAt(row, field));
}

void DataGridModel::setIndicatorRow(int row) {
    if (row == m_indicatorRow)
        return;
    const int previous = m_indicatorRow;
    m_indicatorRow = row;
    if (previous >= 0 && previous < m_rows)
        Q_EMIT headerDataChanged(Qt::Vertical, previous, previous);
    if (row >= 0 && row < m_rows)
        Q_EMIT headerDataChanged(Qt::Vertical, row, row);
}

bool DataGridModel::canSort(int column) const {
    return m_dataSet && m_dataSet->state() == TDataSet::State::Browse && column >= 0 &&
           column < m_columns.size() && m_fields[column] >= 0;
}

int DataGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int DataGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DataGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return int(m_columns.value(index.column()).alignment);
    default:
        return QVariant();
    }
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return m_columns.value(section).title;
    return section == m_indicatorRow ? IndicatorMark : QString();
}

Qt::ItemFlags DataGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void DataGridModel::sort(int column, Qt::SortOrder order) {
    if (!canSort(column))
        return;
    m_sorting = true;
    m_sortColumn = column;
    m_sortOrder = order;
    m_dataSet->sort(m_columns[column].fieldName, order == Qt::DescendingOrder);
    m_sorting = false;
}

void DataGridModel::dataSetReset() {
    beginResetModel();
    resolveFields();
    m_rows = m_dataSet ? m_dataSet->recordCount() : 0;
    m_indicatorRow = -1;
    if (!m_sorting)
        m_sortColumn = -1;
    endResetModel();
    updateFooters();
}

void DataGridModel::dataSetRowRemoved(int row) {
    if (row < 0 || row >= m_rows || m_dataSet->recordCount() != m_rows - 1) {
        dataSetReset();
        return;
    }
    if (m_indicatorRow == row)
        m_indicatorRow = -1;
    beginRemoveRows(QModelIndex(), row, row);
    --m_rows;
    endRemoveRows();
    updateFooters();
}

void DataGridModel::dataSetRowWritten(int row) {
    const int rows = m_dataSet->recordCount();
    if (row == m_rows && rows == m_rows + 1) { // an appended row
        beginInsertRows(QModelIndex(), row, row);
        ++m_rows;
        endInsertRows();
    } else if (row >= 0 && row < m_rows && rows == m_rows) {
        Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
    } else {
        dataSetReset();
        return;
    }
    updateFooters();
}

void DataGridModel::resolveFields() {
    m_fields.clear();
    for (const DataGridColumn& column : std::as_const(m_columns))
        m_fields.append(m_dataSet ? m_dataSet->fieldIndex(column.fieldName) : -1);
}

void DataGridModel::updateFooters() {
    m_footers.clear();
    for (const DataGridColumn& column : std::as_const(m_columns))
        m_footers.append(FooterText(column, m_dataSet));
    Q_EMIT footersChanged();
}
