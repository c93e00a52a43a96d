#include "masterdata/func.h"

#include "app/dataset.h"
#include "app/dialogs.h"
#include "app/openwindow.h"
#include "app/prompts.h"
#include "masterdata/funcedit.h"
#include "masterdata/positions.h"
#include "widgets/datagrid.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

QVector<DataGridColumn> PositionColumns() {
    DataGridColumn id;
    id.fieldName = QStringLiteral("ID");
    id.visible = false;
    DataGridColumn code;
    code.fieldName = QStringLiteral("FuncCode");
    code.title = QStringLiteral("职位编码");
    code.width = 100;
    DataGridColumn name;
    name.fieldName = QStringLiteral("FuncName");
    name.title = QStringLiteral("职位名称");
    name.width = 150;
    return {id, code, name};
}

TfrmFunc::TfrmFunc()
    : DBGridEh1(new DataGrid(this))
    , dsQuery(new TDataSet(nullptr, this)) {
    setObjectName(QStringLiteral("frmFunc"));
    setWindowTitle(QStringLiteral("职位信息管理"));
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setDataSet(dsQuery);
    DBGridEh1->setColumns(PositionColumns());
    DBGridEh1->setMinimumSize(400, 320);

    auto button = [this](const QString& objectName, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(objectName);
        b->setAutoDefault(false);
        return b;
    };
    Button1 = button(QStringLiteral("Button1"), QStringLiteral("增加(&A)"));
    Button2 = button(QStringLiteral("Button2"), QStringLiteral("修改(&E)"));
    Button3 = button(QStringLiteral("Button3"), QStringLiteral("删除(&D)"));
    Button4 = button(QStringLiteral("Button4"), QStringLiteral("关闭(&X)"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {Button1, Button2, Button3, Button4})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGridEh1);
    layout->addLayout(buttons);
    MakeFixedDialog(this);

    connect(Button1, &QPushButton::clicked, this, &TfrmFunc::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TfrmFunc::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TfrmFunc::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TfrmFunc::Button4Click);
    connect(DBGridEh1, &DataGrid::rowDoubleClicked, this, &TfrmFunc::DBGridEh1DblClick);
}

bool TfrmFunc::ReadyData() {
    return OpenPositions(*dsQuery);
}

void TfrmFunc::Button1Click() {
    if (ShowFuncEdit(-1))
        ReadyData();
}

void TfrmFunc::Button2Click() {
    if (!dsQuery->active() || dsQuery->isEmpty() || dsQuery->eof())
        return;
    if (ShowFuncEdit(int(dsQuery->asInteger(QStringLiteral("ID")))))
        ReadyData();
}

void TfrmFunc::Button3Click() {
    if (!dsQuery->active() || dsQuery->isEmpty() || dsQuery->eof())
        return;
    if (!AskYesNo(QStringLiteral("您确认删除选定的职位记录吗？")))
        return;
    try {
        dsQuery->deleteRow();
    } catch (const EDatabaseError&) {
        ShowMessage(QStringLiteral("指定职位信息可能已经被使用，不能删除！"));
    }
}

void TfrmFunc::Button4Click() {
    reject();
}

void TfrmFunc::DBGridEh1DblClick() {
    Button2Click();
}

bool ShowFunc() {
    return RunModal<TfrmFunc>(std::make_unique<TfrmFunc>(), &TfrmFunc::ReadyData) != nullptr;
}
