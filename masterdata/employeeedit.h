#pragma once
// The employee edit dialog: adds or changes one employee and gives a new
// employee its code.

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TDataSet;

class TfrmEmployeeEdit final : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEmployeeEdit(const QString& departmentCode);
    ~TfrmEmployeeEdit() override;

    bool ReadyData(int id);
    bool SaveData();
    void cmdRegClick();
    void cmdCloseClick();

    bool Saved() const { return !m_notSaved; }

    QLineEdit* EditTrueName;
    QComboBox* cmbSex;
    QLineEdit* EditTelePhone;
    QLineEdit* EditMobileCode;
    QLineEdit* EditEMail;
    QLineEdit* EditAddress;
    QLineEdit* EditPostCode;
    QPlainTextEdit* EditMemo;
    QComboBox* cmbFuncName;
    QPushButton* cmdReg;
    QPushButton* cmdClose;
    QComboBox* cmbZZStu;

private:
    QString m_departmentCode;
    QString m_existingCode;
    QStringList ListFuncCode;
    TDataSet* dsQuery;
    bool m_notSaved = true;
};

// Adds (id -1) or changes an employee of the department; true when saved.
bool ShowEmployeeEdit(const QString& departmentCode, int id);
