#pragma once
// The texts of the formula tokens the parameter pickers build. Paths are tree
// node paths ("总部\销售部\"), names are plain names; both are copied
// unchanged. Nothing but the one space after the keyword and the one space
// between two fields separates the parts.

#include <QString>

// {COUNT dept:path cat:path}: the amount of a department in a category.
QString DepartmentAmountToken(const QString& departmentCode, const QString& departmentPath,
                              const QString& categoryCode, const QString& categoryPath);
// {COUNTEMP emp:path cat:path}: the amount of an employee in a category.
QString EmployeeAmountToken(const QString& employeeCode, const QString& employeePath,
                            const QString& categoryCode, const QString& categoryPath);
// {SUM_D dept:name}: the headcount of a department and the departments below it.
QString DepartmentHeadcountToken(const QString& departmentCode, const QString& departmentName);
// {SUM_F position:name}: the headcount of a position.
QString PositionHeadcountToken(const QString& funcCode, const QString& funcName);
