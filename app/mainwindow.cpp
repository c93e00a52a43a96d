#include "app/mainwindow.h"

#include "app/about.h"
#include "app/appearance.h"
#include "app/backup.h"
#include "app/datamodule.h"
#include "app/helpers.h"
#include "app/openwindow.h"
#include "app/processprinter.h"
#include "app/prompts.h"
#include "app/rebuild.h"
#include "bills/billinput.h"
#include "bills/billquery.h"
#include "formula/formuladgn.h"
#include "masterdata/custdef.h"
#include "masterdata/employee.h"
#include "masterdata/func.h"
#include "stats/custcount.h"

#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPrintDialog>
#include <QToolBar>

TfrmMain::TfrmMain()
    : m_mdiArea(new QMdiArea(this)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Brimsoll管理系统"));
    setWindowIcon(AppIcon());
    m_mdiArea->setObjectName(QStringLiteral("MDIClient"));
    m_mdiArea->setBackground(QColor(0xdf, 0xe5, 0xec));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    buildMenus();
    buildToolBar();
    SetChildArea(m_mdiArea);
}

TfrmMain::~TfrmMain() {
    if (ChildArea() == m_mdiArea)
        SetChildArea(nullptr);
}

bool TfrmMain::FormCreate() {
    if (!DM || !DM->Connect(AppPath() + QStringLiteral("DB/Data.MDB"))) {
        ShowMessage(QStringLiteral("未能打开数据库文件！"));
        return false;
    }
    return true;
}

QAction* TfrmMain::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

QAction* TfrmMain::addCommand(QMenu* menu, const QString& objectName, const QString& caption) {
    auto* act = new QAction(caption, this);
    act->setObjectName(objectName);
    menu->addAction(act);
    return act;
}

void TfrmMain::buildMenus() {
    QMenuBar* bar = menuBar();

    QMenu* system = bar->addMenu(QStringLiteral("系统(&S)"));
    system->setObjectName(QStringLiteral("N1"));
    connect(addCommand(system, QStringLiteral("N2"), QStringLiteral("备份数据库(&B)")), &QAction::triggered,
            this, &TfrmMain::N2Click);
    connect(addCommand(system, QStringLiteral("R1"), QStringLiteral("还原数据库(&R)")), &QAction::triggered,
            this, &TfrmMain::R1Click);
    system->addSeparator();
    connect(addCommand(system, QStringLiteral("N23"), QStringLiteral("系统重建")), &QAction::triggered, this,
            &TfrmMain::N23Click);
    system->addSeparator();
    connect(addCommand(system, QStringLiteral("N18"), QStringLiteral("打印设置")), &QAction::triggered, this,
            &TfrmMain::N18Click);
    system->addSeparator();
    connect(addCommand(system, QStringLiteral("X1"), QStringLiteral("退出(&X)")), &QAction::triggered, this,
            &TfrmMain::X1Click);

    QMenu* expenses = bar->addMenu(QStringLiteral("费用统计(&C)"));
    expenses->setObjectName(QStringLiteral("N7"));
    connect(addCommand(expenses, QStringLiteral("N10"), QStringLiteral("费用录入(&R)")), &QAction::triggered, this,
            &TfrmMain::N10Click);
    expenses->addSeparator();
    connect(addCommand(expenses, QStringLiteral("N12"), QStringLiteral("费用明细查询(&C)")), &QAction::triggered,
            this, &TfrmMain::N12Click);
    expenses->addSeparator();
    connect(addCommand(expenses, QStringLiteral("N14"), QStringLiteral("费用统计")), &QAction::triggered, this,
            &TfrmMain::N14Click);

    QMenu* basic = bar->addMenu(QStringLiteral("基本信息(&B)"));
    basic->setObjectName(QStringLiteral("N3"));
    connect(addCommand(basic, QStringLiteral("N6"), QStringLiteral("职位信息管理(&P)")), &QAction::triggered,
            this, &TfrmMain::N6Click);
    basic->addSeparator();
    connect(addCommand(basic, QStringLiteral("N4"), QStringLiteral("部门/雇员信息管理(&E)")),
            &QAction::triggered, this, &TfrmMain::N4Click);
    connect(addCommand(basic, QStringLiteral("N5"), QStringLiteral("费用类别管理(&C)")), &QAction::triggered,
            this, &TfrmMain::N5Click);
    basic->addSeparator();
    connect(addCommand(basic, QStringLiteral("N9"), QStringLiteral("职位/公式定义(&F)")), &QAction::triggered,
            this, &TfrmMain::N9Click);

    m_windowMenu = bar->addMenu(QStringLiteral("窗口(&W)"));
    m_windowMenu->setObjectName(QStringLiteral("N15"));
    auto arrange = [this](const QString& name, const QString& caption, auto&& handler) {
        QAction* act = addCommand(m_windowMenu, name, caption);
        connect(act, &QAction::triggered, this, handler);
        m_arrangeActions.append(act);
        return act;
    };
    arrange(QStringLiteral("WindowCascade1"), QStringLiteral("层叠平铺(&C)"),
            [this] { m_mdiArea->cascadeSubWindows(); });
    arrange(QStringLiteral("WindowTileHorizontal1"), QStringLiteral("水平排列(&H)"),
            [this] { tileChildren(Qt::Vertical); });
    arrange(QStringLiteral("WindowTileVertical1"), QStringLiteral("垂直排列(&V)"),
            [this] { tileChildren(Qt::Horizontal); });
    arrange(QStringLiteral("WindowMinimizeAll1"), QStringLiteral("全部最小化(&M)"), [this] {
        for (QMdiSubWindow* sub : m_mdiArea->subWindowList())
            sub->showMinimized();
    });
    arrange(QStringLiteral("WindowClose1"), QStringLiteral("关闭活动窗口"), [this] {
        m_mdiArea->closeActiveSubWindow();
    })->setShortcut(QKeySequence(Qt::Key_F10));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &TfrmMain::fillWindowMenu);
    fillWindowMenu();

    QMenu* help = bar->addMenu(QStringLiteral("帮助(&H)"));
    help->setObjectName(QStringLiteral("N16"));
    connect(addCommand(help, QStringLiteral("N19"), QStringLiteral("使用说明(&H)")), &QAction::triggered,
            this, &TfrmMain::N19Click);
    connect(addCommand(help, QStringLiteral("N24"), QStringLiteral("在线升级")), &QAction::triggered, this,
            &TfrmMain::N24Click);
    help->addSeparator();
    connect(addCommand(help, QStringLiteral("N21"), QStringLiteral("关于(&A)...")), &QAction::triggered, this,
            &TfrmMain::N21Click);
}

void TfrmMain::buildToolBar() {
    m_toolBar = addToolBar(QStringLiteral("ToolBar1"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setIconSize(QSize(32, 32));
    auto button = [this](const QString& name, const QString& caption, const QString& glyph,
                         const QColor& colour) {
        auto* act = new QAction(GlyphIcon(glyph, colour), caption, this);
        act->setObjectName(name);
        m_toolBar->addAction(act);
        return act;
    };
    // Each toolbar button does what its menu item does (and is available when it is).
    connect(button(QStringLiteral("ToolButton2"), QStringLiteral("费用录入"), QStringLiteral("录"),
                   QColor(0x2f, 0x8f, 0x5b)),
            &QAction::triggered, this, &TfrmMain::ToolButton2Click);
    connect(button(QStringLiteral("ToolButton4"), QStringLiteral("单据查询"), QStringLiteral("查"),
                   QColor(0x2f, 0x6f, 0xa8)),
            &QAction::triggered, this, &TfrmMain::ToolButton4Click);
    connect(button(QStringLiteral("ToolButton3"), QStringLiteral("费用统计"), QStringLiteral("统"),
                   QColor(0xb0, 0x6a, 0x1f)),
            &QAction::triggered, this, &TfrmMain::ToolButton3Click);
    m_toolBar->addSeparator();
    connect(button(QStringLiteral("tbClose"), QStringLiteral("退出"), QStringLiteral("退"),
                   QColor(0x9b, 0x3b, 0x3b)),
            &QAction::triggered, this, &TfrmMain::tbCloseClick);
}

void TfrmMain::fillWindowMenu() {
    // The arrangement actions, then one entry per open child window.
    for (QAction* act : m_windowMenu->actions()) {
        if (!m_arrangeActions.contains(act)) {
            m_windowMenu->removeAction(act);
            if (act->parent() == m_windowMenu)
                act->deleteLater();
        }
    }
    const QList<QMdiSubWindow*> children = m_mdiArea->subWindowList();
    for (QAction* act : m_arrangeActions)
        act->setEnabled(!children.isEmpty());
    if (children.isEmpty())
        return;
    m_windowMenu->addSeparator();
    auto* group = new QActionGroup(m_windowMenu);
    int number = 1;
    for (QMdiSubWindow* sub : children) {
        auto* act = new QAction(QStringLiteral("&%1 %2").arg(number++).arg(sub->windowTitle()), m_windowMenu);
        act->setCheckable(true);
        act->setChecked(sub == m_mdiArea->activeSubWindow());
        act->setActionGroup(group);
        connect(act, &QAction::triggered, this, [this, sub] { m_mdiArea->setActiveSubWindow(sub); });
        m_windowMenu->addAction(act);
    }
}

void TfrmMain::tileChildren(Qt::Orientation stacking) {
    QList<QMdiSubWindow*> children;
    for (QMdiSubWindow* sub : m_mdiArea->subWindowList()) {
        if (!sub->isMinimized())
            children.append(sub);
    }
    if (children.isEmpty())
        return;
    const QRect area = m_mdiArea->viewport()->rect();
    const int count = int(children.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* sub = children[i];
        sub->showNormal();
        if (stacking == Qt::Vertical) { // strips one above the other
            const int h = area.height() / count;
            sub->setGeometry(0, i * h, area.width(), i == count - 1 ? area.height() - i * h : h);
        } else { // columns side by side
            const int w = area.width() / count;
            sub->setGeometry(i * w, 0, i == count - 1 ? area.width() - i * w : w, area.height());
        }
    }
}

void TfrmMain::X1Click() {
    close();
}

void TfrmMain::tbCloseClick() {
    X1Click();
}

void TfrmMain::N2Click() {
    const QString file = AskSaveFileName(QStringLiteral("备份文件"), BackupFolder(), BackupFileFilter(),
                                         ProposedBackupFile(QDate::currentDate()), BackupFileSuffix());
    if (file.isEmpty())
        return;
    if (BackupDatabase(*DM, WithBackupExtension(file)))
        ShowMessage(QStringLiteral("备份数据成功！"));
    else
        ShowMessage(QStringLiteral("确认目标位置可读写！"));
}

void TfrmMain::R1Click() {
    ShowWarningMessage(QStringLiteral("警告：还原数据库将会把当前设置状况下的数据覆盖，且不可恢复！\n"
                                      "建议在还原之前先备份数据库！\n请谨慎使用本功能！"));
    const QString file =
        AskOpenFileName(QStringLiteral("选择文件还原数据库"), BackupFolder(), BackupFileFilter());
    if (file.isEmpty())
        return;
    // Only a database of this system replaces the current one; otherwise the
    // current one stays as it was, and open.
    if (RestoreDatabase(*DM, file))
        ShowMessage(QStringLiteral("数据库还原成功！"));
    else
        ShowMessage(QStringLiteral("还原数据文件发生错误！"));
}

void TfrmMain::N23Click() {
    ShowReBulid();
}

void TfrmMain::N18Click() {
    QPrintDialog dialog(&ProcessPrinter(), this);
    dialog.setWindowTitle(QStringLiteral("打印设置"));
    ExecModal(dialog);
}

void TfrmMain::N19Click() {
    OpenWithBrowser(AppPath() + QStringLiteral("help/help.htm"));
}

void TfrmMain::N24Click() {
    ShellRun(AppPath() + QStringLiteral("Renovo"), QString());
}

void TfrmMain::N21Click() {
    ShowAbout();
}

void TfrmMain::N10Click() { ShowBillInput(-1); }

void TfrmMain::ToolButton2Click() { N10Click(); }

void TfrmMain::N12Click() { ShowBillQuery(); }

void TfrmMain::ToolButton4Click() { N12Click(); }

void TfrmMain::N14Click() { ShowCustCount(); }

void TfrmMain::ToolButton3Click() { N14Click(); }

void TfrmMain::N6Click() {
    ShowFunc();
}

void TfrmMain::N4Click() {
    ShowEmployee();
}

void TfrmMain::N5Click() {
    ShowCustDef();
}

void TfrmMain::N9Click() {
    ShowFormulaDgn();
}
