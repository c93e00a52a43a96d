#pragma once
// The one way every window of the program is opened:
//  1. a new instance without an owner (an existing one is never reused);
//  2. its mode and inputs set, and its preparation routines (Ready...) run;
//  3. when a preparation fails (it has shown its own message) the window is
//     destroyed unseen;
//  4. otherwise a modal dialog is shown modally and handed back to the open
//     routine, which reads its results and destroys it; a child window is shown
//     inside the main window and frees itself when the user closes it.

#include <QDialog>
#include <functional>
#include <memory>

class QMdiArea;

// Tests drive modal dialogs through this handler instead of a real exec():
// while set, it receives each prepared dialog and returns the dialog's result.
using ModalHandler = std::function<int(QDialog&)>;
void SetModalHandler(ModalHandler handler);

// Shows a dialog modally (or hands it to the modal handler).
int ExecModal(QDialog& dialog);

// The frame that holds the child windows; set by the main window.
void SetChildArea(QMdiArea* area);
QMdiArea* ChildArea();

// Shows a prepared child window in the frame (top-level without one); the
// window is destroyed when it is closed.
void ShowChildWindow(QWidget* window);

// Runs ready on a new dialog; nullptr when it failed (the dialog is then gone
// unseen), otherwise the dialog after it was shown modally.
template <class Dialog>
std::unique_ptr<Dialog> RunModal(std::unique_ptr<Dialog> dialog, const std::function<bool(Dialog&)>& ready) {
    if (ready && !ready(*dialog))
        return nullptr;
    ExecModal(*dialog);
    return dialog;
}

// Runs ready on a new child window; nullptr when it failed (the window is then
// gone unseen), otherwise the shown window, which owns itself from now on.
template <class Child>
Child* OpenChild(std::unique_ptr<Child> child, const std::function<bool(Child&)>& ready) {
    if (ready && !ready(*child))
        return nullptr;
    Child* shown = child.release();
    ShowChildWindow(shown);
    return shown;
}
