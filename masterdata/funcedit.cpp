#include "masterdata/funcedit.h"

#include "app/dataset.h"
#include "app/dialogs.h"
#include "app/helpers.h"
#include "app/openwindow.h"
#include "app/prompts.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

TfrmFuncEdit::TfrmFuncEdit(int id)
    : EditName(new QLineEdit(this))
    , EditCode(new QLineEdit(this))
    , cmdEnsure(new QPushButton(QStringLiteral("确认(&E)"), this))
    , cmdCancel(new QPushButton(QStringLiteral("取消(&X)"), this))
    , m_id(id)
    , dsQuery(new TDataSet(nullptr, this)) {
    setObjectName(QStringLiteral("frmFuncEdit"));
    setWindowTitle(QStringLiteral("新增/修改职位信息"));
    EditName->setObjectName(QStringLiteral("EditName"));
    EditCode->setObjectName(QStringLiteral("EditCode"));
    cmdEnsure->setObjectName(QStringLiteral("cmdEnsure"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Typing is limited; a code proposed from a long name is not cut.
    LimitGbkBytes(EditName, 50);
    EditCode->setMaxLength(10);
    EditName->setMinimumWidth(240);
    for (QPushButton* b : {cmdEnsure, cmdCancel})
        b->setAutoDefault(false); // no default button: Enter moves on

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("职位名称"), EditName);
    form->addRow(QStringLiteral("职位编码"), EditCode);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdEnsure);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setTabOrder(EditName, EditCode);
    setTabOrder(EditCode, cmdEnsure);
    setTabOrder(cmdEnsure, cmdCancel);

    MakeFixedDialog(this);
    SetCancelButton(this, cmdCancel);
    InstallEnterAsTab(this);
    EditName->installEventFilter(this);
    EditName->setFocus();

    connect(cmdEnsure, &QPushButton::clicked, this, &TfrmFuncEdit::cmdEnsureClick);
    connect(cmdCancel, &QPushButton::clicked, this, &TfrmFuncEdit::cmdCancelClick);
}

bool TfrmFuncEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditName && event->type() == QEvent::FocusOut)
        EditNameExit();
    return QDialog::eventFilter(watched, event);
}

bool TfrmFuncEdit::ReadyData() {
    try {
        dsQuery->close();
        dsQuery->setCommandText(QStringLiteral("Select * from TFunc Where ID=") + QString::number(m_id));
        dsQuery->open();
        if (dsQuery->isEmpty()) {
            dsQuery->append();
        } else {
            dsQuery->edit();
            EditCode->setText(dsQuery->asString(QStringLiteral("FuncCode")));
            EditName->setText(dsQuery->asString(QStringLiteral("FuncName")));
        }
    } catch (const EDatabaseError&) {
        ShowMessage(QStringLiteral("读取本地数据文件发生错误！"));
        return false;
    }
    return true;
}

void TfrmFuncEdit::EditNameExit() {
    if (EditCode->text().isEmpty())
        EditCode->setText(PinyinInitials(EditName->text()));
}

bool TfrmFuncEdit::SaveData() {
    if (EditCode->text().isEmpty()) {
        ShowMessage(QStringLiteral("编号尚未输入！"));
        EditCode->setFocus();
        return false;
    }
    if (EditName->text().isEmpty()) {
        ShowMessage(QStringLiteral("名称尚未输入！"));
        EditName->setFocus();
        return false;
    }
    try {
        dsQuery->setValue(QStringLiteral("FuncCode"), EditCode->text());
        dsQuery->setValue(QStringLiteral("FuncName"), EditName->text());
        dsQuery->post();
    } catch (const EDatabaseError&) {
        ShowMessage(QStringLiteral("存储数据发生错误，可能您输入的编号已经被使用!"));
        return false;
    }
    return true;
}

void TfrmFuncEdit::cmdEnsureClick() {
    if (SaveData()) {
        m_notSaved = false;
        accept();
    }
}

void TfrmFuncEdit::cmdCancelClick() {
    reject();
}

bool ShowFuncEdit(int id) {
    const auto dialog = RunModal<TfrmFuncEdit>(std::make_unique<TfrmFuncEdit>(id), &TfrmFuncEdit::ReadyData);
    return dialog && dialog->Saved();
}
