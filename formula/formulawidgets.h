#pragma once
// Pieces shared by the formula windows: the box that shows a built token. The
// positions grids take their columns from PositionColumns (masterdata/func.h).

class QLineEdit;
class QString;

// Puts a token into a picker's box with its beginning in view.
void ShowToken(QLineEdit* box, const QString& token);
