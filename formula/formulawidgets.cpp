#include "formula/formulawidgets.h"

#include <QLineEdit>

void ShowToken(QLineEdit* box, const QString& token) {
    box->setText(token);
    box->setCursorPosition(0);
}
