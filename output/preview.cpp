#include "output/preview.h"

#include "app/dataset.h"
#include "app/openwindow.h"
#include "app/prompts.h"
#include "output/ppreview.h"
#include "widgets/datagrid.h"
#include "widgets/stringgrid.h"

#include <QScreen>
#include <QVBoxLayout>

TfrmPreview::TfrmPreview()
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
    , PPreview(new TPPreview(this)) {
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("打印预览窗口"));
    // Shown maximised; at that size from the start, so that the preview does
    // not first lay its pages out in a small window.
    if (const QScreen* shown = screen())
        resize(shown->availableGeometry().size());
    setWindowState(Qt::WindowMaximized);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PPreview);
    connect(PPreview, &TPPreview::OnReturn, this, &TfrmPreview::PPreviewReturn);
}

void TfrmPreview::ReadyData1(const QString& title, DataGrid* grid, TDataSet* dataSet) {
    LoadDataGridPreview(*PPreview, title, grid->columns(), *dataSet, grid->footerVisible());
    grid->followRecNo();
}

void TfrmPreview::ReadyData3(const QString& title, StringGrid* grid) {
    LoadStringGridPreview(*PPreview, title, *grid->gridModel());
}

int TfrmPreview::GetMaxTitleRow(const QString& caption) {
    return HeaderLineCount(caption);
}

void TfrmPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PPreview->setPActive(true);
}

void TfrmPreview::PPreviewReturn() {
    reject();
}

void PreviewStringGrid(const QString& title, StringGrid* grid) {
    RunModal<TfrmPreview>(std::make_unique<TfrmPreview>(), [&](TfrmPreview& window) {
        window.ReadyData3(title, grid);
        window.PPreview->pRefresh();
        return true;
    });
}

void PreviewDBGrid(const QString& title, DataGrid* grid, TDataSet* dataSet) {
    RunModal<TfrmPreview>(std::make_unique<TfrmPreview>(), [&](TfrmPreview& window) {
        if (!dataSet || !dataSet->active()) {
            ShowMessage(QStringLiteral("无查询结果！"));
            return false;
        }
        window.ReadyData1(title, grid, dataSet);
        return true;
    });
}
