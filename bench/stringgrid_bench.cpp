// Speed of the string grid with a statistics table of 300 rows × 2,000 columns
// (600,000 cells), offscreen: laying the table out and filling it cell by cell
// as the statistics window does, against writing the same texts into a bare
// vector; scrolling across the whole table and resizing the window, against the
// same steps in a plain QTableView over the same cells (no frozen panes).
// Prints every time, the ratios and whether the goals are met.
//
// Usage: stringgrid_bench [rows cols]

#include "widgets/stringgrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr int HeaderRows = 6; // a department tree of four levels: code row, 4 name rows, 1 spare
constexpr int HeaderCols = 5; // a category tree of three levels: code column, 3 name columns, 1 spare

double Ms(qint64 ns) {
    return double(ns) / 1e6;
}

qint64 Time(const std::function<void()>& run) {
    QElapsedTimer timer;
    timer.start();
    run();
    return timer.nsecsElapsed();
}

QString Value(int col, int row) {
    return QString::number(double((col * 7919 + row * 104729) % 1000000) / 100.0, 'f', 2);
}

QString Name(int col, int row) {
    return QStringLiteral("--部门%1-%2").arg(col).arg(row);
}

// The statistics window's way: one batch that lays the table out, writes every
// cell one by one and gives every column its width and alignment.
void LayOutAndFill(StringGrid& grid, int rows, int cols) {
    grid.beginUpdate();
    grid.clear();
    grid.setRowCount(rows);
    grid.setColCount(cols);
    grid.setFixedRows(HeaderRows);
    grid.setFixedCols(HeaderCols);
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col)
            grid.setCell(col, row, row < HeaderRows || col < HeaderCols ? Name(col, row) : Value(col, row));
    grid.setRowHeight(0, -1);
    grid.setColWidth(0, -1);
    for (int col = 1; col < cols; ++col) {
        grid.setColWidth(col, col < HeaderCols ? 100 : 84);
        grid.setColAlignment(col, col < HeaderCols ? Qt::Alignment() : Qt::AlignRight);
    }
    grid.endUpdate();
}

// Pages through the table from left to right along the top rows, then from top
// to bottom along the last columns, painting the whole view at every step.
// Returns the number of steps.
int ScrollAcross(QAbstractItemView& view) {
    int steps = 0;
    QScrollBar* bars[] = {view.horizontalScrollBar(), view.verticalScrollBar()};
    for (QScrollBar* bar : bars) {
        for (int value = 0;; value += bar->pageStep()) {
            bar->setValue(value);
            view.repaint();
            ++steps;
            if (value >= bar->maximum())
                break;
        }
    }
    return steps;
}

int ResizeBackAndForth(QWidget& view, int times) {
    for (int i = 0; i < times; ++i) {
        view.resize(i % 2 ? QSize(1200, 800) : QSize(900, 600));
        QCoreApplication::processEvents();
        view.repaint();
    }
    return times;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 2 ? std::atoi(argv[1]) : 300;
    const int cols = argc > 2 ? std::atoi(argv[2]) : 2000;
    std::printf("table: %d rows x %d columns = %d cells\n", rows, cols, rows * cols);

    // Baseline: the same texts written into a bare row-major vector, timed the
    // second time, when the heap has grown to hold them.
    qint64 bareFill = 0;
    for (int run = 0; run < 2; ++run) {
        std::vector<QString> bare;
        bareFill = Time([&] {
            bare.resize(size_t(rows) * size_t(cols));
            for (int row = 0; row < rows; ++row)
                for (int col = 0; col < cols; ++col)
                    bare[size_t(row) * size_t(cols) + size_t(col)] =
                        row < HeaderRows || col < HeaderCols ? Name(col, row) : Value(col, row);
        });
    }

    StringGrid grid;
    grid.resize(900, 600);
    grid.show();
    QCoreApplication::processEvents();
    const qint64 open = Time([&] {
        LayOutAndFill(grid, rows, cols);
        QCoreApplication::processEvents();
        grid.repaint();
    });
    // A second layout over the first, as a refill does.
    const qint64 refill = Time([&] {
        LayOutAndFill(grid, rows, cols);
        QCoreApplication::processEvents();
        grid.repaint();
    });

    // The window's progress: every cell of a column written one by one without a
    // batch, then the event loop run; the grid repaints what changed.
    const int progressCols = std::min(cols - HeaderCols, 200);
    const qint64 perColumn = Time([&] {
        for (int col = HeaderCols; col < HeaderCols + progressCols; ++col) {
            for (int row = HeaderRows; row < rows; ++row)
                grid.setCell(col, row, Value(col + 1, row));
            QCoreApplication::processEvents();
        }
    });

    int steps = 0;
    const qint64 scroll = Time([&] { steps = ScrollAcross(grid); });

    QTableView plain;
    plain.setModel(grid.gridModel());
    plain.setWordWrap(false);
    plain.horizontalHeader()->setDefaultSectionSize(84);
    plain.verticalHeader()->setDefaultSectionSize(18);
    plain.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    plain.resize(900, 600);
    plain.show();
    QCoreApplication::processEvents();
    int plainSteps = 0;
    const qint64 plainScroll = Time([&] { plainSteps = ScrollAcross(plain); });

    grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum() / 2);
    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum() / 2);
    plain.horizontalScrollBar()->setValue(plain.horizontalScrollBar()->maximum() / 2);
    plain.verticalScrollBar()->setValue(plain.verticalScrollBar()->maximum() / 2);
    const int resizes = 20;
    const qint64 resize = Time([&] { ResizeBackAndForth(grid, resizes); });
    const qint64 plainResize = Time([&] { ResizeBackAndForth(plain, resizes); });

    const double stepMs = Ms(scroll) / steps;
    const double plainStepMs = Ms(plainScroll) / plainSteps;
    const double resizeMs = Ms(resize) / resizes;
    const double plainResizeMs = Ms(plainResize) / resizes;
    std::printf("texts into a bare vector:            %8.1f ms\n", Ms(bareFill));
    std::printf("lay out, fill and paint the grid:    %8.1f ms   ratio %.2f (goal < 1000 ms)\n", Ms(open),
                double(open) / double(bareFill));
    std::printf("lay out and fill again:              %8.1f ms   ratio %.2f\n", Ms(refill),
                double(refill) / double(bareFill));
    std::printf("%d columns, events run after each:  %8.1f ms   (%.2f ms a column)\n", progressCols,
                Ms(perColumn), Ms(perColumn) / progressCols);
    std::printf("scroll step (grid, %d steps):       %8.2f ms\n", steps, stepMs);
    std::printf("scroll step (plain view):            %8.2f ms   ratio %.2f (goal < 16 ms a step)\n",
                plainStepMs, stepMs / plainStepMs);
    std::printf("resize (grid):                       %8.2f ms\n", resizeMs);
    std::printf("resize (plain view):                 %8.2f ms   ratio %.2f (goal < 50 ms a resize)\n",
                plainResizeMs, resizeMs / plainResizeMs);
    const bool met = open < qint64(1000) * 1000000 && stepMs < 16 && resizeMs < 50;
    std::printf("%s\n", met ? "goals met" : "goals NOT met");
    return met ? 0 : 1;
}
