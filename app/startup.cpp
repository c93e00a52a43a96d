#include "app/startup.h"

#include "app/appearance.h"
#include "app/datamodule.h"
#include "app/mainwindow.h"
#include "app/widgetprompts.h"

#include <QApplication>

int RunBrimsoll(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("Brimsoll系统"));
    ApplyAppearance(app);
    InstallWidgetPrompts();

    TDM dm;
    DM = &dm;
    int result = 1;
    {
        TfrmMain main;
        if (main.FormCreate()) {
            main.showMaximized();
            result = QApplication::exec();
        }
    }
    DM = nullptr;
    return result;
}
