#include "output/previewlayout.h"

#include "output/pdftextmap.h"
#include "output/previewtable.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

namespace {

constexpr double TitleHeight = 40; // the title line at the top of a page
constexpr double FootHeight = 24;  // the page number line at the foot of a page
constexpr double TextMargin = 3;   // between a cell's rule and its text
constexpr QRgb HeaderColor = 0xF0F0F0;

int RowHeight(const PreviewTable& table) {
    return table.pRowHeight > 0 ? table.pRowHeight : 18;
}

int HeaderLines(const PreviewTable& table) {
    return std::max(1, table.pHeaderRowCount);
}

QFont CellFont(const PreviewTable& table, bool bold) {
    return PreviewFont(std::clamp(RowHeight(table) - 4, 6, 12), bold);
}

// One line of text in a cell: in a smaller font when it is too wide, down to
// three quarters of the size, and beyond that cut short with "…".
void DrawCellText(QPainter& painter, const QRectF& cell, QString text, int align) {
    if (text.isEmpty())
        return;
    text.replace(u'\r', u' ').replace(u'\n', u' ');
    const QRectF area = cell.adjusted(TextMargin, 0, -TextMargin, 0);
    QFont font = painter.font();
    const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
    if (width > area.width()) {
        const int size = font.pixelSize();
        font.setPixelSize(std::max((size * 3 + 3) / 4, int(size * area.width() / width)));
    }
    const QString shown =
        QFontMetricsF(font, painter.device()).elidedText(text, Qt::ElideRight, area.width());
    const Qt::Alignment horizontal = align == 1   ? Qt::AlignHCenter
                                     : align == 2 ? Qt::AlignRight
                                                  : Qt::AlignLeft;
    painter.save();
    painter.setFont(font);
    painter.drawText(area, int(horizontal | Qt::AlignVCenter), shown);
    painter.restore();
}

using Span = QPair<int, int>; // positions [first, end) in a slice's columns

bool SameSpan(const QVector<Span>& spans, int a, int b) {
    return std::any_of(spans.begin(), spans.end(), [&](const Span& s) {
        return s.first <= a && a < s.second && s.first <= b && b < s.second;
    });
}

// The header cells of a slice: on every line but the last, neighbouring
// columns whose texts agree on that line and every line above share one cell;
// a cell whose text goes on unchanged on the lines below reaches down over them.
void PaintHeader(QPainter& painter, const PreviewTable& table, const QVector<int>& columns,
                 const QVector<double>& lefts, double top) {
    const int lines = HeaderLines(table);
    const double rowHeight = RowHeight(table);
    // spans[line]: ranges [first, end) of positions in columns that share a cell.
    QVector<QVector<Span>> spans(lines);
    for (int line = 0; line < lines; ++line) {
        const int count = int(columns.size());
        for (int i = 0; i < count;) {
            int end = i + 1;
            if (line < lines - 1)
                while (end < count && table.title(columns[end], line) == table.title(columns[i], line) &&
                       (line == 0 || SameSpan(spans[line - 1], i, end)))
                    ++end;
            spans[line].append({i, end});
            i = end;
        }
    }
    auto right = [&](int end) { return lefts[end - 1] + table.colWidth(columns[end - 1]); };
    for (int line = 0; line < lines; ++line) {
        for (const Span& span : spans[line]) {
            const QString text = table.title(columns[span.first], line);
            auto continues = [&](int other) {
                return spans[other].contains(span) && table.title(columns[span.first], other) == text;
            };
            if (line > 0 && continues(line - 1))
                continue; // drawn with the line above
            int bottom = line;
            while (bottom + 1 < lines && continues(bottom + 1))
                ++bottom;
            const QRectF cell(lefts[span.first], top + line * rowHeight,
                              right(span.second) - lefts[span.first], (bottom - line + 1) * rowHeight);
            painter.fillRect(cell, QColor(HeaderColor));
            painter.drawRect(cell);
            DrawCellText(painter, cell, text, 1);
        }
    }
}

} // namespace

QFont PreviewFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setStyleHint(QFont::SansSerif);
    // Contextual glyphs (the digit after a letter has one in this font) have
    // no character in a PDF's text map: a cell's text is drawn unshaped.
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

int PreviewPages::endRow(int page) const {
    return std::min(bodyRows, firstRow(page) + rowsPerPage);
}

int PreviewTableWidth(const PreviewTable& table) {
    int width = 0;
    for (int c = 0; c < table.pColCount; ++c)
        width += table.colWidth(c);
    return width;
}

PreviewPages LayoutPreviewPages(const PreviewTable& table, const QSizeF& paper) {
    PreviewPages pages;
    const double total = PreviewTableWidth(table);
    if (total > paper.width() && paper.width() > 0)
        pages.scale = std::max(MinPreviewScale, paper.width() / total);
    pages.page = paper / pages.scale;

    QVector<int> fixed, moving;
    double fixedWidth = 0;
    for (int c = 0; c < table.pColCount; ++c) {
        if (table.colWidth(c) <= 0)
            continue;
        if (c < table.pFixedColCount) {
            fixed.append(c);
            fixedWidth += table.colWidth(c);
        } else {
            moving.append(c);
        }
    }
    if (fixedWidth > pages.page.width() / 2) { // leading columns that crowd out the rest are not repeated
        moving = fixed + moving;
        fixed.clear();
        fixedWidth = 0;
    }
    QVector<int> slice = fixed;
    double used = fixedWidth;
    bool hasMoving = false;
    for (const int c : moving) {
        if (hasMoving && used + table.colWidth(c) > pages.page.width()) {
            pages.slices.append(slice);
            slice = fixed;
            used = fixedWidth;
        }
        slice.append(c);
        used += table.colWidth(c);
        hasMoving = true;
    }
    pages.slices.append(slice);

    const double rowHeight = RowHeight(table);
    const double rowsArea = pages.page.height() - TitleHeight - HeaderLines(table) * rowHeight - FootHeight;
    pages.rowsPerPage = std::max(1, int(std::floor(rowsArea / rowHeight)));
    pages.bodyRows = std::max(0, table.pDataRowCount) + table.summaryRowCount();
    for (int row = 0; row < pages.bodyRows; row += pages.rowsPerPage)
        pages.rowStarts.append(row);
    if (pages.rowStarts.isEmpty())
        pages.rowStarts.append(0);
    return pages;
}

void PaintPreviewPage(QPainter& painter, const PreviewTable& table, const PreviewPages& pages, int page) {
    const QSizeF size = pages.page;
    painter.setPen(Qt::black);
    painter.setFont(PreviewFont(20, true));
    painter.drawText(QRectF(0, 0, size.width(), TitleHeight), Qt::AlignCenter, table.pCaption);

    const QVector<int>& columns = pages.slices[pages.sliceOf(page)];
    double width = 0;
    for (const int c : columns)
        width += table.colWidth(c);
    QVector<double> lefts;
    double x = std::max(0.0, (size.width() - width) / 2);
    for (const int c : columns) {
        lefts.append(x);
        x += table.colWidth(c);
    }

    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 0.6));
    painter.setFont(CellFont(table, false));
    PaintHeader(painter, table, columns, lefts, TitleHeight);

    const double rowHeight = RowHeight(table);
    double y = TitleHeight + HeaderLines(table) * rowHeight;
    for (int row = pages.firstRow(page); row < pages.endRow(page); ++row, y += rowHeight) {
        painter.setFont(CellFont(table, row >= table.pDataRowCount));
        for (int i = 0; i < columns.size(); ++i) {
            const QRectF cell(lefts[i], y, table.colWidth(columns[i]), rowHeight);
            painter.drawRect(cell);
            DrawCellText(painter, cell, table.cell(columns[i], row), table.colAlign(columns[i]));
        }
    }

    painter.setFont(PreviewFont(10, false));
    painter.drawText(QRectF(0, size.height() - FootHeight, size.width(), FootHeight), Qt::AlignCenter,
                     QStringLiteral("第 %1 页 / 共 %2 页").arg(page + 1).arg(pages.pageCount()));
}

bool PrintPreviewTable(const PreviewTable& table, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double unit = device.logicalDpiX() / 96.0; // device pixels per table length
    const PreviewPages pages = LayoutPreviewPages(table, QSizeF(device.width(), device.height()) / unit);
    for (int page = 0; page < pages.pageCount(); ++page) {
        if (page > 0 && !device.newPage())
            return false;
        painter.save();
        painter.scale(unit * pages.scale, unit * pages.scale);
        PaintPreviewPage(painter, table, pages, page);
        painter.restore();
    }
    return painter.end();
}

bool PrintPreviewPdf(const PreviewTable& table, const QString& file, const QPageLayout& layout) {
    QPdfWriter pdf(file);
    pdf.setPageLayout(layout);
    pdf.setTitle(table.pCaption);
    pdf.setCreator(QCoreApplication::applicationName());
    return PrintPreviewTable(table, pdf) && RepairPreviewPdf(file);
}

bool RepairPreviewPdf(const QString& file) {
    static const QHash<char16_t, char16_t> corrections =
        TextMapCorrections({PreviewFont(12, false), PreviewFont(12, true)});
    return RepairPdfTextMapFile(file, corrections);
}
