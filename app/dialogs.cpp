#include "app/dialogs.h"

#include "app/helpers.h"

#include <QAbstractButton>
#include <QDialog>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextEdit>

namespace {

class EnterFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || qobject_cast<QAbstractButton*>(widget))
            return false; // a focused button is pressed by Enter
        const bool memo = qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QTextEdit*>(widget);
        EnterAsTab(widget, key->key(), key->modifiers());
        // Enter in a memo without Ctrl is a line break; elsewhere it has moved on
        // and must not also press a default button.
        return !(memo && !(key->modifiers() & Qt::ControlModifier));
    }
};

} // namespace

void MakeFixedDialog(QDialog* dialog) {
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog->setSizeGripEnabled(false);
    if (QLayout* layout = dialog->layout())
        layout->setSizeConstraint(QLayout::SetFixedSize);
}

void SetCancelButton(QDialog* dialog, QAbstractButton* button) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), dialog);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, button, &QAbstractButton::click);
}

void InstallEnterAsTab(QDialog* dialog) {
    auto* filter = new EnterFilter(dialog);
    for (QWidget* child : dialog->findChildren<QWidget*>())
        child->installEventFilter(filter);
}

void LimitGbkBytes(QLineEdit* edit, int bytes) {
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, bytes](const QString& text) {
        if (GbkLength(text) <= bytes)
            return;
        const int cursor = edit->cursorPosition();
        const QString cut = GbkLeft(text, bytes);
        edit->setText(cut);
        edit->setCursorPosition(std::min(cursor, int(cut.size())));
    });
}

void LimitGbkBytes(QPlainTextEdit* memo, int bytes) {
    QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [memo, bytes] {
        const QString text = memo->toPlainText();
        if (GbkLength(text) <= bytes)
            return;
        memo->setPlainText(GbkLeft(text, bytes));
        memo->moveCursor(QTextCursor::End);
    });
}
