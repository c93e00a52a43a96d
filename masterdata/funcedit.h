#pragma once
// The position edit dialog: adds or changes one position; proposes a code
// from the pinyin initials of the name.

#include <QDialog>

class QLineEdit;
class QPushButton;
class TDataSet;

class TfrmFuncEdit final : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFuncEdit(int id);

    bool ReadyData();
    bool SaveData();
    void EditNameExit();
    void cmdEnsureClick();
    void cmdCancelClick();

    bool Saved() const { return !m_notSaved; }

    QLineEdit* EditName;
    QLineEdit* EditCode;
    QPushButton* cmdEnsure;
    QPushButton* cmdCancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_id;
    TDataSet* dsQuery;
    bool m_notSaved = true;
};

// Adds (id -1) or changes a position; true when saved.
bool ShowFuncEdit(int id);
