#pragma once
// The about box: product name, version and picture.

#include <QDialog>

class QPushButton;

class TfrmAbout final : public QDialog {
    Q_OBJECT
public:
    TfrmAbout();
    QPushButton* cmdClose() const { return m_cmdClose; }

private:
    QPushButton* m_cmdClose;
};

void ShowAbout();
