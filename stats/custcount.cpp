#include "stats/custcount.h"

#include "app/openwindow.h"
#include "output/preview.h"
#include "output/sendtoexcel.h"
#include "stats/statfill.h"
#include "stats/statlayout.h"
#include "stats/statperiod.h"
#include "widgets/stringgrid.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int BaseTag = 1;
constexpr int CalcTag = 2;

// Shows a laid-out (and perhaps filled) table in a grid.
void ShowStatTable(StringGrid* grid, const StatTable& table) {
    grid->beginUpdate();
    grid->clear();
    grid->setRowCount(table.rowCount);
    grid->setColCount(table.colCount);
    grid->setFixedRows(std::min(table.fixedRows, table.rowCount));
    grid->setFixedCols(std::min(table.fixedCols, table.colCount));
    for (int r = 0; r < table.rowCount; ++r)
        for (int c = 0; c < table.colCount; ++c)
            if (!table.cell(c, r).isEmpty())
                grid->setCell(c, r, table.cell(c, r));
    if (table.rowCount > 0)
        grid->setRowHeight(0, -1);
    if (table.colCount > 0)
        grid->setColWidth(0, -1);
    for (int c = 1; c < table.colCount; ++c) {
        grid->setColWidth(c, c < table.fixedCols ? 100 : 84);
        grid->setColAlignment(c, c < table.fixedCols ? Qt::Alignment() : Qt::AlignRight | Qt::AlignVCenter);
    }
    grid->endUpdate();
}

StringGrid* MakeGrid(QWidget* parent, const QString& name, int tag, QMenu* popup) {
    auto* grid = new StringGrid(parent);
    grid->setObjectName(name);
    grid->setTag(tag);
    grid->setDefaultRowHeight(18);
    grid->setPopupMenu(popup);
    return grid;
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QDateEdit* DatePicker(QWidget* parent, const QString& name) {
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return picker;
}

QMenu* Popup(QWidget* parent, const QString& name, const QString& excel, const QString& print) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(name);
    menu->addAction(QStringLiteral("发送到Excel"))->setObjectName(excel);
    menu->addAction(QStringLiteral("打印"))->setObjectName(print);
    return menu;
}

} // namespace

TfrmCustCount::TfrmCustCount()
    : PageControl1(new QTabWidget(this)) {
    setObjectName(QStringLiteral("frmCustCount"));
    setWindowTitle(QStringLiteral("基本费用统计表"));
    PopupMenu1 = Popup(this, QStringLiteral("PopupMenu1"), QStringLiteral("Excel1"), QStringLiteral("N2"));
    PopupMenu2 = Popup(this, QStringLiteral("PopupMenu2"), QStringLiteral("MenuItem1"), QStringLiteral("N1"));

    auto* basePage = new QWidget;
    Grid = MakeGrid(basePage, QStringLiteral("Grid"), BaseTag, PopupMenu1);
    auto* label1 = new QLabel(QStringLiteral("统计期间"), basePage);
    label1->setObjectName(QStringLiteral("Label1"));
    dtStart = DatePicker(basePage, QStringLiteral("dtStart"));
    auto* label2 = new QLabel(QStringLiteral("---"), basePage);
    label2->setObjectName(QStringLiteral("Label2"));
    dtend = DatePicker(basePage, QStringLiteral("dtend"));
    chkIncludeSub = new QCheckBox(QStringLiteral("部门包含下级费用"), basePage);
    chkIncludeSub->setObjectName(QStringLiteral("chkIncludeSub"));
    Button1 = Button(basePage, QStringLiteral("Button1"), QStringLiteral("统计基本费用"));
    Button4 = Button(basePage, QStringLiteral("Button4"), QStringLiteral("发送&Excel"));
    Button6 = Button(basePage, QStringLiteral("Button6"), QStringLiteral("打印(&P)"));
    cmdReg = Button(basePage, QStringLiteral("cmdReg"), QStringLiteral("下一步-自动计算分摊费用"));
    cmdClose = Button(basePage, QStringLiteral("cmdClose"), QStringLiteral("退出(&X)"));
    ProgressBar1 = new QProgressBar(basePage);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMaximumHeight(10);
    cmdReg->setEnabled(false);
    auto* baseButtons = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{label1, dtStart, label2, dtend, chkIncludeSub})
        baseButtons->addWidget(w);
    baseButtons->addStretch();
    for (QWidget* w : {Button1, Button4, Button6, cmdReg, cmdClose})
        baseButtons->addWidget(w);
    auto* baseLayout = new QVBoxLayout(basePage);
    baseLayout->addWidget(Grid, 1);
    baseLayout->addLayout(baseButtons);
    baseLayout->addWidget(ProgressBar1);

    auto* calcPage = new QWidget;
    GridCalc = MakeGrid(calcPage, QStringLiteral("GridCalc"), CalcTag, PopupMenu2);
    Button2 = Button(calcPage, QStringLiteral("Button2"), QStringLiteral("发送到&Excel"));
    Button5 = Button(calcPage, QStringLiteral("Button5"), QStringLiteral("打印(&P)"));
    Button3 = Button(calcPage, QStringLiteral("Button3"), QStringLiteral("退出(&X)"));
    ProgressBar2 = new QProgressBar(calcPage);
    ProgressBar2->setObjectName(QStringLiteral("ProgressBar2"));
    ProgressBar2->setTextVisible(false);
    ProgressBar2->setMaximumHeight(10);
    auto* calcButtons = new QHBoxLayout;
    calcButtons->addStretch();
    for (QWidget* w : {Button2, Button5, Button3})
        calcButtons->addWidget(w);
    auto* calcLayout = new QVBoxLayout(calcPage);
    calcLayout->addWidget(GridCalc, 1);
    calcLayout->addLayout(calcButtons);
    calcLayout->addWidget(ProgressBar2);

    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(basePage, QStringLiteral("基本费用统计"));
    PageControl1->addTab(calcPage, QStringLiteral("费用分摊明细"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(PageControl1);
    resize(1000, 620);

    connect(Button1, &QPushButton::clicked, this, &TfrmCustCount::Button1Click);
    connect(chkIncludeSub, &QCheckBox::clicked, this, &TfrmCustCount::Button1Click);
    connect(cmdReg, &QPushButton::clicked, this, &TfrmCustCount::cmdRegClick);
    connect(cmdClose, &QPushButton::clicked, this, &TfrmCustCount::cmdCloseClick);
    connect(Button3, &QPushButton::clicked, this, &TfrmCustCount::cmdCloseClick);
    connect(Button4, &QPushButton::clicked, this, &TfrmCustCount::Excel1Click);
    connect(Button6, &QPushButton::clicked, this, &TfrmCustCount::Button6Click);
    connect(Button2, &QPushButton::clicked, this, &TfrmCustCount::MenuItem1Click);
    connect(Button5, &QPushButton::clicked, this, &TfrmCustCount::Button5Click);
    connect(PopupMenu1->findChild<QAction*>(QStringLiteral("Excel1")), &QAction::triggered, this,
            &TfrmCustCount::Excel1Click);
    connect(PopupMenu1->findChild<QAction*>(QStringLiteral("N2")), &QAction::triggered, this,
            &TfrmCustCount::N2Click);
    connect(PopupMenu2->findChild<QAction*>(QStringLiteral("MenuItem1")), &QAction::triggered, this,
            &TfrmCustCount::MenuItem1Click);
    connect(PopupMenu2->findChild<QAction*>(QStringLiteral("N1")), &QAction::triggered, this,
            &TfrmCustCount::N1Click);
    FormCreate();
}

void TfrmCustCount::FormCreate() {
    const StatPeriod period = DefaultStatPeriod(QDate::currentDate());
    dtStart->setDate(period.first);
    dtend->setDate(period.last);
    PageControl1->setTabVisible(1, false);
}

void TfrmCustCount::SetFilling(bool filling) {
    m_filling = filling;
    m_stop = false;
    // While a fill runs no second one can start.
    for (QWidget* w : std::initializer_list<QWidget*>{Button1, chkIncludeSub, cmdReg})
        w->setEnabled(!filling && (w != cmdReg || m_base.rowCount > 0));
    // Nor is a half-filled table sent or printed.
    for (QWidget* w : {Button4, Button6, Button2, Button5})
        w->setEnabled(!filling);
    for (QAction* action : PopupMenu1->actions() + PopupMenu2->actions())
        action->setEnabled(!filling);
}

bool TfrmCustCount::RunFill(StringGrid* grid, QProgressBar* progress,
                            const std::function<bool(StatTable&, const std::function<bool(int)>&)>& fill) {
    StatTable table;
    if (!LayoutStatTable(table)) {
        grid->setFixedRows(std::min(table.fixedRows, grid->rowCount()));
        return false;
    }
    ShowStatTable(grid, table);
    progress->setRange(table.fixedCols, std::max(table.fixedCols, table.colCount - 1));
    progress->setValue(table.fixedCols);
    SetFilling(true);
    const bool complete = fill(table, [this, progress](int col) {
        progress->setValue(col);
        QCoreApplication::processEvents();
        return !m_stop;
    });
    SetFilling(false);
    if (complete) {
        ShowStatTable(grid, table);
        if (grid == Grid)
            m_base = std::move(table);
        cmdReg->setEnabled(m_base.rowCount > 0);
    }
    if (m_closePending) {
        m_closePending = false;
        cmdCloseClick();
    }
    return true;
}

bool TfrmCustCount::ReadyfixCount(StringGrid* grid) {
    const StatPeriod period{dtStart->date(), dtend->date()};
    if (grid->tag() == BaseTag) {
        const bool includeSub = chkIncludeSub->isChecked();
        return RunFill(grid, ProgressBar1, [&](StatTable& table, const std::function<bool(int)>& progress) {
            return FillBaseTable(table, period, includeSub, progress);
        });
    }
    const StatTable base = m_base;
    return RunFill(grid, ProgressBar2, [&](StatTable& table, const std::function<bool(int)>& progress) {
        return FillAllocationTable(table, base, period, progress);
    });
}

void TfrmCustCount::Button1Click() {
    if (m_filling)
        return;
    PageControl1->setCurrentIndex(0);
    ReadyfixCount(Grid);
}

void TfrmCustCount::cmdRegClick() {
    if (m_filling)
        return;
    PageControl1->setTabVisible(1, true);
    PageControl1->setCurrentIndex(1);
    ReadyfixCount(GridCalc);
}

void TfrmCustCount::Excel1Click() {
    SendStringGridToExcel(QStringLiteral("基本费用统计"), Grid, windowTitle());
}

void TfrmCustCount::MenuItem1Click() {
    SendStringGridToExcel(QStringLiteral("费用分摊明细"), GridCalc, windowTitle());
}

void TfrmCustCount::Button6Click() {
    N2Click();
}

void TfrmCustCount::N2Click() {
    PreviewStringGrid(QStringLiteral("基本费用统计"), Grid);
}

void TfrmCustCount::Button5Click() {
    N1Click();
}

void TfrmCustCount::N1Click() {
    PreviewStringGrid(QStringLiteral("费用分摊明细"), GridCalc);
}

void TfrmCustCount::cmdCloseClick() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void TfrmCustCount::closeEvent(QCloseEvent* event) {
    // Closing during a fill stops the fill first; the window closes when it has.
    if (m_filling) {
        m_stop = true;
        m_closePending = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TfrmCustCount::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cmdCloseClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool ShowCustCount() {
    return OpenChild<TfrmCustCount>(std::make_unique<TfrmCustCount>(), [](TfrmCustCount& window) {
               window.PageControl1->setCurrentIndex(0);
               return window.ReadyfixCount(window.Grid);
           }) != nullptr;
}
