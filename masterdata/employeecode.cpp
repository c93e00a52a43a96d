#include "masterdata/employeecode.h"

#include "app/dataset.h"
#include "app/helpers.h"

#include <limits>

QString NextEmployeeCode(const QString& departmentCode, const QString& maxCode) {
    if (maxCode.isEmpty())
        return departmentCode + QStringLiteral("0001");
    bool ok = false;
    const int number = maxCode.mid(departmentCode.size()).toInt(&ok);
    if (!ok || number < 0 || number == std::numeric_limits<int>::max())
        return QString();
    return departmentCode + PadZero(QString::number(number + 1), 4);
}

QString GetNewCode(const QString& departmentCode) {
    TDataSet dsTemp;
    dsTemp.setCommandText(QStringLiteral("Select Max(Code) from TEmployee Where TypeCode like '") +
                          SqlEscape(departmentCode) + QStringLiteral("%'"));
    try {
        dsTemp.open();
        return NextEmployeeCode(departmentCode, dsTemp.eof() ? QString() : dsTemp.asString(0));
    } catch (const EDatabaseError&) {
        return QString();
    }
}
