#include "formula/formuladgn.h"

#include "app/dataset.h"
#include "app/helpers.h"
#include "app/openwindow.h"
#include "app/prompts.h"
#include "classes/classtree.h"
#include "formula/formulaedit.h"
#include "formula/formularow.h"
#include "masterdata/func.h"
#include "masterdata/positions.h"
#include "widgets/datagrid.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

TfrmFormulaDgn::TfrmFormulaDgn()
    : DBGridEh1(new DataGrid)
    , Tree(new ClassTree)
    , GroupF(new QGroupBox)
    , EditFormula(new QPlainTextEdit)
    , cmdReg(new QPushButton(QStringLiteral("修改(&E)")))
    , cmdClose(new QPushButton(QStringLiteral("关闭(&X)")))
    , dsQuery(new TDataSet(nullptr, this))
    , dstemp(new TDataSet(nullptr, this)) {
    setObjectName(QStringLiteral("frmFormulaDgn"));
    setWindowTitle(QStringLiteral("公式定义"));

    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setDataSet(dsQuery);
    DBGridEh1->setColumns(PositionColumns());
    DBGridEh1->setFixedSize(280, 440);
    Tree->setFixedSize(420, 250);
    GroupF->setObjectName(QStringLiteral("GroupF"));
    EditFormula->setObjectName(QStringLiteral("EditFormula"));
    EditFormula->setReadOnly(true);
    EditFormula->setFixedSize(420, 100);
    cmdReg->setObjectName(QStringLiteral("cmdReg"));
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    SetCaption(QStringLiteral("公式："));

    auto* positions = new QGroupBox(QStringLiteral("职位列表"));
    (new QVBoxLayout(positions))->addWidget(DBGridEh1);
    auto* categories = new QGroupBox(QStringLiteral("费用类别"));
    (new QVBoxLayout(categories))->addWidget(Tree);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdReg);
    buttons->addWidget(cmdClose);
    auto* formula = new QVBoxLayout(GroupF);
    formula->addWidget(EditFormula);
    formula->addLayout(buttons);
    auto* right = new QVBoxLayout;
    right->addWidget(categories);
    right->addWidget(GroupF);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(positions);
    layout->addLayout(right);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, cmdClose, &QPushButton::click);
    connect(DBGridEh1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TfrmFormulaDgn::dsQueryAfterScroll);
    connect(Tree, &ClassTree::nodeClicked, this, &TfrmFormulaDgn::TreeClick);
    connect(cmdReg, &QPushButton::clicked, this, &TfrmFormulaDgn::cmdRegClick);
    connect(cmdClose, &QPushButton::clicked, this, &TfrmFormulaDgn::cmdCloseClick);
}

void TfrmFormulaDgn::SetCaption(const QString& caption) {
    m_caption = caption;
    // Shown as typed: an "&" in a name is no shortcut marker.
    GroupF->setTitle(QString(caption).replace(u'&', QStringLiteral("&&")));
}

bool TfrmFormulaDgn::HasPositions() const {
    return dsQuery->active() && !dsQuery->isEmpty() && !dsQuery->eof();
}

bool TfrmFormulaDgn::ReadyData() {
    return OpenPositions(*dsQuery);
}

bool TfrmFormulaDgn::ReadyTree() {
    if (!Tree->LoadClassTable(ClassTable::Categories, ClassForest::Linking::Linked))
        return false;
    Tree->SelectFirst();
    return true;
}

void TfrmFormulaDgn::Readyformula() {
    const QTreeWidgetItem* node = Tree->Selected();
    if (!HasPositions() || !node)
        return;
    const QString funcCode = dsQuery->asString(QStringLiteral("FuncCode"));
    SetCaption(QStringLiteral("公式>> 职位=") + dsQuery->asString(QStringLiteral("FuncName")) +
               QStringLiteral(",费用=") + NodePath(node));
    QString formula;
    if (LookupFormula(*dstemp, funcCode, ClassTree::Record(node).TypeCode, formula))
        EditFormula->setPlainText(formula);
}

void TfrmFormulaDgn::cmdRegClick() {
    if (!HasPositions()) {
        ShowMessage(QStringLiteral("没有选择/录入职位！"));
        return;
    }
    const QTreeWidgetItem* node = Tree->Selected();
    if (!node) {
        ShowMessage(QStringLiteral("请选择一个费用分类！"));
        return;
    }
    const QString funcCode = dsQuery->asString(QStringLiteral("FuncCode"));
    const QString typeCode = ClassTree::Record(node).TypeCode;
    if (ShowFormulaEdit(funcCode, typeCode, m_caption))
        EditFormula->setPlainText(StoredFormula(funcCode, typeCode));
}

void TfrmFormulaDgn::cmdCloseClick() {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void TfrmFormulaDgn::TreeClick() {
    Readyformula();
}

void TfrmFormulaDgn::dsQueryAfterScroll() {
    Readyformula();
}

bool ShowFormulaDgn() {
    TfrmFormulaDgn* window = OpenChild<TfrmFormulaDgn>(
        std::make_unique<TfrmFormulaDgn>(), [](TfrmFormulaDgn& w) { return w.ReadyData() && w.ReadyTree(); });
    if (!window)
        return false;
    // A fixed dialog-style border: no resizing, no minimise or maximise box.
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        frame->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        frame->setFixedSize(frame->sizeHint());
        frame->show();
    }
    return true;
}
