#pragma once
// Employee codes: the department's code followed by a sequence number of at
// least four digits, counted over the department and all its sub-departments.

#include <QString>

// The code after maxCode (empty: none yet) in the department; empty when the
// number behind the department code is not a valid 32-bit integer.
QString NextEmployeeCode(const QString& departmentCode, const QString& maxCode);

// Reads the highest employee code of the department and its sub-departments
// and gives the next one; empty when the query fails or no code can follow.
QString GetNewCode(const QString& departmentCode);
