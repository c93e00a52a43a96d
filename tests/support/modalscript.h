#pragma once
// Drives modal dialogs without exec(): while a script lives, every dialog that
// an open routine shows modally goes to the script's next step, which works the
// dialog (sets controls, clicks buttons); the dialog's result is what the open
// routine then sees. A dialog without a step, or of another class than its step
// expects, fails the test, and so does a step left unused.
//
// A step may itself open further dialogs (a picker from an entry dialog); they
// take the following steps. For such mixed scripts use ModalScript<> with
// steps made by On<Dialog>(...).

#include "app/openwindow.h"

#include <QDialog>
#include <QList>
#include <QTest>
#include <functional>

template <class D = QDialog> class ModalScript {
public:
    explicit ModalScript(std::initializer_list<std::function<void(D&)>> steps)
        : m_steps(steps) {
        SetModalHandler([this](QDialog& dialog) {
            auto* d = qobject_cast<D*>(&dialog);
            if (!d || m_steps.isEmpty()) {
                QTest::qFail("unexpected modal dialog", __FILE__, __LINE__);
                return int(QDialog::Rejected);
            }
            m_steps.takeFirst()(*d);
            return d->result();
        });
    }
    ~ModalScript() {
        SetModalHandler(nullptr);
        if (!m_steps.isEmpty())
            QTest::qFail("a scripted modal dialog was not shown", __FILE__, __LINE__);
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

private:
    QList<std::function<void(D&)>> m_steps;
};

// A step of a mixed script that expects a dialog of class D.
template <class D> std::function<void(QDialog&)> On(std::function<void(D&)> step) {
    return [step = std::move(step)](QDialog& dialog) {
        auto* d = qobject_cast<D*>(&dialog);
        if (!d) {
            QTest::qFail("the modal dialog is of another class than the step expects", __FILE__, __LINE__);
            return;
        }
        step(*d);
    };
}
