#include "output/previewtable.h"

#include "app/dataset.h"
#include "app/helpers.h"
#include "widgets/datagridcolumn.h"
#include "widgets/stringgridmodel.h"

#include <algorithm>

namespace {

template <class T> T& Grow(std::vector<T>& list, int index, const T& fill = T()) {
    if (size_t(index) >= list.size())
        list.resize(size_t(index) + 1, fill);
    return list[size_t(index)];
}

template <class T> T At(const std::vector<T>& list, int index, const T& fallback = T()) {
    return index >= 0 && size_t(index) < list.size() ? list[size_t(index)] : fallback;
}

// 0 left, 1 centred, 2 right: the preview's alignment of a data-grid column.
int AlignCode(Qt::Alignment alignment) {
    if (alignment & Qt::AlignHCenter)
        return 1;
    if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        return 2;
    return 0;
}

} // namespace

void PreviewTable::pSetColWidth(int col, int width) {
    if (col >= 0 && col < pColCount)
        Grow(m_widths, col) = width;
}

void PreviewTable::pSetColAlign(int col, int align) {
    if (col >= 0 && col < pColCount)
        Grow(m_aligns, col) = align;
}

void PreviewTable::pSetTitle(int col, int line, const QString& text) {
    if (col >= 0 && col < pColCount && line >= 0)
        Grow(Grow(m_titles, col), line) = text;
}

void PreviewTable::pSetCell(int col, int row, const QString& text) {
    if (col >= 0 && col < pColCount && row >= 0)
        Grow(Grow(m_cells, col), row) = text;
}

int PreviewTable::colWidth(int col) const {
    return col < pColCount ? std::max(0, At(m_widths, col)) : 0;
}

int PreviewTable::colAlign(int col) const {
    return At(m_aligns, col);
}

QString PreviewTable::title(int col, int line) const {
    return col < pColCount && col >= 0 ? At(At(m_titles, col), line) : QString();
}

QString PreviewTable::cell(int col, int row) const {
    return col < pColCount && col >= 0 ? At(At(m_cells, col), row) : QString();
}

int PreviewTable::summaryRowCount() const {
    int written = 0; // rows after the data rows up to the last one holding text
    const int columns = std::min(pColCount, int(m_cells.size()));
    for (int c = 0; c < columns; ++c) {
        const std::vector<QString>& cells = m_cells[size_t(c)];
        for (int r = int(cells.size()) - 1; r >= std::max(0, pDataRowCount) + written; --r) {
            if (!cells[size_t(r)].isEmpty()) {
                written = r - std::max(0, pDataRowCount) + 1;
                break;
            }
        }
    }
    return std::max(written, pShowCount ? std::max(0, pCountRowCount) : 0);
}

void PreviewTable::clearTable() {
    *this = PreviewTable();
}

int HeaderLineCount(const QString& caption) {
    return SubStrCount(QStringLiteral("|"), caption) + 1;
}

QString HeaderLine(const QString& caption, int line) {
    QString rest = caption;
    QString text;
    for (int i = 0; i <= line; ++i) {
        const qsizetype bar = rest.indexOf(u'|');
        if (bar < 0)
            return rest;
        text = rest.left(bar);
        rest.remove(0, bar + 1);
    }
    return text;
}

QString PreviewCellText(const DataGridColumn& column, const QVariant& value) {
    if (!column.keyList.isEmpty()) {
        const int index = column.keyIndex(PlainText(value));
        if (index >= 0)
            return column.pickList[index];
    }
    return FormatValue(value, column.displayFormat);
}

void LoadDataGridPreview(PreviewTable& table, const QString& title, const QVector<DataGridColumn>& columns,
                         TDataSet& dataSet, bool footerRow) {
    const int count = int(columns.size());
    table.pPrintType = 1;
    table.pRowHeight = 16;
    table.pCaption = title;
    table.pColCount = count;
    table.pHeaderRowCount = 1;
    table.pDataRowCount = dataSet.recordCount();
    table.pCountRowCount = 0;
    int lines = 1;
    for (int c = 0; c < count; ++c) {
        table.pSetColWidth(c, columns[c].width);
        table.pSetTitle(c, 0, columns[c].title);
        lines = std::max(lines, HeaderLineCount(columns[c].title));
        table.pSetColAlign(c, AlignCode(columns[c].alignment));
        if (!columns[c].visible)
            table.pSetColWidth(c, 0);
    }
    table.pHeaderRowCount = lines;
    for (int c = 0; c < count; ++c)
        for (int line = 0; line < lines; ++line)
            table.pSetTitle(c, line, HeaderLine(columns[c].title, line));
    table.pShowCount = false;

    QVector<int> fields;
    for (const DataGridColumn& column : columns)
        fields.append(dataSet.fieldIndex(column.fieldName));
    int row = 0;
    for (dataSet.first(); !dataSet.eof(); dataSet.next(), ++row)
        for (int c = 0; c < count; ++c)
            table.pSetCell(
                c, row, PreviewCellText(columns[c], fields[c] < 0 ? QVariant() : dataSet.value(fields[c])));
    if (footerRow)
        for (int c = 0; c < count; ++c) {
            const QString footer = FooterText(columns[c], &dataSet);
            if (!footer.isEmpty())
                table.pSetCell(c, row, footer);
        }
}

void LoadStringGridPreview(PreviewTable& table, const QString& title, const StringGridModel& grid) {
    const int cols = grid.colCount();
    auto width = [&grid](int c) { return std::max(0, grid.colWidth(c)); };
    table.pPrintType = 1;
    table.pRowHeight = grid.defaultRowHeight();
    table.pCaption = title;
    table.pColCount = cols;
    table.pHeaderRowCount = 1;
    table.pDataRowCount = std::max(0, grid.rowCount() - 1);
    table.pCountRowCount = 0;
    int lines = 1;
    for (int c = 0; c < cols; ++c) {
        const QString caption = grid.cell(c, 0);
        table.pSetColWidth(c, width(c));
        table.pSetTitle(c, 0, caption);
        lines = std::max(lines, HeaderLineCount(caption));
        const Qt::Alignment alignment = grid.colAlignment(c) & Qt::AlignHorizontal_Mask;
        table.pSetColAlign(c, alignment == Qt::AlignLeft ? 0 : alignment == Qt::AlignHCenter ? 1 : 2);
    }
    table.pHeaderRowCount = lines;
    for (int c = 0; c < cols; ++c)
        for (int line = 0; line < lines; ++line)
            table.pSetTitle(c, line, HeaderLine(grid.cell(c, 0), line));
    table.pShowCount = false;
    for (int c = 0; c < cols; ++c) {
        table.pSetColWidth(c, width(c));
        for (int r = 1; r < grid.rowCount(); ++r)
            table.pSetCell(c, r - 1, grid.cell(c, r));
        table.pShowCount = false;
    }
    table.pFixedColCount = grid.fixedCols();
}
