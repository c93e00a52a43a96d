#pragma once
// The statistics window's fixture shared by the export and preview tests.

#include "support/testsupport.h"

// Two departments, one employee, two categories, a formula and one expense.
inline void StatFixture(TestDatabase& db) {
    db.exec(
        "Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values ('0001','总部','',0),"
        "('00010001','销售部','0001',1);"
        "Insert into TEmployee (Code,UserName,TypeCode,FuncCode) Values "
        "('000100010001','张三','00010001','XS');"
        "Insert into TCustClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values ('0001','管理费用','',0),"
        "('00010001','办公费','0001',1);"
        "Insert into TFormula (FuncCode,CustTypeCode,Formula) Values ('XS','00010001','{SUM_D 0001:总部}*2');"
        "Insert into TBillDetail (OcrDate,CustCode,DepartCode,EmpID,Total) Values"
        "('2024-01-10 09:00:00','00010001','00010001','000100010001',12.5)");
}
