#pragma once
// The department and employee window: maintains the department tree and the
// employees of each department, and serves as the department/employee picker.

#include <QDialog>
#include <memory>

class ClassTree;
class ClassTreeEditor;
class DataGrid;
class QPushButton;
class QToolButton;
class TDataSet;

struct EmployeeChoice {
    bool chosen = false;
    QString departmentCode;
    QString departmentName;
    QString employeeCode; // empty when only a department was chosen
    QString employeeName;
};

class TfrmEmployee final : public QDialog {
    Q_OBJECT
public:
    enum Mode { Maintenance = 0, Pick = 1 };

    TfrmEmployee();
    ~TfrmEmployee() override;

    void SetMode(Mode mode) { m_mode = mode; }
    bool ReadyData();
    bool ReadyList(const QString& departmentCode);

    void TreeClick();
    void TreeDblClick();
    void sbSelectClick();
    void cmdSelectClick();
    void cmdAddClientClick();
    void cmdEditClientClick();
    void cmdDeleteClientClick();
    void DBGridEh1DblClick();
    void cmdCloseClick();
    void cmdAddRootClick();
    void cndAddSonClick();
    void cmdEditClick();
    void cmdDeleteClick();

    EmployeeChoice Choice() const { return m_choice; }

    ClassTree* Tree;
    QToolButton* sbSelect;
    QToolButton* cmdAddRoot;
    QToolButton* cndAddSon;
    QToolButton* cmdEdit;
    QToolButton* cmdDelete;
    DataGrid* DBGridEh1;
    QPushButton* cmdAddClient;
    QPushButton* cmdEditClient;
    QPushButton* cmdDeleteClient;
    QPushButton* cmdClose;
    QPushButton* cmdSelect;
    TDataSet* dsQuery;

private:
    QString SelectedCode() const;

    std::unique_ptr<ClassTreeEditor> m_editor;
    Mode m_mode = Maintenance;
    EmployeeChoice m_choice;
};

void ShowEmployee();
EmployeeChoice SelectEmployee();
