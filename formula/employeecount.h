#pragma once
// The headcount-parameter picker: builds a {SUM_D ...} token from a click on a
// department or a {SUM_F ...} token from a click on the positions.

#include <QDialog>

class ClassTree;
class DataGrid;
class QLineEdit;
class QPushButton;
class TDataSet;

class TfrmEmployeeCount final : public QDialog {
    Q_OBJECT
public:
    TfrmEmployeeCount();

    bool ReadyData(); // the departments, in two levels
    bool ReadyFunc(); // the positions
    void TreeClick();
    void DBGridEh1MouseUp();
    void cmdRegClick();
    void cmdCloseClick();

    // The box's text as "确认" took it; empty otherwise.
    QString Result() const { return m_result; }

    ClassTree* Tree;
    DataGrid* DBGridEh1;
    TDataSet* dsQuery;
    QLineEdit* EditCountFor;
    QPushButton* cmdReg;
    QPushButton* cmdClose;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_result;
};

// The token the user built and confirmed; empty when the picker was cancelled,
// confirmed empty, or could not be opened.
QString ShowEmployeeCount();
