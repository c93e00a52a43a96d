// The helpers that work on widgets: tree node paths and Enter-as-Tab.
#include "app/helpers.h"

#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTreeWidgetItem>

QString NodePath(const QTreeWidgetItem* node) {
    QString path;
    for (; node; node = node->parent())
        path = node->text(0) + u'\\' + path;
    return path;
}

void EnterAsTab(QWidget* active, int key, Qt::KeyboardModifiers shift) {
    if (!active || (key != Qt::Key_Return && key != Qt::Key_Enter))
        return;
    const bool memo = qobject_cast<QPlainTextEdit*>(active) || qobject_cast<QTextEdit*>(active);
    if (memo && !(shift & Qt::ControlModifier))
        return; // Enter makes a new line in a memo
    if (active->inherits("StringGrid"))
        return; // Enter belongs to the statistics grid
    if (QWidget* window = active->window()) {
        QWidget* next = active->nextInFocusChain();
        // Skip what cannot take focus by Tab, and the inner parts of the control
        // itself (the text field of a date picker or of an editable combo box).
        while (next && next != active &&
               (!(next->focusPolicy() & Qt::TabFocus) || !next->isEnabled() || !next->isVisibleTo(window) ||
                next->window() != window || active->isAncestorOf(next)))
            next = next->nextInFocusChain();
        if (next && next != active)
            next->setFocus(Qt::TabFocusReason);
    }
}
