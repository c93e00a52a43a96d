#pragma once
// Writing a workbook of one sheet in which every cell is text.

#include <QString>
#include <functional>

// What a workbook of one text sheet holds.
struct TextWorkbook {
    // The workbook's title property; spreadsheet applications show it as the
    // window caption. Empty: none.
    QString documentTitle;
    // The sheet's name; empty leaves the application's default name.
    QString sheetName;
    int rows = 0;
    int cols = 0;
    // The text of cell (row, col), both from 0; an empty text leaves the cell empty.
    std::function<QString(int row, int col)> text;
};

// Writes the workbook to a new .xlsx file. False with a reason when it cannot
// be written.
bool WriteTextWorkbook(const QString& path, const TextWorkbook& book, QString* error = nullptr);

// Writes rows × cols cells, text(row, col) each (an empty text leaves the cell
// empty), to a new .xlsx file. False with a reason when it cannot be written.
bool WriteTextWorkbook(const QString& path, const QString& sheetName, int rows, int cols,
                       const std::function<QString(int row, int col)>& text, QString* error = nullptr);
