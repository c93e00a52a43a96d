#include "bills/billinput.h"

#include "app/appearance.h"
#include "app/datamodule.h"
#include "app/dataset.h"
#include "app/dialogs.h"
#include "app/openwindow.h"
#include "app/prompts.h"
#include "bills/billrules.h"
#include "masterdata/custdef.h"
#include "masterdata/employee.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

// A box that shows a chosen name: read-only, on the info-tip background.
QLineEdit* ChosenNameBox(QWidget* parent, const QString& name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    box->setPalette(palette);
    return box;
}

// A flat button with an image that opens a picker; it takes no focus.
QToolButton* PickerButton(QWidget* parent, const QString& name, const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIcon(GlyphIcon(QStringLiteral("…"), QColor(0x2f, 0x6f, 0xa8)));
    button->setIconSize(QSize(16, 16));
    return button;
}

} // namespace

TfrmBillInput::TfrmBillInput()
    : dsQuery(new TDataSet(nullptr, this)) {
    setObjectName(QStringLiteral("frmBillInput"));
    setWindowTitle(QStringLiteral("费用录入"));
    EditCustType = ChosenNameBox(this, QStringLiteral("EditCustType"));
    sbCustType = PickerButton(this, QStringLiteral("sbCustType"), QStringLiteral("选择费用类型"));
    EditContractNo = new QLineEdit(this);
    EditContractNo->setObjectName(QStringLiteral("EditContractNo"));
    cmbComp = new QComboBox(this);
    cmbComp->setObjectName(QStringLiteral("cmbComp"));
    cmbComp->setEditable(true);
    cmbComp->setInsertPolicy(QComboBox::NoInsert);
    EditDepart = ChosenNameBox(this, QStringLiteral("EditDepart"));
    EditEmp = ChosenNameBox(this, QStringLiteral("EditEmp"));
    sbEmp = PickerButton(this, QStringLiteral("sbEmp"), QStringLiteral("选择部门/人员"));
    EditTotal = new QLineEdit(this);
    EditTotal->setObjectName(QStringLiteral("EditTotal"));
    EditTotal->setInputMask(AmountInputMask);
    EditTotal->setText(AmountInitialText);
    // A fixed-pitch font shows the box's ten positions as they are.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(EditTotal->font().pointSize());
    EditTotal->setFont(fixed);
    dtOcr = new QDateTimeEdit(this);
    dtOcr->setObjectName(QStringLiteral("dtOcr"));
    dtOcr->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    dtOcr->setCalendarPopup(true);
    EditDesp = new QPlainTextEdit(this);
    EditDesp->setObjectName(QStringLiteral("EditDesp"));
    EditDesp->setTabChangesFocus(true);
    EditDesp->setFixedHeight(80);
    cmdReg = new QPushButton(QStringLiteral("保存"), this);
    cmdReg->setObjectName(QStringLiteral("cmdReg"));
    cmdClose = new QPushButton(QStringLiteral("取消"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    for (QPushButton* b : {cmdReg, cmdClose})
        b->setAutoDefault(false); // no default button: Enter moves on

    // Labels, boxes and picker buttons in two groups of columns, so that the
    // boxes of one group line up whether or not they have a button.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    auto label = [this, grid](const QString& caption, int row, int column) {
        grid->addWidget(new QLabel(caption, this), row, column, Qt::AlignRight | Qt::AlignVCenter);
    };
    label(QStringLiteral("费用类型"), 0, 0);
    grid->addWidget(EditCustType, 0, 1);
    grid->addWidget(sbCustType, 0, 2);
    label(QStringLiteral("合同编号"), 0, 3);
    grid->addWidget(EditContractNo, 0, 4);
    label(QStringLiteral("目标单位"), 1, 0);
    grid->addWidget(cmbComp, 1, 1, 1, 4);
    label(QStringLiteral("发生部门"), 2, 0);
    grid->addWidget(EditDepart, 2, 1);
    label(QStringLiteral("发生人员"), 2, 3);
    grid->addWidget(EditEmp, 2, 4);
    grid->addWidget(sbEmp, 2, 5);
    label(QStringLiteral("发生金额"), 3, 0);
    grid->addWidget(EditTotal, 3, 1);
    label(QStringLiteral("发生日期"), 3, 3);
    grid->addWidget(dtOcr, 3, 4);
    grid->addWidget(new QLabel(QStringLiteral("备注"), this), 4, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(EditDesp, 4, 1, 1, 4);
    grid->setColumnMinimumWidth(1, 180);
    grid->setColumnMinimumWidth(4, 180);
    grid->setColumnMinimumWidth(5, sbEmp->sizeHint().width());
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdReg);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    QWidget* order[] = {EditCustType, EditDepart, EditEmp,  EditTotal,      dtOcr,
                        EditDesp,     cmdReg,     cmdClose, EditContractNo, cmbComp};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    MakeFixedDialog(this);
    SetCancelButton(this, cmdClose);
    InstallEnterAsTab(this);
    for (QWidget* box : std::initializer_list<QWidget*>{EditCustType, EditContractNo, EditDepart, EditEmp})
        box->installEventFilter(this);
    EditCustType->setFocus();

    connect(cmdReg, &QPushButton::clicked, this, &TfrmBillInput::cmdRegClick);
    connect(cmdClose, &QPushButton::clicked, this, &TfrmBillInput::cmdCloseClick);
    connect(sbCustType, &QToolButton::clicked, this, &TfrmBillInput::sbCustTypeClick);
    connect(sbEmp, &QToolButton::clicked, this, &TfrmBillInput::sbEmpClick);
    FormCreate();
}

TfrmBillInput::~TfrmBillInput() = default;

void TfrmBillInput::FormCreate() {
    dtOcr->setDateTime(QDateTime::currentDateTime());
    m_notSaved = true;
    // A failing query leaves the list as far as it was filled.
    QStringList counterparties;
    if (DM)
        DM->GetDataBySQLToItems(CounterpartyListStatement(), counterparties, true);
    cmbComp->addItems(counterparties);
    cmbComp->setCurrentIndex(-1);
    cmbComp->clearEditText();
}

bool TfrmBillInput::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == EditCustType || watched == EditContractNo) {
            EditCustTypeDblClick();
            return true;
        }
        if (watched == EditDepart) {
            EditDepartDblClick();
            return true;
        }
        if (watched == EditEmp) {
            EditEmpDblClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TfrmBillInput::ReadyData(int id) {
    try {
        dsQuery->close();
        dsQuery->setCommandText(BillRowStatement(id));
        dsQuery->open();
        if (dsQuery->isEmpty()) {
            setWindowTitle(QStringLiteral("新增费用发生纪录"));
            dsQuery->append();
        } else {
            setWindowTitle(QStringLiteral("修改费用发生记录"));
            m_custCode = dsQuery->asString(QStringLiteral("CustCode"));
            m_departCode = dsQuery->asString(QStringLiteral("DepartCode"));
            m_empCode = dsQuery->asString(QStringLiteral("EmpID"));
            EditCustType->setText(dsQuery->asString(QStringLiteral("CustName")));
            EditDepart->setText(dsQuery->asString(QStringLiteral("DepartName")));
            EditEmp->setText(dsQuery->asString(QStringLiteral("EmpName")));
            EditTotal->setText(AmountMaskText(dsQuery->asFloat(QStringLiteral("Total"))));
            EditDesp->setPlainText(dsQuery->asString(QStringLiteral("Desp")));
            EditContractNo->setText(dsQuery->asString(QStringLiteral("ContractNo")));
            cmbComp->setEditText(dsQuery->asString(QStringLiteral("Provider")));
            // The date only: the picker keeps its time of day.
            const QDate stored = dsQuery->asDateTime(QStringLiteral("OcrDate")).date();
            if (stored.isValid())
                dtOcr->setDate(stored);
        }
    } catch (const EDatabaseError&) {
        ShowMessage(QStringLiteral("读取本地数据发生错误！"));
        return false;
    }
    return true;
}

bool TfrmBillInput::SaveData() {
    BillEntry entry;
    entry.custCode = m_custCode;
    entry.departCode = m_departCode;
    entry.empId = m_empCode;
    const QString problem = BillEntryProblem(entry);
    if (!problem.isEmpty()) {
        ShowMessage(problem);
        return false;
    }
    EditContractNo->setText(SpaceIfEmpty(EditContractNo->text()));
    cmbComp->setEditText(SpaceIfEmpty(cmbComp->currentText()));
    entry.ocrDate = dtOcr->dateTime();
    entry.total = AmountFromMaskText(EditTotal->displayText());
    entry.desp = EditDesp->toPlainText();
    entry.departName = EditDepart->text();
    entry.empName = EditEmp->text();
    entry.custName = EditCustType->text();
    entry.contractNo = EditContractNo->text();
    entry.provider = cmbComp->currentText();
    try {
        PostBillEntry(*dsQuery, entry);
    } catch (const EDatabaseError&) {
        ShowMessage(QStringLiteral("保存数据发生错误！"));
        return false;
    }
    return true;
}

void TfrmBillInput::cmdRegClick() {
    if (SaveData()) {
        m_notSaved = false;
        accept();
    }
}

void TfrmBillInput::cmdCloseClick() {
    reject();
}

void TfrmBillInput::sbCustTypeClick() {
    const ClassChoice choice = SelectCustType();
    if (!choice.chosen)
        return;
    m_custCode = choice.code;
    EditCustType->setText(choice.name);
}

void TfrmBillInput::EditCustTypeDblClick() {
    sbCustTypeClick();
}

void TfrmBillInput::sbEmpClick() {
    const EmployeeChoice choice = SelectEmployee();
    if (!choice.chosen)
        return;
    m_departCode = choice.departmentCode;
    m_empCode = choice.employeeCode;
    EditDepart->setText(choice.departmentName);
    EditEmp->setText(choice.employeeName);
}

void TfrmBillInput::EditDepartDblClick() {
    sbEmpClick();
}

void TfrmBillInput::EditEmpDblClick() {
    sbEmpClick();
}

bool ShowBillInput(int id) {
    const auto dialog = RunModal<TfrmBillInput>(std::make_unique<TfrmBillInput>(),
                                                [id](TfrmBillInput& d) { return d.ReadyData(id); });
    return dialog && dialog->Saved();
}
