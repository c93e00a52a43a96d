// The formula design window, the formula editor and the two parameter pickers,
// and a formula built with the pickers alone evaluated by the allocation.

#include "app/datamodule.h"
#include "app/dataset.h"
#include "app/mainwindow.h"
#include "app/openwindow.h"
#include "classes/classtree.h"
#include "formula/employeecount.h"
#include "formula/formuladgn.h"
#include "formula/formulaedit.h"
#include "formula/moneycount.h"
#include "stats/statfill.h"
#include "stats/statlayout.h"
#include "support/modalscript.h"
#include "support/testsupport.h"
#include "widgets/datagrid.h"

#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

// The organisation of the examples: 销售部 (00010002) under 总部 (0001) with
// its employee 张三 (000100020003), the category 办公费 (00020001) under 管理费用
// (0002) and the position 经理 (01). 销售部 also has the sub-department 华东组
// and a second employee, 阿明, whose name sorts before both.
void Organisation(TestDatabase& db) {
    db.exec("Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values"
            "('0001','总部','',0),('00010001','财务部','0001',1),('00010002','销售部','0001',1),"
            "('000100020001','华东组','00010002',2);"
            "Insert into TEmployee (Code,UserName,TypeCode,FuncCode) Values"
            "('000100020003','张三','00010002','01'),('000100020004','阿明','00010002','02'),"
            "('00010901','李总','0001','01'),('0001000200010001','王五','000100020001','02');"
            "Insert into TCustClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values"
            "('0002','管理费用','',0),('00020001','办公费','0002',1),('0001','销售费用','',0);"
            "Insert into TFunc (FuncCode,FuncName) Values ('01','经理'),('02','职员')");
}

const QString DepartmentAmount =
    QStringLiteral("{COUNT 00010002:总部\\销售部\\ 00020001:管理费用\\办公费\\}");
const QString EmployeeAmount =
    QStringLiteral("{COUNTEMP 000100020003:总部\\销售部\\张三\\ 00020001:管理费用\\办公费\\}");

void Show(QWidget& window) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

// A mouse click on a node, its branch opened first as a user would.
void ClickNode(ClassTree* tree, const QString& code, Qt::KeyboardModifiers modifiers = {}) {
    QTreeWidgetItem* node = tree->FindNode(code);
    QVERIFY2(node, qPrintable(code));
    for (QTreeWidgetItem* p = node->parent(); p; p = p->parent())
        p->setExpanded(true);
    tree->scrollToItem(node);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, modifiers, tree->visualItemRect(node).center());
}

// A mouse click on the grid's row whose column shows text.
void ClickRow(DataGrid* grid, int column, const QString& text) {
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        if (grid->cellText(row, column) == text) {
            const QModelIndex index = grid->model()->index(row, column);
            grid->scrollTo(index);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
            return;
        }
    }
    QFAIL(qPrintable("no row shows " + text));
}

QStringList ChildNames(const QTreeWidgetItem* node) {
    QStringList names;
    for (int i = 0; i < node->childCount(); ++i)
        names << node->child(i)->text(0);
    return names;
}

QString Sql(TestDatabase& db, const QString& statement) {
    return db.dm().GetDataBySQL(statement);
}

// Opens a design window in a shown frame; nullptr when it did not open.
TfrmFormulaDgn* OpenDesignWindow(QMdiArea& area) {
    area.resize(1200, 800);
    area.show();
    if (!QTest::qWaitForWindowExposed(&area))
        return nullptr;
    SetChildArea(&area);
    if (!ShowFormulaDgn())
        return nullptr;
    return area.findChild<TfrmFormulaDgn*>();
}

} // namespace

class TestFormula : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void amountPickerBuildsTokensFromClicks();
    void employeesFollowTheSubDepartments();
    void headcountPickerKeepsTheLastClick();
    void pickersReturnNothing_data();
    void pickersReturnNothing();
    void editorInsertsThroughTheClipboard_data();
    void editorInsertsThroughTheClipboard();
    void editorSavesThePairsRow_data();
    void editorSavesThePairsRow();
    void failedSaveKeepsTheEditorOpen();
    void unreadableRowKeepsTheEditorUnseen();
    void designWindowOpensAndRefreshesOnClicksAndRows();
    void designWindowAfterTheEditor_data();
    void designWindowAfterTheEditor();
    void designWindowEditNeedsPositionAndCategory_data();
    void designWindowEditNeedsPositionAndCategory();
    void designWindowNotOpened_data();
    void designWindowNotOpened();
    void formulaBuiltWithPickersIsAllocated();
};

void TestFormula::amountPickerBuildsTokensFromClicks() {
    TestDatabase db;
    Organisation(db);
    ModalScript<> script{On<TfrmMoneyCount>([](TfrmMoneyCount& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("定义金额类参数"));
        Show(d);
        QVERIFY(!d.TreeView1->Selected() && !d.Tree->Selected());
        ClickNode(d.TreeView1, "00010002");
        QCOMPARE(d.EditCountFor->text(), QString()); // no category yet
        ClickNode(d.Tree, "00020001");
        QCOMPARE(d.EditCountFor->text(), DepartmentAmount);
        ClickNode(d.TreeView1, "000100020003");
        QCOMPARE(d.EditCountFor->text(), EmployeeAmount);
        // The keyboard moves the selection but builds nothing.
        d.Tree->setFocus();
        QTest::keyClick(d.Tree, Qt::Key_Up);
        QCOMPARE(ClassTree::Record(d.Tree->Selected()).TypeCode, QStringLiteral("0002"));
        QCOMPARE(d.EditCountFor->text(), EmployeeAmount);
        // A click that leaves a tree without a selection empties the box.
        ClickNode(d.Tree, "0002", Qt::ControlModifier);
        QVERIFY(!d.Tree->Selected());
        QCOMPARE(d.EditCountFor->text(), QString());
        ClickNode(d.Tree, "00020001");
        ClickNode(d.TreeView1, "00010002");
        d.cmdReg->click();
    })};
    QCOMPARE(ShowMoneyCount(), DepartmentAmount);
}

void TestFormula::employeesFollowTheSubDepartments() {
    TestDatabase db;
    Organisation(db);
    TfrmMoneyCount d;
    QVERIFY(d.ReadyData1());
    // Departments by name, then the department's employees in the order of their IDs.
    QTreeWidgetItem* top = d.TreeView1->FindNode("0001");
    QCOMPARE(ChildNames(top), (QStringList{"财务部", "销售部", "李总"}));
    QTreeWidgetItem* sales = d.TreeView1->FindNode("00010002");
    QCOMPARE(ChildNames(sales), (QStringList{"华东组", "张三", "阿明"}));
    QCOMPARE(ChildNames(sales->child(0)), QStringList{"王五"});
    QCOMPARE(ClassTree::Record(sales->child(1)).TypeCode, QStringLiteral("000100020003"));
    QVERIFY(ClassTree::Record(sales->child(1)).ID > 0);
    QCOMPARE(ClassTree::Record(sales).ID, -1);
}

void TestFormula::headcountPickerKeepsTheLastClick() {
    TestDatabase db;
    Organisation(db);
    ModalScript<> script{On<TfrmEmployeeCount>([](TfrmEmployeeCount& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("定义人数类参数"));
        Show(d);
        QCOMPARE(d.Tree->Selected(), d.Tree->topLevelItem(0)); // selected, but no token
        QCOMPARE(d.EditCountFor->text(), QString());
        // Two levels: the level-2 department stands directly under the top level.
        QCOMPARE(d.Tree->FindNode("000100020001")->parent(), d.Tree->FindNode("0001"));
        ClickNode(d.Tree, "000100020001");
        QCOMPARE(d.EditCountFor->text(), QStringLiteral("{SUM_D 000100020001:华东组}"));
        ClickNode(d.Tree, "00010002");
        QCOMPARE(d.EditCountFor->text(), QStringLiteral("{SUM_D 00010002:销售部}"));
        ClickRow(d.DBGridEh1, 2, "经理");
        QCOMPARE(d.EditCountFor->text(), QStringLiteral("{SUM_F 01:经理}"));
        // A release over the empty area below the rows takes the current row.
        ClickNode(d.Tree, "00010002");
        QTest::mouseClick(d.DBGridEh1->viewport(), Qt::LeftButton, {},
                          QPoint(20, d.DBGridEh1->viewport()->height() - 5));
        QCOMPARE(d.EditCountFor->text(), QStringLiteral("{SUM_F 01:经理}"));
        d.cmdReg->click();
    })};
    QCOMPARE(ShowEmployeeCount(), QStringLiteral("{SUM_F 01:经理}"));
}

void TestFormula::pickersReturnNothing_data() {
    QTest::addColumn<bool>("amount");
    QTest::addColumn<QString>("close"); // how the picker is left after a click
    QTest::newRow("amount, 取消") << true << "cmdClose";
    QTest::newRow("amount, Esc") << true << "Esc";
    QTest::newRow("amount, 确认 at once") << true << "cmdReg at once";
    QTest::newRow("headcount, 取消") << false << "cmdClose";
    QTest::newRow("headcount, 确认 at once") << false << "cmdReg at once";
}

void TestFormula::pickersReturnNothing() {
    QFETCH(bool, amount);
    QFETCH(QString, close);
    TestDatabase db;
    Organisation(db);
    auto work = [close](QDialog& d, ClassTree* departments, ClassTree* categories) {
        Show(d);
        if (close != "cmdReg at once") {
            ClickNode(departments, "00010002");
            if (categories)
                ClickNode(categories, "00020001");
            QVERIFY(!d.findChild<QLineEdit*>("EditCountFor")->text().isEmpty());
        }
        if (close == "Esc") {
            d.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&d));
            QTest::keyClick(&d, Qt::Key_Escape);
        } else {
            d.findChild<QPushButton*>(close == "cmdClose" ? "cmdClose" : "cmdReg")->click();
        }
        QVERIFY(d.result() == (close == "cmdReg at once" ? QDialog::Accepted : QDialog::Rejected));
    };
    if (amount) {
        ModalScript<> script{On<TfrmMoneyCount>([&](TfrmMoneyCount& d) { work(d, d.TreeView1, d.Tree); })};
        QCOMPARE(ShowMoneyCount(), QString());
    } else {
        ModalScript<> script{On<TfrmEmployeeCount>([&](TfrmEmployeeCount& d) { work(d, d.Tree, nullptr); })};
        QCOMPARE(ShowEmployeeCount(), QString());
    }
}

void TestFormula::editorInsertsThroughTheClipboard_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionEnd"); // the caret
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("clipboard");
    const QString token = QStringLiteral("{SUM_D 0001:总部}");
    QTest::newRow("* right after a token") << token << 15 << 15 << "SpeedButton3" << token + "*"
                                           << "*";
    QTest::newRow("( over a selection") << "a+b-c" << 2 << 3 << "SpeedButton5"
                                        << "a+(-c"
                                        << "(";
    QTest::newRow("- at the caret") << "ab" << 1 << 1 << "SpeedButton2"
                                    << "a-b"
                                    << "-";
    QTest::newRow("+ over a backward selection") << "a*b" << 2 << 1 << "SpeedButton1"
                                                 << "a+b"
                                                 << "+";
    QTest::newRow("/ and ) at the end") << "x" << 1 << 1 << "SpeedButton4,SpeedButton6"
                                        << "x/)"
                                        << ")";
    QTest::newRow("amount token at the caret") << "2*" << 2 << 2 << "Button1"
                                               << "2*" + DepartmentAmount << DepartmentAmount;
    QTest::newRow("headcount token over a selection") << "1/x" << 2 << 3 << "Button2"
                                                      << "1/{SUM_D 00010002:销售部}"
                                                      << "{SUM_D 00010002:销售部}";
    QTest::newRow("cancelled picker") << "1/x" << 2 << 3 << "Button2 cancelled"
                                      << "1/x"
                                      << "before";
    QTest::newRow("picker confirmed empty") << "1/x" << 2 << 3 << "Button1 empty"
                                            << "1/x"
                                            << "before";
}

void TestFormula::editorInsertsThroughTheClipboard() {
    QFETCH(QString, text);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionEnd);
    QFETCH(QString, button);
    QFETCH(QString, expected);
    QFETCH(QString, clipboard);
    TestDatabase db;
    Organisation(db);
    TfrmFormulaEdit editor("01", "00020001");
    QVERIFY(editor.ReadyData());
    editor.EditMormula->setPlainText(text);
    QTextCursor cursor = editor.EditMormula->textCursor();
    cursor.setPosition(selectionStart);
    cursor.setPosition(selectionEnd, QTextCursor::KeepAnchor);
    editor.EditMormula->setTextCursor(cursor);
    QGuiApplication::clipboard()->setText("before");

    if (button.startsWith("SpeedButton")) {
        for (const QString& name : button.split(','))
            editor.findChild<QToolButton*>(name)->click();
    } else {
        ModalScript<> script{button == "Button1"   ? On<TfrmMoneyCount>([](TfrmMoneyCount& d) {
            Show(d);
            ClickNode(d.Tree, "00020001");
            ClickNode(d.TreeView1, "00010002");
            d.cmdReg->click();
        })
                             : button == "Button2" ? On<TfrmEmployeeCount>([](TfrmEmployeeCount& d) {
                                   Show(d);
                                   ClickNode(d.Tree, "00010002");
                                   d.cmdReg->click();
                               })
                             : button == "Button2 cancelled"
                                 ? On<TfrmEmployeeCount>([](TfrmEmployeeCount& d) {
                                       Show(d);
                                       ClickNode(d.Tree, "00010002");
                                       d.cmdClose->click();
                                   })
                                 : On<TfrmMoneyCount>([](TfrmMoneyCount& d) { d.cmdReg->click(); })};
        (button.startsWith("Button1") ? editor.Button1 : editor.Button2)->click();
    }
    QCOMPARE(editor.EditMormula->toPlainText(), expected);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
}

void TestFormula::editorSavesThePairsRow_data() {
    QTest::addColumn<QString>("stored"); // the pair's formula before, "(none)" without a row
    QTest::addColumn<QString>("typed");
    QTest::newRow("pair without a row, empty memo") << "(none)"
                                                    << "";
    QTest::newRow("pair without a row") << "(none)"
                                        << "{SUM_F 01:经理}*2";
    QTest::newRow("pair with a row") << "1+"
                                     << "{SUM_F 01:经理}*2";
    QTest::newRow("not a valid formula, saved as typed") << "1"
                                                         << "1++ (\n{SUM_D";
}

void TestFormula::editorSavesThePairsRow() {
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    TestDatabase db;
    Organisation(db);
    if (stored != "(none)")
        db.exec("Insert into TFormula (FuncCode,CustTypeCode,Formula) Values ('01','00020001','" + stored +
                "')");
    db.exec("Insert into TFormula (FuncCode,CustTypeCode,Formula) Values ('01','0002','other')");
    ModalScript<> script{On<TfrmFormulaEdit>([&](TfrmFormulaEdit& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("修改公式>> 职位=经理,费用=管理费用\\办公费\\"));
        QCOMPARE(d.EditMormula->toPlainText(), stored == "(none)" ? QString() : stored);
        d.EditMormula->setPlainText(typed);
        d.cmdReg->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
    })};
    QVERIFY(ShowFormulaEdit("01", "00020001", "公式>> 职位=经理,费用=管理费用\\办公费\\"));
    QCOMPARE(Sql(db, "Select Count(*) from TFormula Where FuncCode='01' And CustTypeCode='00020001'"), "1");
    QCOMPARE(Sql(db, "Select Count(*) from TFormula Where FuncCode='01' And CustTypeCode='00020001' And "
                     "Formula is not null"),
             "1");
    QCOMPARE(Sql(db, "Select Formula from TFormula Where FuncCode='01' And CustTypeCode='00020001'"), typed);
    QCOMPARE(Sql(db, "Select Formula from TFormula Where CustTypeCode='0002'"), "other");
}

void TestFormula::failedSaveKeepsTheEditorOpen() {
    TestDatabase db;
    Organisation(db);
    db.exec("Create Trigger Refuse Before Insert On TFormula Begin Select Raise(Abort,'refused'); End");
    ModalScript<> script{On<TfrmFormulaEdit>([&](TfrmFormulaEdit& d) {
        d.EditMormula->setPlainText("{SUM_F 01:经理}");
        {
            PromptScript prompts;
            prompts.expectMessage("保存数据发生错误！");
            d.cmdReg->click();
        }
        QCOMPARE(d.result(), int(QDialog::Rejected)); // still open
        QCOMPARE(d.EditMormula->toPlainText(), QStringLiteral("{SUM_F 01:经理}"));
        db.exec("Drop Trigger Refuse");
        d.cmdReg->click(); // the same row, tried again
        QCOMPARE(d.result(), int(QDialog::Accepted));
    })};
    QVERIFY(ShowFormulaEdit("01", "00020001", "公式："));
    QCOMPARE(Sql(db, "Select Formula from TFormula"), QStringLiteral("{SUM_F 01:经理}"));
}

void TestFormula::unreadableRowKeepsTheEditorUnseen() {
    TestDatabase db;
    db.exec("Drop Table TFormula");
    PromptScript prompts;
    prompts.expectMessage("读取本地数据发生错误！");
    ModalScript<> none{};
    QVERIFY(!ShowFormulaEdit("01", "00020001", "公式："));
}

void TestFormula::designWindowOpensAndRefreshesOnClicksAndRows() {
    TestDatabase db;
    Organisation(db);
    db.exec("Insert into TFormula (FuncCode,CustTypeCode,Formula) Values ('01','00020001','{SUM_F 01:经理}'),"
            "('02','00020001','1+1'),('01','0002','9')");
    TfrmMain main;
    main.resize(1400, 900);
    Show(main);
    main.action("N9")->trigger();
    main.action("N9")->trigger(); // a new window each time
    QCOMPARE(main.mdiArea()->subWindowList().size(), 2);
    auto* w = qobject_cast<TfrmFormulaDgn*>(main.mdiArea()->subWindowList().constLast()->widget());
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("公式定义"));
    // A fixed dialog-style border: no resizing, no minimise or maximise box.
    const QMdiSubWindow* frame = main.mdiArea()->subWindowList().constLast();
    QCOMPARE(frame->minimumSize(), frame->maximumSize());
    QVERIFY(!(frame->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
    // Opened without a refresh: the first category is selected, nothing shown.
    QCOMPARE(ClassTree::Record(w->Tree->Selected()).TypeCode, QStringLiteral("0002"));
    QCOMPARE(w->GroupF->title(), QStringLiteral("公式："));
    QCOMPARE(w->EditFormula->toPlainText(), QString());

    ClickNode(w->Tree, "00020001");
    QCOMPARE(w->FormulaCaption(), QStringLiteral("公式>> 职位=经理,费用=管理费用\\办公费\\"));
    QCOMPARE(w->EditFormula->toPlainText(), QStringLiteral("{SUM_F 01:经理}"));
    ClickRow(w->DBGridEh1, 2, "职员");
    QCOMPARE(w->FormulaCaption(), QStringLiteral("公式>> 职位=职员,费用=管理费用\\办公费\\"));
    QCOMPARE(w->EditFormula->toPlainText(), QStringLiteral("1+1"));
    // The keyboard moves in the tree without a refresh; the editor then takes
    // the new category with the caption of the last refresh.
    w->Tree->setFocus();
    QTest::keyClick(w->Tree, Qt::Key_Up);
    QCOMPARE(ClassTree::Record(w->Tree->Selected()).TypeCode, QStringLiteral("0002"));
    QCOMPARE(w->EditFormula->toPlainText(), QStringLiteral("1+1"));
    {
        ModalScript<> script{On<TfrmFormulaEdit>([](TfrmFormulaEdit& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("修改公式>> 职位=职员,费用=管理费用\\办公费\\"));
            d.EditMormula->setPlainText("2*3");
            d.cmdReg->click();
        })};
        w->cmdReg->click();
    }
    QCOMPARE(Sql(db, "Select Formula from TFormula Where FuncCode='02' And CustTypeCode='0002'"), "2*3");
    QCOMPARE(w->EditFormula->toPlainText(), QStringLiteral("2*3"));
    // Moving back to the first position refreshes with the selected category.
    QTest::keyClick(w->DBGridEh1, Qt::Key_Up);
    QCOMPARE(w->FormulaCaption(), QStringLiteral("公式>> 职位=经理,费用=管理费用\\"));
    QCOMPARE(w->EditFormula->toPlainText(), QStringLiteral("9"));

    // Esc closes the window.
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    w->EditFormula->setFocus();
    QTest::keyClick(w->EditFormula, Qt::Key_Escape);
    QTRY_COMPARE(main.mdiArea()->subWindowList().size(), 1);
    SetChildArea(nullptr);
}

void TestFormula::designWindowAfterTheEditor_data() {
    QTest::addColumn<QString>("stored"); // "(none)": the pair has no row
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("expected");
    QTest::newRow("pair without a row, saved") << "(none)" << true << "{SUM_D 0001:总部}";
    QTest::newRow("pair without a row, cancelled") << "(none)" << false << "";
    QTest::newRow("pair with a row, saved") << "1" << true << "{SUM_D 0001:总部}";
    QTest::newRow("pair with a row, cancelled") << "1" << false << "1";
}

void TestFormula::designWindowAfterTheEditor() {
    QFETCH(QString, stored);
    QFETCH(bool, save);
    QFETCH(QString, expected);
    TestDatabase db;
    Organisation(db);
    if (stored != "(none)")
        db.exec("Insert into TFormula (FuncCode,CustTypeCode,Formula) Values ('01','00020001','" + stored +
                "')");
    QMdiArea area;
    TfrmFormulaDgn* w = OpenDesignWindow(area);
    QVERIFY(w);
    ClickNode(w->Tree, "00020001");
    const QString caption = w->FormulaCaption();
    {
        ModalScript<> script{On<TfrmFormulaEdit>([save](TfrmFormulaEdit& d) {
            d.EditMormula->setPlainText("{SUM_D 0001:总部}");
            (save ? d.cmdReg : d.cmdClose)->click();
        })};
        w->cmdReg->click();
    }
    QCOMPARE(w->FormulaCaption(), caption);
    QCOMPARE(w->EditFormula->toPlainText(), expected);
    QCOMPARE(Sql(db, "Select Count(*) from TFormula"), stored == "(none)" && !save ? "0" : "1");
    SetChildArea(nullptr);
}

void TestFormula::designWindowEditNeedsPositionAndCategory_data() {
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("message");
    QTest::newRow("no positions") << "Drop Trigger TFunc_InUse; Delete from TFunc"
                                  << "没有选择/录入职位！";
    QTest::newRow("no categories") << "Delete from TCustClass"
                                   << "请选择一个费用分类！";
}

void TestFormula::designWindowEditNeedsPositionAndCategory() {
    QFETCH(QString, removed);
    QFETCH(QString, message);
    TestDatabase db;
    Organisation(db);
    db.exec(removed);
    QMdiArea area;
    TfrmFormulaDgn* w = OpenDesignWindow(area);
    QVERIFY(w);
    PromptScript prompts;
    prompts.expectMessage(message);
    ModalScript<> none{};
    w->cmdReg->click();
    SetChildArea(nullptr);
}

void TestFormula::designWindowNotOpened_data() {
    QTest::addColumn<QString>("dropped");
    QTest::addColumn<QString>("message"); // empty: none
    QTest::newRow("positions unreadable") << "Drop Table TFunc"
                                          << "";
    QTest::newRow("categories unreadable") << "Drop Table TCustClass"
                                           << "读取数据出现错误。";
}

void TestFormula::designWindowNotOpened() {
    QFETCH(QString, dropped);
    QFETCH(QString, message);
    TestDatabase db;
    db.exec(dropped);
    PromptScript prompts;
    if (!message.isEmpty())
        prompts.expectMessage(message);
    QMdiArea area;
    QVERIFY(!OpenDesignWindow(area));
    QVERIFY(area.subWindowList().isEmpty());
    SetChildArea(nullptr);
}

// On the demo organisation, with a few expenses of January 2020 (a month the
// demo records never reach), a salesperson's share of transport costs:
// ({COUNT 华东销售部 运输费} + {COUNTEMP 朱海涛 运输费}) / ({SUM_F 销售员} - {SUM_D 华东销售部})
// = (1000.00 + 500.50 + 500.50) / (12 - 6) = 2001.00 / 6 = 333.50.
void TestFormula::formulaBuiltWithPickersIsAllocated() {
    QTemporaryDir dir;
    const QString file = dir.filePath("Data.MDB");
    QString error;
    QVERIFY2(MakeSchemaDatabase(file, {BRIMSOLL_SOURCE_DIR "/db/demo.sql"}, &error), qPrintable(error));
    TDM dm;
    QVERIFY(dm.Connect(file));
    TDM* previous = DM;
    DM = &dm;
    const auto restore = qScopeGuard([&] { DM = previous; });
    TCommand insert;
    insert.setCommandText(
        "Insert into TBillDetail (OcrDate,CustCode,DepartCode,EmpID,Total) Values"
        "('2020-01-01 00:00:00','00020002','000100020001','',1000),"                  // the department
        "('2020-01-31 23:59:00','00020002','000100020001','0001000200010002',500.5)," // 朱海涛
        "('2020-02-01 00:00:00','00020002','000100020001','',999),"                   // after the period
        "('2020-01-15 00:00:00','00020002','00010002','',300),"                       // the department above
        "('2020-01-15 00:00:00','00020001','000100020001','',700)");                  // another category
    insert.execute();
    QCOMPARE(
        dm.GetDataBySQL("Select Count(*) from TFormula Where FuncCode='XSY' And CustTypeCode='00020002'"),
        "0");

    const QString amount = "{COUNT 000100020001:总公司\\营销中心\\华东销售部\\ 00020002:销售费用\\运输费\\}";
    const QString personal =
        "{COUNTEMP 0001000200010002:总公司\\营销中心\\华东销售部\\朱海涛\\ 00020002:销售费用\\运输费\\}";
    const QString formula =
        "(" + amount + "+" + personal + ")/({SUM_F XSY:销售员}-{SUM_D 000100020001:华东销售部})";
    QMdiArea area;
    TfrmFormulaDgn* w = OpenDesignWindow(area);
    QVERIFY(w);
    ClickRow(w->DBGridEh1, 2, "销售员");
    ClickNode(w->Tree, "00020002");
    auto amountPicker = [](const QString& left) {
        return On<TfrmMoneyCount>([left](TfrmMoneyCount& d) {
            Show(d);
            ClickNode(d.Tree, "00020002");
            ClickNode(d.TreeView1, left);
            d.cmdReg->click();
        });
    };
    auto headcountPicker = [](const QString& department, const QString& position) {
        return On<TfrmEmployeeCount>([department, position](TfrmEmployeeCount& d) {
            Show(d);
            if (!department.isEmpty())
                ClickNode(d.Tree, department);
            else
                ClickRow(d.DBGridEh1, 2, position);
            d.cmdReg->click();
        });
    };
    {
        ModalScript<> script{
            On<TfrmFormulaEdit>([](TfrmFormulaEdit& d) {
                QCOMPARE(d.EditMormula->toPlainText(), QString());
                for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
                         d.SpeedButton5, d.Button1, d.SpeedButton1, d.Button1, d.SpeedButton6, d.SpeedButton4,
                         d.SpeedButton5, d.Button2, d.SpeedButton2, d.Button2, d.SpeedButton6})
                    b->click();
                d.cmdReg->click();
            }),
            amountPicker("000100020001"), amountPicker("0001000200010002"),
            headcountPicker(QString(), "销售员"), headcountPicker("000100020001", QString())};
        w->cmdReg->click();
    }
    QCOMPARE(w->EditFormula->toPlainText(), formula);
    QCOMPARE(dm.GetDataBySQL("Select Formula from TFormula Where FuncCode='XSY' And CustTypeCode='00020002'"),
             formula);

    PromptScript noMessages;
    StatTable base;
    QVERIFY(LayoutStatTable(base));
    StatTable calc = base;
    const StatPeriod january{QDate(2020, 1, 1), QDate(2020, 1, 31)};
    QVERIFY(FillAllocationTable(calc, base, january));
    auto cell = [&calc](const QString& rowCode, const QString& colCode) {
        for (int c = calc.fixedCols; c < calc.colCount; ++c)
            for (int r = calc.fixedRows; r < calc.rowCount; ++r)
                if (calc.colCode(c) == colCode && calc.rowCode(r) == rowCode)
                    return calc.cell(c, r);
        return QStringLiteral("(none)");
    };
    QCOMPARE(cell("00020002", "0001000200010002"), QStringLiteral("333.50")); // 朱海涛, 销售员
    QCOMPARE(cell("00020002", "000200010002"), QStringLiteral("333.50"));     // 夏晴, 销售员
    QCOMPARE(cell("00020002", "0001000200010001"), QStringLiteral("0.00"));   // 杨帆, 部门经理
    SetChildArea(nullptr);
}

QTEST_MAIN(TestFormula)
#include "tst_formula.moc"
