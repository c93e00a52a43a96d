#include "widgets/stringgrid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <algorithm>

// The grid's own view shows the non-fixed cells only: it hides the fixed rows
// and columns, and its headers, sized to the fixed block, draw the fixed cells
// instead of titles. The horizontal header draws the fixed rows above every
// column, the vertical header the fixed columns left of every row; as the
// headers follow the view's scrolling and section sizes, the frozen panes stay
// aligned with the cells without any synchronising. A corner widget draws the
// fixed rows × fixed columns block.

namespace {

QColor GridLineColor(const QWidget* widget) {
    QStyleOptionViewItem option;
    option.initFrom(widget);
    return QColor::fromRgba(
        QRgb(widget->style()->styleHint(QStyle::SH_Table_GridLineColor, &option, widget)));
}

// One fixed cell as the model describes it, with the line under it.
void PaintFixedCell(QPainter& painter, const QWidget* widget, const QAbstractItemModel& model, int col,
                    int row, const QRect& rect) {
    const QModelIndex index = model.index(row, col);
    const QVariant background = index.data(Qt::BackgroundRole);
    painter.fillRect(rect,
                     background.isValid() ? background.value<QColor>() : QColor(StringGridModel::FixedColor));
    painter.setPen(GridLineColor(widget));
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    const QRect textRect = rect.adjusted(3, 0, -3, -1);
    const QString text =
        widget->fontMetrics().elidedText(index.data().toString(), Qt::ElideRight, textRect.width());
    painter.setPen(widget->palette().color(QPalette::WindowText));
    painter.drawText(textRect, index.data(Qt::TextAlignmentRole).toInt(), text);
}

// A header of the grid's view that draws fixed cells: for a column section the
// fixed rows stacked top to bottom, for a row section the fixed columns side by
// side. Clicks, the wheel and the popup menu go to the grid.
class FixedCellsHeader final : public QHeaderView {
public:
    FixedCellsHeader(Qt::Orientation orientation, StringGrid* grid)
        : QHeaderView(orientation, grid)
        , m_grid(grid) {
        setSectionsClickable(false);
        setSectionsMovable(false);
        setHighlightSections(false);
        setMinimumSectionSize(0);
        setSectionResizeMode(QHeaderView::Fixed);
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        const StringGridModel& model = *m_grid->gridModel();
        if (orientation() == Qt::Horizontal) {
            int top = rect.top();
            for (int row = 0; row < model.fixedRows(); ++row) {
                const int height = model.rowHeight(row);
                if (height <= 0)
                    continue;
                PaintFixedCell(*painter, this, model, logicalIndex, row,
                               QRect(rect.left(), top, rect.width(), height));
                top += height;
            }
        } else {
            int left = rect.left();
            for (int col = 0; col < model.fixedCols(); ++col) {
                const int width = model.colWidth(col);
                if (width <= 0)
                    continue;
                PaintFixedCell(*painter, this, model, col, logicalIndex,
                               QRect(left, rect.top(), width, rect.height()));
                left += width;
            }
        }
    }
    void mousePressEvent(QMouseEvent*) override { m_grid->setFocus(Qt::MouseFocusReason); }
    void mouseReleaseEvent(QMouseEvent*) override {}
    void mouseDoubleClickEvent(QMouseEvent*) override {}
    void mouseMoveEvent(QMouseEvent*) override {}
    void wheelEvent(QWheelEvent* event) override { QApplication::sendEvent(m_grid->viewport(), event); }
    void contextMenuEvent(QContextMenuEvent* event) override { m_grid->showPopupMenu(event->globalPos()); }

private:
    StringGrid* m_grid;
};

// The fixed block where the fixed rows and fixed columns meet; it never scrolls.
class FixedCorner final : public QWidget {
public:
    explicit FixedCorner(StringGrid* grid)
        : QWidget(grid)
        , m_grid(grid) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const StringGridModel& model = *m_grid->gridModel();
        int top = 0;
        for (int row = 0; row < model.fixedRows(); ++row) {
            const int height = model.rowHeight(row);
            if (height <= 0)
                continue;
            int left = 0;
            for (int col = 0; col < model.fixedCols(); ++col) {
                const int width = model.colWidth(col);
                if (width <= 0)
                    continue;
                PaintFixedCell(painter, this, model, col, row, QRect(left, top, width, height));
                left += width;
            }
            top += height;
        }
    }
    void mousePressEvent(QMouseEvent*) override { m_grid->setFocus(Qt::MouseFocusReason); }
    void wheelEvent(QWheelEvent* event) override { QApplication::sendEvent(m_grid->viewport(), event); }
    void contextMenuEvent(QContextMenuEvent* event) override { m_grid->showPopupMenu(event->globalPos()); }

private:
    StringGrid* m_grid;
};

} // namespace

StringGrid::StringGrid(QWidget* parent)
    : QTableView(parent)
    , m_model(new StringGridModel(this))
    , m_corner(new FixedCorner(this)) {
    setHorizontalHeader(new FixedCellsHeader(Qt::Horizontal, this));
    setVerticalHeader(new FixedCellsHeader(Qt::Vertical, this));
    setModel(m_model);

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    connect(m_model, &StringGridModel::sectionSizeChanged, this,
            [this](Qt::Orientation orientation, int section) {
                applySection(orientation, section);
                const bool fixed =
                    section < (orientation == Qt::Horizontal ? m_model->fixedCols() : m_model->fixedRows());
                if (fixed)
                    updateFixedExtent();
            });
    connect(m_model, &StringGridModel::layoutSizesChanged, this, &StringGrid::applyLayout);
    connect(m_model, &QAbstractItemModel::columnsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                for (int col = first; col <= last; ++col)
                    applySection(Qt::Horizontal, col);
            });
    connect(m_model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                for (int row = first; row <= last; ++row)
                    applySection(Qt::Vertical, row);
            });
    // The fixed cells live in the headers, which repaint only what they hear of.
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& topLeft) {
        if (topLeft.row() < m_model->fixedRows() || topLeft.column() < m_model->fixedCols()) {
            horizontalHeader()->viewport()->update();
            verticalHeader()->viewport()->update();
            m_corner->update();
        }
    });
    applyLayout();
}

void StringGrid::applySection(Qt::Orientation orientation, int section) {
    const bool horizontal = orientation == Qt::Horizontal;
    QHeaderView* header = horizontal ? horizontalHeader() : verticalHeader();
    const bool fixed = section < (horizontal ? m_model->fixedCols() : m_model->fixedRows());
    const int size = horizontal ? m_model->colWidth(section) : m_model->rowHeight(section);
    const bool hidden = fixed || size <= 0;
    if (header->isSectionHidden(section) != hidden)
        header->setSectionHidden(section, hidden);
    if (!hidden && header->sectionSize(section) != size)
        header->resizeSection(section, size);
}

void StringGrid::applyLayout() {
    if (m_model->defaultColWidth() > 0)
        horizontalHeader()->setDefaultSectionSize(m_model->defaultColWidth());
    if (m_model->defaultRowHeight() > 0)
        verticalHeader()->setDefaultSectionSize(m_model->defaultRowHeight());
    for (int col = 0; col < m_model->colCount(); ++col)
        applySection(Qt::Horizontal, col);
    for (int row = 0; row < m_model->rowCount(); ++row)
        applySection(Qt::Vertical, row);
    updateFixedExtent();
}

int StringGrid::fixedWidth() const {
    int width = 0;
    for (int col = 0; col < m_model->fixedCols(); ++col)
        width += std::max(m_model->colWidth(col), 0);
    return width;
}

int StringGrid::fixedHeight() const {
    int height = 0;
    for (int row = 0; row < m_model->fixedRows(); ++row)
        height += std::max(m_model->rowHeight(row), 0);
    return height;
}

void StringGrid::updateFixedExtent() {
    verticalHeader()->setFixedWidth(fixedWidth());
    horizontalHeader()->setFixedHeight(fixedHeight());
    updateGeometries();
    horizontalHeader()->viewport()->update();
    verticalHeader()->viewport()->update();
    m_corner->update();
}

void StringGrid::updateGeometries() {
    QTableView::updateGeometries();
    // The headers have just been placed around the cells; the corner goes
    // where they meet.
    const QRect top = horizontalHeader()->geometry();
    const QRect left = verticalHeader()->geometry();
    m_corner->setGeometry(left.left(), top.top(), left.width(), top.height());
    m_corner->raise();
}

void StringGrid::setPopupMenu(QMenu* menu) {
    m_popupMenu = menu;
}

QMenu* StringGrid::popupMenu() const {
    return m_popupMenu;
}

void StringGrid::showPopupMenu(const QPoint& globalPos) {
    if (m_popupMenu)
        m_popupMenu->popup(globalPos);
}

void StringGrid::contextMenuEvent(QContextMenuEvent* event) {
    if (!m_popupMenu) {
        event->ignore();
        return;
    }
    showPopupMenu(event->globalPos());
    event->accept();
}

QRect StringGrid::selectedRange() const {
    const QRect cells(m_model->fixedCols(), m_model->fixedRows(), m_model->colCount() - m_model->fixedCols(),
                      m_model->rowCount() - m_model->fixedRows());
    QRect range;
    const QItemSelection selection = selectionModel()->selection();
    for (const QItemSelectionRange& part : selection)
        range |= QRect(QPoint(part.left(), part.top()), QPoint(part.right(), part.bottom()));
    range &= cells;
    if (range.isEmpty()) {
        const QModelIndex current = currentIndex();
        if (!current.isValid() || !cells.contains(current.column(), current.row()))
            return QRect();
        range = QRect(current.column(), current.row(), 1, 1);
    }
    return range;
}

void StringGrid::selectRange(const QRect& range) {
    const QRect cells(m_model->fixedCols(), m_model->fixedRows(), m_model->colCount() - m_model->fixedCols(),
                      m_model->rowCount() - m_model->fixedRows());
    const QRect clipped = range & cells;
    if (clipped.isEmpty()) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex topLeft = m_model->index(clipped.top(), clipped.left());
    selectionModel()->setCurrentIndex(topLeft, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(topLeft, m_model->index(clipped.bottom(), clipped.right())),
                             QItemSelectionModel::ClearAndSelect);
}
