// Renovo, the online updater: brings the installation in its own directory up
// to date and starts the main program again. It always ends with exit code 0.

#include "app/appearance.h"
#include "app/widgetprompts.h"
#include "updater/serverupdate.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brimsoll软件自动升级"));
    ApplyAppearance(app);
    // Unattended (RENOVO_UNATTENDED set): every message goes to standard error
    // and every question takes its default answer.
    if (qEnvironmentVariableIsEmpty("RENOVO_UNATTENDED"))
        InstallWidgetPrompts();

    TfrmServerUpdate form;
    form.show();
    form.activateWindow();
    QApplication::exec();
    return 0;
}
