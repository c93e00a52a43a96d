#include "updater/serverupdate.h"

#include "app/appearance.h"
#include "app/helpers.h"
#include "app/prompts.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

namespace {

QLabel* CentredLabel(const QString& objectName, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QTimer* StepTimer(const QString& objectName, QObject* parent) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(objectName);
    timer->setSingleShot(true);
    timer->setInterval(500);
    return timer;
}

} // namespace

TfrmServerUpdate::TfrmServerUpdate()
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_run(*this, AppPath(), UpdateBaseAddress()) {
    setObjectName(QStringLiteral("frmServerUpdate"));
    setWindowTitle(QStringLiteral("Brimsoll软件自动升级"));
    setWindowIcon(AppIcon());

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    TabSheet1 = new QWidget(PageControl1);
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    Label1 = CentredLabel(QStringLiteral("Label1"), QStringLiteral("正在连接数据库……"), TabSheet1);
    auto* connectLayout = new QVBoxLayout(TabSheet1);
    connectLayout->addWidget(Label1);
    PageControl1->addTab(TabSheet1, QStringLiteral("连接数据库"));

    TabSheet2 = new QWidget(PageControl1);
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    Label2 = CentredLabel(QStringLiteral("Label2"), QStringLiteral("正在下载更新目录文件……"), TabSheet2);
    ProgressBar1 = new QProgressBar(TabSheet2);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    auto* downloadLayout = new QVBoxLayout(TabSheet2);
    downloadLayout->addStretch();
    downloadLayout->addWidget(Label2);
    downloadLayout->addSpacing(8);
    downloadLayout->addWidget(ProgressBar1);
    downloadLayout->addStretch();
    PageControl1->addTab(TabSheet2, QStringLiteral("下载更新文件"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(PageControl1);
    setFixedSize(480, 180);
    if (const QScreen* current = screen())
        move(current->availableGeometry().center() - rect().center());

    TimerUpdateCheck = StepTimer(QStringLiteral("TimerUpdateCheck"), this);
    TimerGetList = StepTimer(QStringLiteral("TimerGetList"), this);
    connect(TimerUpdateCheck, &QTimer::timeout, this, &TfrmServerUpdate::TimerUpdateCheckTimer);
    connect(TimerGetList, &QTimer::timeout, this, &TfrmServerUpdate::TimerGetListTimer);
    connect(&m_run.http(), &THttpClient::workBegin, this, &TfrmServerUpdate::IdHTTP1WorkBegin);
    connect(&m_run.http(), &THttpClient::work, this, &TfrmServerUpdate::IdHTTP1Work);
}

TfrmServerUpdate::~TfrmServerUpdate() = default;

bool TfrmServerUpdate::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(event);
}

// Only the first activation starts the run; later ones (after a message box or
// the file dialog) leave the timers alone.
void TfrmServerUpdate::FormActivate() {
    if (m_activated)
        return;
    m_activated = true;
    m_state = State::Running;
    TimerUpdateCheck->start();
}

void TfrmServerUpdate::TimerUpdateCheckTimer() {
    if (Step(&TUpdateRun::ConnectDatabase))
        TimerGetList->start();
}

void TfrmServerUpdate::TimerGetListTimer() {
    Step(&TUpdateRun::Update);
}

bool TfrmServerUpdate::Step(RunOutcome (TUpdateRun::*step)()) {
    RunOutcome outcome = RunOutcome::Stop;
    try {
        outcome = (m_run.*step)();
    } catch (const std::exception& error) {
        ShowErrorMessage(QString::fromLocal8Bit(error.what()));
    }
    switch (outcome) {
    case RunOutcome::Continue:
        return true;
    case RunOutcome::End:
        m_state = State::Ended;
        close();
        return false;
    case RunOutcome::Stop:
        m_state = State::Stopped;
        return false;
    }
    return false;
}

// While the run is under way the window cannot be closed: a stage cut short
// would leave the installation half-updated.
void TfrmServerUpdate::closeEvent(QCloseEvent* event) {
    if (m_state == State::Running)
        event->ignore();
    else
        event->accept();
}

// The bar counts hundreds of bytes. A body under 100 bytes or of unknown size
// still gets a range of 1, so the bar never turns into a busy indicator.
void TfrmServerUpdate::IdHTTP1WorkBegin(qint64 total) {
    ProgressBar1->setRange(0, int(std::max<qint64>(total / 100, 1)));
    ProgressBar1->setValue(0);
}

void TfrmServerUpdate::IdHTTP1Work(qint64 done) {
    ProgressBar1->setValue(int(done / 100));
}

void TfrmServerUpdate::ShowConnectStatus(const QString& text) {
    Label1->setText(text);
    Label1->repaint();
}

void TfrmServerUpdate::ShowDownloadPage() {
    PageControl1->setCurrentWidget(TabSheet2);
}

void TfrmServerUpdate::ShowStatus(const QString& text) {
    Label2->setText(text);
    Label2->repaint();
}

void TfrmServerUpdate::ShowCaption(const QString& text) {
    setWindowTitle(text);
}
