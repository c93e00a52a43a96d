#pragma once
// The positions list: add, change and delete positions.

#include "widgets/datagridcolumn.h"

#include <QDialog>
#include <QVector>

class DataGrid;
class QPushButton;
class TDataSet;

class TfrmFunc final : public QDialog {
    Q_OBJECT
public:
    TfrmFunc();

    bool ReadyData();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void DBGridEh1DblClick();

    DataGrid* DBGridEh1;
    TDataSet* dsQuery;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
};

// The columns of every positions grid: ID (hidden), FuncCode "职位编码", FuncName "职位名称".
QVector<DataGridColumn> PositionColumns();

// Opens the positions list; false (without a message) when it cannot be read.
bool ShowFunc();
