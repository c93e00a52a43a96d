#pragma once
// The print preview window: a maximised modal dialog holding only the preview
// control, loaded from a data grid or a string grid.

#include <QDialog>

class DataGrid;
class StringGrid;
class TDataSet;
class TPPreview;

class TfrmPreview final : public QDialog {
    Q_OBJECT
public:
    TfrmPreview();

    // Loads a data grid and its open dataset (the cursor ends past the last
    // record, and the grid shows the last record as current).
    void ReadyData1(const QString& title, DataGrid* grid, TDataSet* dataSet);
    // Loads a string grid: row 0 gives the header lines, the rows below the data rows.
    void ReadyData3(const QString& title, StringGrid* grid);
    // The number of header lines of a caption: its "|" plus one.
    static int GetMaxTitleRow(const QString& caption);

    TPPreview* PPreview;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void PPreviewReturn();
};

// Previews a string grid until the user returns.
void PreviewStringGrid(const QString& title, StringGrid* grid);
// Previews a data grid's records; "无查询结果！" when its dataset is not open.
void PreviewDBGrid(const QString& title, DataGrid* grid, TDataSet* dataSet);
