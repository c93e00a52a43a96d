#pragma once
// The expense entry dialog: enters one expense record or changes one, and
// closes after the first successful save.

#include <QDialog>

class QComboBox;
class QDateTimeEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class TDataSet;

class TfrmBillInput final : public QDialog {
    Q_OBJECT
public:
    TfrmBillInput();
    ~TfrmBillInput() override;

    // Opens the record with this ID, or appends a new one when there is none.
    bool ReadyData(int id);
    // Checks the entry, writes it and posts it; true when it was stored.
    bool SaveData();

    void cmdRegClick();
    void cmdCloseClick();
    void sbCustTypeClick();
    void EditCustTypeDblClick();
    void sbEmpClick();
    void EditDepartDblClick();
    void EditEmpDblClick();

    bool Saved() const { return !m_notSaved; }
    // The chosen codes, kept apart from the names the boxes show.
    QString CustCode() const { return m_custCode; }
    QString DepartCode() const { return m_departCode; }
    QString EmpCode() const { return m_empCode; }

    QLineEdit* EditCustType;
    QToolButton* sbCustType;
    QLineEdit* EditContractNo;
    QComboBox* cmbComp;
    QLineEdit* EditDepart;
    QLineEdit* EditEmp;
    QToolButton* sbEmp;
    QLineEdit* EditTotal; // the amount mask; displayText() reads blanks as spaces
    QDateTimeEdit* dtOcr;
    QPlainTextEdit* EditDesp;
    QPushButton* cmdReg;
    QPushButton* cmdClose;
    TDataSet* dsQuery;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();

    QString m_custCode;
    QString m_departCode;
    QString m_empCode;
    bool m_notSaved = true;
};

// Enters a new record (ID -1) or changes the record with this ID; true when
// a record was saved.
bool ShowBillInput(int id);
