#pragma once
// The positions list: add, change and delete positions.

#include <QDialog>

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

// Opens the positions list; false (without a message) when it cannot be read.
bool ShowFunc();
