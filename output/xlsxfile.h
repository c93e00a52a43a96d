#pragma once
// Writing a workbook of one sheet in which every cell is text.

#include <QString>
#include <functional>

// Writes rows × cols cells, text(row, col) each (an empty text leaves the cell
// empty), to a new .xlsx file. False with a reason when it cannot be written.
bool WriteTextWorkbook(const QString& path, const QString& sheetName, int rows, int cols,
                       const std::function<QString(int row, int col)>& text, QString* error = nullptr);
