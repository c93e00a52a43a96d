#include "formula/employeecount.h"

#include "app/dataset.h"
#include "app/dialogs.h"
#include "app/openwindow.h"
#include "classes/classtree.h"
#include "formula/formulawidgets.h"
#include "formula/tokentext.h"
#include "masterdata/func.h"
#include "masterdata/positions.h"
#include "widgets/datagrid.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmEmployeeCount::TfrmEmployeeCount()
    : Tree(new ClassTree)
    , DBGridEh1(new DataGrid)
    , dsQuery(new TDataSet(nullptr, this))
    , EditCountFor(new QLineEdit)
    , cmdReg(new QPushButton(QStringLiteral("确认")))
    , cmdClose(new QPushButton(QStringLiteral("取消"))) {
    setObjectName(QStringLiteral("frmEmployeeCount"));
    setWindowTitle(QStringLiteral("定义人数类参数"));

    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setDataSet(dsQuery);
    DBGridEh1->setColumns(PositionColumns());
    EditCountFor->setObjectName(QStringLiteral("EditCountFor"));
    EditCountFor->setReadOnly(true);
    cmdReg->setObjectName(QStringLiteral("cmdReg"));
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdReg->setAutoDefault(false);
    cmdClose->setAutoDefault(false);
    Tree->setFixedSize(260, 360);
    DBGridEh1->setFixedSize(280, 360);

    auto* departments = new QGroupBox(QStringLiteral("部门分类"));
    (new QVBoxLayout(departments))->addWidget(Tree);
    auto* positions = new QGroupBox(QStringLiteral("职位分类"));
    (new QVBoxLayout(positions))->addWidget(DBGridEh1);
    auto* lists = new QHBoxLayout;
    lists->addWidget(departments);
    lists->addWidget(positions);
    auto* label = new QLabel(QStringLiteral("人数统计公式"));
    label->setBuddy(EditCountFor);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(label);
    bottom->addWidget(EditCountFor, 1);
    bottom->addWidget(cmdReg);
    bottom->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(bottom);
    MakeFixedDialog(this);
    SetCancelButton(this, cmdClose);

    // A mouse button released anywhere over the grid: rows, titles, row
    // indicators or the empty area below the rows.
    for (QWidget* area : {DBGridEh1->viewport(), DBGridEh1->horizontalHeader()->viewport(),
                          DBGridEh1->verticalHeader()->viewport()})
        area->installEventFilter(this);
    connect(Tree, &ClassTree::nodeClicked, this, &TfrmEmployeeCount::TreeClick);
    connect(cmdReg, &QPushButton::clicked, this, &TfrmEmployeeCount::cmdRegClick);
    connect(cmdClose, &QPushButton::clicked, this, &TfrmEmployeeCount::cmdCloseClick);
}

bool TfrmEmployeeCount::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease)
        DBGridEh1MouseUp();
    return QDialog::eventFilter(watched, event);
}

bool TfrmEmployeeCount::ReadyData() {
    if (!Tree->LoadClassTable(ClassTable::Departments, ClassForest::Linking::TwoLevel))
        return false;
    Tree->SelectFirst();
    return true;
}

bool TfrmEmployeeCount::ReadyFunc() {
    return OpenPositions(*dsQuery);
}

void TfrmEmployeeCount::TreeClick() {
    if (const QTreeWidgetItem* node = Tree->Selected()) {
        const GoodsClass department = ClassTree::Record(node);
        ShowToken(EditCountFor, DepartmentHeadcountToken(department.TypeCode, department.TypeName));
    }
}

void TfrmEmployeeCount::DBGridEh1MouseUp() {
    if (!dsQuery->active() || dsQuery->isEmpty() || dsQuery->eof())
        return;
    ShowToken(EditCountFor, PositionHeadcountToken(dsQuery->asString(QStringLiteral("FuncCode")),
                                                   dsQuery->asString(QStringLiteral("FuncName"))));
}

void TfrmEmployeeCount::cmdRegClick() {
    m_result = EditCountFor->text();
    accept();
}

void TfrmEmployeeCount::cmdCloseClick() {
    reject();
}

QString ShowEmployeeCount() {
    const auto dialog =
        RunModal<TfrmEmployeeCount>(std::make_unique<TfrmEmployeeCount>(),
                                    [](TfrmEmployeeCount& d) { return d.ReadyData() && d.ReadyFunc(); });
    return dialog ? dialog->Result() : QString();
}
