#include "output/ppreview.h"

#include "app/appearance.h"
#include "app/processprinter.h"
#include "app/prompts.h"
#include "output/previewlayout.h"

#include <QActionGroup>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSpinBox>
#include <QStandardPaths>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The icons of the toolkit's own print preview, where it has one.
QIcon ToolkitIcon(const QString& name) {
    const QString base = QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/") + name;
    QIcon icon;
    icon.addFile(base + QStringLiteral("-24.png"), QSize(24, 24));
    icon.addFile(base + QStringLiteral("-32.png"), QSize(32, 32));
    return icon;
}

QString FileNameOf(const QString& caption) {
    QString name;
    for (const QChar c : caption)
        name += (c < u' ' || QStringLiteral("/\\:*?\"<>|").contains(c)) ? u'_' : c;
    name = name.trimmed();
    return (name.isEmpty() ? QStringLiteral("打印预览") : name) + QStringLiteral(".pdf");
}

} // namespace

TPPreview::TPPreview(QWidget* parent)
    : QWidget(parent)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("PPreview"));
    // The paper of the printer chosen in the printer set-up, with margins of our own.
    m_printer->setPageLayout(ProcessPrinter().pageLayout());
    m_printer->setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);

    Preview = new QPrintPreviewWidget(m_printer.get(), this);
    Preview->setObjectName(QStringLiteral("Preview"));
    Preview->setZoomMode(QPrintPreviewWidget::FitToWidth);
    Preview->hide();

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setIconSize(QSize(24, 24));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    auto add = [this, bar](const QString& name, const QString& caption, const QIcon& icon) {
        auto* action = new QAction(icon, caption, this);
        action->setObjectName(name);
        bar->addAction(action);
        return action;
    };

    connect(add(QStringLiteral("actFitWidth"), QStringLiteral("适合宽度"),
                ToolkitIcon(QStringLiteral("zoom-fit-width"))),
            &QAction::triggered, Preview, &QPrintPreviewWidget::fitToWidth);
    connect(add(QStringLiteral("actFitPage"), QStringLiteral("整页"),
                ToolkitIcon(QStringLiteral("zoom-fit-page"))),
            &QAction::triggered, Preview, &QPrintPreviewWidget::fitInView);
    connect(add(QStringLiteral("actZoomIn"), QStringLiteral("放大"), ToolkitIcon(QStringLiteral("zoom-in"))),
            &QAction::triggered, Preview, [this] { Preview->zoomIn(); });
    connect(
        add(QStringLiteral("actZoomOut"), QStringLiteral("缩小"), ToolkitIcon(QStringLiteral("zoom-out"))),
        &QAction::triggered, Preview, [this] { Preview->zoomOut(); });
    bar->addSeparator();

    auto* orientation = new QActionGroup(this);
    QAction* portrait = add(QStringLiteral("actPortrait"), QStringLiteral("纵向"),
                            ToolkitIcon(QStringLiteral("layout-portrait")));
    QAction* landscape = add(QStringLiteral("actLandscape"), QStringLiteral("横向"),
                             ToolkitIcon(QStringLiteral("layout-landscape")));
    for (QAction* action : {portrait, landscape}) {
        action->setCheckable(true);
        orientation->addAction(action);
    }
    portrait->setChecked(m_printer->pageLayout().orientation() == QPageLayout::Portrait);
    landscape->setChecked(!portrait->isChecked());
    connect(portrait, &QAction::triggered, this, [this] {
        m_orientationChosen = true;
        Preview->setPortraitOrientation();
    });
    connect(landscape, &QAction::triggered, this, [this] {
        m_orientationChosen = true;
        Preview->setLandscapeOrientation();
    });
    bar->addSeparator();

    auto go = [this](int page) {
        Preview->setCurrentPage(page);
        showPageNumber();
    };
    connect(add(QStringLiteral("actFirst"), QStringLiteral("首页"), ToolkitIcon(QStringLiteral("go-first"))),
            &QAction::triggered, this, [go] { go(1); });
    connect(add(QStringLiteral("actPrevious"), QStringLiteral("上一页"),
                ToolkitIcon(QStringLiteral("go-previous"))),
            &QAction::triggered, this, [this, go] { go(Preview->currentPage() - 1); });
    m_pageNumber = new QSpinBox(this);
    m_pageNumber->setObjectName(QStringLiteral("PageNumber"));
    m_pageNumber->setRange(1, 1);
    m_pageNumber->setKeyboardTracking(false);
    bar->addWidget(m_pageNumber);
    m_pageTotal = new QLabel(QStringLiteral(" / 1 "), this);
    m_pageTotal->setObjectName(QStringLiteral("PageTotal"));
    bar->addWidget(m_pageTotal);
    connect(m_pageNumber, &QSpinBox::valueChanged, this, go);
    connect(add(QStringLiteral("actNext"), QStringLiteral("下一页"), ToolkitIcon(QStringLiteral("go-next"))),
            &QAction::triggered, this, [this, go] { go(Preview->currentPage() + 1); });
    connect(add(QStringLiteral("actLast"), QStringLiteral("末页"), ToolkitIcon(QStringLiteral("go-last"))),
            &QAction::triggered, this, [this, go] { go(Preview->pageCount()); });
    bar->addSeparator();

    connect(add(QStringLiteral("actPrint"), QStringLiteral("打印"), ToolkitIcon(QStringLiteral("printer"))),
            &QAction::triggered, this, &TPPreview::PrintClick);
    connect(add(QStringLiteral("actPdf"), QStringLiteral("输出PDF"),
                GlyphIcon(QStringLiteral("P"), QColor(0xb0, 0x3a, 0x2e))),
            &QAction::triggered, this, &TPPreview::PdfClick);
    bar->addSeparator();
    connect(add(QStringLiteral("actReturn"), QStringLiteral("返回"),
                GlyphIcon(QStringLiteral("返"), QColor(0x2f, 0x6f, 0xa8))),
            &QAction::triggered, this, &TPPreview::OnReturn);

    connect(Preview, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { PrintPreviewTable(*this, *printer); });
    connect(Preview, &QPrintPreviewWidget::previewChanged, this, &TPPreview::showPageNumber);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(Preview, 1);
}

TPPreview::~TPPreview() = default;

void TPPreview::setPActive(bool active) {
    if (active == m_active)
        return;
    m_active = active;
    if (active && !m_laidOut)
        layOut();
    Preview->setVisible(active);
}

void TPPreview::pRefresh() {
    layOut();
}

void TPPreview::layOut() {
    // A table wider than a portrait page starts on landscape paper.
    if (!m_orientationChosen && m_printer->pageLayout().orientation() == QPageLayout::Portrait &&
        PreviewTableWidth(*this) > m_printer->pageLayout().paintRect(QPageLayout::Inch).width() * 96) {
        m_printer->setPageOrientation(QPageLayout::Landscape);
        if (auto* landscape = findChild<QAction*>(QStringLiteral("actLandscape")))
            landscape->setChecked(true);
    }
    m_orientationChosen = true;
    m_laidOut = true;
    Preview->updatePreview();
}

int TPPreview::pageCount() const {
    return Preview->pageCount();
}

int TPPreview::currentPage() const {
    return Preview->currentPage();
}

bool TPPreview::PrintToPrinter() {
    QPrinter& printer = ProcessPrinter();
    const QPageLayout::Orientation kept = printer.pageLayout().orientation();
    printer.setPageOrientation(m_printer->pageLayout().orientation());
    printer.setDocName(pCaption);
    bool printed = PrintPreviewTable(*this, printer);
    printer.setPageOrientation(kept);
    // The printer set-up may print into a PDF file.
    if (printed && printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        printed = RepairPreviewPdf(printer.outputFileName());
    return printed;
}

bool TPPreview::PrintToPdf(const QString& file) {
    return PrintPreviewPdf(*this, file, m_printer->pageLayout());
}

void TPPreview::PrintClick() {
    if (!PrintToPrinter())
        ShowWarningMessage(QStringLiteral("打印失败，请在“打印设置”中选择打印机！"));
}

void TPPreview::PdfClick() {
    const QString file = AskSaveFileName(
        QStringLiteral("输出PDF"), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
        QStringLiteral("PDF文件 (*.pdf)"), FileNameOf(pCaption), QStringLiteral("pdf"));
    if (file.isEmpty())
        return;
    if (!PrintToPdf(file))
        ShowWarningMessage(QStringLiteral("不能写入文件“%1”！").arg(QDir::toNativeSeparators(file)));
}

void TPPreview::showPageNumber() {
    const int pages = std::max(1, Preview->pageCount());
    const QSignalBlocker block(m_pageNumber);
    m_pageNumber->setRange(1, pages);
    m_pageNumber->setValue(std::clamp(Preview->currentPage(), 1, pages));
    m_pageTotal->setText(QStringLiteral(" / %1 ").arg(pages));
}
