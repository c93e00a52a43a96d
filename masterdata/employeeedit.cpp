#include "masterdata/employeeedit.h"

#include "app/dataset.h"
#include "app/dialogs.h"
#include "app/helpers.h"
#include "app/openwindow.h"
#include "app/prompts.h"
#include "masterdata/employeecode.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QLineEdit* LimitedEdit(QWidget* parent, const QString& name, int bytes) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    LimitGbkBytes(edit, bytes);
    return edit;
}

QComboBox* FixedList(QWidget* parent, const QString& name, const QStringList& entries) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItems(entries);
    combo->setCurrentIndex(-1);
    return combo;
}

const QString ReadError = QStringLiteral("读取本地数据发生错误！");

} // namespace

TfrmEmployeeEdit::TfrmEmployeeEdit(const QString& departmentCode)
    : m_departmentCode(departmentCode)
    , dsQuery(new TDataSet(nullptr, this)) {
    setObjectName(QStringLiteral("frmEmployeeEdit"));
    EditTrueName = LimitedEdit(this, QStringLiteral("EditTrueName"), 20);
    cmbSex = FixedList(this, QStringLiteral("cmbSex"), {QStringLiteral("男"), QStringLiteral("女")});
    EditTelePhone = LimitedEdit(this, QStringLiteral("EditTelePhone"), 30);
    EditMobileCode = LimitedEdit(this, QStringLiteral("EditMobileCode"), 30);
    EditEMail = LimitedEdit(this, QStringLiteral("EditEMail"), 30);
    EditAddress = LimitedEdit(this, QStringLiteral("EditAddress"), 50);
    EditPostCode = LimitedEdit(this, QStringLiteral("EditPostCode"), 10);
    EditMemo = new QPlainTextEdit(this);
    EditMemo->setObjectName(QStringLiteral("EditMemo"));
    EditMemo->setTabChangesFocus(true);
    EditMemo->setFixedHeight(70);
    LimitGbkBytes(EditMemo, 200);
    cmbFuncName = FixedList(this, QStringLiteral("cmbFuncName"), {});
    cmdReg = new QPushButton(QStringLiteral("保存(&S)"), this);
    cmdReg->setObjectName(QStringLiteral("cmdReg"));
    cmdClose = new QPushButton(QStringLiteral("取消(&X)"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmbZZStu = FixedList(this, QStringLiteral("cmbZZStu"), {QStringLiteral("离职"), QStringLiteral("在职")});
    for (QPushButton* b : {cmdReg, cmdClose})
        b->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("姓名"), EditTrueName);
    form->addRow(QStringLiteral("性别"), cmbSex);
    form->addRow(QStringLiteral("电话"), EditTelePhone);
    form->addRow(QStringLiteral("移动电话"), EditMobileCode);
    form->addRow(QStringLiteral("电子邮件"), EditEMail);
    form->addRow(QStringLiteral("联系地址"), EditAddress);
    form->addRow(QStringLiteral("邮政编码"), EditPostCode);
    form->addRow(QStringLiteral("备注"), EditMemo);
    form->addRow(QStringLiteral("职位"), cmbFuncName);
    form->addRow(QStringLiteral("在职状态"), cmbZZStu);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdReg);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    EditTrueName->setMinimumWidth(260);

    // Tab order: the fields, the buttons, then the status.
    QWidget* order[] = {EditTrueName, cmbSex,   EditTelePhone, EditMobileCode, EditEMail, EditAddress,
                        EditPostCode, EditMemo, cmbFuncName,   cmdReg,         cmdClose,  cmbZZStu};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    MakeFixedDialog(this);
    SetCancelButton(this, cmdClose);
    InstallEnterAsTab(this);
    EditTrueName->setFocus();

    connect(cmdReg, &QPushButton::clicked, this, &TfrmEmployeeEdit::cmdRegClick);
    connect(cmdClose, &QPushButton::clicked, this, &TfrmEmployeeEdit::cmdCloseClick);
}

TfrmEmployeeEdit::~TfrmEmployeeEdit() = default;

bool TfrmEmployeeEdit::ReadyData(int id) {
    TDataSet dsTemp;
    dsTemp.setCommandText(QStringLiteral("Select * from TFunc Order by FuncName"));
    try {
        dsTemp.open();
        ListFuncCode.clear();
        cmbFuncName->clear();
        for (; !dsTemp.eof(); dsTemp.next()) {
            ListFuncCode.append(dsTemp.asString(QStringLiteral("FuncCode")));
            cmbFuncName->addItem(dsTemp.asString(QStringLiteral("FuncName")));
        }
        cmbFuncName->setCurrentIndex(-1);
        dsQuery->close();
        dsQuery->setCommandText(QStringLiteral("Select * from TEmployee Where ID=") + QString::number(id));
        dsQuery->open();
        if (dsQuery->isEmpty()) {
            setWindowTitle(QStringLiteral("新增职员纪录"));
            cmbSex->setCurrentIndex(0);
            cmbZZStu->setCurrentIndex(-1);
            dsQuery->append();
        } else {
            setWindowTitle(QStringLiteral("修改职员记录"));
            m_existingCode = dsQuery->asString(QStringLiteral("Code"));
            EditTrueName->setText(dsQuery->asString(QStringLiteral("UserName")));
            cmbSex->setCurrentIndex(int(dsQuery->asInteger(QStringLiteral("Sex"))));
            EditTelePhone->setText(dsQuery->asString(QStringLiteral("TelePhone")));
            EditMobileCode->setText(dsQuery->asString(QStringLiteral("MobilePhone")));
            EditEMail->setText(dsQuery->asString(QStringLiteral("EMail")));
            EditAddress->setText(dsQuery->asString(QStringLiteral("Address")));
            EditPostCode->setText(dsQuery->asString(QStringLiteral("PostCode")));
            EditMemo->setPlainText(dsQuery->asString(QStringLiteral("Desp")));
            const qint64 status = dsQuery->asInteger(QStringLiteral("ZZStu"));
            cmbZZStu->setCurrentIndex(status == 0 || status == 1 ? int(status) : -1);
            cmbFuncName->setCurrentIndex(
                IndexOfText(ListFuncCode, dsQuery->asString(QStringLiteral("FuncCode")), false));
        }
    } catch (const EDatabaseError&) {
        ShowMessage(ReadError);
        return false;
    }
    return true;
}

bool TfrmEmployeeEdit::SaveData() {
    if (EditTrueName->text().isEmpty()) {
        ShowMessage(QStringLiteral("业务员姓名必须输入！"));
        EditTrueName->setFocus();
        return false;
    }
    if (cmbFuncName->currentIndex() < 0) {
        ShowMessage(QStringLiteral("职位必须指定！"));
        return false;
    }
    if (m_existingCode.isEmpty()) {
        m_existingCode = GetNewCode(m_departmentCode);
        // Never store an employee without a code.
        if (m_existingCode.isEmpty()) {
            ShowMessage(QStringLiteral("无法为该部门的新职员生成编号，职员资料未保存！"));
            return false;
        }
    }
    try {
        if (dsQuery->state() == TDataSet::State::Browse)
            dsQuery->edit();
        dsQuery->setValue(QStringLiteral("Code"), m_existingCode);
        dsQuery->setValue(QStringLiteral("UserName"), EditTrueName->text());
        dsQuery->setValue(QStringLiteral("TelePhone"), EditTelePhone->text());
        dsQuery->setValue(QStringLiteral("MobilePhone"), EditMobileCode->text());
        dsQuery->setValue(QStringLiteral("EMail"), EditEMail->text());
        dsQuery->setValue(QStringLiteral("Address"), EditAddress->text());
        dsQuery->setValue(QStringLiteral("PostCode"), EditPostCode->text());
        dsQuery->setValue(QStringLiteral("Desp"), EditMemo->toPlainText());
        dsQuery->setValue(QStringLiteral("Sex"), std::max(cmbSex->currentIndex(), 0));
        dsQuery->setValue(QStringLiteral("TypeCode"), m_departmentCode);
        dsQuery->setValue(QStringLiteral("ZZStu"), cmbZZStu->currentIndex());
        dsQuery->setValue(QStringLiteral("FuncCode"), ListFuncCode.value(cmbFuncName->currentIndex()));
        dsQuery->post();
    } catch (const EDatabaseError&) {
        ShowMessage(QStringLiteral("存储数据发生错误!"));
        return false;
    }
    return true;
}

void TfrmEmployeeEdit::cmdRegClick() {
    if (SaveData()) {
        m_notSaved = false;
        accept();
    }
}

void TfrmEmployeeEdit::cmdCloseClick() {
    reject();
}

bool ShowEmployeeEdit(const QString& departmentCode, int id) {
    const auto dialog = RunModal<TfrmEmployeeEdit>(std::make_unique<TfrmEmployeeEdit>(departmentCode),
                                                   [id](TfrmEmployeeEdit& d) { return d.ReadyData(id); });
    return dialog && dialog->Saved();
}
