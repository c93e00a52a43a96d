#include "widgets/stringgridmodel.h"

#include <QColor>
#include <algorithm>

StringGridModel::StringGridModel(QObject* parent)
    : QAbstractTableModel(parent) {}

int StringGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int StringGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_cols;
}

void StringGridModel::setRowCount(int rows) {
    rows = std::max(rows, 0);
    if (rows == m_rows)
        return;
    // Rows are whole runs of the row-major block: growing or cutting the block
    // keeps every remaining cell in place.
    if (rows > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, rows - 1);
        m_cells.resize(size_t(rows) * size_t(m_cols));
        m_rowHeights.resize(size_t(rows), NoSize);
        m_rows = rows;
        endInsertRows();
        return;
    }
    beginRemoveRows(QModelIndex(), rows, m_rows - 1);
    m_cells.resize(size_t(rows) * size_t(m_cols));
    m_rowHeights.resize(size_t(rows));
    m_rows = rows;
    endRemoveRows();
    if (m_fixedRows > rows) {
        m_fixedRows = rows;
        Q_EMIT layoutSizesChanged();
    }
}

void StringGridModel::setColCount(int cols) {
    cols = std::max(cols, 0);
    if (cols == m_cols)
        return;
    std::vector<QString> cells(size_t(m_rows) * size_t(cols));
    const int kept = std::min(cols, m_cols);
    for (int row = 0; row < m_rows; ++row) {
        auto from = m_cells.begin() + ptrdiff_t(row) * m_cols;
        std::move(from, from + kept, cells.begin() + ptrdiff_t(row) * cols);
    }
    if (cols > m_cols) {
        beginInsertColumns(QModelIndex(), m_cols, cols - 1);
        m_cells.swap(cells);
        m_colWidths.resize(size_t(cols), NoSize);
        m_alignments.resize(size_t(cols));
        m_cols = cols;
        endInsertColumns();
        return;
    }
    beginRemoveColumns(QModelIndex(), cols, m_cols - 1);
    m_cells.swap(cells);
    m_colWidths.resize(size_t(cols));
    m_alignments.resize(size_t(cols));
    m_cols = cols;
    endRemoveColumns();
    if (m_fixedCols > cols) {
        m_fixedCols = cols;
        Q_EMIT layoutSizesChanged();
    }
}

void StringGridModel::setFixedRows(int rows) {
    rows = std::clamp(rows, 0, m_rows);
    if (rows == m_fixedRows)
        return;
    const int first = std::min(rows, m_fixedRows);
    const int last = std::max(rows, m_fixedRows) - 1;
    m_fixedRows = rows;
    markDirty(QRect(0, first, m_cols, last - first + 1));
    Q_EMIT layoutSizesChanged();
}

void StringGridModel::setFixedCols(int cols) {
    cols = std::clamp(cols, 0, m_cols);
    if (cols == m_fixedCols)
        return;
    const int first = std::min(cols, m_fixedCols);
    const int last = std::max(cols, m_fixedCols) - 1;
    m_fixedCols = cols;
    markDirty(QRect(first, 0, last - first + 1, m_rows));
    Q_EMIT layoutSizesChanged();
}

QString StringGridModel::cell(int col, int row) const {
    if (col < 0 || col >= m_cols || row < 0 || row >= m_rows)
        return QString();
    return m_cells[size_t(row) * size_t(m_cols) + size_t(col)];
}

void StringGridModel::setCell(int col, int row, const QString& text) {
    if (col < 0 || col >= m_cols || row < 0 || row >= m_rows)
        return;
    m_cells[size_t(row) * size_t(m_cols) + size_t(col)] = text;
    markDirty(QRect(col, row, 1, 1));
}

void StringGridModel::clear() {
    if (m_cells.empty())
        return;
    std::fill(m_cells.begin(), m_cells.end(), QString());
    markDirty(QRect(0, 0, m_cols, m_rows));
}

void StringGridModel::beginUpdate() {
    ++m_updateDepth;
}

void StringGridModel::endUpdate() {
    if (m_updateDepth > 0 && --m_updateDepth == 0)
        flush();
}

void StringGridModel::markDirty(const QRect& cells) {
    if (cells.isEmpty())
        return;
    m_dirty = m_dirty.isNull() ? cells : m_dirty.united(cells);
    if (m_updateDepth == 0 && !m_flushQueued) {
        m_flushQueued = true;
        QMetaObject::invokeMethod(this, &StringGridModel::flush, Qt::QueuedConnection);
    }
}

void StringGridModel::flush() {
    m_flushQueued = false;
    if (m_updateDepth > 0 || m_dirty.isNull())
        return;
    // Rows or columns may have gone since the cells were written.
    const QRect dirty = m_dirty.intersected(QRect(0, 0, m_cols, m_rows));
    m_dirty = QRect();
    if (!dirty.isEmpty())
        Q_EMIT dataChanged(index(dirty.top(), dirty.left()), index(dirty.bottom(), dirty.right()));
}

int StringGridModel::colWidth(int col) const {
    if (col < 0 || col >= m_cols)
        return m_defaultColWidth;
    const int width = m_colWidths[size_t(col)];
    return width == NoSize ? m_defaultColWidth : width;
}

void StringGridModel::setColWidth(int col, int width) {
    if (col < 0 || col >= m_cols || m_colWidths[size_t(col)] == width)
        return;
    m_colWidths[size_t(col)] = width;
    Q_EMIT sectionSizeChanged(Qt::Horizontal, col);
}

int StringGridModel::rowHeight(int row) const {
    if (row < 0 || row >= m_rows)
        return m_defaultRowHeight;
    const int height = m_rowHeights[size_t(row)];
    return height == NoSize ? m_defaultRowHeight : height;
}

void StringGridModel::setRowHeight(int row, int height) {
    if (row < 0 || row >= m_rows || m_rowHeights[size_t(row)] == height)
        return;
    m_rowHeights[size_t(row)] = height;
    Q_EMIT sectionSizeChanged(Qt::Vertical, row);
}

void StringGridModel::setDefaultColWidth(int width) {
    if (width == m_defaultColWidth)
        return;
    m_defaultColWidth = width;
    Q_EMIT layoutSizesChanged();
}

void StringGridModel::setDefaultRowHeight(int height) {
    if (height == m_defaultRowHeight)
        return;
    m_defaultRowHeight = height;
    Q_EMIT layoutSizesChanged();
}

Qt::Alignment StringGridModel::colAlignment(int col) const {
    return col >= 0 && col < m_cols ? m_alignments[size_t(col)] : Qt::Alignment();
}

void StringGridModel::setColAlignment(int col, Qt::Alignment alignment) {
    alignment &= Qt::AlignHorizontal_Mask;
    if (col < 0 || col >= m_cols || m_alignments[size_t(col)] == alignment)
        return;
    m_alignments[size_t(col)] = alignment;
    markDirty(QRect(col, 0, 1, m_rows));
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows || index.column() >= m_cols)
        return QVariant();
    const int col = index.column();
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return m_cells[size_t(row) * size_t(m_cols) + size_t(col)];
    case Qt::TextAlignmentRole: {
        const Qt::Alignment own = isFixed(col, row) ? Qt::Alignment() : m_alignments[size_t(col)];
        return int((own ? own : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    case Qt::BackgroundRole:
        return isFixed(col, row) ? QVariant(QColor(FixedColor)) : QVariant();
    default:
        return QVariant();
    }
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return isFixed(index.column(), index.row()) ? Qt::ItemIsEnabled
                                                : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
