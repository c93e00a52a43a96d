#pragma once
// The amount-parameter picker: builds a {COUNT ...} or {COUNTEMP ...} token
// from a department or an employee and an expense category, by mouse clicks.

#include <QDialog>

class ClassTree;
class QLineEdit;
class QPushButton;

class TfrmMoneyCount final : public QDialog {
    Q_OBJECT
public:
    TfrmMoneyCount();

    bool ReadyData();  // the expense categories
    bool ReadyData1(); // the departments with their employees
    // The token of the selected department or employee and category; empty
    // unless both trees have a selected node.
    QString GetFu() const;
    void TreeClick();
    void TreeView1Click();
    void cmdRegClick();
    void cmdCloseClick();

    // The box's text as "确认" took it; empty otherwise.
    QString Result() const { return m_result; }

    ClassTree* TreeView1;
    ClassTree* Tree;
    QLineEdit* EditCountFor;
    QPushButton* cmdReg;
    QPushButton* cmdClose;

private:
    QString m_result;
};

// The token the user built and confirmed; empty when the picker was cancelled,
// confirmed empty, or could not be opened.
QString ShowMoneyCount();
