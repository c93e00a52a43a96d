// The main window, the open-routine pattern and the prompts module.

#include "app/about.h"
#include "app/datamodule.h"
#include "app/helpers.h"
#include "app/mainwindow.h"
#include "app/openwindow.h"
#include "support/testsupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

namespace {

// The visible entries of a menu, separators as "-".
QStringList MenuEntries(QMenu* menu) {
    QStringList entries;
    for (QAction* act : menu->actions())
        entries.append(act->isSeparator() ? QStringLiteral("-") : act->text());
    return entries;
}

QMenu* TopMenu(TfrmMain& main, const QString& title) {
    for (QAction* act : main.menuBar()->actions()) {
        if (act->text() == title)
            return act->menu();
    }
    return nullptr;
}

// A child window that records whether it still exists.
class Probe : public QWidget {
public:
    explicit Probe(bool ready)
        : m_ready(ready) {
        setWindowTitle(QStringLiteral("窗口"));
    }
    bool ReadyData() { return m_ready; }

private:
    bool m_ready;
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void menusAndToolbar();
    void missingDatabaseIsReportedOnceAndNothingIsCreated();
    void childWindowsAreListedAndF10ClosesTheActiveOne();
    void failedPreparationDestroysTheWindowUnseen();
    void modalDialogIsReadThenDestroyed();
    void inputBoxReturnsDefaultWhenCancelled();
    void updaterMissingDoesNothing();
};

void TestMainWindow::menusAndToolbar() {
    TfrmMain main;
    QCOMPARE(main.windowTitle(), QStringLiteral("Brimsoll管理系统"));
    QStringList titles;
    for (QAction* act : main.menuBar()->actions())
        titles.append(act->text());
    QCOMPARE(titles, (QStringList{"系统(&S)", "费用统计(&C)", "基本信息(&B)", "窗口(&W)", "帮助(&H)"}));
    QCOMPARE(MenuEntries(TopMenu(main, "系统(&S)")),
             (QStringList{"备份数据库(&B)", "还原数据库(&R)", "-", "系统重建", "-", "打印设置", "-", "退出(&X)"}));
    QCOMPARE(MenuEntries(TopMenu(main, "费用统计(&C)")),
             (QStringList{"费用录入(&R)", "-", "费用明细查询(&C)", "-", "费用统计"}));
    QCOMPARE(MenuEntries(TopMenu(main, "基本信息(&B)")),
             (QStringList{"职位信息管理(&P)", "-", "部门/雇员信息管理(&E)", "费用类别管理(&C)", "-", "职位/公式定义(&F)"}));
    QCOMPARE(MenuEntries(TopMenu(main, "窗口(&W)")),
             (QStringList{"层叠平铺(&C)", "水平排列(&H)", "垂直排列(&V)", "全部最小化(&M)", "关闭活动窗口"}));
    QCOMPARE(main.action("WindowClose1")->shortcut(), QKeySequence(Qt::Key_F10));
    QCOMPARE(MenuEntries(TopMenu(main, "帮助(&H)")), (QStringList{"使用说明(&H)", "在线升级", "-", "关于(&A)..."}));

    auto* toolBar = main.findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    QVERIFY(toolBar);
    QStringList buttons;
    for (QAction* act : toolBar->actions())
        buttons.append(act->isSeparator() ? QStringLiteral("-") : act->text());
    QCOMPARE(buttons, (QStringList{"费用录入", "单据查询", "费用统计", "-", "退出"}));
    QCOMPARE(toolBar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
}

void TestMainWindow::missingDatabaseIsReportedOnceAndNothingIsCreated() {
    QTemporaryDir dir;
    SetAppPath(dir.path() + QStringLiteral("/程序 目录"));
    TDM dm;
    DM = &dm;
    {
        PromptScript prompts;
        prompts.expectMessage(QStringLiteral("未能打开数据库文件！"));
        TfrmMain main;
        QVERIFY(!main.FormCreate());
    }
    QVERIFY(!QFile::exists(AppPath() + QStringLiteral("DB/Data.MDB")));
    QVERIFY(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    DM = nullptr;
}

void TestMainWindow::childWindowsAreListedAndF10ClosesTheActiveOne() {
    TestDatabase db;
    TfrmMain main;
    QVERIFY(main.FormCreate());
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    main.action("WindowClose1")->trigger(); // no child: nothing happens

    QPointer<Probe> first = OpenChild(std::make_unique<Probe>(true), std::function<bool(Probe&)>(&Probe::ReadyData));
    QPointer<Probe> second = OpenChild(std::make_unique<Probe>(true), std::function<bool(Probe&)>(&Probe::ReadyData));
    QVERIFY(first && second);
    QCOMPARE(main.mdiArea()->subWindowList().size(), 2);

    QMenu* windows = TopMenu(main, "窗口(&W)");
    QMetaObject::invokeMethod(windows, "aboutToShow");
    const QStringList entries = MenuEntries(windows);
    QCOMPARE(entries.mid(5), (QStringList{"-", "&1 窗口", "&2 窗口"}));

    main.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
    main.action("WindowClose1")->trigger();
    QTRY_VERIFY(!first);
    QVERIFY(second);
    QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
}

void TestMainWindow::failedPreparationDestroysTheWindowUnseen() {
    QMdiArea area;
    SetChildArea(&area);
    Probe* shown = OpenChild(std::make_unique<Probe>(false), std::function<bool(Probe&)>(&Probe::ReadyData));
    QVERIFY(!shown);
    QVERIFY(area.subWindowList().isEmpty());

    int modalShown = 0;
    SetModalHandler([&](QDialog&) { return ++modalShown, int(QDialog::Accepted); });
    auto dialog = RunModal<TfrmAbout>(std::make_unique<TfrmAbout>(), [](TfrmAbout&) { return false; });
    QVERIFY(!dialog);
    QCOMPARE(modalShown, 0);
    SetModalHandler(nullptr);
    SetChildArea(nullptr);
}

void TestMainWindow::modalDialogIsReadThenDestroyed() {
    QString caption;
    QString defaultButton;
    SetModalHandler([&](QDialog& dialog) {
        auto& about = static_cast<TfrmAbout&>(dialog);
        caption = about.windowTitle();
        defaultButton = about.cmdClose()->isDefault() ? about.cmdClose()->text() : QString();
        about.cmdClose()->click();
        return about.result();
    });
    ShowAbout();
    SetModalHandler(nullptr);
    QCOMPARE(caption, QStringLiteral("关于.."));
    QCOMPARE(defaultButton, QStringLiteral("关闭(&X)"));
}

void TestMainWindow::inputBoxReturnsDefaultWhenCancelled() {
    PromptScript prompts;
    prompts.expectInput(QStringLiteral("输入新的部门分类名称"), QStringLiteral("typed"), false)
        .expectInput(QStringLiteral("输入新的部门分类名称"), QStringLiteral("typed"), true)
        .expect(PromptKind::Input, QStringLiteral("输入新的部门分类名称"));
    bool accepted = true;
    QCOMPARE(InputBox("c", QStringLiteral("输入新的部门分类名称"), "old", &accepted), QStringLiteral("old"));
    QVERIFY(!accepted);
    QCOMPARE(InputBox("c", QStringLiteral("输入新的部门分类名称"), "old", &accepted), QStringLiteral("typed"));
    QVERIFY(accepted);
    QCOMPARE(InputBox("c", QStringLiteral("输入新的部门分类名称"), "old"), QStringLiteral("old"));
}

void TestMainWindow::updaterMissingDoesNothing() {
    QTemporaryDir dir;
    SetAppPath(dir.path());
    PromptScript noPrompts;
    TfrmMain main;
    main.N24Click();
    QVERIFY(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
