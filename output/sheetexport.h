#pragma once
// Sending a table on screen to a spreadsheet. The sheet is laid out as text
// cells, written into a new .xlsx workbook in a temporary folder and opened
// with the desktop's default application for workbooks.
//
// Two sources: the rows of a data grid's dataset (title in A1, the captions of
// the visible columns in row 2, one row per record from row 3) and a string
// grid (title in A1, row 2 empty, grid rows 1… from row 3, never the code row 0
// or the code column 0). Every value is written as text.

#include "widgets/datagridcolumn.h"

#include <QDateTime>
#include <QStringList>
#include <QVector>
#include <functional>

class StringGridModel;
class TDataSet;

// A sheet of texts: rows[r][c] is the cell in sheet row r + 1, column c + 1;
// an empty text leaves the cell empty.
struct TextSheet {
    QVector<QStringList> rows;

    int columnCount() const;
    QString cell(int row, int col) const;
};

// The text a data-grid column puts into the sheet for a record's plain text,
// or nothing (false) when the column's key list has no entry for it: the pick
// text for a key, the text followed by " \r" in a column bound to "WorkSn",
// else the text itself.
bool SheetCellText(const DataGridColumn& column, const QString& plain, QString* text);

// The sheet of a data grid's open dataset. Walks the records from the first;
// the dataset is left standing past its last record.
TextSheet DataSetSheet(const QString& title, const QVector<DataGridColumn>& columns, TDataSet& dataSet);

// The sheet of a string grid: rows 1 to RowCount - 1, columns 1 to
// ColCount - 1 whose width is positive, packed.
TextSheet StringGridSheet(const QString& title, const StringGridModel& grid);

// A new workbook's file in folder: the name (characters a file name cannot
// hold replaced by "_"), "_", the time as yyyyMMdd_HHmmss, ".xlsx"; a number
// in brackets follows the time when that file exists already.
QString ExportFileName(const QString& folder, const QString& name, const QDateTime& time);

// The folder the workbooks go to: "Brimsoll" below the system's temporary folder.
QString ExportFolder();

// Opens a written workbook; true when an application took it. The desktop's
// default application unless tests replace it; an empty opener restores that.
using WorkbookOpener = std::function<bool(const QString& path)>;
void SetWorkbookOpener(WorkbookOpener opener);

// Writes the sheet into a new workbook in ExportFolder() named after name,
// with caption as its title, and opens it. When the workbook cannot be written
// shows "系统不能连接到Excel,请确认Excel是否安装！" and returns an empty text;
// when no application opens it shows that message followed by the file's
// place. Returns the workbook's path.
QString SendSheet(const TextSheet& sheet, const QString& name, const QString& caption);

// The data-grid export: when the dataset is not open shows
// "查询过程没有执行，没有数据库可以发送！" and writes nothing; otherwise lays
// the sheet out (moving the cursor past the last record) and sends it with
// title as its caption, named after title or, when that is empty, fileName.
QString SendDataSetToExcel(const QString& title, const QVector<DataGridColumn>& columns, TDataSet* dataSet,
                           const QString& fileName);
