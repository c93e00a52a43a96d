#pragma once
// The formula editor: the formula of one pair of position and expense category
// as free text, with buttons inserting operators, parentheses and the tokens
// built by the parameter pickers.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class TDataSet;

class TfrmFormulaEdit final : public QDialog {
    Q_OBJECT
public:
    TfrmFormulaEdit(const QString& funcCode, const QString& custTypeCode);

    // Reads the pair's row, or starts a new one; false after telling the user.
    bool ReadyData();

    void cmdRegClick();
    void cmdCloseClick();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();

    QPlainTextEdit* EditMormula;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton3;
    QToolButton* SpeedButton4;
    QToolButton* SpeedButton5;
    QToolButton* SpeedButton6;
    QLineEdit* EditTmp;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* cmdReg;
    QPushButton* cmdClose;
    QLabel* Label1;
    TDataSet* dsQuery;

private:
    // Puts text into the memo through the clipboard: it replaces the selection
    // or goes in at the caret; an empty text inserts nothing.
    void InsertText(const QString& text);

    QString m_funcCode;
    QString m_custTypeCode;
};

// Edits the formula of a pair; the dialog's caption is "修改" + title. True
// whenever the editor was shown, saved or not; false when the pair's row could
// not be read.
bool ShowFormulaEdit(const QString& FuncCode, const QString& CustTypeCode, const QString& Title);
