#pragma once
// The formula design window: for a chosen position and expense category it
// shows the allocation formula and opens the formula editor to change it.

#include <QWidget>

class ClassTree;
class DataGrid;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class TDataSet;

class TfrmFormulaDgn final : public QWidget {
    Q_OBJECT
public:
    TfrmFormulaDgn();

    bool ReadyData(); // the positions
    bool ReadyTree(); // the expense categories
    // Shows the formula of the current position and the selected category;
    // without either the display keeps what it shows.
    void Readyformula();
    void cmdRegClick();
    void cmdCloseClick();
    void TreeClick();
    void dsQueryAfterScroll();

    // The formula group's caption as the user reads it.
    QString FormulaCaption() const { return m_caption; }

    DataGrid* DBGridEh1;
    ClassTree* Tree;
    QGroupBox* GroupF;
    QPlainTextEdit* EditFormula;
    QPushButton* cmdReg;
    QPushButton* cmdClose;
    TDataSet* dsQuery;
    TDataSet* dstemp;

private:
    void SetCaption(const QString& caption);
    bool HasPositions() const;

    QString m_caption;
};

// Opens a new formula design window in the main window; false when the
// positions or the categories cannot be read.
bool ShowFormulaDgn();
