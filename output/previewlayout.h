#pragma once
// Lays a preview table out on pages and paints them: the title at the top of
// every page, the header lines under it on every page, then as many rows as
// fit, the summary rows after the last data row, and the page number at the
// foot. Lengths are the table's (the grid's pixels, 96 to the inch).
//
// A table wider than the page is first scaled down, to no less than
// MinPreviewScale; a table still too wide is cut into slices of whole columns
// that follow one another (all pages of the first slice, then the next), each
// slice led by the table's fixed columns. Columns of width 0 are left out.

#include <QSizeF>
#include <QVector>

class PreviewTable;
class QFont;
class QPageLayout;
class QPagedPaintDevice;
class QPainter;
class QString;

constexpr double MinPreviewScale = 0.75;

struct PreviewPages {
    double scale = 1;             // the table's lengths on paper are multiplied by this
    QSizeF page;                  // the page's paint area in table lengths (after scaling)
    QVector<QVector<int>> slices; // the columns printed on the pages of each slice, in order
    QVector<int> rowStarts;       // the first body row of the pages of a slice
    int rowsPerPage = 1;
    int bodyRows = 0; // data rows, then summary rows

    int pageCount() const { return int(slices.size() * rowStarts.size()); }
    int sliceOf(int page) const { return page / int(rowStarts.size()); }
    // The body rows of a page: first and one past the last.
    int firstRow(int page) const { return rowStarts[page % rowStarts.size()]; }
    int endRow(int page) const;
};

// The layout of a table on pages whose paint area is `paper` in the table's
// lengths at scale 1 (a page of A4 without margins is about 794 × 1123).
PreviewPages LayoutPreviewPages(const PreviewTable& table, const QSizeF& paper);

// The total width of the columns shown.
int PreviewTableWidth(const PreviewTable& table);

// Paints one page (from 0) with the painter's origin at the paint area's top
// left and one table length per unit.
void PaintPreviewPage(QPainter& painter, const PreviewTable& table, const PreviewPages& pages, int page);

// The font of the pages (Noto Sans CJK SC), its size in the table's lengths.
QFont PreviewFont(int pixelSize, bool bold);

// Prints every page on a printer or PDF writer; false when it cannot be
// painted on.
bool PrintPreviewTable(const PreviewTable& table, QPagedPaintDevice& device);

// Prints every page into a PDF file on paper of the given layout, with a text
// map that reads back as the characters drawn (see pdftextmap.h); false when
// the file cannot be written.
bool PrintPreviewPdf(const PreviewTable& table, const QString& file, const QPageLayout& layout);

// Puts the text map of a PDF printed from a preview table right (see
// pdftextmap.h); false when the file cannot be read or written.
bool RepairPreviewPdf(const QString& file);
