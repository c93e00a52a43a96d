#pragma once
// Sending a data grid or a string grid to a spreadsheet (see sheetexport.h):
// the workbook is written and opened with the desktop's default application.

#include <QString>

class DataGrid;
class StringGrid;
class QWidget;

// Exports the records of the grid's dataset under title (A1 and the
// workbook's title). "查询过程没有执行，没有数据库可以发送！" when the dataset
// is not open. Afterwards the grid shows the last record as current. The file
// is named after title or, when it is empty, the caption of the grid's window.
void SendToExcel(const QString& title, DataGrid* grid);

// Exports a string grid with sheetTitle in A1; caption is the workbook's title.
void SendStringGridToExcel(const QString& sheetTitle, StringGrid* grid, const QString& caption);

// The caption of the window a widget sits in (a child window of the main
// window counts as a window).
QString WindowCaption(const QWidget* widget);
