#include "widgets/datagrid.h"

#include "app/dataset.h"
#include "widgets/datagridmodel.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <algorithm>

namespace {

// The footer row: one cell under each shown column, drawn at the columns'
// positions so that it moves with them when they scroll or change width.
class FooterBar final : public QWidget {
public:
    FooterBar(DataGrid* grid, DataGridModel* model)
        : QWidget(grid)
        , m_grid(grid)
        , m_model(model) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().button());
        painter.setPen(palette().mid().color());
        painter.drawLine(0, 0, width() - 1, 0);
        // Cells start where the grid's viewport starts; left of it lies the
        // row indicator's column.
        const int left = m_grid->viewport()->geometry().left() - x();
        painter.drawLine(left - 1, 0, left - 1, height() - 1);
        painter.setClipRect(left, 0, width() - left, height());
        const QHeaderView* header = m_grid->horizontalHeader();
        const auto& columns = m_model->columns();
        for (int c = 0; c < columns.size(); ++c) {
            if (header->isSectionHidden(c))
                continue;
            const QRect cell(left + header->sectionViewportPosition(c), 0, header->sectionSize(c), height());
            if (cell.right() < left || cell.left() >= width())
                continue;
            painter.setPen(palette().mid().color());
            painter.drawLine(cell.right(), 0, cell.right(), height() - 1);
            const QRect textRect = cell.adjusted(4, 1, -4, 0);
            const QString text =
                fontMetrics().elidedText(m_model->footerText(c), Qt::ElideRight, textRect.width());
            painter.setPen(palette().buttonText().color());
            painter.drawText(textRect,
                             int(columns[c].footer.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter,
                             text);
        }
    }

private:
    DataGrid* m_grid;
    DataGridModel* m_model;
};

// Column titles whose sort marker points up for ascending rows and down for
// descending ones, as on the desktops the clerks know (the style's own
// convention is the reverse).
class TitleBar final : public QHeaderView {
public:
    explicit TitleBar(QWidget* parent)
        : QHeaderView(Qt::Horizontal, parent) {}

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        if (option->sortIndicator == QStyleOptionHeader::SortDown)
            option->sortIndicator = QStyleOptionHeader::SortUp;
        else if (option->sortIndicator == QStyleOptionHeader::SortUp)
            option->sortIndicator = QStyleOptionHeader::SortDown;
    }
};

} // namespace

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent)
    , m_model(new DataGridModel(this))
    , m_footer(new FooterBar(this, m_model)) {
    setHorizontalHeader(new TitleBar(this));
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Pixel scrolling lets the last row come up above the footer row.
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* titles = horizontalHeader();
    titles->setDefaultAlignment(Qt::AlignCenter);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setSectionsClickable(true);
    titles->setHighlightSections(false);
    titles->setSortIndicatorShown(true);
    titles->setSortIndicator(-1, Qt::AscendingOrder);

    // One fixed height for every row: the view then never measures rows, which
    // keeps large results fast.
    const int rowHeight = fontMetrics().height() + 8;
    QHeaderView* indicator = verticalHeader();
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setMinimumSectionSize(rowHeight);
    indicator->setDefaultSectionSize(rowHeight);
    indicator->setSectionsClickable(false);
    indicator->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("\u25B6")) + 12);

    m_footer->setObjectName(QStringLiteral("footer"));
    m_footer->hide();

    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            Q_EMIT rowDoubleClicked(index.row());
    });
    connect(titles, &QHeaderView::sectionClicked, this, [this](int column) {
        Q_EMIT titleClicked(column);
        // The header flips its marker by itself on a click; the marker shows
        // the order of the rows, whatever the receiver did with the click.
        showSortMarker();
    });

    // While the model changes, the view moves its current row by its own rules;
    // afterwards the grid shows the dataset's current row.
    auto hold = [this] { m_following = true; };
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, hold);
    connect(m_model, &QAbstractItemModel::rowsAboutToBeRemoved, this, hold);
    connect(m_model, &QAbstractItemModel::rowsAboutToBeInserted, this, hold);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        showSortMarker();
        followRecNo();
    });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &DataGrid::followRecNo);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &DataGrid::followRecNo);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &DataGrid::followRecNo);

    auto repaintFooter = [this] { m_footer->update(); };
    connect(m_model, &DataGridModel::footersChanged, this, repaintFooter);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, repaintFooter);
    connect(titles, &QHeaderView::sectionResized, this, repaintFooter);
    connect(titles, &QHeaderView::sectionMoved, this, repaintFooter);
}

void DataGrid::setDataSet(TDataSet* dataSet) {
    m_model->setDataSet(dataSet);
}

TDataSet* DataGrid::dataSet() const {
    return m_model->dataSet();
}

void DataGrid::setColumns(const QVector<DataGridColumn>& columns) {
    m_model->setColumns(columns);
    for (int c = 0; c < columns.size(); ++c) {
        setColumnWidth(c, columns[c].width);
        setColumnHidden(c, !columns[c].visible);
    }
}

QVector<DataGridColumn> DataGrid::columns() const {
    QVector<DataGridColumn> columns = m_model->columns();
    for (int c = 0; c < columns.size(); ++c) {
        if (!isColumnHidden(c))
            columns[c].width = columnWidth(c);
    }
    return columns;
}

void DataGrid::setFooterVisible(bool visible) {
    m_footerVisible = visible;
    m_footer->setVisible(visible);
    updateGeometries();
}

QString DataGrid::cellText(int row, int column) const {
    return m_model->cellText(row, column);
}

QString DataGrid::footerText(int column) const {
    return m_model->footerText(column);
}

bool DataGrid::sortByColumn(int column, bool ascending) {
    if (!m_model->canSort(column))
        return false;
    m_model->sort(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    return true;
}

int DataGrid::sortColumn() const {
    return m_model->sortColumn();
}

bool DataGrid::sortAscending() const {
    return m_model->sortOrder() == Qt::AscendingOrder;
}

void DataGrid::followRecNo() {
    m_following = true;
    const TDataSet* data = dataSet();
    const int rows = m_model->rowCount();
    if (!data || rows == 0) {
        selectionModel()->clear();
        m_model->setIndicatorRow(-1);
    } else {
        int column = 0;
        while (column < m_model->columnCount() - 1 && isColumnHidden(column))
            ++column;
        const int row = std::clamp(data->recNo(), 0, rows - 1);
        const QModelIndex index = m_model->index(row, column);
        selectionModel()->setCurrentIndex(index,
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_model->setIndicatorRow(row);
        scrollTo(index);
    }
    m_following = false;
}

void DataGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QTableView::scrollTo(index, hint);
    if (!m_footerVisible || !index.isValid())
        return;
    // A row under the footer row is not in sight: bring it up above it.
    const int visibleBottom = viewport()->height() - footerHeight() - 1;
    const int rowBottom = rowViewportPosition(index.row()) + rowHeight(index.row()) - 1;
    if (rowBottom > visibleBottom)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + rowBottom - visibleBottom);
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (m_following || !current.isValid())
        return;
    m_model->setIndicatorRow(current.row());
    TDataSet* data = dataSet();
    if (data && data->state() == TDataSet::State::Browse)
        data->setRecNo(current.row());
}

void DataGrid::updateGeometries() {
    QTableView::updateGeometries();
    if (!m_footerVisible)
        return;
    // The footer row covers the bottom of the viewport; the rows may scroll up
    // by its height so that the last one comes to stand above it.
    const int height = footerHeight();
    verticalScrollBar()->setRange(0, std::max(0, verticalHeader()->length() + height - viewport()->height()));
    const QRect area = viewport()->geometry();
    const int left = verticalHeader()->isHidden() ? area.left() : verticalHeader()->geometry().left();
    m_footer->setGeometry(left, area.bottom() - height + 1, area.right() - left + 1, height);
    m_footer->raise();
}

void DataGrid::showSortMarker() {
    horizontalHeader()->setSortIndicator(m_model->sortColumn(), m_model->sortOrder());
}

int DataGrid::footerHeight() const {
    return verticalHeader()->defaultSectionSize();
}
