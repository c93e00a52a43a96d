#include "formula/moneycount.h"

#include "app/dialogs.h"
#include "app/helpers.h"
#include "app/openwindow.h"
#include "classes/classtree.h"
#include "formula/formulawidgets.h"
#include "formula/tokentext.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

QGroupBox* TreeGroup(const QString& title, ClassTree* tree) {
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(tree);
    return group;
}

} // namespace

TfrmMoneyCount::TfrmMoneyCount()
    : TreeView1(new ClassTree)
    , Tree(new ClassTree)
    , EditCountFor(new QLineEdit)
    , cmdReg(new QPushButton(QStringLiteral("确认")))
    , cmdClose(new QPushButton(QStringLiteral("取消"))) {
    setObjectName(QStringLiteral("frmMoneyCount"));
    setWindowTitle(QStringLiteral("定义金额类参数"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    resize(760, 520);

    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    EditCountFor->setObjectName(QStringLiteral("EditCountFor"));
    EditCountFor->setReadOnly(true);
    cmdReg->setObjectName(QStringLiteral("cmdReg"));
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdReg->setAutoDefault(false);
    cmdClose->setAutoDefault(false);

    auto* splitter = new QSplitter;
    splitter->addWidget(TreeGroup(QStringLiteral("部门/人员"), TreeView1));
    splitter->addWidget(TreeGroup(QStringLiteral("费用类别"), Tree));
    splitter->setChildrenCollapsible(false);
    auto* label = new QLabel(QStringLiteral("金额统计公式"));
    label->setBuddy(EditCountFor);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(label);
    bottom->addWidget(EditCountFor, 1);
    bottom->addWidget(cmdReg);
    bottom->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(bottom);
    SetCancelButton(this, cmdClose);

    connect(Tree, &ClassTree::nodeClicked, this, &TfrmMoneyCount::TreeClick);
    connect(TreeView1, &ClassTree::nodeClicked, this, &TfrmMoneyCount::TreeView1Click);
    connect(cmdReg, &QPushButton::clicked, this, &TfrmMoneyCount::cmdRegClick);
    connect(cmdClose, &QPushButton::clicked, this, &TfrmMoneyCount::cmdCloseClick);
}

bool TfrmMoneyCount::ReadyData() {
    return Tree->LoadClassTable(ClassTable::Categories, ClassForest::Linking::Linked);
}

bool TfrmMoneyCount::ReadyData1() {
    return TreeView1->LoadDepartmentsWithEmployees();
}

QString TfrmMoneyCount::GetFu() const {
    const QTreeWidgetItem* left = TreeView1->Selected();
    const QTreeWidgetItem* category = Tree->Selected();
    if (!left || !category)
        return QString();
    const GoodsClass who = ClassTree::Record(left);
    const GoodsClass what = ClassTree::Record(category);
    if (who.ID < 0)
        return DepartmentAmountToken(who.TypeCode, NodePath(left), what.TypeCode, NodePath(category));
    return EmployeeAmountToken(who.TypeCode, NodePath(left), what.TypeCode, NodePath(category));
}

void TfrmMoneyCount::TreeClick() {
    ShowToken(EditCountFor, GetFu());
}

void TfrmMoneyCount::TreeView1Click() {
    ShowToken(EditCountFor, GetFu());
}

void TfrmMoneyCount::cmdRegClick() {
    m_result = EditCountFor->text();
    accept();
}

void TfrmMoneyCount::cmdCloseClick() {
    reject();
}

QString ShowMoneyCount() {
    const auto dialog = RunModal<TfrmMoneyCount>(std::make_unique<TfrmMoneyCount>(), [](TfrmMoneyCount& d) {
        return d.ReadyData() && d.ReadyData1();
    });
    return dialog ? dialog->Result() : QString();
}
