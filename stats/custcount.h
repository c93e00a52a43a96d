#pragma once
// The statistics window: the base expense table of a period and, on the second
// page, the allocation table.

#include "stats/stattable.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QDateEdit;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTabWidget;
class StringGrid;

class TfrmCustCount final : public QWidget {
    Q_OBJECT
public:
    TfrmCustCount();

    // Lays the grid out from the database and fills it: the base fill for
    // Grid, the allocation for GridCalc.
    bool ReadyfixCount(StringGrid* grid);
    void Button1Click();
    void cmdRegClick();
    void cmdCloseClick();
    // Send a table to a spreadsheet, or preview and print it.
    void Excel1Click();    // the base table
    void MenuItem1Click(); // the allocation table
    void Button6Click();
    void N2Click(); // the base table
    void Button5Click();
    void N1Click(); // the allocation table

    bool Filling() const { return m_filling; }

    QTabWidget* PageControl1;
    StringGrid* Grid;
    StringGrid* GridCalc;
    QDateEdit* dtStart;
    QDateEdit* dtend;
    QCheckBox* chkIncludeSub;
    QPushButton* Button1;
    QPushButton* Button4;
    QPushButton* Button6;
    QPushButton* cmdReg;
    QPushButton* cmdClose;
    QProgressBar* ProgressBar1;
    QPushButton* Button2;
    QPushButton* Button5;
    QPushButton* Button3;
    QProgressBar* ProgressBar2;
    QMenu* PopupMenu1;
    QMenu* PopupMenu2;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void SetFilling(bool filling);
    bool RunFill(StringGrid* grid, QProgressBar* progress,
                 const std::function<bool(StatTable&, const std::function<bool(int)>&)>& fill);

    StatTable m_base; // the base table as laid out and filled last
    bool m_filling = false;
    bool m_stop = false;
    bool m_closePending = false;
};

// Opens a new statistics window with the base table of the previous month.
bool ShowCustCount();
