// The string grid: the flat store and its resizing, the fixed header block and
// what the views are told to show, hidden code row and column, frozen panes,
// range selection by mouse and keyboard, the popup menu, Enter left to the grid,
// and cheap bulk writes.

#include "app/helpers.h"
#include "widgets/stringgrid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

QString Text(int col, int row) {
    return QStringLiteral("%1,%2").arg(col).arg(row);
}

void Fill(StringGridModel& model) {
    for (int row = 0; row < model.rowCount(); ++row)
        for (int col = 0; col < model.colCount(); ++col)
            model.setCell(col, row, Text(col, row));
}

// A statistics table in small: the hidden code row 0 and code column 0, header
// rows 1-2 and header column 1, right-aligned value columns 2 and 3, and value
// column 4 left at the default alignment.
void LayOut(StringGrid& grid, int cols = 5, int rows = 6) {
    grid.setColCount(cols);
    grid.setRowCount(rows);
    grid.setFixedRows(3);
    grid.setFixedCols(2);
    grid.setRowHeight(0, -1);
    grid.setColWidth(0, -1);
    for (int col = 2; col < cols && col < 4; ++col)
        grid.setColAlignment(col, Qt::AlignRight);
    Fill(*grid.gridModel());
}

void Show(StringGrid& grid, QSize size = QSize(400, 300)) {
    grid.resize(size);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
}

} // namespace

class TestStringGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void resizingKeepsTheCellsThatFit_data();
    void resizingKeepsTheCellsThatFit();
    void cellsOutsideTheTableAreIgnored();
    void fixedCountsStayWithinTheTable();
    void modelDescribesEachCell_data();
    void modelDescribesEachCell();
    void sizesReachTheView();
    void fixedCellsStayInViewWhileScrolling();
    void fixedCellsArePaintedGrey();
    void keyboardSelectsARangeOfValueCells_data();
    void keyboardSelectsARangeOfValueCells();
    void mouseSelectsARange();
    void popupMenuOpensOnCellsAndHeaders();
    void enterStaysWithTheGrid();
    void writesAreAnnouncedInBatches();
};

void TestStringGrid::resizingKeepsTheCellsThatFit_data() {
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("rows");
    QTest::newRow("more rows and columns") << 6 << 5;
    QTest::newRow("fewer rows") << 4 << 2;
    QTest::newRow("fewer columns") << 2 << 3;
    QTest::newRow("fewer of both") << 1 << 1;
    QTest::newRow("nothing left") << 0 << 0;
    QTest::newRow("negative counts") << -3 << -1;
}

// A 4 × 3 table resized, then grown back to 6 × 5: what fitted the smaller table
// keeps its text, everything else is empty.
void TestStringGrid::resizingKeepsTheCellsThatFit() {
    QFETCH(int, cols);
    QFETCH(int, rows);
    StringGridModel model;
    model.setColCount(4);
    model.setRowCount(3);
    Fill(model);

    model.setColCount(cols);
    model.setRowCount(rows);
    QCOMPARE(model.colCount(), std::max(cols, 0));
    QCOMPARE(model.rowCount(), std::max(rows, 0));
    QCOMPARE(model.columnCount(), model.colCount());

    model.setColCount(6);
    model.setRowCount(5);
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 6; ++col) {
            const bool kept = col < std::min(cols, 4) && row < std::min(rows, 3);
            QCOMPARE(model.cell(col, row), kept ? Text(col, row) : QString());
        }
}

void TestStringGrid::cellsOutsideTheTableAreIgnored() {
    StringGridModel model;
    model.setColCount(2);
    model.setRowCount(2);
    Fill(model);
    model.setCell(2, 0, QStringLiteral("x"));
    model.setCell(0, 2, QStringLiteral("x"));
    model.setCell(-1, 0, QStringLiteral("x"));
    QCOMPARE(model.cell(2, 0), QString());
    QCOMPARE(model.cell(0, -1), QString());
    model.setColCount(3);
    model.setRowCount(3);
    QCOMPARE(model.cell(2, 0), QString());
    QCOMPARE(model.cell(0, 2), QString());
    QCOMPARE(model.cell(1, 1), Text(1, 1));

    // clear() empties the cells and keeps the layout.
    model.setColWidth(0, -1);
    model.setColAlignment(1, Qt::AlignRight);
    model.clear();
    QCOMPARE(model.cell(1, 1), QString());
    QCOMPARE(model.colCount(), 3);
    QCOMPARE(model.colWidth(0), -1);
    QCOMPARE(model.colAlignment(1), Qt::AlignRight);
}

void TestStringGrid::fixedCountsStayWithinTheTable() {
    StringGridModel model;
    model.setColCount(3);
    model.setRowCount(4);
    model.setFixedRows(9);
    model.setFixedCols(2);
    QCOMPARE(model.fixedRows(), 4);
    QCOMPARE(model.fixedCols(), 2);
    model.setRowCount(2);
    model.setColCount(1);
    QCOMPARE(model.fixedRows(), 2);
    QCOMPARE(model.fixedCols(), 1);
    model.setRowCount(5);
    QCOMPARE(model.fixedRows(), 2);
    model.setFixedRows(-1);
    QCOMPARE(model.fixedRows(), 0);
}

void TestStringGrid::modelDescribesEachCell_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("fixed");
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    const int right = Qt::AlignRight | Qt::AlignVCenter;
    QTest::newRow("code row") << 3 << 0 << left << true;
    QTest::newRow("code column") << 0 << 4 << left << true;
    QTest::newRow("name in a header row of a value column") << 2 << 1 << left << true;
    QTest::newRow("name in a header column") << 1 << 5 << left << true;
    QTest::newRow("corner") << 1 << 2 << left << true;
    QTest::newRow("value in a right-aligned column") << 2 << 3 << right << false;
    QTest::newRow("value in a column left at the default") << 4 << 5 << left << false;
}

void TestStringGrid::modelDescribesEachCell() {
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(int, alignment);
    QFETCH(bool, fixed);
    StringGrid grid;
    LayOut(grid);
    const QModelIndex index = grid.model()->index(row, col);
    QCOMPARE(index.data(Qt::DisplayRole).toString(), Text(col, row));
    QCOMPARE(index.data(Qt::TextAlignmentRole).toInt(), alignment);
    QCOMPARE(index.data(Qt::BackgroundRole), fixed ? QVariant(QColor(0xF0, 0xF0, 0xF0)) : QVariant());
    QCOMPARE(bool(index.flags() & Qt::ItemIsSelectable), !fixed);
    QVERIFY(!(index.flags() & Qt::ItemIsEditable));
    QCOMPARE(grid.colAlignment(col), col == 2 || col == 3 ? Qt::Alignment(Qt::AlignRight) : Qt::Alignment());
}

void TestStringGrid::sizesReachTheView() {
    StringGrid grid;
    LayOut(grid, 6, 7);
    grid.setColWidth(1, 100);
    grid.setColWidth(3, 0);
    grid.setColWidth(4, 90);
    grid.setRowHeight(4, -1);

    // The hidden code row and column keep the sizes they were given.
    QCOMPARE(grid.colWidth(0), -1);
    QCOMPARE(grid.rowHeight(0), -1);
    QCOMPARE(grid.colWidth(3), 0);
    QCOMPARE(grid.defaultRowHeight(), 18);
    QCOMPARE(grid.rowHeight(5), 18);

    // Only the shown fixed rows and columns make up the frozen panes.
    QCOMPARE(grid.fixedWidth(), 100);
    QCOMPARE(grid.fixedHeight(), 2 * 18);
    QCOMPARE(grid.verticalHeader()->width(), 100);
    QCOMPARE(grid.horizontalHeader()->height(), 2 * 18);

    // The scrolling part holds only the shown value cells.
    for (int col = 0; col < 6; ++col)
        QCOMPARE(grid.isColumnHidden(col), col < 2 || col == 3);
    for (int row = 0; row < 7; ++row)
        QCOMPARE(grid.isRowHidden(row), row < 3 || row == 4);
    QCOMPARE(grid.columnWidth(4), 90);
    QCOMPARE(grid.columnWidth(5), 64);
    QCOMPARE(grid.QTableView::rowHeight(5), 18);

    // New rows and columns come with the default size; a new default reaches
    // every row without a height of its own but not the hidden ones.
    grid.setColCount(8);
    grid.setRowCount(9);
    QCOMPARE(grid.columnWidth(7), 64);
    QCOMPARE(grid.QTableView::rowHeight(8), 18);
    grid.setDefaultRowHeight(20);
    QCOMPARE(grid.QTableView::rowHeight(8), 20);
    QCOMPARE(grid.fixedHeight(), 2 * 20);
    QCOMPARE(grid.horizontalHeader()->height(), 2 * 20);
    QVERIFY(grid.isRowHidden(4));

    // Fewer fixed rows give a row back to the scrolling part.
    grid.setFixedRows(2);
    QVERIFY(!grid.isRowHidden(2));
    QCOMPARE(grid.fixedHeight(), 20);
}

// Scrolled to the far right and bottom, the header rows still stand above the
// cells and the header columns left of them, and the first cell in view is the
// value cell the scroll position names.
void TestStringGrid::fixedCellsStayInViewWhileScrolling() {
    StringGrid grid;
    LayOut(grid, 200, 300);
    Show(grid);
    const QRect cells = grid.viewport()->geometry();
    QCOMPARE(grid.horizontalHeader()->geometry(), QRect(cells.left(), cells.top() - 36, cells.width(), 36));
    QCOMPARE(grid.verticalHeader()->geometry(), QRect(cells.left() - 64, cells.top(), 64, cells.height()));
    QCOMPARE(grid.indexAt(QPoint(1, 1)), grid.model()->index(3, 2));

    grid.horizontalScrollBar()->setValue(50);
    grid.verticalScrollBar()->setValue(100);
    QCOMPARE(grid.indexAt(QPoint(1, 1)), grid.model()->index(103, 52));
    QCOMPARE(grid.horizontalHeader()->logicalIndexAt(1), 52);
    QCOMPARE(grid.verticalHeader()->logicalIndexAt(1), 103);

    grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
    const QRect last = grid.visualRect(grid.model()->index(299, 199));
    QVERIFY(grid.viewport()->rect().contains(last));
    QCOMPARE(grid.viewport()->geometry(), cells);
}

// The fixed block, header rows and header columns are drawn in the fixed-cell
// colour; value cells on the view's base colour.
void TestStringGrid::fixedCellsArePaintedGrey() {
    StringGrid grid;
    LayOut(grid, 20, 30);
    grid.clear(); // no text over the sampled points
    Show(grid);
    const QImage image = grid.grab().toImage();
    const QRect cells = grid.viewport()->geometry();
    const QColor grey(0xF0, 0xF0, 0xF0);
    QCOMPARE(image.pixelColor(cells.left() - 30, cells.top() - 10), grey); // corner
    QCOMPARE(image.pixelColor(cells.left() + 30, cells.top() - 10), grey); // header row
    QCOMPARE(image.pixelColor(cells.left() - 30, cells.top() + 10), grey); // header column
    QCOMPARE(image.pixelColor(cells.left() + 100, cells.top() + 30), grid.palette().color(QPalette::Base));
}

void TestStringGrid::keyboardSelectsARangeOfValueCells_data() {
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QRect>("range");
    QTest::newRow("no keys: the current cell") << QStringList() << QRect(3, 4, 1, 1);
    QTest::newRow("shift and arrows")
        << QStringList{"Shift+Right", "Shift+Right", "Shift+Down"} << QRect(3, 4, 3, 2);
    QTest::newRow("arrows move, shift extends from there")
        << QStringList{"Down", "Shift+Up", "Shift+Up", "Shift+Left"} << QRect(2, 3, 2, 3);
    QTest::newRow("no way into the header cells")
        << QStringList{"Left", "Left", "Up", "Up", "Shift+Left", "Shift+Up"} << QRect(2, 3, 1, 1);
    QTest::newRow("select all leaves out the header cells") << QStringList{"Ctrl+A"} << QRect(2, 3, 8, 7);
    QTest::newRow("shift+end to the last column") << QStringList{"Shift+End"} << QRect(3, 4, 7, 1);
}

void TestStringGrid::keyboardSelectsARangeOfValueCells() {
    QFETCH(QStringList, keys);
    QFETCH(QRect, range);
    StringGrid grid;
    LayOut(grid, 10, 10);
    Show(grid);
    grid.setFocus();
    grid.selectRange(QRect(3, 4, 1, 1));
    grid.selectionModel()->clearSelection();
    for (const QString& key : keys)
        QTest::keySequence(&grid, QKeySequence(key));
    QCOMPARE(grid.selectedRange(), range);
}

void TestStringGrid::mouseSelectsARange() {
    StringGrid grid;
    LayOut(grid, 10, 10);
    Show(grid);
    const auto centre = [&](int col, int row) {
        return grid.visualRect(grid.model()->index(row, col)).center();
    };
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre(4, 5));
    QCOMPARE(grid.selectedRange(), QRect(4, 5, 1, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, centre(2, 8));
    QCOMPARE(grid.selectedRange(), QRect(QPoint(2, 5), QPoint(4, 8)));
    // A click on a header cell changes nothing.
    QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(grid.selectedRange(), QRect(QPoint(2, 5), QPoint(4, 8)));

    grid.selectRange(QRect(0, 0, 4, 5));
    QCOMPARE(grid.selectedRange(), QRect(2, 3, 2, 2));
}

void TestStringGrid::popupMenuOpensOnCellsAndHeaders() {
    StringGrid grid;
    LayOut(grid);
    Show(grid);
    QMenu menu;
    menu.addAction(QStringLiteral("发送到Excel"));
    grid.setPopupMenu(&menu);
    for (QWidget* target :
         {grid.viewport(), grid.horizontalHeader()->viewport(), grid.verticalHeader()->viewport()}) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), target->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(target, &event);
        QVERIFY2(menu.isVisible(), qPrintable(target->parentWidget()->metaObject()->className()));
        menu.hide();
    }
}

// EnterAsTab leaves Enter to the grid, and a click on a header cell gives the
// focus to the grid itself.
void TestStringGrid::enterStaysWithTheGrid() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* before = new QLineEdit(&window);
    auto* grid = new StringGrid(&window);
    auto* after = new QLineEdit(&window);
    layout->addWidget(before);
    layout->addWidget(grid);
    layout->addWidget(after);
    LayOut(*grid);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    EnterAsTab(before, Qt::Key_Return, {}); // a line edit moves on to the grid
    QCOMPARE(QApplication::focusWidget(), grid);
    EnterAsTab(grid, Qt::Key_Return, {});
    QCOMPARE(QApplication::focusWidget(), grid);

    after->setFocus();
    QTest::mouseClick(grid->verticalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(QApplication::focusWidget(), grid);
}

// 10,000 cells written one by one are announced once, when the event loop
// runs, or at endUpdate() together with alignment changes; a fill that lets
// the event loop run after each cell announces each cell as it comes.
void TestStringGrid::writesAreAnnouncedInBatches() {
    StringGridModel model;
    model.setColCount(100);
    model.setRowCount(100);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    const auto lastRange = [&] {
        const QList<QVariant> args = changed.last();
        const QModelIndex topLeft = args.at(0).toModelIndex();
        const QModelIndex bottomRight = args.at(1).toModelIndex();
        return QRect(QPoint(topLeft.column(), topLeft.row()),
                     QPoint(bottomRight.column(), bottomRight.row()));
    };

    for (int row = 10; row < 100; ++row)
        for (int col = 5; col < 100; ++col)
            model.setCell(col, row, QStringLiteral("1.00"));
    QCOMPARE(changed.count(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(lastRange(), QRect(QPoint(5, 10), QPoint(99, 99)));
    QCoreApplication::processEvents();
    QCOMPARE(changed.count(), 1);

    model.beginUpdate();
    model.beginUpdate();
    model.setCell(1, 2, QStringLiteral("a"));
    model.setCell(3, 4, QStringLiteral("b"));
    model.setColAlignment(5, Qt::AlignRight); // the whole column
    model.endUpdate();
    QCoreApplication::processEvents();
    QCOMPARE(changed.count(), 1);
    model.endUpdate();
    QCOMPARE(changed.count(), 2);
    QCOMPARE(lastRange(), QRect(QPoint(1, 0), QPoint(5, 99)));
    QCoreApplication::processEvents();
    QCOMPARE(changed.count(), 2);

    for (int col = 0; col < 3; ++col) {
        model.setCell(col, 7, QStringLiteral("2.00"));
        QCoreApplication::processEvents();
        QCOMPARE(changed.count(), 3 + col);
        QCOMPARE(lastRange(), QRect(col, 7, 1, 1));
    }

    // Cells written into rows that are gone before the announcement are left out.
    model.setCell(50, 90, QStringLiteral("x"));
    model.setCell(2, 3, QStringLiteral("y"));
    model.setRowCount(80);
    QCoreApplication::processEvents();
    QCOMPARE(lastRange(), QRect(QPoint(2, 3), QPoint(50, 79)));
}

QTEST_MAIN(TestStringGrid)
#include "tst_stringgrid.moc"
