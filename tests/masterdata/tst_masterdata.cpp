// The expense category window, the department and employee window with the
// employee edit dialog, and the positions dialogs.

#include "app/datamodule.h"
#include "app/dataset.h"
#include "app/openwindow.h"
#include "classes/classtree.h"
#include "masterdata/custdef.h"
#include "masterdata/employee.h"
#include "masterdata/employeecode.h"
#include "masterdata/employeeedit.h"
#include "masterdata/func.h"
#include "masterdata/funcedit.h"
#include "support/modalscript.h"
#include "support/testsupport.h"
#include "widgets/datagrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

QString Sql(TestDatabase& db, const QString& statement) {
    return db.dm().GetDataBySQL(statement);
}

void Organisation(TestDatabase& db) {
    db.exec(
        "Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values('0001','总部','',0);"
        "Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values('00010001','销售部','0001',1);"
        "Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values('0002','分公司','',0);"
        "Insert into TFunc (FuncCode,FuncName) Values('ZJL','总经理');"
        "Insert into TFunc (FuncCode,FuncName) Values('XSY','销售员');"
        "Insert into TEmployee (Code,UserName,Sex,TypeCode,FuncCode,ZZStu) "
        "Values('000100010005','张三',0,'00010001','XSY',1);"
        "Insert into TEmployee (Code,UserName,Sex,TypeCode,FuncCode,ZZStu) "
        "Values('00020001','李四',1,'0002','GONE',0)");
}

} // namespace

class TestMasterData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nextEmployeeCode_data();
    void nextEmployeeCode();
    void getNewCodeCountsSubDepartments();
    void categoryPicker();
    void categoryMaintenanceDoubleClickRenames();
    void employeeWindowListsTheFirstDepartment();
    void employeePickerChoices();
    void employeeCommandsWithoutDepartmentOrRows();
    void deleteEmployee();
    void newEmployeeIsCodedAndChecked();
    void editedEmployeeKeepsItsCodeAndTakesTheDepartment();
    void employeeWithoutComputableCodeIsNotSaved();
    void positionCodeIsProposedFromTheName();
    void duplicatePositionCodeThenCorrected();
    void positionDeletion();
};

void TestMasterData::nextEmployeeCode_data() {
    QTest::addColumn<QString>("department");
    QTest::addColumn<QString>("maxCode");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first") << "0002"
                           << ""
                           << "00020001";
    QTest::newRow("next") << "0002"
                          << "00020001"
                          << "00020002";
    QTest::newRow("employee of a sub-department") << "0001"
                                                  << "000100010005"
                                                  << "000110006";
    QTest::newRow("not a number") << "0001"
                                  << "0001abc"
                                  << "";
    QTest::newRow("beyond 32 bits") << "0001"
                                    << "00019999999999"
                                    << "";
}

void TestMasterData::nextEmployeeCode() {
    QFETCH(QString, department);
    QFETCH(QString, maxCode);
    QFETCH(QString, expected);
    QCOMPARE(NextEmployeeCode(department, maxCode), expected);
}

void TestMasterData::getNewCodeCountsSubDepartments() {
    TestDatabase db;
    Organisation(db);
    QCOMPARE(GetNewCode("0001"), QStringLiteral("000110006"));
    QCOMPARE(GetNewCode("0002"), QStringLiteral("00020002"));
    QCOMPARE(GetNewCode("0003"), QStringLiteral("00030001"));
}

void TestMasterData::categoryPicker() {
    TestDatabase db;
    db.exec("Insert into TCustClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values('0001','管理费用','',0);"
            "Insert into TCustClass (TypeCode,TypeName,ParTypeCode,nLeveal) "
            "Values('00010001','办公费','0001',1)");
    ModalScript<TfrmCustDef> script{
        [](TfrmCustDef& w) {
            QVERIFY(w.cmdAddRoot->isHidden() && w.cndAddSon->isHidden() && w.cmdEdit->isHidden() &&
                    w.cmdDelete->isHidden());
            QVERIFY(!w.sbSelect->isHidden());
            QVERIFY(!w.Tree->Selected()); // nothing selected after loading
            w.sbSelect->click();          // does nothing
            QVERIFY(w.isVisible() || w.result() == QDialog::Rejected);
            w.Tree->setCurrentItem(w.Tree->FindNode("0001")); // a top-level category may be chosen too
            w.TreeDblClick();
        },
        [](TfrmCustDef& w) {
            w.Tree->setCurrentItem(w.Tree->FindNode("00010001"));
            w.SpeedButton1->click(); // closed without a choice
        },
    };
    const ClassChoice chosen = SelectCustType();
    QVERIFY(chosen.chosen);
    QCOMPARE(chosen.code, QStringLiteral("0001"));
    QCOMPARE(chosen.name, QStringLiteral("管理费用"));
    const ClassChoice none = SelectCustType();
    QVERIFY(!none.chosen);
    QVERIFY(none.code.isEmpty());
}

void TestMasterData::categoryMaintenanceDoubleClickRenames() {
    TestDatabase db;
    db.exec("Insert into TCustClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values('0001','管理费用','',0)");
    PromptScript prompts;
    prompts.expectInput("输入新的费用分类名称", "管理费");
    ModalScript<TfrmCustDef> script{[](TfrmCustDef& w) {
        QVERIFY(w.sbSelect->isHidden());
        w.Tree->setCurrentItem(w.Tree->FindNode("0001"));
        w.TreeDblClick();
        QCOMPARE(w.Tree->FindNode("0001")->text(0), QStringLiteral("管理费"));
    }};
    ShowCustDef();
    QCOMPARE(prompts.seen().constFirst().defaultText, QStringLiteral("管理费用"));
    QCOMPARE(Sql(db, "Select TypeName from TCustClass"), QStringLiteral("管理费"));
}

void TestMasterData::employeeWindowListsTheFirstDepartment() {
    TestDatabase db;
    Organisation(db);
    TfrmEmployee window;
    QVERIFY(window.ReadyData());
    // 分公司 comes before 总部 by pinyin; its employee's position is missing.
    QCOMPARE(ClassTree::Record(window.Tree->Selected()).TypeCode, QStringLiteral("0002"));
    QCOMPARE(window.dsQuery->recordCount(), 1);
    QCOMPARE(window.DBGridEh1->cellText(0, 2), QStringLiteral("李四"));
    QCOMPARE(window.DBGridEh1->cellText(0, 3), QStringLiteral("女"));
    QCOMPARE(window.DBGridEh1->cellText(0, 4), QString());
    QCOMPARE(window.DBGridEh1->cellText(0, 5), QStringLiteral("离职"));
    // Only the department's own employees are listed.
    window.Tree->setCurrentItem(window.Tree->FindNode("0001"));
    window.TreeClick();
    QCOMPARE(window.dsQuery->recordCount(), 0);
}

void TestMasterData::employeePickerChoices() {
    TestDatabase db;
    Organisation(db);
    ModalScript<TfrmEmployee> script{
        [](TfrmEmployee& w) {
            QVERIFY(w.cmdAddClient->isHidden() && w.cmdAddRoot->isHidden());
            QVERIFY(!w.cmdSelect->isHidden() && !w.sbSelect->isHidden());
            w.Tree->setCurrentItem(w.Tree->FindNode("00010001"));
            w.TreeClick();
            w.DBGridEh1DblClick();
        },
        [](TfrmEmployee& w) {
            w.Tree->setCurrentItem(w.Tree->FindNode("0001"));
            w.sbSelect->click();
        },
        [](TfrmEmployee& w) { w.cmdClose->click(); },
    };
    const EmployeeChoice employee = SelectEmployee();
    QVERIFY(employee.chosen);
    QCOMPARE(employee.departmentCode, QStringLiteral("00010001"));
    QCOMPARE(employee.departmentName, QStringLiteral("销售部"));
    QCOMPARE(employee.employeeCode, QStringLiteral("000100010005"));
    QCOMPARE(employee.employeeName, QStringLiteral("张三"));
    const EmployeeChoice department = SelectEmployee();
    QVERIFY(department.chosen);
    QCOMPARE(department.departmentCode, QStringLiteral("0001"));
    QVERIFY(department.employeeCode.isEmpty() && department.employeeName.isEmpty());
    QVERIFY(!SelectEmployee().chosen);
}

void TestMasterData::employeeCommandsWithoutDepartmentOrRows() {
    TestDatabase db;
    TfrmEmployee window;
    QVERIFY(window.ReadyData());
    PromptScript prompts;
    prompts.expectMessage("请首先建立或者选择一个部门分类！")
        .expectMessage("请首先建立或者选择一个部门分类！");
    window.cmdAddClientClick();
    window.cmdEditClientClick();
    prompts.verifyDone();
    db.exec("Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values('0001','总部','',0)");
    QVERIFY(window.ReadyData());
    prompts.expectMessage("没有可修改的记录！");
    window.cmdEditClientClick();
    window.cmdDeleteClientClick(); // empty list: nothing, no question
}

void TestMasterData::deleteEmployee() {
    TestDatabase db;
    Organisation(db);
    db.exec("Insert into TBillDetail (EmpID,Total) Values('00020001',5)");
    TfrmEmployee window;
    QVERIFY(window.ReadyData());
    PromptScript prompts;
    prompts.expectQuestion("您确认删除选定雇员资料吗？", false)
        .expectQuestion("您确认删除选定雇员资料吗？", true);
    window.cmdDeleteClientClick();
    QCOMPARE(window.dsQuery->recordCount(), 1);
    window.cmdDeleteClientClick();
    QCOMPARE(window.dsQuery->recordCount(), 0);
    QCOMPARE(Sql(db, "Select Count(*) from TEmployee"), QStringLiteral("1"));
    QCOMPARE(Sql(db, "Select EmpID from TBillDetail"), QStringLiteral("00020001")); // nothing else touched
}

void TestMasterData::newEmployeeIsCodedAndChecked() {
    TestDatabase db;
    Organisation(db);
    TfrmEmployeeEdit dialog("0001");
    QVERIFY(dialog.ReadyData(-1));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("新增职员纪录"));
    QCOMPARE(dialog.cmbSex->currentText(), QStringLiteral("男"));
    QCOMPARE(dialog.cmbZZStu->currentIndex(), -1);
    QCOMPARE(dialog.cmbFuncName->count(), 2); // positions by name
    PromptScript prompts;
    prompts.expectMessage("业务员姓名必须输入！");
    dialog.cmdRegClick();
    dialog.EditTrueName->setText(QStringLiteral("王五"));
    prompts.expectMessage("职位必须指定！");
    dialog.cmdRegClick();
    prompts.verifyDone();
    dialog.cmbFuncName->setCurrentIndex(dialog.cmbFuncName->findText(QStringLiteral("总经理")));
    dialog.EditTelePhone->setText(QString(40, u'9')); // cut at 30 bytes
    dialog.cmdRegClick();
    QVERIFY(dialog.Saved());
    QCOMPARE(Sql(db, "Select Code||'|'||TypeCode||'|'||FuncCode||'|'||ZZStu||'|'||Sex from TEmployee "
                     "where UserName='王五'"),
             QStringLiteral("000110006|0001|ZJL|-1|0"));
    QCOMPARE(Sql(db, "Select TelePhone from TEmployee where UserName='王五'"), QString(30, u'9'));
}

void TestMasterData::editedEmployeeKeepsItsCodeAndTakesTheDepartment() {
    TestDatabase db;
    Organisation(db);
    const int id = Sql(db, "Select ID from TEmployee where UserName='张三'").toInt();
    ModalScript<TfrmEmployeeEdit> script{[](TfrmEmployeeEdit& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("修改职员记录"));
        QCOMPARE(d.EditTrueName->text(), QStringLiteral("张三"));
        QCOMPARE(d.cmbFuncName->currentText(), QStringLiteral("销售员"));
        QCOMPARE(d.cmbZZStu->currentText(), QStringLiteral("在职"));
        d.EditMemo->setPlainText(QStringLiteral("调往分公司"));
        d.cmdReg->click();
    }};
    QVERIFY(ShowEmployeeEdit("0002", id));
    QCOMPARE(
        Sql(db, QStringLiteral("Select Code||'|'||TypeCode||'|'||Desp from TEmployee where ID=%1").arg(id)),
        QStringLiteral("000100010005|0002|调往分公司"));
}

void TestMasterData::employeeWithoutComputableCodeIsNotSaved() {
    TestDatabase db;
    Organisation(db);
    db.exec("Insert into TEmployee (Code,UserName,TypeCode,FuncCode) "
            "Values('00029999999999','赵六','0002','ZJL')");
    TfrmEmployeeEdit dialog("0002");
    QVERIFY(dialog.ReadyData(-1));
    dialog.EditTrueName->setText(QStringLiteral("孙七"));
    dialog.cmbFuncName->setCurrentIndex(0);
    PromptScript prompts;
    prompts.expect(PromptKind::Information, QString());
    dialog.cmdRegClick();
    QVERIFY(!dialog.Saved());
    QCOMPARE(Sql(db, "Select Count(*) from TEmployee where UserName='孙七'"), QStringLiteral("0"));
}

void TestMasterData::positionCodeIsProposedFromTheName() {
    TestDatabase db;
    TfrmFuncEdit dialog(-1);
    QVERIFY(dialog.ReadyData());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QApplication::setActiveWindow(&dialog);
    dialog.EditName->setFocus();
    dialog.EditName->setText(QStringLiteral("总经理"));
    QTest::keyClick(dialog.EditName, Qt::Key_Return); // moves on instead of saving
    QTRY_VERIFY(dialog.EditCode->hasFocus());
    QCOMPARE(dialog.EditCode->text(), QStringLiteral("ZJL"));
    QVERIFY(dialog.isVisible());
    dialog.EditName->setFocus();
    dialog.EditName->setText(QStringLiteral("副总经理"));
    dialog.EditCode->setFocus();
    QCOMPARE(dialog.EditCode->text(), QStringLiteral("ZJL")); // a code already there is kept
}

void TestMasterData::duplicatePositionCodeThenCorrected() {
    TestDatabase db;
    Organisation(db);
    TfrmFuncEdit dialog(-1);
    QVERIFY(dialog.ReadyData());
    PromptScript prompts;
    prompts.expectMessage("编号尚未输入！");
    dialog.cmdEnsureClick();
    dialog.EditCode->setText(QStringLiteral("zjl"));
    prompts.expectMessage("名称尚未输入！");
    dialog.cmdEnsureClick();
    dialog.EditName->setText(QStringLiteral("总经理助理"));
    prompts.expectMessage("存储数据发生错误，可能您输入的编号已经被使用!");
    dialog.cmdEnsureClick();
    QVERIFY(!dialog.Saved());
    dialog.EditCode->setText(QStringLiteral("ZJLZL"));
    dialog.cmdEnsureClick();
    QVERIFY(dialog.Saved());
    QCOMPARE(Sql(db, "Select Count(*) from TFunc"), QStringLiteral("3"));
}

void TestMasterData::positionDeletion() {
    TestDatabase db;
    Organisation(db);
    db.exec("Insert into TFunc (FuncCode,FuncName) Values('AAA','空闲')");
    TfrmFunc list;
    QVERIFY(list.ReadyData());
    QCOMPARE(list.DBGridEh1->cellText(0, 1), QStringLiteral("AAA")); // FuncCode order
    PromptScript prompts;
    prompts.expectQuestion("您确认删除选定的职位记录吗？", false)
        .expectQuestion("您确认删除选定的职位记录吗？", true);
    list.Button3Click();
    list.Button3Click();
    QCOMPARE(list.dsQuery->recordCount(), 2);
    QCOMPARE(Sql(db, "Select Count(*) from TFunc"), QStringLiteral("2"));
    // XSY is used by an employee: the database refuses and the position stays.
    list.dsQuery->setRecNo(0);
    prompts.expectQuestion("您确认删除选定的职位记录吗？", true)
        .expectMessage("指定职位信息可能已经被使用，不能删除！");
    list.Button3Click();
    QCOMPARE(list.dsQuery->recordCount(), 2);
    QCOMPARE(Sql(db, "Select Count(*) from TFunc where FuncCode='XSY'"), QStringLiteral("1"));

    // Adding reloads the list in code order.
    ModalScript<TfrmFuncEdit> script{[](TfrmFuncEdit& d) {
        d.EditName->setText(QStringLiteral("出纳"));
        d.EditCode->setText(QStringLiteral("CN"));
        d.cmdEnsure->click();
    }};
    list.Button1Click();
    QCOMPARE(list.DBGridEh1->cellText(0, 1), QStringLiteral("CN"));
}

QTEST_MAIN(TestMasterData)
#include "tst_masterdata.moc"
