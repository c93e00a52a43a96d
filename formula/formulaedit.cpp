#include "formula/formulaedit.h"

#include "app/dataset.h"
#include "app/dialogs.h"
#include "app/openwindow.h"
#include "app/prompts.h"
#include "formula/employeecount.h"
#include "formula/formularow.h"
#include "formula/moneycount.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TfrmFormulaEdit::TfrmFormulaEdit(const QString& funcCode, const QString& custTypeCode)
    : EditMormula(new QPlainTextEdit)
    , EditTmp(new QLineEdit(this))
    , dsQuery(new TDataSet(nullptr, this))
    , m_funcCode(funcCode)
    , m_custTypeCode(custTypeCode) {
    setObjectName(QStringLiteral("frmFormulaEdit"));
    EditMormula->setObjectName(QStringLiteral("EditMormula"));
    EditMormula->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    EditMormula->setFixedSize(520, 220);
    EditTmp->setObjectName(QStringLiteral("EditTmp"));
    EditTmp->hide();

    auto speedButton = [](const QString& name, const QString& caption) {
        auto* b = new QToolButton;
        b->setObjectName(name);
        b->setText(caption);
        b->setAutoRaise(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setMinimumWidth(72);
        return b;
    };
    SpeedButton1 = speedButton(QStringLiteral("SpeedButton1"), QStringLiteral("+ (加)"));
    SpeedButton2 = speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("- (减)"));
    SpeedButton3 = speedButton(QStringLiteral("SpeedButton3"), QStringLiteral("* (乘)"));
    SpeedButton4 = speedButton(QStringLiteral("SpeedButton4"), QStringLiteral("/ (除)"));
    SpeedButton5 = speedButton(QStringLiteral("SpeedButton5"), QStringLiteral("( 左括"));
    SpeedButton6 = speedButton(QStringLiteral("SpeedButton6"), QStringLiteral(") 右括"));

    auto button = [](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    Button1 = button(QStringLiteral("Button1"), QStringLiteral("金额类参数"));
    Button2 = button(QStringLiteral("Button2"), QStringLiteral("人数类参数"));
    Button3 = button(QStringLiteral("Button3"), QStringLiteral("清除"));
    cmdReg = button(QStringLiteral("cmdReg"), QStringLiteral("保存"));
    cmdClose = button(QStringLiteral("cmdClose"), QStringLiteral("取消"));
    Label1 = new QLabel(QStringLiteral("提示：COUNT=金额统计  SUM_D=按部门统计人数  SUM_F=按职位统计人数"));
    Label1->setObjectName(QStringLiteral("Label1"));

    auto* group = new QGroupBox(QStringLiteral("公式内容"));
    auto* operators = new QVBoxLayout;
    for (QToolButton* b :
         {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton6})
        operators->addWidget(b);
    operators->addStretch();
    auto* groupLayout = new QHBoxLayout(group);
    groupLayout->addWidget(EditMormula);
    groupLayout->addLayout(operators);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Button1, Button2, Button3})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(cmdReg);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->addWidget(Label1);
    MakeFixedDialog(this);
    SetCancelButton(this, cmdClose);
    InstallEnterAsTab(this);
    EditMormula->setFocus();

    connect(SpeedButton1, &QToolButton::clicked, this, &TfrmFormulaEdit::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TfrmFormulaEdit::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TfrmFormulaEdit::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TfrmFormulaEdit::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &TfrmFormulaEdit::SpeedButton5Click);
    connect(SpeedButton6, &QToolButton::clicked, this, &TfrmFormulaEdit::SpeedButton6Click);
    connect(Button1, &QPushButton::clicked, this, &TfrmFormulaEdit::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TfrmFormulaEdit::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TfrmFormulaEdit::Button3Click);
    connect(cmdReg, &QPushButton::clicked, this, &TfrmFormulaEdit::cmdRegClick);
    connect(cmdClose, &QPushButton::clicked, this, &TfrmFormulaEdit::cmdCloseClick);
}

bool TfrmFormulaEdit::ReadyData() {
    QString formula;
    if (!OpenFormulaRow(*dsQuery, m_funcCode, m_custTypeCode, formula)) {
        ShowMessage(QStringLiteral("读取本地数据发生错误！"));
        return false;
    }
    EditMormula->setPlainText(formula);
    return true;
}

void TfrmFormulaEdit::InsertText(const QString& text) {
    if (text.isEmpty())
        return;
    EditTmp->setText(text);
    EditTmp->selectAll();
    EditTmp->copy();
    EditMormula->paste();
    EditMormula->setFocus();
}

void TfrmFormulaEdit::SpeedButton1Click() {
    InsertText(QStringLiteral("+"));
}

void TfrmFormulaEdit::SpeedButton2Click() {
    InsertText(QStringLiteral("-"));
}

void TfrmFormulaEdit::SpeedButton3Click() {
    InsertText(QStringLiteral("*"));
}

void TfrmFormulaEdit::SpeedButton4Click() {
    InsertText(QStringLiteral("/"));
}

void TfrmFormulaEdit::SpeedButton5Click() {
    InsertText(QStringLiteral("("));
}

void TfrmFormulaEdit::SpeedButton6Click() {
    InsertText(QStringLiteral(")"));
}

void TfrmFormulaEdit::Button1Click() {
    InsertText(ShowMoneyCount());
}

void TfrmFormulaEdit::Button2Click() {
    InsertText(ShowEmployeeCount());
}

void TfrmFormulaEdit::Button3Click() {
    EditMormula->clear();
    EditMormula->setFocus();
}

void TfrmFormulaEdit::cmdRegClick() {
    if (!SaveFormulaRow(*dsQuery, m_funcCode, m_custTypeCode, EditMormula->toPlainText())) {
        ShowMessage(QStringLiteral("保存数据发生错误！"));
        return;
    }
    accept();
}

void TfrmFormulaEdit::cmdCloseClick() {
    reject();
}

bool ShowFormulaEdit(const QString& FuncCode, const QString& CustTypeCode, const QString& Title) {
    auto dialog = std::make_unique<TfrmFormulaEdit>(FuncCode, CustTypeCode);
    dialog->setWindowTitle(QStringLiteral("修改") + Title);
    return RunModal<TfrmFormulaEdit>(std::move(dialog), &TfrmFormulaEdit::ReadyData) != nullptr;
}
