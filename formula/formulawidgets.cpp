#include "formula/formulawidgets.h"

#include <QLineEdit>

QVector<DataGridColumn> PositionColumns() {
    DataGridColumn id;
    id.fieldName = QStringLiteral("ID");
    id.visible = false;
    DataGridColumn code;
    code.fieldName = QStringLiteral("FuncCode");
    code.title = QStringLiteral("职位编码");
    code.width = 100;
    DataGridColumn name;
    name.fieldName = QStringLiteral("FuncName");
    name.title = QStringLiteral("职位名称");
    name.width = 150;
    return {id, code, name};
}

void ShowToken(QLineEdit* box, const QString& token) {
    box->setText(token);
    box->setCursorPosition(0);
}
