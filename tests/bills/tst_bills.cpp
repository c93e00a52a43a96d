// Expense entry and expense query: the amount box, the save rules, the query
// statement and filters, the list with its footers, sorting and deletion.

#include "app/datamodule.h"
#include "app/dataset.h"
#include "app/mainwindow.h"
#include "bills/billinput.h"
#include "bills/billquery.h"
#include "bills/billrules.h"
#include "classes/classtree.h"
#include "masterdata/custdef.h"
#include "masterdata/employee.h"
#include "support/modalscript.h"
#include "support/testsupport.h"
#include "widgets/datagrid.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

// Two departments, one with a sub-department and its employee, two categories.
void Organisation(TestDatabase& db) {
    db.exec(
        "Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values('0001','总部','',0);"
        "Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values('00010001','销售部','0001',1);"
        "Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values('0002','分公司','',0);"
        "Insert into TEmployee (Code,UserName,Sex,TypeCode,ZZStu) "
        "Values('000100010001','张三',0,'00010001',1);"
        "Insert into TCustClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values('0001','管理费用','',0);"
        "Insert into TCustClass (TypeCode,TypeName,ParTypeCode,nLeveal) "
        "Values('00010001','办公费','0001',1)");
}

// One expense record; returns nothing, the ID is the insertion order.
void Bill(TestDatabase& db, const QString& date, const QString& departCode, const QString& departName,
          const QString& empId, const QString& empName, const QString& custCode, const QString& custName,
          double total, const QString& contract = QStringLiteral(" "),
          const QString& provider = QStringLiteral(" "), const QString& desp = QString()) {
    db.exec(
        QStringLiteral(
            "Insert into TBillDetail (OcrDate,DepartCode,DepartName,EmpID,EmpName,CustCode,CustName,"
            "Total,ContractNo,Provider,Desp) Values('%1','%2','%3','%4','%5','%6','%7',%8,'%9','%10','%11')")
            .arg(date, departCode, departName, empId, empName, custCode, custName, QString::number(total),
                 QString(contract).replace(u'\'', QStringLiteral("''")),
                 QString(provider).replace(u'\'', QStringLiteral("''")), desp));
}

QString Stored(TestDatabase& db, const QString& sql) {
    return db.dm().GetDataBySQL(sql);
}

QString Today(int days = 0, const QString& time = QStringLiteral("12:00:00")) {
    return QDate::currentDate().addDays(days).toString(QStringLiteral("yyyy-MM-dd")) + u' ' + time;
}

// The department picker step that chooses 销售部 with or without 张三.
std::function<void(QDialog&)> PickSales(bool withEmployee) {
    return On<TfrmEmployee>([withEmployee](TfrmEmployee& w) {
        w.Tree->setCurrentItem(w.Tree->FindNode("00010001"));
        w.TreeClick();
        if (withEmployee)
            w.DBGridEh1DblClick();
        else
            w.sbSelect->click();
    });
}

std::function<void(QDialog&)> PickCategory(const QString& code) {
    return On<TfrmCustDef>([code](TfrmCustDef& w) {
        w.Tree->setCurrentItem(w.Tree->FindNode(code));
        w.TreeDblClick();
    });
}

// The IDs the list shows, top to bottom.
QStringList ListedIds(const TfrmBillQuery& window) {
    QStringList ids;
    for (int row = 0; row < window.DBGridEh1->model()->rowCount(); ++row)
        ids.append(window.DBGridEh1->cellText(row, 0));
    return ids;
}

void ClickTitle(DataGrid* grid, int column) {
    QHeaderView* titles = grid->horizontalHeader();
    const QPoint centre(titles->sectionViewportPosition(column) + titles->sectionSize(column) / 2,
                        titles->height() / 2);
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, centre);
}

bool HasFocus(QWidget* widget) {
    QWidget* focus = QApplication::focusWidget();
    return focus && (focus == widget || widget->isAncestorOf(focus));
}

} // namespace

class TestBills : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void amountBox_data();
    void amountBox();
    void storedAmountRoundTrips_data();
    void storedAmountRoundTrips();
    void newRecord();
    void changedRecordKeepsItsStoredValues();
    void pickersChangeOnlyOnAChoice();
    void saveChecks_data();
    void saveChecks();
    void failedPostThenSaveWritesOnce();
    void cancelWritesNothing();
    void enterMovesOn();
    void filterClauses_data();
    void filterClauses();
    void queryStatement();
    void queryListsThePeriodNewestFirst();
    void periodStartingAfterItsEnd();
    void nameFiltersAndQuotes();
    void queryPickers();
    void changeReloadsTheWholePeriod();
    void deletion();
    void failedQueryOpensNoWindow();
    void sortToggleIsSharedByAllQueryWindows();
    void mainWindowCommands();
};

void TestBills::amountBox_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("amount");
    QTest::newRow("initial") << AmountInitialText << 0.0;
    QTest::newRow("all blank") << "       .  " << 0.0;
    QTest::newRow("12 and 5 at the front") << "12     .5 " << 12.5;
    QTest::newRow("12 and 5 at the back") << "     12. 5" << 12.5;
    QTest::newRow("12 and 5 among blanks") << " 1  2  . 5" << 12.5;
    QTest::newRow("decimals only") << "       .05" << 0.05;
    QTest::newRow("every position") << "9999999.99" << 9999999.99;
}

void TestBills::amountBox() {
    QFETCH(QString, text);
    QFETCH(double, amount);
    // The digits typed at their positions of a cleared box; the box keeps the
    // blank positions where they are and reads them as spaces.
    QLineEdit box;
    box.setInputMask(AmountInputMask);
    box.setText(AmountInitialText);
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Delete);
    QCOMPARE(box.displayText(), QStringLiteral("       .  "));
    for (int position = 0; position < text.size(); ++position) {
        if (text[position].isDigit()) {
            box.setCursorPosition(position);
            QTest::keyClick(&box, text[position].toLatin1());
        }
    }
    QCOMPARE(box.displayText(), text);
    QCOMPARE(box.maxLength(), 10);
    QCOMPARE(AmountFromMaskText(box.displayText()), amount);
}

void TestBills::storedAmountRoundTrips_data() {
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("text");
    QTest::newRow("1234.5") << 1234.5 << "1234   .5 ";
    QTest::newRow("whole") << 12.0 << "12     .  ";
    QTest::newRow("zero") << 0.0 << "0      .  ";
    QTest::newRow("cents") << 0.07 << "0      .07";
    QTest::newRow("largest") << 9999999.99 << "9999999.99";
}

void TestBills::storedAmountRoundTrips() {
    QFETCH(double, amount);
    QFETCH(QString, text);
    QCOMPARE(AmountMaskText(amount), text);
    QLineEdit box;
    box.setInputMask(AmountInputMask);
    box.setText(AmountMaskText(amount));
    QCOMPARE(AmountFromMaskText(box.displayText()), amount);
}

void TestBills::newRecord() {
    TestDatabase db;
    Organisation(db);
    QDateTime shown;
    ModalScript<> script{
        On<TfrmBillInput>([&](TfrmBillInput& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("新增费用发生纪录"));
            QVERIFY(d.EditCustType->text().isEmpty() && d.EditDepart->text().isEmpty() &&
                    d.EditEmp->text().isEmpty());
            QCOMPARE(d.EditTotal->displayText(), QStringLiteral("0      .00"));
            QCOMPARE(d.dtOcr->date(), QDate::currentDate());
            QVERIFY(d.cmbComp->currentText().isEmpty());
            d.sbCustTypeClick();
            d.sbEmpClick();
            QCOMPARE(d.EditCustType->text(), QStringLiteral("办公费"));
            QCOMPARE(d.EditDepart->text(), QStringLiteral("销售部"));
            QCOMPARE(d.EditEmp->text(), QStringLiteral("张三"));
            d.EditTotal->setText(QStringLiteral("  12   .5 "));
            d.EditDesp->setPlainText(QStringLiteral("出差\n上海"));
            shown = d.dtOcr->dateTime();
            d.cmdReg->click();
            // The empty boxes now show the single spaces that were stored.
            QCOMPARE(d.EditContractNo->text(), QStringLiteral(" "));
            QCOMPARE(d.cmbComp->currentText(), QStringLiteral(" "));
        }),
        PickCategory("00010001"),
        PickSales(true),
    };
    QVERIFY(ShowBillInput(-1));
    QCOMPARE(Stored(db, "Select Count(*) from TBillDetail"), QStringLiteral("1"));
    QCOMPARE(
        Stored(db,
               "Select OcrDate||'|'||CustCode||'|'||CustName||'|'||DepartCode||'|'||DepartName||'|'||"
               "EmpID||'|'||EmpName||'|'||Total||'|'||ContractNo||'|'||Provider||'|'||Desp from TBillDetail"),
        shown.toString("yyyy-MM-dd HH:mm:ss") +
            QStringLiteral("|00010001|办公费|00010001|销售部|000100010001|张三|12.5| | |出差\n上海"));
}

void TestBills::changedRecordKeepsItsStoredValues() {
    TestDatabase db;
    Organisation(db);
    // Names as they were when the record was entered; the master data has moved on since.
    Bill(db, "2024-03-05 08:00:00", "00010001", "销售一部", "000100010001", "张老三", "00010001", "文具费",
         1234.5, "HT-7", "东方公司", "旧备注");
    QTime created;
    ModalScript<TfrmBillInput> script{[&](TfrmBillInput& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("修改费用发生记录"));
        QCOMPARE(d.EditCustType->text(), QStringLiteral("文具费"));
        QCOMPARE(d.EditDepart->text(), QStringLiteral("销售一部"));
        QCOMPARE(d.EditEmp->text(), QStringLiteral("张老三"));
        QCOMPARE(d.EditTotal->displayText(), QStringLiteral("1234   .5 "));
        QCOMPARE(d.EditContractNo->text(), QStringLiteral("HT-7"));
        QCOMPARE(d.cmbComp->currentText(), QStringLiteral("东方公司"));
        QCOMPARE(d.EditDesp->toPlainText(), QStringLiteral("旧备注"));
        QCOMPARE(d.CustCode(), QStringLiteral("00010001"));
        QCOMPARE(d.DepartCode(), QStringLiteral("00010001"));
        QCOMPARE(d.EmpCode(), QStringLiteral("000100010001"));
        // The stored date with the time of day at which the dialog was made.
        QCOMPARE(d.dtOcr->date(), QDate(2024, 3, 5));
        created = d.dtOcr->time();
        d.cmdReg->click();
    }};
    QVERIFY(ShowBillInput(1));
    QCOMPARE(Stored(db, "Select Count(*) from TBillDetail"), QStringLiteral("1"));
    QCOMPARE(
        Stored(
            db,
            "Select ID||'|'||OcrDate||'|'||CustCode||'|'||CustName||'|'||DepartCode||'|'||DepartName||'|'||"
            "EmpID||'|'||EmpName||'|'||Total||'|'||ContractNo||'|'||Provider||'|'||Desp from TBillDetail"),
        QStringLiteral("1|2024-03-05 ") + created.toString("HH:mm:ss") +
            QStringLiteral(
                "|00010001|文具费|00010001|销售一部|000100010001|张老三|1234.5|HT-7|东方公司|旧备注"));

    // An ID without a row is a new record; the single space saved before is now
    // one of the counterparties offered.
    db.exec("Update TBillDetail Set Provider=' '");
    ModalScript<> again{
        On<TfrmBillInput>([](TfrmBillInput& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("新增费用发生纪录"));
            QCOMPARE(d.cmbComp->findText(QStringLiteral(" ")), 0);
            d.sbCustTypeClick();
            d.sbEmpClick();
            d.cmdReg->click();
        }),
        PickCategory("0001"),
        PickSales(false),
    };
    QVERIFY(ShowBillInput(77));
    QCOMPARE(Stored(db, "Select ID||'|'||EmpID||'|'||EmpName||'|'||Total from TBillDetail where ID<>1"),
             QStringLiteral("2|||0.0"));
}

void TestBills::pickersChangeOnlyOnAChoice() {
    TestDatabase db;
    Organisation(db);
    TfrmBillInput d;
    QVERIFY(d.ReadyData(-1));
    {
        ModalScript<> script{PickCategory("00010001"), PickSales(true)};
        d.sbCustTypeClick();
        d.sbEmpClick();
    }
    {
        // Closed without a choice: everything stays, also after double-clicks.
        ModalScript<> script{
            On<TfrmCustDef>([](TfrmCustDef& w) { w.SpeedButton1->click(); }),
            On<TfrmEmployee>([](TfrmEmployee& w) { w.cmdClose->click(); }),
            On<TfrmEmployee>([](TfrmEmployee& w) { w.cmdClose->click(); }),
            On<TfrmCustDef>([](TfrmCustDef& w) { w.SpeedButton1->click(); }),
        };
        QTest::mouseDClick(d.EditContractNo, Qt::LeftButton);
        QTest::mouseDClick(d.EditDepart, Qt::LeftButton);
        QTest::mouseDClick(d.EditEmp, Qt::LeftButton);
        QTest::mouseDClick(d.EditCustType, Qt::LeftButton);
    }
    QCOMPARE(d.CustCode(), QStringLiteral("00010001"));
    QCOMPARE(d.EditCustType->text(), QStringLiteral("办公费"));
    QCOMPARE(d.EmpCode(), QStringLiteral("000100010001"));
    QCOMPARE(d.EditEmp->text(), QStringLiteral("张三"));
    {
        // A department alone clears the employee.
        ModalScript<> script{PickSales(false)};
        QTest::mouseDClick(d.EditEmp, Qt::LeftButton);
    }
    QCOMPARE(d.DepartCode(), QStringLiteral("00010001"));
    QVERIFY(d.EmpCode().isEmpty() && d.EditEmp->text().isEmpty());
}

void TestBills::saveChecks_data() {
    QTest::addColumn<bool>("category");
    QTest::addColumn<bool>("department");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing chosen") << false << false << "请选择费用类型！";
    QTest::newRow("no category") << false << true << "请选择费用类型！";
    QTest::newRow("no department") << true << false << "请选择发生部门！";
}

void TestBills::saveChecks() {
    QFETCH(bool, category);
    QFETCH(bool, department);
    QFETCH(QString, message);
    TestDatabase db;
    Organisation(db);
    TfrmBillInput d;
    QVERIFY(d.ReadyData(-1));
    if (category) {
        ModalScript<> script{PickCategory("0001")};
        d.sbCustTypeClick();
    }
    if (department) {
        ModalScript<> script{PickSales(false)};
        d.sbEmpClick();
    }
    PromptScript prompts;
    prompts.expectMessage(message);
    d.cmdReg->click();
    prompts.verifyDone();
    QVERIFY(!d.Saved());
    QCOMPARE(d.result(), int(QDialog::Rejected)); // still open
    QVERIFY(d.EditContractNo->text().isEmpty());  // nothing was changed for the save
    QCOMPARE(Stored(db, "Select Count(*) from TBillDetail"), QStringLiteral("0"));
}

void TestBills::failedPostThenSaveWritesOnce() {
    TestDatabase db;
    Organisation(db);
    db.exec("Create Trigger Refuse Before Insert on TBillDetail Begin Select Raise(Abort,'refused'); End");
    ModalScript<> script{
        On<TfrmBillInput>([&](TfrmBillInput& d) {
            d.sbCustTypeClick();
            d.sbEmpClick();
            d.EditTotal->setText(QStringLiteral("5      .  "));
            {
                PromptScript prompts;
                prompts.expectMessage("保存数据发生错误！");
                d.cmdReg->click();
            }
            QVERIFY(!d.Saved());
            QCOMPARE(d.EditCustType->text(), QStringLiteral("办公费")); // everything entered is still there
            db.exec("Drop Trigger Refuse");
            d.cmdReg->click();
            QVERIFY(d.Saved());
        }),
        PickCategory("00010001"),
        PickSales(true),
    };
    QVERIFY(ShowBillInput(-1));
    QCOMPARE(Stored(db, "Select Count(*)||'|'||Sum(Total) from TBillDetail"), QStringLiteral("1|5.0"));
}

void TestBills::cancelWritesNothing() {
    TestDatabase db;
    Organisation(db);
    Bill(db, "2024-03-05 08:00:00", "0002", "分公司", "", "", "0001", "管理费用", 10);
    ModalScript<> script{
        On<TfrmBillInput>([](TfrmBillInput& d) {
            d.EditTotal->setText(QStringLiteral("99     .  "));
            d.cmdClose->click();
        }),
        On<TfrmBillInput>([](TfrmBillInput& d) {
            d.EditTotal->setText(QStringLiteral("99     .  "));
            QTest::keyClick(&d, Qt::Key_Escape);
        }),
    };
    QVERIFY(!ShowBillInput(1));
    QVERIFY(!ShowBillInput(-1));
    QCOMPARE(Stored(db, "Select Count(*)||'|'||Sum(Total) from TBillDetail"), QStringLiteral("1|10.0"));
}

void TestBills::enterMovesOn() {
    TestDatabase db;
    TfrmBillInput d;
    QVERIFY(d.ReadyData(-1));
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QVERIFY(HasFocus(d.EditCustType));
    for (QWidget* next :
         std::initializer_list<QWidget*>{d.EditDepart, d.EditEmp, d.EditTotal, d.dtOcr, d.EditDesp}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY2(HasFocus(next), qPrintable(next->objectName()));
    }
    // In the remark Enter is a line break and Ctrl+Enter moves on.
    QTest::keyClicks(d.EditDesp, "a");
    QTest::keyClick(d.EditDesp, Qt::Key_Return);
    QTest::keyClicks(d.EditDesp, "b");
    QCOMPARE(d.EditDesp->toPlainText(), QStringLiteral("a\nb"));
    QTest::keyClick(d.EditDesp, Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(HasFocus(d.cmdReg));
    // After the buttons come the contract number and the counterparty.
    d.EditContractNo->setFocus();
    QTest::keyClick(d.EditContractNo, Qt::Key_Return);
    QVERIFY(HasFocus(d.cmbComp));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(HasFocus(d.EditCustType));
    QVERIFY(d.isVisible()); // Enter never saved
}

void TestBills::filterClauses_data() {
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("clauses");
    QTest::newRow("all empty") << QStringList{"", "", "", "", ""} << "";
    QTest::newRow("department")
        << QStringList{"销售", "", "", "", ""}
        << " and DepartCode in (Select TypeCode from TEmpClass where TypeName Like '%销售%')";
    QTest::newRow("all five in their order")
        << QStringList{"部", "张", "办公", "HT", "东方"}
        << " and DepartCode in (Select TypeCode from TEmpClass where TypeName Like '%部%')"
           " and EMPID in (Select [Code] from TEmployee where UserName Like '%张%')"
           " and CustCode in (Select TypeCode from TCustClass where TypeName Like '%办公%')"
           " and ContractNo  Like '%HT%'"
           " and Provider  Like '%东方%'";
    QTest::newRow("spaces are text") << QStringList{"", "", "", "  ", ""} << " and ContractNo  Like '%  %'";
    QTest::newRow("quotes are doubled")
        << QStringList{"", "", "", "", "O'Brien"} << " and Provider  Like '%O''Brien%'";
}

void TestBills::filterClauses() {
    QFETCH(QStringList, boxes);
    QFETCH(QString, clauses);
    QCOMPARE(BillFilterClauses({boxes[0], boxes[1], boxes[2], boxes[3], boxes[4]}), clauses);
}

void TestBills::queryStatement() {
    QCOMPARE(BillQueryStatement(QDate(2024, 1, 1), QDate(2024, 1, 31),
                                BillFilterClauses({"销售", "", "", "", ""})),
             QStringLiteral(
                 "Select * from TBillDetail where 1=1  and OcrDate>=#2024-01-01#and OcrDate<#2024-02-01# "
                 "and DepartCode in (Select TypeCode from TEmpClass where TypeName Like '%销售%') "
                 "Order by ID Desc"));
}

void TestBills::queryListsThePeriodNewestFirst() {
    TestDatabase db;
    Organisation(db);
    Bill(db, Today(-91, "00:00:00"), "0002", "分公司", "", "", "0001", "管理费用", 1.25, "HT-1", "东方公司");
    Bill(db, Today(-92, "23:59:59"), "0002", "分公司", "", "", "0001", "管理费用", 100);
    Bill(db, Today(0, "23:59:59"), "00010001", "销售部", "000100010001", "张三", "00010001", "办公费", 2.5);
    Bill(db, Today(1, "00:00:00"), "0002", "分公司", "", "", "0001", "管理费用", 1000);
    Bill(db, Today(-10), "0001", "总部", "", "", "0001", "管理费用", 0.25, "", "", "备注");
    PromptScript prompts; // no message
    QVERIFY(ShowBillQuery());
    TfrmBillQuery* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* q = qobject_cast<TfrmBillQuery*>(w))
            shown = q;
    QVERIFY(shown);
    QCOMPARE(shown->windowTitle(), QStringLiteral("费用单据查询"));
    QCOMPARE(shown->dtStart->date(), QDate::currentDate().addDays(-91));
    QCOMPARE(shown->dtEnd->date(), QDate::currentDate());
    QCOMPARE(ListedIds(*shown), (QStringList{"5", "3", "1"}));

    DataGrid* grid = shown->DBGridEh1;
    QStringList titles, hidden;
    for (const DataGridColumn& c : grid->columns()) {
        titles.append(c.title);
        if (!c.visible)
            hidden.append(c.fieldName);
    }
    QCOMPARE(titles, (QStringList{"序号", "发生日期", "合同编号", "目标单位", "部门代码", "部门名称",
                                  "职员名称", "雇员编号", "费用代码", "费用类别", "金额", "备注"}));
    QCOMPARE(hidden, (QStringList{"DepartCode", "EmpID", "CustCode"}));
    QCOMPARE(grid->cellText(2, 1), QDate::currentDate().addDays(-91).toString("yyyy-MM-dd"));
    QCOMPARE(grid->cellText(2, 10), QStringLiteral("1.25"));
    QCOMPARE(grid->cellText(0, 10), QStringLiteral("0.25"));
    QCOMPARE(grid->footerText(0), QStringLiteral("合计"));
    QCOMPARE(grid->footerText(2), QStringLiteral("3条"));
    QCOMPARE(grid->footerText(10), QStringLiteral("4.00"));
    QVERIFY(shown->Button3->isEnabled() && shown->Button4->isEnabled());

    // Esc closes the window, which frees itself.
    QPointer<TfrmBillQuery> guard(shown);
    shown->EditProvider->setFocus();
    shown->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shown));
    QTest::keyClick(shown->EditProvider, Qt::Key_Escape);
    QTRY_VERIFY(!guard);
}

void TestBills::periodStartingAfterItsEnd() {
    TestDatabase db;
    Bill(db, "2024-01-15 10:00:00", "0002", "分公司", "", "", "0001", "管理费用", 7);
    TfrmBillQuery window;
    window.dtStart->setDate(QDate(2024, 1, 20));
    window.dtEnd->setDate(QDate(2024, 1, 10));
    PromptScript prompts; // no message
    window.cmdQuery->click();
    QVERIFY(window.dsQuery->active());
    QCOMPARE(window.dsQuery->recordCount(), 0);
    QCOMPARE(window.DBGridEh1->footerText(2), QStringLiteral("0条"));
    QCOMPARE(window.DBGridEh1->footerText(10), QStringLiteral("0.00"));
    window.dtStart->setDate(QDate(2024, 1, 15));
    window.dtEnd->setDate(QDate(2024, 1, 15));
    window.cmdQuery->click();
    QCOMPARE(window.dsQuery->recordCount(), 1);
}

void TestBills::nameFiltersAndQuotes() {
    TestDatabase db;
    Organisation(db);
    Bill(db, "2024-01-02 10:00:00", "00010001", "销售部", "000100010001", "张三", "00010001", "办公费", 1,
         "HT-1", "O'Brien");
    Bill(db, "2024-01-03 10:00:00", "0002", "分公司", "", "", "0001", "管理费用", 2, "HT-2", "东方公司");
    Bill(db, "2024-01-04 10:00:00", "0001", "总部", "", "", "0001", "管理费用", 4, "XY-3", "东方公司");
    TfrmBillQuery window;
    window.dtStart->setDate(QDate(2024, 1, 1));
    window.dtEnd->setDate(QDate(2024, 1, 31));
    PromptScript prompts; // no message, also not for the quote
    struct Case {
        QLineEdit* box;
        QString text;
        QStringList ids;
    };
    // Each box alone, applied with Enter; names match as parts through the master data.
    for (const Case& c :
         {Case{window.EditClass, "部", {"3", "1"}}, Case{window.EditEmp, "三", {"1"}},
          Case{window.EditCustType, "管理", {"3", "2"}}, Case{window.EditContractNo, "HT", {"2", "1"}},
          Case{window.EditProvider, "O'B", {"1"}}, Case{window.EditProvider, "'", {"1"}}}) {
        for (QLineEdit* box : window.findChildren<QLineEdit*>())
            box->clear();
        c.box->setText(c.text);
        QTest::keyClick(c.box, Qt::Key_Return);
        QCOMPARE(ListedIds(window), c.ids);
    }
    // Boxes together narrow the list.
    window.EditProvider->setText("东方");
    window.EditClass->setText("部");
    window.cmdQueryClick();
    QCOMPARE(ListedIds(window), (QStringList{"3"}));
}

void TestBills::queryPickers() {
    TestDatabase db;
    Organisation(db);
    Bill(db, Today(), "00010001", "销售部", "000100010001", "张三", "00010001", "办公费", 1);
    Bill(db, Today(), "0002", "分公司", "", "", "0001", "管理费用", 2);
    TfrmBillQuery window;
    QVERIFY(window.ReadyData(QString()));
    ModalScript<> script{
        PickSales(true),
        On<TfrmEmployee>([](TfrmEmployee& w) { w.cmdClose->click(); }),
        PickCategory("0001"),
        On<TfrmSelectClass>([](TfrmSelectClass& w) {
            w.Tree->setCurrentItem(w.Tree->FindNode("0002"));
            w.cmdSelect->click();
        }),
    };
    window.SpeedButton1Click();
    QCOMPARE(window.EditClass->text(), QStringLiteral("销售部"));
    QCOMPARE(window.EditEmp->text(), QStringLiteral("张三"));
    QCOMPARE(ListedIds(window), (QStringList{"1"}));
    window.EditEmp->setText("李");
    QTest::mouseDClick(window.EditEmp, Qt::LeftButton); // closed without a choice: no query
    QCOMPARE(window.EditEmp->text(), QStringLiteral("李"));
    QCOMPARE(ListedIds(window), (QStringList{"1"}));
    window.EditClass->clear();
    window.EditEmp->clear();
    QTest::mouseDClick(window.EditCustType, Qt::LeftButton);
    QCOMPARE(window.EditCustType->text(), QStringLiteral("管理费用"));
    QCOMPARE(ListedIds(window), (QStringList{"2"}));
    window.EditCustType->clear();
    window.SpeedButton2->click();
    QCOMPARE(window.EditClass->text(), QStringLiteral("分公司"));
    QCOMPARE(ListedIds(window), (QStringList{"2"}));
}

void TestBills::changeReloadsTheWholePeriod() {
    TestDatabase db;
    Organisation(db);
    Bill(db, Today(-1), "00010001", "销售部", "000100010001", "张三", "00010001", "办公费", 1);
    Bill(db, Today(-2), "0002", "分公司", "", "", "0001", "管理费用", 2);
    TfrmBillQuery window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.EditClass->setText("分公司");
    window.cmdQueryClick();
    QCOMPARE(ListedIds(window), (QStringList{"2"}));
    {
        // Cancelled: no reload, the filtered list stays.
        ModalScript<TfrmBillInput> script{[](TfrmBillInput& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("新增费用发生纪录"));
            d.cmdClose->click();
        }};
        window.Button1->click();
    }
    QCOMPARE(ListedIds(window), (QStringList{"2"}));
    {
        // A double-click on the row changes it; after the save the whole period is listed.
        ModalScript<TfrmBillInput> script{[](TfrmBillInput& d) {
            QCOMPARE(d.EditDepart->text(), QStringLiteral("分公司"));
            d.EditDesp->setPlainText("改过");
            d.cmdReg->click();
        }};
        const QPoint row = window.DBGridEh1->visualRect(window.DBGridEh1->model()->index(0, 1)).center();
        QTest::mouseClick(window.DBGridEh1->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseDClick(window.DBGridEh1->viewport(), Qt::LeftButton, {}, row);
    }
    QCOMPARE(ListedIds(window), (QStringList{"2", "1"}));
    QCOMPARE(window.EditClass->text(), QStringLiteral("分公司"));
    QCOMPARE(window.DBGridEh1->cellText(0, 11), QStringLiteral("改过"));
}

void TestBills::deletion() {
    TestDatabase db;
    Bill(db, Today(), "0002", "分公司", "", "", "0001", "管理费用", 1.5);
    Bill(db, Today(), "0002", "分公司", "", "", "0001", "管理费用", 2);
    TfrmBillQuery window;
    QVERIFY(window.ReadyData(QString()));
    PromptScript prompts;
    const QString question = QStringLiteral("您确认删除选定的费用记录吗？");

    prompts.expectQuestion(question, false);
    window.Button2->click();
    QCOMPARE(ListedIds(window), (QStringList{"2", "1"}));

    // Refused by the database: said so, and the record stays listed.
    db.exec("Create Trigger Keep Before Delete on TBillDetail Begin Select Raise(Abort,'kept'); End");
    prompts.expectQuestion(question, true).expectMessage("删除数据发生错误！");
    window.Button2->click();
    QCOMPARE(ListedIds(window), (QStringList{"2", "1"}));
    QCOMPARE(Stored(db, "Select Count(*) from TBillDetail"), QStringLiteral("2"));
    db.exec("Drop Trigger Keep");

    window.dsQuery->setRecNo(1);
    prompts.expectQuestion(question, true);
    window.Button2->click();
    QCOMPARE(ListedIds(window), (QStringList{"2"}));
    QCOMPARE(window.DBGridEh1->footerText(10), QStringLiteral("2.00"));
    prompts.expectQuestion(question, true);
    window.Button2->click();
    prompts.verifyDone();
    QCOMPARE(Stored(db, "Select Count(*) from TBillDetail"), QStringLiteral("0"));
    QCOMPARE(window.DBGridEh1->footerText(2), QStringLiteral("0条"));
    QCOMPARE(window.DBGridEh1->footerText(10), QStringLiteral("0.00"));
    // An empty list: no question, and nothing to change.
    window.Button2->click();
    ModalScript<> noDialog{};
    window.cmdReg->click();
}

void TestBills::failedQueryOpensNoWindow() {
    TestDatabase db;
    db.exec("Drop Table TBillDetail");
    PromptScript prompts;
    prompts.expectMessage("读取本地数据发生错误！").expectMessage("读取本地数据发生错误！");
    const int before = QApplication::topLevelWidgets().size();
    QVERIFY(!ShowBillQuery());
    QCOMPARE(QApplication::topLevelWidgets().size(), before);
    ModalScript<> noDialog{};
    QVERIFY(!ShowBillInput(-1));
}

void TestBills::sortToggleIsSharedByAllQueryWindows() {
    // The toggle lives as long as the process: this is the only test that sorts.
    TestDatabase db;
    Bill(db, Today(), "0002", "B部", "", "", "0001", "管理费用", 2);
    Bill(db, Today(), "0001", "A部", "", "", "0001", "管理费用", 3);
    Bill(db, Today(), "0003", "C部", "", "", "0001", "管理费用", 1);
    TfrmBillQuery first, second;
    for (TfrmBillQuery* w : {&first, &second}) {
        QVERIFY(w->ReadyData(QString()));
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }
    ClickTitle(first.DBGridEh1, 10); // 金额, the first click of the process: ascending
    QCOMPARE(ListedIds(first), (QStringList{"3", "1", "2"}));
    QCOMPARE(first.DBGridEh1->sortColumn(), 10);
    QVERIFY(first.DBGridEh1->sortAscending());
    ClickTitle(second.DBGridEh1, 5); // 部门名称 in the other window: descending
    QCOMPARE(ListedIds(second), (QStringList{"3", "1", "2"}));
    QVERIFY(!second.DBGridEh1->sortAscending());
    ClickTitle(first.DBGridEh1, 10); // the same title again: ascending once more
    QCOMPARE(ListedIds(first), (QStringList{"3", "1", "2"}));
    QVERIFY(first.DBGridEh1->sortAscending());
    ClickTitle(first.DBGridEh1, 0);
    QCOMPARE(ListedIds(first), (QStringList{"3", "2", "1"}));
    QCOMPARE(first.DBGridEh1->horizontalHeader()->sortIndicatorSection(), 0);
}

void TestBills::mainWindowCommands() {
    TestDatabase db;
    TfrmMain main;
    QVERIFY(main.FormCreate());
    main.action("N12")->trigger();
    main.action("ToolButton4")->trigger();
    const QList<QMdiSubWindow*> children = main.mdiArea()->subWindowList();
    QCOMPARE(children.size(), 2);
    for (QMdiSubWindow* child : children)
        QVERIFY(qobject_cast<TfrmBillQuery*>(child->widget()));
    QVERIFY(children[0]->widget() != children[1]->widget());

    int shown = 0;
    ModalScript<TfrmBillInput> script{[&](TfrmBillInput& d) { ++shown, d.cmdClose->click(); },
                                      [&](TfrmBillInput& d) { ++shown, d.cmdClose->click(); }};
    main.action("N10")->trigger();
    main.action("ToolButton2")->trigger();
    QCOMPARE(shown, 2);
}

QTEST_MAIN(TestBills)
#include "tst_bills.moc"
