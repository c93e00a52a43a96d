#pragma once
// The columns of the positions grids of the formula windows.

#include "widgets/datagridcolumn.h"

#include <QVector>

// ID (hidden), FuncCode "职位编码", FuncName "职位名称".
QVector<DataGridColumn> PositionColumns();
