#pragma once
// One run of the updater, from the database step to the end: the reachability
// check, the catalog (from the update server or a local update package), the
// downloads, the script, server and client stages and the version record.
// The window shows what the run reports through UpdateView.

#include "app/datamodule.h"
#include "updater/download.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// What the window shows of a run.
class UpdateView {
public:
    virtual ~UpdateView() = default;
    // The status line of the page "连接数据库".
    virtual void ShowConnectStatus(const QString& text) = 0;
    // Turns to the page "下载更新文件".
    virtual void ShowDownloadPage() = 0;
    // The status line of the page "下载更新文件".
    virtual void ShowStatus(const QString& text) = 0;
    // The window caption.
    virtual void ShowCaption(const QString& text) = 0;
};

// How a step left the run.
enum class RunOutcome {
    Continue, // the next step follows
    End,      // the program ends (exit code 0)
    Stop,     // the run stops; the window stays open without further action
};

class TUpdateRun {
public:
    // programDir ends in "/"; baseAddress is the update server's scheme and host.
    TUpdateRun(UpdateView& view, const QString& programDir, const QString& baseAddress);
    TUpdateRun(const TUpdateRun&) = delete;
    TUpdateRun& operator=(const TUpdateRun&) = delete;

    THttpClient& http() { return m_http; }

    // The database step: opens the database and reads the installed version.
    RunOutcome ConnectDatabase();
    // All further steps, up to the end of the program or a stop.
    RunOutcome Update();

    QByteArray installedVersion() const { return m_installedVersion; }
    QByteArray newVersion() const { return m_newVersion; }
    // The pending entry texts in reverse catalog order.
    QStringList pendingEntries() const { return m_pending; }
    QString packageFolder() const { return m_packageFolder; }

private:
    RunOutcome FetchCatalog();
    RunOutcome ChoosePackage();
    RunOutcome ReadCatalog();
    bool DownloadPending();
    void RunScripts();
    RunOutcome UpdateServerFiles();
    void UpdateClientFiles();
    RunOutcome Finish();

    UpdateView& m_view;
    QString m_programDir;
    QString m_baseAddress;
    TDM m_dm;
    THttpClient m_http;
    QByteArray m_installedVersion;
    QByteArray m_newVersion;
    QStringList m_pending;
    QString m_packageFolder;
    bool m_serverStage = false;
};

// Puts source in place as target: written beside the target and renamed over
// it, so an interrupted copy never leaves a half-written file. The target
// keeps the permissions it had (a program file stays executable). False when
// the file cannot be put in place; the target is then as it was.
bool PutFileInPlace(const QString& source, const QString& target);
