#include "masterdata/custdef.h"

#include "app/dialogs.h"
#include "app/openwindow.h"
#include "classes/classtree.h"
#include "classes/classtreeeditor.h"
#include "masterdata/flatbutton.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

TfrmCustDef::TfrmCustDef()
    : Tree(new ClassTree)
    , m_editor(std::make_unique<ClassTreeEditor>(Tree, ClassTable::Categories)) {
    setObjectName(QStringLiteral("frmCustDef"));
    setWindowTitle(QStringLiteral("费用类别定义"));

    auto* group = new QGroupBox(QStringLiteral("费用分类"), this);
    cmdAddRoot = FlatButton(group, QStringLiteral("cmdAddRoot"), QStringLiteral("添加根"),
                            QStringLiteral("添加根分组"));
    cndAddSon = FlatButton(group, QStringLiteral("cndAddSon"), QStringLiteral("添加下级"),
                           QStringLiteral("添加下级分组"));
    cmdEdit =
        FlatButton(group, QStringLiteral("cmdEdit"), QStringLiteral("修改"), QStringLiteral("修改分组名称"));
    cmdDelete = FlatButton(group, QStringLiteral("cmdDelete"), QStringLiteral("删除(&D)"),
                           QStringLiteral("删除选定分组"));
    sbSelect = FlatButton(group, QStringLiteral("sbSelect"), QStringLiteral("选中(&S)"),
                          QStringLiteral("选中选定分组"));
    SpeedButton1 = FlatButton(group, QStringLiteral("SpeedButton1"), QStringLiteral("退出(&X)"), QString());
    sbSelect->hide();

    Tree->setParent(group);
    Tree->setMinimumSize(340, 420);
    auto* buttons = new QHBoxLayout;
    for (QToolButton* b : {cmdAddRoot, cndAddSon, cmdEdit, cmdDelete, sbSelect, SpeedButton1})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* inner = new QVBoxLayout(group);
    inner->addWidget(Tree);
    inner->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    MakeFixedDialog(this);
    SetCancelButton(this, SpeedButton1);

    connect(cmdAddRoot, &QToolButton::clicked, this, &TfrmCustDef::cmdAddRootClick);
    connect(cndAddSon, &QToolButton::clicked, this, &TfrmCustDef::cndAddSonClick);
    connect(cmdEdit, &QToolButton::clicked, this, &TfrmCustDef::cmdEditClick);
    connect(cmdDelete, &QToolButton::clicked, this, &TfrmCustDef::cmdDeleteClick);
    connect(sbSelect, &QToolButton::clicked, this, &TfrmCustDef::sbSelectClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TfrmCustDef::SpeedButton1Click);
    connect(Tree, &ClassTree::nodeDoubleClicked, this, &TfrmCustDef::TreeDblClick);
}

TfrmCustDef::~TfrmCustDef() = default;

bool TfrmCustDef::ReadyData() {
    if (m_mode == Pick) {
        for (QToolButton* b : {cmdAddRoot, cndAddSon, cmdEdit, cmdDelete})
            b->hide();
        sbSelect->show();
    }
    return Tree->LoadClassTable(ClassTable::Categories, ClassForest::Linking::Linked);
}

void TfrmCustDef::cmdAddRootClick() {
    m_editor->AddRoot();
}

void TfrmCustDef::cndAddSonClick() {
    m_editor->AddChild();
}

void TfrmCustDef::cmdEditClick() {
    m_editor->Rename();
}

void TfrmCustDef::cmdDeleteClick() {
    m_editor->Delete();
}

void TfrmCustDef::sbSelectClick() {
    QTreeWidgetItem* node = Tree->Selected();
    if (!node)
        return;
    const GoodsClass record = ClassTree::Record(node);
    m_chosenCode = record.TypeCode;
    m_chosenName = record.TypeName;
    m_notChosen = false;
    accept();
}

void TfrmCustDef::TreeDblClick() {
    if (m_mode == Pick)
        sbSelectClick();
    else
        cmdEditClick();
}

void TfrmCustDef::SpeedButton1Click() {
    reject();
}

static std::unique_ptr<TfrmCustDef> OpenCustDef(TfrmCustDef::Mode mode) {
    auto window = std::make_unique<TfrmCustDef>();
    window->SetMode(mode);
    return RunModal<TfrmCustDef>(std::move(window), &TfrmCustDef::ReadyData);
}

void ShowCustDef() {
    OpenCustDef(TfrmCustDef::Maintenance);
}

ClassChoice SelectCustType() {
    const auto window = OpenCustDef(TfrmCustDef::Pick);
    return window ? window->Choice() : ClassChoice{};
}
