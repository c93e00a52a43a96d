#include "widgets/datagridcolumn.h"

#include "app/dataset.h"
#include "app/helpers.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>

namespace {

bool IsDigitMark(QChar c) {
    return c == u'0' || c == u'#';
}

// The value as a number: integers and reals as they are, text when it reads as
// a number; false for NULL and for other text.
bool ToNumber(const QVariant& value, long double& number) {
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
        number = static_cast<long double>(value.toLongLong());
        return true;
    case QMetaType::Double:
        number = value.toDouble();
        return true;
    default:
        break;
    }
    if (!value.isValid())
        return false;
    bool ok = false;
    const double parsed = QLocale::c().toDouble(value.toString().trimmed(), &ok);
    number = parsed;
    return ok;
}

} // namespace

int DataGridColumn::keyIndex(const QString& text) const {
    const int index = IndexOfText(keyList, text, false);
    return index < pickList.size() ? index : -1;
}

QString DataGridColumn::pickText(const QString& text) const {
    const int index = keyIndex(text);
    return index < 0 ? QString() : pickList[index];
}

QString PlainText(const QVariant& value) {
    return value.isValid() ? value.toString() : QString();
}

QString FormatNumber(long double value, const QString& displayFormat) {
    const auto first = std::find_if(displayFormat.begin(), displayFormat.end(), IsDigitMark);
    if (first == displayFormat.end())
        return QLocale::c().toString(double(value), 'g', QLocale::FloatingPointShortest);
    const qsizetype begin = first - displayFormat.begin();
    qsizetype end = begin;
    for (qsizetype i = begin; i < displayFormat.size(); ++i) {
        if (IsDigitMark(displayFormat[i]))
            end = i + 1;
        else if (displayFormat[i] != u'.')
            break;
    }
    const QStringView pattern = QStringView(displayFormat).mid(begin, end - begin);
    const qsizetype point = pattern.indexOf(u'.');
    const int decimals =
        point < 0 ? 0 : int(std::count_if(pattern.begin() + point, pattern.end(), IsDigitMark));

    QString digits;
    if (decimals == 2) {
        digits = FormatMoney(value);
    } else {
        digits = QLocale::c().toString(double(value), 'f', decimals);
        if (digits.startsWith(u'-') && QLocale::c().toDouble(digits) == 0)
            digits.remove(0, 1); // a value that rounds to zero carries no sign
    }
    return displayFormat.left(begin) + digits + displayFormat.mid(end);
}

QString FormatValue(const QVariant& value, const QString& displayFormat) {
    const QString plain = PlainText(value);
    if (displayFormat.isEmpty() || !value.isValid())
        return plain;
    if (std::any_of(displayFormat.begin(), displayFormat.end(), IsDigitMark)) {
        long double number = 0;
        return ToNumber(value, number) ? FormatNumber(number, displayFormat) : plain;
    }
    const QDateTime moment = DateTimeFromStorage(plain);
    return moment.isValid() ? moment.toString(displayFormat) : plain;
}

QString ColumnText(const DataGridColumn& column, const QVariant& value) {
    if (!column.keyList.isEmpty())
        return column.pickText(PlainText(value));
    return FormatValue(value, column.displayFormat);
}

QString FooterText(const DataGridColumn& column, const TDataSet* dataSet) {
    const DataGridFooter& footer = column.footer;
    const bool open = dataSet && dataSet->active();
    switch (footer.kind) {
    case DataGridFooter::Kind::None:
        return QString();
    case DataGridFooter::Kind::StaticText:
        return footer.value;
    case DataGridFooter::Kind::Count:
        return open ? FormatNumber(dataSet->recordCount(), footer.displayFormat) : QString();
    case DataGridFooter::Kind::Sum:
        break;
    }
    if (!open)
        return QString();
    const int field = dataSet->fieldIndex(footer.fieldName.isEmpty() ? column.fieldName : footer.fieldName);
    if (field < 0)
        return QString();
    long double sum = 0;
    for (int row = 0, rows = dataSet->recordCount(); row < rows; ++row) {
        long double number = 0;
        if (ToNumber(dataSet->valueAt(row, field), number))
            sum += number;
    }
    return FormatNumber(sum, footer.displayFormat);
}
