#include "output/sendtoexcel.h"

#include "app/dataset.h"
#include "output/sheetexport.h"
#include "widgets/datagrid.h"
#include "widgets/stringgrid.h"

#include <QMdiSubWindow>

void SendToExcel(const QString& title, DataGrid* grid) {
    TDataSet* dataSet = grid->dataSet();
    const bool open = dataSet && dataSet->active();
    SendDataSetToExcel(title, grid->columns(), dataSet, WindowCaption(grid));
    if (open)
        grid->followRecNo();
}

void SendStringGridToExcel(const QString& sheetTitle, StringGrid* grid, const QString& caption) {
    SendSheet(StringGridSheet(sheetTitle, *grid->gridModel()), sheetTitle, caption);
}

QString WindowCaption(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w->isWindow() || qobject_cast<const QMdiSubWindow*>(w->parentWidget()))
            return w->windowTitle();
    return QString();
}
