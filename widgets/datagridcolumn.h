#pragma once
// How a data grid shows one field of its dataset: the column description and
// the rules that turn a stored value into the text a user sees. The grid, the
// spreadsheet export and the print preview all read the same description, so
// a column looks the same on screen, in a workbook and on paper.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <Qt>

class TDataSet;

// The footer cell under a column.
struct DataGridFooter {
    enum class Kind {
        None,       // an empty cell
        StaticText, // the text in value
        Count,      // the number of loaded rows
        Sum,        // the sum of a field over the loaded rows
    };
    Kind kind = Kind::None;
    QString value;         // StaticText: the text shown
    QString fieldName;     // Sum: the field added up; the column's own field when empty
    QString displayFormat; // Count and Sum: a number format such as "0条" or "0.00"
    Qt::Alignment alignment = Qt::AlignCenter;
};

struct DataGridColumn {
    QString fieldName;
    QString title;
    bool visible = true;
    int width = 80; // pixels
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    // "yyyy-MM-dd" and the like for date-time values (stored as text
    // "yyyy-MM-dd HH:mm:ss"); a number format such as "0.00" for numbers.
    QString displayFormat;
    // A stored value equal to keyList[i] is shown as pickList[i] (Sex: "0", "1" → "男", "女").
    QStringList keyList;
    QStringList pickList;
    DataGridFooter footer;

    // Position of the first key equal to text (exact, case-sensitive) that has a
    // pick-list entry; -1 when there is none.
    int keyIndex(const QString& text) const;
    // The pick-list entry standing for the value's text; empty when no key
    // matches. This is the key-list rule of the screen and of the export
    // (pickText(PlainText(value))); the print preview keeps the formatted
    // value where keyIndex() finds no key.
    QString pickText(const QString& text) const;
};

// A stored value as plain text (NULL reads as empty text), as a dataset's
// asString gives it.
QString PlainText(const QVariant& value);

// A value under a display format: a number format (one containing 0 or #: literal
// text around a digit pattern with an optional decimal part; two decimals are
// written as FormatMoney writes them) for numbers and numeric text, otherwise a
// date-time format for values that read as a date. A value the format does not
// apply to, and every value under an empty format, is shown as plain text.
QString FormatValue(const QVariant& value, const QString& displayFormat);

// A number under a number format (see FormatValue); an empty format gives the
// shortest exact decimal text.
QString FormatNumber(long double value, const QString& displayFormat);

// The text a column shows for a value: through the key list when the column
// has one (empty when no key matches), else under the display format.
QString ColumnText(const DataGridColumn& column, const QVariant& value);

// The footer text of a column over the rows of a dataset: the static text, the
// formatted row count or the formatted sum. Count and sum are empty while there
// is no open dataset or it lacks the summed field.
QString FooterText(const DataGridColumn& column, const TDataSet* dataSet);
