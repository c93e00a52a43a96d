#pragma once
// The expense category window: maintains the category tree and serves as the
// category picker.

#include "classes/selectclass.h"

#include <QDialog>
#include <memory>

class ClassTree;
class ClassTreeEditor;
class QToolButton;

class TfrmCustDef final : public QDialog {
    Q_OBJECT
public:
    enum Mode { Maintenance = 0, Pick = 1 };

    TfrmCustDef();
    ~TfrmCustDef() override;

    void SetMode(Mode mode) { m_mode = mode; }
    bool ReadyData();

    void cmdAddRootClick();
    void cndAddSonClick();
    void cmdEditClick();
    void cmdDeleteClick();
    void sbSelectClick();
    void TreeDblClick();
    void SpeedButton1Click();

    ClassChoice Choice() const { return {!m_notChosen, m_chosenCode, m_chosenName}; }

    ClassTree* Tree;
    QToolButton* cmdAddRoot;
    QToolButton* cndAddSon;
    QToolButton* cmdEdit;
    QToolButton* cmdDelete;
    QToolButton* SpeedButton1;
    QToolButton* sbSelect;

private:
    std::unique_ptr<ClassTreeEditor> m_editor;
    Mode m_mode = Maintenance;
    bool m_notChosen = true;
    QString m_chosenCode;
    QString m_chosenName;
};

void ShowCustDef();
ClassChoice SelectCustType();
