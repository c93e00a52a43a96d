#pragma once
// Reads the cells of the first sheet of an .xlsx workbook back, through unzip.

#include <QMap>
#include <QString>

struct SheetCells {
    bool ok = false;
    QString error;
    QMap<QString, QString> cells; // "A1" → text; only cells that hold something

    QString at(const QString& ref) const { return cells.value(ref); }
    // The cells of one row (from 1), "A" → text.
    QMap<QString, QString> row(int row) const;
};

// The text of one member of a zip file ("xl/worksheets/sheet1.xml").
QString ZipMember(const QString& zip, const QString& member);

SheetCells ReadFirstSheet(const QString& path);
