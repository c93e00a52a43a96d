#include "formula/tokentext.h"

namespace {

// keyword is "{COUNT " and the like: the brace, the keyword and its space.
QString TwoFieldToken(QLatin1String keyword, const QString& code1, const QString& text1, const QString& code2,
                      const QString& text2) {
    return keyword + code1 + u':' + text1 + u' ' + code2 + u':' + text2 + u'}';
}

QString OneFieldToken(QLatin1String keyword, const QString& code, const QString& text) {
    return keyword + code + u':' + text + u'}';
}

} // namespace

QString DepartmentAmountToken(const QString& departmentCode, const QString& departmentPath,
                              const QString& categoryCode, const QString& categoryPath) {
    return TwoFieldToken(QLatin1String("{COUNT "), departmentCode, departmentPath, categoryCode,
                         categoryPath);
}

QString EmployeeAmountToken(const QString& employeeCode, const QString& employeePath,
                            const QString& categoryCode, const QString& categoryPath) {
    return TwoFieldToken(QLatin1String("{COUNTEMP "), employeeCode, employeePath, categoryCode, categoryPath);
}

QString DepartmentHeadcountToken(const QString& departmentCode, const QString& departmentName) {
    return OneFieldToken(QLatin1String("{SUM_D "), departmentCode, departmentName);
}

QString PositionHeadcountToken(const QString& funcCode, const QString& funcName) {
    return OneFieldToken(QLatin1String("{SUM_F "), funcCode, funcName);
}
