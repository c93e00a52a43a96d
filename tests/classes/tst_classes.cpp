// Classification codes, loading a classification into a tree, the four editing
// commands and the department picker.

#include "app/datamodule.h"
#include "app/openwindow.h"
#include "classes/classcodes.h"
#include "classes/classtree.h"
#include "classes/classtreeeditor.h"
#include "classes/selectclass.h"
#include "support/testsupport.h"

#include <QPushButton>
#include <QTest>

namespace {

void AddClass(TestDatabase& db, const QString& table, const QString& code, const QString& name) {
    const QString parent = code.size() > 4 ? code.left(code.size() - 4) : QString();
    db.exec(QStringLiteral("Insert into %1 (TypeCode,TypeName,ParTypeCode,nLeveal) Values('%2','%3','%4',%5)")
                .arg(table, code, name, parent)
                .arg(code.size() / 4 - 1));
}

// The tree as indented lines "name" with two blanks per level, in display order.
QStringList Outline(const QTreeWidget& tree) {
    QStringList lines;
    std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* node, int depth) {
        lines.append(QString(depth * 2, u' ') + node->text(0));
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i), depth + 1);
    };
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        walk(tree.topLevelItem(i), 0);
    return lines;
}

QString Count(TestDatabase& db, const QString& table) {
    return db.dm().GetDataBySQL(QStringLiteral("Select Count(*) from ") + table);
}

} // namespace

class TestClasses : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nextClassCode_data();
    void nextClassCode();
    void getMaxNumReadsTheHighestChild();
    void linkedLoadingDropsOrphansAndSortsByPinyin();
    void twoLevelLoading();
    void findNodeGivesTheFirstInTreeOrder();
    void addRootAndChildWriteTheirStatements();
    void addChildStopsAtTheDepthLimit_data();
    void addChildStopsAtTheDepthLimit();
    void failedInsertTakesTheNodeOutAgain();
    void exhaustedGroupsRefuseANewChild();
    void renameAndCancelledRename();
    void deleteAsksAndRefusesParents();
    void pickerChoosesOnlyLeaves();
    void pickerWithoutChoice();
};

void TestClasses::nextClassCode_data() {
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("maxChild");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first top-level") << ""
                                     << ""
                                     << "0001";
    QTest::newRow("first child") << "0001"
                                 << ""
                                 << "00010001";
    QTest::newRow("after a gap") << ""
                                 << "0005"
                                 << "0006";
    QTest::newRow("number behind the parent") << "00010002"
                                              << "000100020003"
                                              << "000100020004";
    QTest::newRow("groups used up") << "0001"
                                    << "00019999"
                                    << "";
    QTest::newRow("unreadable") << "0001"
                                << "0001abcd"
                                << "";
}

void TestClasses::nextClassCode() {
    QFETCH(QString, parent);
    QFETCH(QString, maxChild);
    QFETCH(QString, expected);
    QCOMPARE(NextClassCode(parent, maxChild), expected);
}

void TestClasses::getMaxNumReadsTheHighestChild() {
    TestDatabase db;
    QString code;
    QCOMPARE(GetMaxNum(ClassTable::Departments, QString(), code), NextCodeResult::Ok);
    QCOMPARE(code, QStringLiteral("0001"));
    for (const char* c : {"0001", "0002", "0005", "00050001"})
        AddClass(db, "TEmpClass", c, "部门");
    QCOMPARE(GetMaxNum(ClassTable::Departments, QString(), code), NextCodeResult::Ok);
    QCOMPARE(code, QStringLiteral("0006"));
    QCOMPARE(GetMaxNum(ClassTable::Departments, QStringLiteral("0005"), code), NextCodeResult::Ok);
    QCOMPARE(code, QStringLiteral("00050002"));
    // The categories are a table of their own.
    QCOMPARE(GetMaxNum(ClassTable::Categories, QString(), code), NextCodeResult::Ok);
    QCOMPARE(code, QStringLiteral("0001"));
    db.dm().Close();
    QCOMPARE(GetMaxNum(ClassTable::Departments, QString(), code), NextCodeResult::QueryFailed);
    QCOMPARE(code, QString());
}

void TestClasses::linkedLoadingDropsOrphansAndSortsByPinyin() {
    TestDatabase db;
    AddClass(db, "TEmpClass", "0001", "总部");
    AddClass(db, "TEmpClass", "00010001", "销售部");
    AddClass(db, "TEmpClass", "00010002", "财务部");
    AddClass(db, "TEmpClass", "000100010001", "华东区");
    AddClass(db, "TEmpClass", "0002", "北京分公司");
    db.exec(
        "Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values('00090001','孤儿','0009',1)");
    db.exec("Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) "
            "Values('000900010001','孤孙','00090001',2)");
    ClassTree tree;
    QVERIFY(tree.LoadClassTable(ClassTable::Departments, ClassForest::Linking::Linked));
    QCOMPARE(Outline(tree), (QStringList{"北京分公司", "总部", "  财务部", "  销售部", "    华东区"}));
    QCOMPARE(ClassTree::Record(tree.FindNode("000100010001")).ParTypeCode, QStringLiteral("00010001"));
    QVERIFY(!tree.FindNode("00090001"));
}

void TestClasses::twoLevelLoading() {
    TestDatabase db;
    db.exec(
        "Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values('00000001','无上级','0000',1)");
    AddClass(db, "TEmpClass", "0001", "总部");
    AddClass(db, "TEmpClass", "00010001", "销售部");
    AddClass(db, "TEmpClass", "000100010001", "华东区");
    AddClass(db, "TEmpClass", "0002", "分公司");
    ClassTree tree;
    QVERIFY(tree.LoadClassTable(ClassTable::Departments, ClassForest::Linking::TwoLevel));
    // Every lower level under its top-level ancestor; a row before any top-level row stays on top.
    QCOMPARE(Outline(tree), (QStringList{"分公司", "无上级", "总部", "  华东区", "  销售部"}));
}

void TestClasses::findNodeGivesTheFirstInTreeOrder() {
    // An employee node can carry the code of a department (trees that hold both).
    ClassForest forest;
    forest.build(
        {{-1, "0001", "", "总部", 0}, {-1, "00010001", "0001", "销售部", 1}, {-1, "0002", "", "分部", 0}},
        ClassForest::Linking::Linked);
    const int employee = forest.addNode(forest.findNode("0002"), {7, "00010001", "0002", "张三", 1});
    QCOMPARE(forest.findNode("00010001"), 1);
    forest.sortByName(); // 分部 now comes first, so its employee is first in tree order
    QCOMPARE(forest.findNode("00010001"), employee);
    QCOMPARE(forest.findNode("0003"), -1);
    QVector<QString> names;
    for (int n : forest.depthFirst())
        names.append(forest.node(n).data.TypeName);
    QCOMPARE(names, (QVector<QString>{"分部", "张三", "总部", "销售部"}));
}

void TestClasses::addRootAndChildWriteTheirStatements() {
    TestDatabase db;
    AddClass(db, "TEmpClass", "0001", "总部");
    AddClass(db, "TEmpClass", "0002", "分部");
    ClassTree tree;
    QVERIFY(tree.LoadClassTable(ClassTable::Departments, ClassForest::Linking::Linked));
    ClassTreeEditor editor(&tree, ClassTable::Departments);
    {
        PromptScript prompts;
        prompts.expectInput("输入部门主分类名称", "销售部")
            .expectInput("输入部门主分类名称", "", true) // an empty answer stops
            .expectInput("输入部门主分类名称", "ignored", false);
        editor.AddRoot();
        editor.AddRoot();
        editor.AddRoot();
        QCOMPARE(prompts.seen().constFirst().caption, QStringLiteral("输入部门主分类名称"));
    }
    QCOMPARE(db.dm().GetDataBySQL(
                 "Select TypeName||'|'||ParTypeCode||'|'||nLeveal from TEmpClass where TypeCode='0003'"),
             QStringLiteral("销售部||0"));
    QCOMPARE(Count(db, "TEmpClass"), QStringLiteral("3"));

    tree.setCurrentItem(tree.FindNode("0003"));
    const QString longName = QString(14, u'长') + QStringLiteral("ab"); // 30 bytes fit, the 31st does not
    {
        PromptScript prompts;
        prompts.expectInput("输入下级部门分类名称", "O'Neil 华东区")
            .expectInput("输入下级部门分类名称", longName + "c");
        editor.AddChild();
        editor.AddChild();
    }
    QCOMPARE(db.dm().GetDataBySQL("Select TypeName from TEmpClass where TypeCode='00030001'"),
             QStringLiteral("O'Neil 华东区"));
    QCOMPARE(db.dm().GetDataBySQL("Select TypeName from TEmpClass where TypeCode='00030002'"), longName);
    QCOMPARE(db.dm().GetDataBySQL("Select nLeveal from TEmpClass where TypeCode='00030002'"),
             QStringLiteral("1"));
    QCOMPARE(tree.Selected(), tree.FindNode("0003")); // the selection stays on the parent
    QVERIFY(tree.FindNode("0003")->isExpanded());
    QCOMPARE(tree.FindNode("00030001")->parent(), tree.FindNode("0003"));
}

void TestClasses::addChildStopsAtTheDepthLimit_data() {
    QTest::addColumn<int>("table");
    QTest::addColumn<QString>("deepest");
    QTest::addColumn<QString>("message");
    QTest::newRow("departments: five levels") << int(ClassTable::Departments) << "00010001000100010001"
                                              << "最多支持5级分类！";
    QTest::newRow("categories: four levels") << int(ClassTable::Categories) << "0001000100010001"
                                             << "最多支持四级分类！";
}

void TestClasses::addChildStopsAtTheDepthLimit() {
    QFETCH(int, table);
    QFETCH(QString, deepest);
    QFETCH(QString, message);
    TestDatabase db;
    const auto kind = ClassTable(table);
    for (int length = 4; length <= deepest.size(); length += 4)
        AddClass(db, InfoOf(kind).table, deepest.left(length), QStringLiteral("级%1").arg(length / 4));
    ClassTree tree;
    QVERIFY(tree.LoadClassTable(kind, ClassForest::Linking::Linked));
    ClassTreeEditor editor(&tree, kind);
    PromptScript prompts;
    tree.setCurrentItem(tree.FindNode(deepest.left(deepest.size() - 4))); // one above the deepest: allowed
    prompts.expectInput(InfoOf(kind).childPrompt, "新");
    editor.AddChild();
    tree.setCurrentItem(tree.FindNode(deepest));
    prompts.expectMessage(message);
    editor.AddChild();
}

void TestClasses::failedInsertTakesTheNodeOutAgain() {
    TestDatabase db;
    // A stray row holds the code 0001 without being a top-level row: the insert is refused.
    db.exec("Insert into TCustClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values('0001','错行','9999',1)");
    ClassTree tree;
    QVERIFY(tree.LoadClassTable(ClassTable::Categories, ClassForest::Linking::Linked));
    ClassTreeEditor editor(&tree, ClassTable::Categories);
    PromptScript prompts;
    prompts.expectInput("输入费用主分类名称", "管理费用").expectMessage("读取数据出现错误。");
    editor.AddRoot();
    QCOMPARE(tree.topLevelItemCount(), 0);
    QVERIFY(!tree.FindNode("0001"));
}

void TestClasses::exhaustedGroupsRefuseANewChild() {
    TestDatabase db;
    AddClass(db, "TCustClass", "0001", "管理费用");
    AddClass(db, "TCustClass", "00019999", "杂项");
    ClassTree tree;
    QVERIFY(tree.LoadClassTable(ClassTable::Categories, ClassForest::Linking::Linked));
    tree.setCurrentItem(tree.FindNode("0001"));
    ClassTreeEditor editor(&tree, ClassTable::Categories);
    PromptScript prompts;
    prompts.expectInput("输入费用二级分类名称", "新类别").expect(PromptKind::Information, QString());
    editor.AddChild();
    QCOMPARE(Count(db, "TCustClass"), QStringLiteral("2"));
    QCOMPARE(tree.FindNode("0001")->childCount(), 1);
}

void TestClasses::renameAndCancelledRename() {
    TestDatabase db;
    AddClass(db, "TCustClass", "0001", "办公费");
    AddClass(db, "TCustClass", "0002", "差旅费");
    ClassTree tree;
    QVERIFY(tree.LoadClassTable(ClassTable::Categories, ClassForest::Linking::Linked));
    ClassTreeEditor editor(&tree, ClassTable::Categories);
    tree.setCurrentItem(tree.FindNode("0001"));
    PromptScript prompts;
    prompts.expectInput("输入新的费用分类名称", "邮电费").expectInput("输入新的费用分类名称", "不写", false);
    editor.Rename();
    QCOMPARE(db.dm().GetDataBySQL("Select TypeName from TCustClass where TypeCode='0001'"),
             QStringLiteral("邮电费"));
    QCOMPARE(Outline(tree), (QStringList{"差旅费", "邮电费"})); // siblings in order again
    editor.Rename(); // cancelled: the current name is written unchanged
    QCOMPARE(prompts.seen().last().defaultText, QStringLiteral("邮电费"));
    QCOMPARE(db.dm().GetDataBySQL("Select TypeName from TCustClass where TypeCode='0001'"),
             QStringLiteral("邮电费"));
}

void TestClasses::deleteAsksAndRefusesParents() {
    TestDatabase db;
    AddClass(db, "TEmpClass", "0001", "总部");
    AddClass(db, "TEmpClass", "00010001", "销售部");
    db.exec("Insert into TEmployee (Code,UserName,TypeCode) Values('000100010001','张三','00010001')");
    ClassTree tree;
    QVERIFY(tree.LoadClassTable(ClassTable::Departments, ClassForest::Linking::Linked));
    ClassTreeEditor editor(&tree, ClassTable::Departments);
    PromptScript prompts;
    editor.Delete(); // nothing selected: nothing happens
    tree.setCurrentItem(tree.FindNode("0001"));
    prompts.expectMessage("指定分类下有子分类，不能直接删除！请先删除子分类！");
    editor.Delete();
    tree.setCurrentItem(tree.FindNode("00010001"));
    prompts.expectQuestion("您确认删除吗？", false).expectQuestion("您确认删除吗？", true);
    editor.Delete();
    QCOMPARE(Count(db, "TEmpClass"), QStringLiteral("2"));
    editor.Delete();
    QCOMPARE(Count(db, "TEmpClass"), QStringLiteral("1"));
    QVERIFY(!tree.FindNode("00010001"));
    QCOMPARE(Count(db, "TEmployee"), QStringLiteral("1")); // nothing else is touched
    // Delete the last one with the next code handed out again.
    QString code;
    GetMaxNum(ClassTable::Departments, "0001", code);
    QCOMPARE(code, QStringLiteral("00010001"));
}

void TestClasses::pickerChoosesOnlyLeaves() {
    TestDatabase db;
    AddClass(db, "TEmpClass", "0001", "总部");
    AddClass(db, "TEmpClass", "00010001", "销售部");
    AddClass(db, "TEmpClass", "000100010001", "华东区");
    AddClass(db, "TEmpClass", "0002", "分公司");
    ClassChoice choice;
    SetModalHandler([](QDialog& dialog) {
        auto& picker = static_cast<TfrmSelectClass&>(dialog);
        PromptScript prompts;
        picker.Tree->setCurrentItem(picker.Tree->FindNode("0001"));
        prompts.expectMessage("请选择下级分类！");
        picker.cmdSelect->click();
        prompts.verifyDone();
        // A level-2 department shown beside its parent has no children here.
        picker.Tree->setCurrentItem(picker.Tree->FindNode("000100010001"));
        QTest::keyClick(picker.Tree, Qt::Key_Return);
        return picker.result();
    });
    choice = ShowSelectClass();
    SetModalHandler(nullptr);
    QVERIFY(choice.chosen);
    QCOMPARE(choice.code, QStringLiteral("000100010001"));
    QCOMPARE(choice.name, QStringLiteral("华东区"));
}

void TestClasses::pickerWithoutChoice() {
    TestDatabase db;
    SetModalHandler([](QDialog& dialog) {
        auto& picker = static_cast<TfrmSelectClass&>(dialog);
        picker.cmdSelect->click(); // empty tree: nothing
        picker.cmdClose->click();
        return picker.result();
    });
    const ClassChoice empty = ShowSelectClass();
    QVERIFY(!empty.chosen);
    AddClass(db, "TEmpClass", "0001", "总部");
    SetModalHandler([](QDialog& dialog) {
        auto& picker = static_cast<TfrmSelectClass&>(dialog);
        picker.Tree->setCurrentItem(picker.Tree->FindNode("0001"));
        QTest::keyClick(&picker, Qt::Key_Escape);
        return picker.result();
    });
    const ClassChoice escaped = ShowSelectClass();
    SetModalHandler(nullptr);
    QVERIFY(!escaped.chosen);
    QVERIFY(escaped.code.isEmpty() && escaped.name.isEmpty());

    db.dm().Close();
    PromptScript prompts;
    prompts.expectMessage("读取数据出现错误。");
    QVERIFY(!ShowSelectClass().chosen);
}

QTEST_MAIN(TestClasses)
#include "tst_classes.moc"
