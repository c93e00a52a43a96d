#include "masterdata/employee.h"

#include "app/dataset.h"
#include "app/dialogs.h"
#include "app/helpers.h"
#include "app/openwindow.h"
#include "app/prompts.h"
#include "classes/classtree.h"
#include "classes/classtreeeditor.h"
#include "masterdata/employeeedit.h"
#include "masterdata/flatbutton.h"
#include "widgets/datagrid.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString ReadError = QStringLiteral("读取数据出现错误。");
const QString NoDepartment = QStringLiteral("请首先建立或者选择一个部门分类！");

QVector<DataGridColumn> EmployeeColumns() {
    auto column = [](const QString& field, const QString& title, int width) {
        DataGridColumn c;
        c.fieldName = field;
        c.title = title;
        c.width = width;
        return c;
    };
    DataGridColumn id = column(QStringLiteral("ID"), QString(), 40);
    id.visible = false;
    DataGridColumn type = column(QStringLiteral("TypeCode"), QString(), 80);
    type.visible = false;
    DataGridColumn sex = column(QStringLiteral("Sex"), QStringLiteral("性别"), 44);
    sex.keyList = {QStringLiteral("0"), QStringLiteral("1")};
    sex.pickList = {QStringLiteral("男"), QStringLiteral("女")};
    DataGridColumn status = column(QStringLiteral("ZZStu"), QStringLiteral("在职状态"), 64);
    status.keyList = {QStringLiteral("0"), QStringLiteral("1")};
    status.pickList = {QStringLiteral("离职"), QStringLiteral("在职")};
    return {id,
            type,
            column(QStringLiteral("UserName"), QStringLiteral("姓名"), 72),
            sex,
            column(QStringLiteral("FuncName"), QStringLiteral("职位"), 80),
            status,
            column(QStringLiteral("TelePhone"), QStringLiteral("电话"), 100),
            column(QStringLiteral("MobilePhone"), QStringLiteral("手机"), 100),
            column(QStringLiteral("EMail"), QStringLiteral("EMail"), 140),
            column(QStringLiteral("Address"), QStringLiteral("联系地址"), 160),
            column(QStringLiteral("PostCode"), QStringLiteral("邮政编码"), 64),
            column(QStringLiteral("Desp"), QStringLiteral("备注"), 140)};
}

} // namespace

TfrmEmployee::TfrmEmployee()
    : Tree(new ClassTree)
    , DBGridEh1(new DataGrid)
    , dsQuery(new TDataSet(nullptr, this))
    , m_editor(std::make_unique<ClassTreeEditor>(Tree, ClassTable::Departments)) {
    setObjectName(QStringLiteral("frmEmployee"));
    setWindowTitle(QStringLiteral("雇员信息管理"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    resize(980, 560);

    auto* treeGroup = new QGroupBox(QStringLiteral("部门分类"));
    sbSelect = FlatButton(treeGroup, QStringLiteral("sbSelect"), QStringLiteral("选中部门"),
                          QStringLiteral("选中分组名称"));
    cmdAddRoot = FlatButton(treeGroup, QStringLiteral("cmdAddRoot"), QStringLiteral("添加根"),
                            QStringLiteral("添加根分组"));
    cndAddSon = FlatButton(treeGroup, QStringLiteral("cndAddSon"), QStringLiteral("添加下级"),
                           QStringLiteral("添加下级分组"));
    cmdEdit = FlatButton(treeGroup, QStringLiteral("cmdEdit"), QStringLiteral("修改"),
                         QStringLiteral("修改分组名称"));
    cmdDelete = FlatButton(treeGroup, QStringLiteral("cmdDelete"), QStringLiteral("删除"),
                           QStringLiteral("删除选定分组"));
    sbSelect->hide();
    auto* treeButtons = new QHBoxLayout;
    for (QToolButton* b : {sbSelect, cmdAddRoot, cndAddSon, cmdEdit, cmdDelete})
        treeButtons->addWidget(b);
    treeButtons->addStretch();
    auto* treeLayout = new QVBoxLayout(treeGroup);
    treeLayout->addWidget(Tree);
    treeLayout->addLayout(treeButtons);

    auto* listGroup = new QGroupBox(QStringLiteral("员工资料列表"));
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setDataSet(dsQuery);
    DBGridEh1->setColumns(EmployeeColumns());
    auto button = [listGroup](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption, listGroup);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    cmdAddClient = button(QStringLiteral("cmdAddClient"), QStringLiteral("增加(&A)"));
    cmdEditClient = button(QStringLiteral("cmdEditClient"), QStringLiteral("修改(&E)"));
    cmdDeleteClient = button(QStringLiteral("cmdDeleteClient"), QStringLiteral("删除(&D)"));
    cmdClose = button(QStringLiteral("cmdClose"), QStringLiteral("关闭(&X)"));
    cmdSelect = button(QStringLiteral("cmdSelect"), QStringLiteral("选中职员(&S)"));
    cmdSelect->hide();
    auto* listButtons = new QHBoxLayout;
    listButtons->addStretch();
    for (QPushButton* b : {cmdAddClient, cmdEditClient, cmdDeleteClient, cmdSelect, cmdClose})
        listButtons->addWidget(b);
    auto* listLayout = new QVBoxLayout(listGroup);
    listLayout->addWidget(DBGridEh1);
    listLayout->addLayout(listButtons);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(treeGroup);
    splitter->addWidget(listGroup);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 720});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    SetCancelButton(this, cmdClose);

    connect(Tree, &ClassTree::nodeClicked, this, &TfrmEmployee::TreeClick);
    connect(Tree, &ClassTree::nodeDoubleClicked, this, &TfrmEmployee::TreeDblClick);
    connect(sbSelect, &QToolButton::clicked, this, &TfrmEmployee::sbSelectClick);
    connect(cmdAddRoot, &QToolButton::clicked, this, &TfrmEmployee::cmdAddRootClick);
    connect(cndAddSon, &QToolButton::clicked, this, &TfrmEmployee::cndAddSonClick);
    connect(cmdEdit, &QToolButton::clicked, this, &TfrmEmployee::cmdEditClick);
    connect(cmdDelete, &QToolButton::clicked, this, &TfrmEmployee::cmdDeleteClick);
    connect(cmdAddClient, &QPushButton::clicked, this, &TfrmEmployee::cmdAddClientClick);
    connect(cmdEditClient, &QPushButton::clicked, this, &TfrmEmployee::cmdEditClientClick);
    connect(cmdDeleteClient, &QPushButton::clicked, this, &TfrmEmployee::cmdDeleteClientClick);
    connect(cmdSelect, &QPushButton::clicked, this, &TfrmEmployee::cmdSelectClick);
    connect(cmdClose, &QPushButton::clicked, this, &TfrmEmployee::cmdCloseClick);
    connect(DBGridEh1, &DataGrid::rowDoubleClicked, this, &TfrmEmployee::DBGridEh1DblClick);
}

TfrmEmployee::~TfrmEmployee() = default;

bool TfrmEmployee::ReadyData() {
    if (m_mode == Pick) {
        for (QWidget* w : std::initializer_list<QWidget*>{cmdAddRoot, cndAddSon, cmdEdit, cmdDelete,
                                                          cmdAddClient, cmdEditClient, cmdDeleteClient})
            w->hide();
        sbSelect->show();
        cmdSelect->show();
    }
    if (!Tree->LoadClassTable(ClassTable::Departments, ClassForest::Linking::Linked))
        return false;
    if (Tree->topLevelItemCount() > 0) {
        Tree->SelectFirst();
        TreeClick();
    }
    return true;
}

bool TfrmEmployee::ReadyList(const QString& departmentCode) {
    dsQuery->close();
    dsQuery->setCommandText(
        QStringLiteral("Select TEmployee.*,TFunc.FuncName from TEmployee left join TFunc on  "
                       "TEmployee.FuncCode=TFunc.FuncCode where   TEmployee.TypeCode='") +
        SqlEscape(departmentCode) + u'\'');
    try {
        dsQuery->open();
    } catch (const EDatabaseError&) {
        ShowMessage(ReadError);
        return false;
    }
    return true;
}

QString TfrmEmployee::SelectedCode() const {
    return ClassTree::Record(Tree->Selected()).TypeCode;
}

void TfrmEmployee::TreeClick() {
    if (Tree->Selected())
        ReadyList(SelectedCode());
}

void TfrmEmployee::TreeDblClick() {
    if (m_mode == Pick)
        sbSelectClick();
}

void TfrmEmployee::sbSelectClick() {
    QTreeWidgetItem* node = Tree->Selected();
    if (!node)
        return;
    const GoodsClass record = ClassTree::Record(node);
    m_choice = EmployeeChoice{true, record.TypeCode, record.TypeName, QString(), QString()};
    accept();
}

void TfrmEmployee::cmdSelectClick() {
    QTreeWidgetItem* node = Tree->Selected();
    if (!node || !dsQuery->active() || dsQuery->isEmpty() || dsQuery->eof())
        return;
    const GoodsClass record = ClassTree::Record(node);
    m_choice =
        EmployeeChoice{true, record.TypeCode, record.TypeName, dsQuery->asString(QStringLiteral("Code")),
                       dsQuery->asString(QStringLiteral("UserName"))};
    accept();
}

void TfrmEmployee::cmdAddClientClick() {
    if (!Tree->Selected()) {
        ShowMessage(NoDepartment);
        return;
    }
    const QString code = SelectedCode();
    if (ShowEmployeeEdit(code, -1))
        ReadyList(code);
}

void TfrmEmployee::cmdEditClientClick() {
    if (!Tree->Selected()) {
        ShowMessage(NoDepartment);
        return;
    }
    if (!dsQuery->active() || dsQuery->isEmpty() || dsQuery->eof()) {
        ShowMessage(QStringLiteral("没有可修改的记录！"));
        return;
    }
    const QString code = SelectedCode();
    if (ShowEmployeeEdit(code, int(dsQuery->asInteger(QStringLiteral("ID")))))
        ReadyList(code);
}

void TfrmEmployee::cmdDeleteClientClick() {
    if (!Tree->Selected() || !dsQuery->active() || dsQuery->isEmpty() || dsQuery->eof())
        return;
    if (!AskYesNo(QStringLiteral("您确认删除选定雇员资料吗？")))
        return;
    TCommand command;
    command.setCommandText(QStringLiteral("Delete from TEmployee Where ID=") +
                           QString::number(dsQuery->asInteger(QStringLiteral("ID"))));
    try {
        command.execute();
    } catch (const EDatabaseError&) {
        ShowMessage(QStringLiteral("删除数据发生错误！"));
        return;
    }
    ReadyList(SelectedCode());
}

void TfrmEmployee::DBGridEh1DblClick() {
    if (m_mode == Pick)
        cmdSelectClick();
    else
        cmdEditClientClick();
}

void TfrmEmployee::cmdCloseClick() {
    reject();
}

void TfrmEmployee::cmdAddRootClick() {
    m_editor->AddRoot();
}

void TfrmEmployee::cndAddSonClick() {
    m_editor->AddChild();
}

void TfrmEmployee::cmdEditClick() {
    m_editor->Rename();
}

void TfrmEmployee::cmdDeleteClick() {
    m_editor->Delete();
}

static std::unique_ptr<TfrmEmployee> OpenEmployee(TfrmEmployee::Mode mode) {
    auto window = std::make_unique<TfrmEmployee>();
    window->SetMode(mode);
    return RunModal<TfrmEmployee>(std::move(window), &TfrmEmployee::ReadyData);
}

void ShowEmployee() {
    OpenEmployee(TfrmEmployee::Maintenance);
}

EmployeeChoice SelectEmployee() {
    const auto window = OpenEmployee(TfrmEmployee::Pick);
    return window ? window->Choice() : EmployeeChoice{};
}
