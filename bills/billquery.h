#pragma once
// The expense query window: the expense records of a period, newest first,
// filtered by department, employee, category, contract number and
// counterparty; records are added, changed and deleted from it.

#include <QWidget>

class DataGrid;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QToolButton;
class TDataSet;

class TfrmBillQuery final : public QWidget {
    Q_OBJECT
public:
    TfrmBillQuery();
    ~TfrmBillQuery() override;

    // Runs the query for the period with the filter clauses; false (after
    // telling the user) when the statement fails, leaving the list empty.
    bool ReadyData(const QString& filter);

    void cmdQueryClick();
    void Button1Click(); // 新增
    void cmdRegClick();  // 修改, double-click on a row
    void Button2Click(); // 删除
    void Button3Click(); // 发送到Excel
    void Button4Click(); // 打印
    void cmdCloseClick();
    void DBGridEh1TitleClick(int column);
    void SpeedButton1Click(); // employee picker
    void SpeedButton2Click(); // department picker
    void SpeedButton3Click(); // category picker

    QDateEdit* dtStart;
    QDateEdit* dtEnd;
    QLineEdit* EditClass;
    QToolButton* SpeedButton2;
    QLineEdit* EditEmp;
    QToolButton* SpeedButton1;
    QLineEdit* EditCustType;
    QToolButton* SpeedButton3;
    QLineEdit* EditContractNo;
    QLineEdit* EditProvider;
    QPushButton* cmdQuery;
    // The list and its rows; the spreadsheet export and the print preview read them.
    DataGrid* DBGridEh1;
    TDataSet* dsQuery;
    QPushButton* Button3; // 发送到Excel
    QPushButton* Button4; // 打印
    QPushButton* Button1;
    QPushButton* cmdReg;
    QPushButton* Button2;
    QPushButton* cmdClose;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    bool HasRows() const;
};

// Opens a new query window on the last 91 days; false when its first query failed.
bool ShowBillQuery();
