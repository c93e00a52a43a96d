#include "bills/billquery.h"

#include "app/appearance.h"
#include "app/dataset.h"
#include "app/openwindow.h"
#include "app/prompts.h"
#include "bills/billinput.h"
#include "bills/billrules.h"
#include "classes/selectclass.h"
#include "masterdata/custdef.h"
#include "masterdata/employee.h"
#include "output/preview.h"
#include "output/sendtoexcel.h"
#include "widgets/datagrid.h"

#include <QDateEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QVector<DataGridColumn> QueryColumns() {
    auto column = [](const QString& field, const QString& title, int width) {
        DataGridColumn c;
        c.fieldName = field;
        c.title = title;
        c.width = width;
        return c;
    };
    auto footer = [](DataGridFooter::Kind kind, const QString& value, const QString& format) {
        DataGridFooter f;
        f.kind = kind;
        f.value = value;
        f.displayFormat = format;
        f.alignment = Qt::AlignCenter;
        return f;
    };
    DataGridColumn id = column(QStringLiteral("ID"), QStringLiteral("序号"), 56);
    id.footer = footer(DataGridFooter::Kind::StaticText, QStringLiteral("合计"), QString());
    DataGridColumn date = column(QStringLiteral("OcrDate"), QStringLiteral("发生日期"), 84);
    date.displayFormat = QStringLiteral("yyyy-MM-dd");
    DataGridColumn contract = column(QStringLiteral("ContractNo"), QStringLiteral("合同编号"), 100);
    contract.footer = footer(DataGridFooter::Kind::Count, QString(), QStringLiteral("0条"));
    DataGridColumn departCode = column(QStringLiteral("DepartCode"), QStringLiteral("部门代码"), 80);
    departCode.visible = false;
    DataGridColumn empId = column(QStringLiteral("EmpID"), QStringLiteral("雇员编号"), 80);
    empId.visible = false;
    DataGridColumn custCode = column(QStringLiteral("CustCode"), QStringLiteral("费用代码"), 80);
    custCode.visible = false;
    DataGridColumn total = column(QStringLiteral("Total"), QStringLiteral("金额"), 96);
    total.displayFormat = QStringLiteral("0.00");
    total.alignment = Qt::AlignRight | Qt::AlignVCenter;
    total.footer = footer(DataGridFooter::Kind::Sum, QString(), QStringLiteral("0.00"));
    return {id,
            date,
            contract,
            column(QStringLiteral("Provider"), QStringLiteral("目标单位"), 150),
            departCode,
            column(QStringLiteral("DepartName"), QStringLiteral("部门名称"), 100),
            column(QStringLiteral("EmpName"), QStringLiteral("职员名称"), 72),
            empId,
            custCode,
            column(QStringLiteral("CustName"), QStringLiteral("费用类别"), 100),
            total,
            column(QStringLiteral("Desp"), QStringLiteral("备注"), 180)};
}

QDateEdit* DatePicker(QWidget* parent, const QString& name) {
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(name);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return picker;
}

QLineEdit* FilterBox(QWidget* parent, const QString& name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMinimumWidth(72);
    return box;
}

QToolButton* PickerButton(QWidget* parent, const QString& name) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIcon(GlyphIcon(QStringLiteral("…"), QColor(0x2f, 0x6f, 0xa8)));
    button->setIconSize(QSize(16, 16));
    return button;
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TfrmBillQuery::TfrmBillQuery()
    : dtStart(DatePicker(this, QStringLiteral("dtStart")))
    , dtEnd(DatePicker(this, QStringLiteral("dtEnd")))
    , EditClass(FilterBox(this, QStringLiteral("EditClass")))
    , SpeedButton2(PickerButton(this, QStringLiteral("SpeedButton2")))
    , EditEmp(FilterBox(this, QStringLiteral("EditEmp")))
    , SpeedButton1(PickerButton(this, QStringLiteral("SpeedButton1")))
    , EditCustType(FilterBox(this, QStringLiteral("EditCustType")))
    , SpeedButton3(PickerButton(this, QStringLiteral("SpeedButton3")))
    , EditContractNo(FilterBox(this, QStringLiteral("EditContractNo")))
    , EditProvider(FilterBox(this, QStringLiteral("EditProvider")))
    , cmdQuery(Button(this, QStringLiteral("cmdQuery"), QStringLiteral("查询(&Q)")))
    , DBGridEh1(new DataGrid(this))
    , dsQuery(new TDataSet(nullptr, this))
    , Button3(Button(this, QStringLiteral("Button3"), QStringLiteral("发送到Excel")))
    , Button4(Button(this, QStringLiteral("Button4"), QStringLiteral("打印")))
    , Button1(Button(this, QStringLiteral("Button1"), QStringLiteral("新增(&A)")))
    , cmdReg(Button(this, QStringLiteral("cmdReg"), QStringLiteral("修改(&L)")))
    , Button2(Button(this, QStringLiteral("Button2"), QStringLiteral("删除(&D)")))
    , cmdClose(Button(this, QStringLiteral("cmdClose"), QStringLiteral("退出(&X)"))) {
    setObjectName(QStringLiteral("frmBillQuery"));
    setWindowTitle(QStringLiteral("费用单据查询"));

    auto* filters = new QHBoxLayout;
    filters->setSpacing(4);
    auto label = [this, filters](const QString& caption) { filters->addWidget(new QLabel(caption, this)); };
    auto gap = [filters] { filters->addSpacing(8); };
    label(QStringLiteral("费用发生期间"));
    filters->addWidget(dtStart);
    label(QStringLiteral("~"));
    filters->addWidget(dtEnd);
    gap();
    label(QStringLiteral("部门"));
    filters->addWidget(EditClass, 1);
    filters->addWidget(SpeedButton2);
    gap();
    label(QStringLiteral("职员"));
    filters->addWidget(EditEmp, 1);
    filters->addWidget(SpeedButton1);
    gap();
    label(QStringLiteral("费用类别"));
    filters->addWidget(EditCustType, 1);
    filters->addWidget(SpeedButton3);
    gap();
    label(QStringLiteral("合同编号"));
    filters->addWidget(EditContractNo, 1);
    gap();
    label(QStringLiteral("目标单位"));
    filters->addWidget(EditProvider, 1);
    gap();
    filters->addWidget(cmdQuery);

    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setDataSet(dsQuery);
    DBGridEh1->setColumns(QueryColumns());
    DBGridEh1->setFooterVisible(true);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Button3, Button4})
        buttons->addWidget(b);
    buttons->addStretch();
    for (QPushButton* b : {Button1, cmdReg, Button2, cmdClose})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(filters);
    layout->addWidget(DBGridEh1, 1);
    layout->addLayout(buttons);
    resize(1040, 600);

    for (QLineEdit* box : {EditClass, EditEmp, EditCustType, EditContractNo, EditProvider})
        connect(box, &QLineEdit::returnPressed, this, &TfrmBillQuery::cmdQueryClick);
    for (QLineEdit* box : {EditClass, EditEmp, EditCustType})
        box->installEventFilter(this);
    connect(SpeedButton1, &QToolButton::clicked, this, &TfrmBillQuery::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TfrmBillQuery::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TfrmBillQuery::SpeedButton3Click);
    connect(cmdQuery, &QPushButton::clicked, this, &TfrmBillQuery::cmdQueryClick);
    connect(Button1, &QPushButton::clicked, this, &TfrmBillQuery::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &TfrmBillQuery::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TfrmBillQuery::Button4Click);
    connect(cmdReg, &QPushButton::clicked, this, &TfrmBillQuery::cmdRegClick);
    connect(Button2, &QPushButton::clicked, this, &TfrmBillQuery::Button2Click);
    connect(cmdClose, &QPushButton::clicked, this, &TfrmBillQuery::cmdCloseClick);
    connect(DBGridEh1, &DataGrid::rowDoubleClicked, this, &TfrmBillQuery::cmdRegClick);
    connect(DBGridEh1, &DataGrid::titleClicked, this, &TfrmBillQuery::DBGridEh1TitleClick);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &TfrmBillQuery::cmdCloseClick);
    FormCreate();
}

TfrmBillQuery::~TfrmBillQuery() = default;

void TfrmBillQuery::FormCreate() {
    const QDate today = QDate::currentDate();
    dtStart->setDate(today.addDays(-91));
    dtEnd->setDate(today);
}

bool TfrmBillQuery::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == EditClass) {
            SpeedButton2Click();
            return true;
        }
        if (watched == EditEmp) {
            SpeedButton1Click();
            return true;
        }
        if (watched == EditCustType) {
            SpeedButton3Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TfrmBillQuery::ReadyData(const QString& filter) {
    dsQuery->close();
    dsQuery->setCommandText(BillQueryStatement(dtStart->date(), dtEnd->date(), filter));
    try {
        dsQuery->open();
    } catch (const EDatabaseError&) {
        dsQuery->close();
        ShowMessage(QStringLiteral("读取本地数据发生错误！"));
        return false;
    }
    return true;
}

void TfrmBillQuery::cmdQueryClick() {
    ReadyData(BillFilterClauses({EditClass->text(), EditEmp->text(), EditCustType->text(),
                                 EditContractNo->text(), EditProvider->text()}));
}

bool TfrmBillQuery::HasRows() const {
    return dsQuery->active() && !dsQuery->isEmpty() && !dsQuery->eof();
}

void TfrmBillQuery::Button1Click() {
    if (ShowBillInput(-1))
        ReadyData(QString());
}

void TfrmBillQuery::cmdRegClick() {
    if (!HasRows())
        return;
    if (ShowBillInput(int(dsQuery->asInteger(QStringLiteral("ID")))))
        ReadyData(QString());
}

void TfrmBillQuery::Button2Click() {
    if (!HasRows())
        return;
    if (!AskYesNo(QStringLiteral("您确认删除选定的费用记录吗？")))
        return;
    try {
        dsQuery->deleteRow();
    } catch (const EDatabaseError&) {
        // The record is still there: say so, and keep it in the list.
        ShowMessage(QStringLiteral("删除数据发生错误！"));
    }
}

void TfrmBillQuery::DBGridEh1TitleClick(int column) {
    DBGridEh1->sortByColumn(column, FlipBillSortDirection());
}

void TfrmBillQuery::SpeedButton1Click() {
    const EmployeeChoice choice = SelectEmployee();
    if (!choice.chosen)
        return;
    EditClass->setText(choice.departmentName);
    EditEmp->setText(choice.employeeName);
    cmdQueryClick();
}

void TfrmBillQuery::SpeedButton2Click() {
    const ClassChoice choice = ShowSelectClass();
    if (!choice.chosen)
        return;
    EditClass->setText(choice.name);
    cmdQueryClick();
}

void TfrmBillQuery::SpeedButton3Click() {
    const ClassChoice choice = SelectCustType();
    if (!choice.chosen)
        return;
    EditCustType->setText(choice.name);
    cmdQueryClick();
}

void TfrmBillQuery::cmdCloseClick() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void TfrmBillQuery::Button3Click() {
    SendToExcel(QString(), DBGridEh1);
}

void TfrmBillQuery::Button4Click() {
    PreviewDBGrid(windowTitle(), DBGridEh1, dsQuery);
}

bool ShowBillQuery() {
    return OpenChild<TfrmBillQuery>(std::make_unique<TfrmBillQuery>(), [](TfrmBillQuery& window) {
               return window.ReadyData(QString());
           }) != nullptr;
}
