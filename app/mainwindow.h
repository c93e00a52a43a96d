#pragma once
// The main window: a multiple-document frame with the program's menus and
// toolbar. Every command opens its window through that window's open routine.

#include <QMainWindow>

class QAction;
class QMdiArea;
class QMenu;
class QToolBar;

class TfrmMain final : public QMainWindow {
    Q_OBJECT
public:
    TfrmMain();
    ~TfrmMain() override;

    // Sets the program directory and opens the database; false (after telling
    // the user) when the database cannot be opened.
    bool FormCreate();

    QMdiArea* mdiArea() const { return m_mdiArea; }
    QAction* action(const QString& objectName) const;

public Q_SLOTS:
    void X1Click();         // 退出
    void tbCloseClick();    // toolbar 退出
    void N2Click();         // 备份数据库
    void R1Click();         // 还原数据库
    void N23Click();        // 系统重建
    void N18Click();        // 打印设置
    void N19Click();        // 使用说明
    void N24Click();        // 在线升级
    void N21Click();        // 关于
    void N6Click();         // 职位信息管理
    void N4Click();         // 部门/雇员信息管理
    void N5Click();         // 费用类别管理
    void N9Click();         // 职位/公式定义
    void N10Click();        // 费用录入
    void ToolButton2Click(); // toolbar 费用录入
    void N12Click();        // 费用明细查询
    void ToolButton4Click(); // toolbar 单据查询
    void N14Click();        // 费用统计
    void ToolButton3Click(); // toolbar 费用统计

private:
    QAction* addCommand(QMenu* menu, const QString& objectName, const QString& caption);
    void buildMenus();
    void buildToolBar();
    void fillWindowMenu();
    void tileChildren(Qt::Orientation stacking);

    QMdiArea* m_mdiArea;
    QMenu* m_windowMenu = nullptr;
    QToolBar* m_toolBar = nullptr;
    QList<QAction*> m_arrangeActions;
};
