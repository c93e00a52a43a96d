#pragma once
// The updater's only window: the database page and the download page with
// their status lines and the progress bar. Two one-shot timers run the update
// (see TUpdateRun); the first activation of the window starts them.

#include "updater/updaterun.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QTabWidget;
class QTimer;

class TfrmServerUpdate final : public QWidget, private UpdateView {
    Q_OBJECT
public:
    enum class State { Waiting, Running, Stopped, Ended };
    Q_ENUM(State)

    TfrmServerUpdate();
    ~TfrmServerUpdate() override;

    State state() const { return m_state; }
    TUpdateRun& run() { return m_run; }

public Q_SLOTS:
    void FormActivate();
    void TimerUpdateCheckTimer();
    void TimerGetListTimer();
    void IdHTTP1WorkBegin(qint64 total);
    void IdHTTP1Work(qint64 done);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowConnectStatus(const QString& text) override;
    void ShowDownloadPage() override;
    void ShowStatus(const QString& text) override;
    void ShowCaption(const QString& text) override;
    // Runs one step and acts on how it left the run (an unexpected error is
    // shown and stops it); true when the next step follows.
    bool Step(RunOutcome (TUpdateRun::*step)());

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QLabel* Label1;
    QLabel* Label2;
    QProgressBar* ProgressBar1;
    QTimer* TimerUpdateCheck;
    QTimer* TimerGetList;
    TUpdateRun m_run;
    bool m_activated = false;
    State m_state = State::Waiting;
};
