#include "updater/updaterun.h"

#include "app/dataset.h"
#include "app/helpers.h"
#include "app/prompts.h"
#include "updater/processes.h"
#include "updater/updatecatalog.h"
#include "updater/updatescript.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <exception>

namespace {

const QString CannotCreateFolder = QStringLiteral("创建本地文件夹失败，请以管理员身份登陆操作系统！");

// The folder part of a path, without its trailing "/".
QString FolderOf(const QString& path) {
    return path.left(path.lastIndexOf(u'/'));
}

} // namespace

bool PutFileInPlace(const QString& source, const QString& target) {
    const QFileInfo previous(target);
    const bool existed = previous.isFile();
    const QFile::Permissions permissions = previous.permissions();
    try {
        CopyDataFile(source, target);
    } catch (const std::exception&) {
        return false;
    }
    if (existed)
        QFile::setPermissions(target, permissions);
    return true;
}

TUpdateRun::TUpdateRun(UpdateView& view, const QString& programDir, const QString& baseAddress)
    : m_view(view)
    , m_programDir(programDir)
    , m_baseAddress(baseAddress) {}

RunOutcome TUpdateRun::ConnectDatabase() {
    m_dm.Close();
    if (!m_dm.Connect(m_programDir + QStringLiteral("DB/Data.MDB"))) {
        m_view.ShowConnectStatus(QStringLiteral("连接数据库失败."));
        ShowMessage(QStringLiteral("连接数据库失败，请首先确认软件是否正确安装！"));
        return RunOutcome::End;
    }
    m_view.ShowConnectStatus(QStringLiteral("数据库连接成功！"));
    try {
        TDataSet parameters(&m_dm);
        parameters.setCommandText(QStringLiteral("Select ClientVer from TPara"));
        parameters.open();
        m_installedVersion = parameters.isEmpty() ? QByteArray() : ToGbk(parameters.asString(0));
    } catch (const EDatabaseError&) {
        ShowMessage(QStringLiteral("读取数据库参数表发生错误！"));
        return RunOutcome::End;
    }
    m_view.ShowDownloadPage();
    return RunOutcome::Continue;
}

RunOutcome TUpdateRun::Update() {
    m_view.ShowStatus(QStringLiteral("正在连接到Internet......"));
    QCoreApplication::processEvents();
    const bool online = !HostToIP(UpdateHostName(m_baseAddress)).isEmpty();

    RunOutcome outcome = online ? FetchCatalog() : ChoosePackage();
    if (outcome == RunOutcome::Continue)
        outcome = ReadCatalog();
    if (outcome != RunOutcome::Continue)
        return outcome;

    KillProcess(MainProgramName());

    if (online) {
        m_view.ShowCaption(QStringLiteral("费用分摊软件自动升级  ") + FromGbk(m_installedVersion) +
                           QStringLiteral(" To ") + FromGbk(m_newVersion));
        m_view.ShowStatus(QStringLiteral("开始下载文件……"));
        // Server files come only in a local package.
        m_serverStage = false;
        if (!DownloadPending())
            return RunOutcome::End;
    } else {
        // A local package runs the server stage when it carries server files.
        m_serverStage = IndexOfText(m_pending, QStringLiteral("[SERVER]"), true) >= 0;
    }

    RunScripts();
    if (m_serverStage && UpdateServerFiles() == RunOutcome::Stop)
        return RunOutcome::Stop;
    m_dm.Close();
    m_dm.Reconnect();
    UpdateClientFiles();
    return Finish();
}

// Online: the catalog is fetched into the download folder, unless the server
// is publishing an update right now.
RunOutcome TUpdateRun::FetchCatalog() {
    m_packageFolder = m_programDir + QStringLiteral("NetUpdate/");
    m_view.ShowStatus(QStringLiteral("正在连机获取更新目录！"));
    const QString server = m_baseAddress + QStringLiteral("/BrimsollUpdate/");
    if (DownLoadFile(m_http, server + QStringLiteral("NowUpLoad.txt"),
                     m_packageFolder + QStringLiteral("NowUpLoad.txt"))) {
        ShowMessage(QStringLiteral("服务器正在发布更新文件，请稍后再更新数据！"));
        return RunOutcome::End;
    }
    if (!DownLoadFile(m_http, server + QStringLiteral("UpdateCnt.txt"),
                      m_packageFolder + QStringLiteral("UpdateCnt.txt"))) {
        ShowMessage(QStringLiteral("下载更新目录文件失败！确认您的电脑已经连接到Internet"));
        return RunOutcome::End;
    }
    return RunOutcome::Continue;
}

// Offline: the user picks a local update package; the chosen file only
// selects its folder.
RunOutcome TUpdateRun::ChoosePackage() {
    ShowMessage(QStringLiteral("域名解析失败！确认您的电脑已经连接到Internet"));
    if (!AskYesNo(QStringLiteral(
            "不能联网的情况下，可以通过其他渠道获得更新包文件！可以直接选择更新包\n是否选择更新包？")))
        return RunOutcome::End;
    const QString chosen =
        AskOpenFileName(QStringLiteral("选择更新目录文件"), m_programDir,
                        QStringLiteral("UpdateCnt.txt|UpdateCnt.txt"), QStringLiteral("UpdateCnt.txt"));
    if (chosen.isEmpty())
        return RunOutcome::End;
    m_packageFolder = QFileInfo(chosen).absolutePath() + u'/';
    return RunOutcome::Continue;
}

RunOutcome TUpdateRun::ReadCatalog() {
    const QString catalog = m_packageFolder + QStringLiteral("UpdateCnt.txt");
    QList<QByteArray> lines;
    if (!ReadTextLines(catalog, lines)) {
        ShowErrorMessage(QStringLiteral("无法打开文件“%1”。").arg(QDir::toNativeSeparators(catalog)));
        return RunOutcome::Stop;
    }
    m_view.ShowStatus(QStringLiteral("获取更新目录成功！正在校验更新信息……"));
    const CatalogEvaluation evaluation = EvaluateCatalog(lines, m_installedVersion);
    m_pending = evaluation.pending;
    m_newVersion = evaluation.newVersion;
    if (m_pending.isEmpty()) {
        ShowMessage(QStringLiteral("没有需要更新的内容，您的版本已经是最新！"));
        return RunOutcome::End;
    }
    return RunOutcome::Continue;
}

// Every file of a CLIENT or SQL entry is fetched before anything in the
// program directory or the database changes.
bool TUpdateRun::DownloadPending() {
    for (const QString& entryText : std::as_const(m_pending)) {
        const CatalogEntry entry = SplitEntry(entryText);
        m_view.ShowStatus(QStringLiteral("开始下载") + entry.remoteName + QStringLiteral("……"));
        const QString section = entry.section.toUpper();
        if (section != QStringLiteral("CLIENT") && section != QStringLiteral("SQL"))
            continue;
        const QString url =
            m_baseAddress + QStringLiteral("/BrimsollUpdate/") + section + u'/' + entry.remoteName;
        if (!DownLoadFile(m_http, url, m_packageFolder + section + u'/' + entry.localName)) {
            ShowMessage(QStringLiteral("下载文件") + entry.remoteName + QStringLiteral("失败！"));
            return false;
        }
    }
    return true;
}

void TUpdateRun::RunScripts() {
    m_view.ShowStatus(QStringLiteral("文件下载完成，正在更新数据库结构……"));
    for (qsizetype i = m_pending.size() - 1; i >= 0; --i) {
        const std::optional<QString> name = TaggedName(m_pending[i], QStringLiteral("[SQL]"));
        if (!name)
            continue;
        m_view.ShowStatus(QStringLiteral("正在更新脚本：") + *name);
        ExeASQLFile(m_dm, m_packageFolder + QStringLiteral("SQL/") + *name);
        m_view.ShowStatus(QStringLiteral("更新脚本：") + *name + QStringLiteral("完成"));
    }
}

RunOutcome TUpdateRun::UpdateServerFiles() {
    m_view.ShowStatus(QStringLiteral("开始更新服务端文件！……"));
    m_view.ShowStatus(QStringLiteral("正在停止服务！……"));
    ControlServerService(QStringLiteral("stop"));
    Delay(5000);
    for (qsizetype i = m_pending.size() - 1; i >= 0; --i) {
        const std::optional<QString> name = TaggedName(m_pending[i], QStringLiteral("[SERVER]"));
        if (!name)
            continue;
        m_view.ShowStatus(QStringLiteral("正在更新文件：") + *name);
        KillProcess(*name);
        Delay(1000);
        const QString target = m_programDir + *name;
        const QString folder = FolderOf(target);
        if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder)) {
            ShowMessage(CannotCreateFolder);
            return RunOutcome::Stop;
        }
        PutFileInPlace(m_packageFolder + QStringLiteral("SERVER/") + *name, target);
        m_view.ShowStatus(QStringLiteral("更新文件：") + *name + QStringLiteral("完成"));
    }
    m_view.ShowStatus(QStringLiteral("正在重新启动服务！……"));
    ControlServerService(QStringLiteral("start"));
    Delay(5000);
    return RunOutcome::Continue;
}

// A file that cannot be put in place (in use, missing in the package, its
// folder missing) is skipped; no folder is created.
void TUpdateRun::UpdateClientFiles() {
    for (qsizetype i = m_pending.size() - 1; i >= 0; --i) {
        const std::optional<QString> name = TaggedName(m_pending[i], QStringLiteral("[CLIENT]"));
        if (!name)
            continue;
        m_view.ShowStatus(QStringLiteral("正在更新客户端更新文件：") + *name);
        PutFileInPlace(m_packageFolder + QStringLiteral("CLIENT/") + *name, m_programDir + *name);
    }
}

// The new version is recorded after every stage; when it cannot be, the user
// is told, since the next run will apply the same update again.
RunOutcome TUpdateRun::Finish() {
    bool recorded = false;
    try {
        TCommand command(&m_dm);
        command.setCommandText(QStringLiteral("Update TPara Set ClientVer='") +
                               SqlEscape(FromGbk(m_newVersion)) + u'\'');
        recorded = command.execute() > 0;
    } catch (const EDatabaseError&) {
        // Told below.
    }
    if (recorded)
        ShowMessage(QStringLiteral("升级已完成！"));
    else
        ShowMessage(
            QStringLiteral("升级文件已更新，但新版本号未能写入数据库，下次升级时将再次执行本次更新！"));
    ShellRun(m_programDir + MainProgramName(), QString());
    return RunOutcome::End;
}
