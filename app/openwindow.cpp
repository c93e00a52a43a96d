#include "app/openwindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace {

ModalHandler& Handler() {
    static ModalHandler handler;
    return handler;
}

QPointer<QMdiArea>& Area() {
    static QPointer<QMdiArea> area;
    return area;
}

} // namespace

void SetModalHandler(ModalHandler handler) { Handler() = std::move(handler); }

int ExecModal(QDialog& dialog) {
    if (Handler())
        return Handler()(dialog);
    return dialog.exec();
}

void SetChildArea(QMdiArea* area) { Area() = area; }

QMdiArea* ChildArea() { return Area().data(); }

void ShowChildWindow(QWidget* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (QMdiArea* area = ChildArea()) {
        const QSize wanted = window->size();
        QMdiSubWindow* sub = area->addSubWindow(window);
        sub->setWindowIcon(window->windowIcon());
        // The size the window asked for, as far as the frame has room.
        sub->resize(wanted.expandedTo(sub->minimumSizeHint()).boundedTo(area->viewport()->size()));
        sub->show();
        area->setActiveSubWindow(sub);
    } else {
        window->show();
    }
}
