#include "formula/positioncolumns.h"

QVector<DataGridColumn> PositionColumns() {
    DataGridColumn id;
    id.fieldName = QStringLiteral("ID");
    id.visible = false;
    DataGridColumn code;
    code.fieldName = QStringLiteral("FuncCode");
    code.title = QStringLiteral("职位编码");
    code.width = 90;
    DataGridColumn name;
    name.fieldName = QStringLiteral("FuncName");
    name.title = QStringLiteral("职位名称");
    name.width = 130;
    return {id, code, name};
}
