#pragma once
// The flat buttons with tool tips along the bottom of the classification trees.

#include <QToolButton>

inline QToolButton* FlatButton(QWidget* parent, const QString& name, const QString& caption,
                               const QString& tip) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}
