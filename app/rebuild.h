#pragma once
// The rebuild dialog: deletes the business data, and on request the basic
// information, so a system can start afresh after trial use.

#include "app/dataset.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;

class TfrmReBulid final : public QDialog {
    Q_OBJECT
public:
    TfrmReBulid();

    QCheckBox* cmkYW() const { return m_cmkYW; }
    QCheckBox* chkJB() const { return m_chkJB; }
    QPushButton* cmdSH() const { return m_cmdSH; }
    QPushButton* cmdCancel() const { return m_cmdCancel; }
    const QStringList& ListSQL() const { return m_ListSQL; }

    // Runs the statements of ListSQL that apply; the basic information is
    // deleted only when basic is set. False (after telling the user which
    // tables were not cleared) when a statement failed.
    bool ExecAllSQL(bool basic);

public Q_SLOTS:
    void cmdSHClick();
    void cmdCancelClick();
    void chkJBClick();
    void cmkYWClick();

private:
    QGroupBox* m_GroupBox1;
    QPlainTextEdit* m_Memo1;
    QCheckBox* m_cmkYW;
    QCheckBox* m_chkJB;
    QPushButton* m_cmdSH;
    QPushButton* m_cmdCancel;
    TCommand m_ADOCommand1;
    QStringList m_ListSQL;
};

void ShowReBulid();
