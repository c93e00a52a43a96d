#pragma once
// Pieces shared by the formula windows: the columns of their positions grids
// and the box that shows a built token.

#include "widgets/datagridcolumn.h"

#include <QVector>

class QLineEdit;

// ID (hidden), FuncCode "职位编码", FuncName "职位名称".
QVector<DataGridColumn> PositionColumns();

// Puts a token into a picker's box with its beginning in view.
void ShowToken(QLineEdit* box, const QString& token);
