#pragma once
// The department picker: a two-level department tree from which one node
// without children is chosen.

#include <QDialog>

class ClassTree;
class QPushButton;

struct ClassChoice {
    bool chosen = false;
    QString code;
    QString name;
};

class TfrmSelectClass final : public QDialog {
    Q_OBJECT
public:
    TfrmSelectClass();

    bool ReadyData();
    void cmdSelectClick();
    void cmdCloseClick();

    ClassChoice Choice() const { return {!m_notChosen, m_chosenCode, m_chosenName}; }

    ClassTree* Tree;
    QPushButton* cmdSelect;
    QPushButton* cmdClose;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_notChosen = true;
    QString m_chosenCode;
    QString m_chosenName;
};

ClassChoice ShowSelectClass();
