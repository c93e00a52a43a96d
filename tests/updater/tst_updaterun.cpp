// The updater end to end: an update server on 127.0.0.1 (or a local update
// package), a temporary installation with its database, and the updater's
// window run in this process with scripted prompts, or the real executable.
//
// The main program's name is set to one unique to this test run, so only the
// stand-ins started here are ever ended, and what is "restarted" is a script
// in the temporary installation that leaves a mark.

#include "app/datamodule.h"
#include "httpserver.h"
#include "support/testsupport.h"
#include "updater/serverupdate.h"
#include "updater/updatecatalog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Installed = QStringLiteral("2026.12.01"); // the schema's TPara row

QString MainName() {
    return QStringLiteral("RunMain%1").arg(QCoreApplication::applicationPid());
}

void WriteFile(const QString& path, const QByteArray& bytes, bool executable = false) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(bytes);
    file.close();
    if (executable)
        QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner));
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The main program's stand-in in the program directory: marks that it was started.
QByteArray MainScript(const QByteArray& mark) {
    return "#!/bin/sh\necho " + mark + " > \"$(dirname \"$0\")/restarted\"\n";
}

// A temporary program directory with its database and a few program files.
class Installation {
public:
    Installation() {
        WriteFile(dir() + QStringLiteral("readme.txt"), "readme v1");
        WriteFile(dir() + QStringLiteral("help/guide.htm"), "guide v1");
        WriteFile(dir() + MainName(), MainScript("v1"), true);
    }
    QString dir() const { return db.programDir(); }
    QByteArray file(const QString& name) const { return ReadFile(dir() + name); }
    bool exists(const QString& name) const { return QFileInfo::exists(dir() + name); }
    QString clientVersion() const { return DM->GetDataBySQL(QStringLiteral("select ClientVer from TPara")); }
    QString log() const {
        return DM->GetDataBySQL(QStringLiteral(
            "select group_concat(step || n, ',') from (select * from TUpdLog order by rowid)"));
    }
    bool hasLog() const {
        return DM->GetDataBySQL(QStringLiteral(
                   "select count(*) from sqlite_master where name = 'TUpdLog'")) == QStringLiteral("1");
    }

    TestDatabase db;
};

// A running copy of sleep whose file name holds the main program's name in
// other letter case.
class StandIn {
public:
    StandIn() {
        const QString copy =
            m_dir.filePath(QStringLiteral("old-") + MainName().toLower() + QStringLiteral(".bin"));
        QFile::copy(QStandardPaths::findExecutable(QStringLiteral("sleep")), copy);
        m_process.start(copy, {QStringLiteral("60")});
        m_process.waitForStarted();
    }
    bool running() const { return m_process.state() == QProcess::Running; }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};

void UseServer(const QString& address) {
    qputenv("RENOVO_UPDATE_URL", address.toUtf8());
}

// An address without a host never resolves, and no name server is asked.
void UseNoNetwork() {
    UseServer(QStringLiteral("http://"));
}

// Shows the window and waits until its run has ended or stopped.
void RunForm(TfrmServerUpdate& form) {
    form.show();
    form.activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(form.state() == TfrmServerUpdate::State::Ended ||
                                 form.state() == TfrmServerUpdate::State::Stopped,
                             60000);
}

const QString Done = QStringLiteral("升级已完成！");
const QString NothingNewer = QStringLiteral("没有需要更新的内容，您的版本已经是最新！");
const QString CatalogFailed = QStringLiteral("下载更新目录文件失败！确认您的电脑已经连接到Internet");

} // namespace

class TestUpdateRun : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void onlineUpdate();
    void stopsBeforeChanging_data();
    void stopsBeforeChanging();
    void versionNotRecorded();
    void offlinePackage();
    void offlineEnds_data();
    void offlineEnds();
    void realExecutable();
};

void TestUpdateRun::initTestCase() {
    qputenv("RENOVO_MAIN_PROGRAM", MainName().toUtf8());
    QApplication::setQuitOnLastWindowClosed(false);
}

// Scripts in catalog order (a duplicate at its lower line, run once) and their
// statements in file order, files replaced, the lower-case and unknown
// sections as fetched or not, the stand-in ended, the version recorded, the
// main program started again; then a second run finds nothing to do.
void TestUpdateRun::onlineUpdate() {
    Installation installation;
    TestHttpServer server;
    QVERIFY(server.listen());
    UseServer(server.baseAddress() + u'/');
    const QString main = MainName();
    server.setFile(QStringLiteral("/BrimsollUpdate/UpdateCnt.txt"),
                   ToGbk(QStringLiteral("2026.11.01[SQL]old.sql\told.sql\r\n"
                                        "2026.12.01[CLIENT]same.txt\tsame.txt\r\n"
                                        "2027.01.01[SQL]create.sql\tcreate-1.sql\r\n"
                                        "2027.01.01[SQL]first.sql\tfirst.sql\r\n"
                                        "2027.01.01[CLIENT]readme.txt\treadme-2.txt\r\n"
                                        "2027.02.01[SQL]second.sql\tsecond.sql\r\n"
                                        "2027.02.01[CLIENT]%1\tmain-2\r\n"
                                        "2027.02.01[CLIENT]help\\guide.htm\t指南.htm\r\n"
                                        "2027.02.01[client]lower.txt\tlower.txt\r\n"
                                        "2027.02.01[sql]lower.sql\tlower.sql\r\n"
                                        "2027.02.01[DOC]manual.pdf\tmanual.pdf\r\n"
                                        "2027.02.01[CLIENT]nofolder/x.txt\tx.txt\r\n"
                                        "2027.03.01[SQL]first.sql\tfirst.sql\r\n")
                             .arg(main)));
    // The last file fetched; its size shows on the progress bar in hundreds of bytes.
    const QByteArray create =
        "CREATE TABLE TUpdLog (step TEXT, n INTEGER)\r\nGO\r\n-- " + QByteArray(1500, '-');
    server.setFile(QStringLiteral("/BrimsollUpdate/SQL/create-1.sql"), create);
    server.setFile(QStringLiteral("/BrimsollUpdate/SQL/first.sql"),
                   "INSERT INTO TUpdLog (step, n) VALUES ('first', 1)\r\n");
    server.setFile(QStringLiteral("/BrimsollUpdate/SQL/second.sql"),
                   "INSERT INTO TUpdLog (step, n) VALUES ('second', 1)\r\nGO\r\nNOT A STATEMENT\r\n go \r\n"
                   "UPDATE TUpdLog SET n = n * 10 WHERE step = 'second'\r\nGo\r\n"
                   "INSERT INTO TUpdLog (step, n) VALUES ('second-last', 2)");
    server.setFile(QStringLiteral("/BrimsollUpdate/SQL/lower.sql"),
                   "INSERT INTO TUpdLog (step, n) VALUES ('lower', 0)");
    server.setFile(QStringLiteral("/BrimsollUpdate/CLIENT/readme-2.txt"), "readme v2");
    server.setFile(QStringLiteral("/BrimsollUpdate/CLIENT/main-2"), MainScript("v2"));
    server.setRedirect(QStringLiteral("/BrimsollUpdate/CLIENT/指南.htm"),
                       QStringLiteral("/files/guide-2.htm"));
    server.setFile(QStringLiteral("/files/guide-2.htm"), "guide v2");
    server.setFile(QStringLiteral("/BrimsollUpdate/CLIENT/lower.txt"), "lower");
    server.setFile(QStringLiteral("/BrimsollUpdate/CLIENT/x.txt"), "x");

    {
        StandIn standIn;
        QVERIFY(standIn.running());
        PromptScript prompts;
        prompts.expectMessage(Done);
        TfrmServerUpdate form;
        RunForm(form);
        QCOMPARE(form.state(), TfrmServerUpdate::State::Ended);
        QCOMPARE(form.windowTitle(), QStringLiteral("费用分摊软件自动升级  2026.12.01 To 2027.03.01"));
        const QProgressBar* bar = form.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
        QCOMPARE(bar->maximum(), int(create.size() / 100));
        QCOMPARE(bar->value(), bar->maximum());
        QTRY_VERIFY(!standIn.running());
    }
    QCOMPARE(server.requests(), (QStringList{
                                    "/BrimsollUpdate/NowUpLoad.txt",
                                    "/BrimsollUpdate/UpdateCnt.txt",
                                    "/BrimsollUpdate/SQL/first.sql",
                                    "/BrimsollUpdate/CLIENT/x.txt",
                                    "/BrimsollUpdate/SQL/lower.sql",
                                    "/BrimsollUpdate/CLIENT/lower.txt",
                                    QStringLiteral("/BrimsollUpdate/CLIENT/指南.htm"),
                                    "/files/guide-2.htm",
                                    "/BrimsollUpdate/CLIENT/main-2",
                                    "/BrimsollUpdate/SQL/second.sql",
                                    "/BrimsollUpdate/CLIENT/readme-2.txt",
                                    "/BrimsollUpdate/SQL/create-1.sql",
                                }));
    QCOMPARE(installation.log(), QStringLiteral("second10,second-last2,first1"));
    QCOMPARE(installation.clientVersion(), QStringLiteral("2027.03.01"));
    QCOMPARE(installation.file(QStringLiteral("readme.txt")), QByteArray("readme v2"));
    QCOMPARE(installation.file(QStringLiteral("help/guide.htm")), QByteArray("guide v2"));
    QCOMPARE(installation.file(main), MainScript("v2"));
    QVERIFY(!installation.exists(QStringLiteral("lower.txt")));
    QVERIFY(installation.exists(QStringLiteral("NetUpdate/CLIENT/lower.txt")));
    QVERIFY(!installation.exists(QStringLiteral("nofolder")));
    QTRY_COMPARE(installation.file(QStringLiteral("restarted")), QByteArray("v2\n"));

    // The same catalog again: nothing to do, nothing ended.
    StandIn standIn;
    PromptScript prompts;
    prompts.expectMessage(NothingNewer);
    TfrmServerUpdate form;
    RunForm(form);
    QCOMPARE(form.state(), TfrmServerUpdate::State::Ended);
    QCOMPARE(server.requests().size(), 14);
    QVERIFY(standIn.running());
}

void TestUpdateRun::stopsBeforeChanging_data() {
    QTest::addColumn<QString>("catalog");
    QTest::addColumn<QStringList>("served");
    QTest::addColumn<bool>("serverUp");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("neverAsked");

    const QString update = QStringLiteral("2027.01.01[SQL]create.sql\tcreate.sql\r\n"
                                          "2027.01.01[CLIENT]readme.txt\treadme.txt\r\n");
    const QStringList files{"UpdateCnt.txt", "SQL/create.sql", "CLIENT/readme.txt"};
    QTest::newRow("busy marker") << update << QStringList{"NowUpLoad.txt"} + files << true
                                 << QStringList{QStringLiteral("服务器正在发布更新文件，请稍后再更新数据！")}
                                 << "/BrimsollUpdate/UpdateCnt.txt";
    QTest::newRow("no catalog on the server")
        << update << QStringList{} << true << QStringList{CatalogFailed} << "";
    QTest::newRow("server does not answer") << update << files << false << QStringList{CatalogFailed} << "";
    QTest::newRow("nothing newer") << QStringLiteral("2026.12.01[SQL]create.sql\tcreate.sql\r\n"
                                                     "2026.01.01[CLIENT]readme.txt\treadme.txt\r\n")
                                   << files << true << QStringList{NothingNewer}
                                   << "/BrimsollUpdate/SQL/create.sql";
    QTest::newRow("a file missing on the server")
        << QStringLiteral("2027.01.01[CLIENT]tool\tmissing-tool\r\n") + update << files << true
        << QStringList{QStringLiteral("下载文件missing-tool失败！")} << "";
    QTest::newRow("an entry without a tab")
        << QStringLiteral("2027.01.01[CLIENT]notab.txt\r\n") + update
        << QStringList{"CLIENT/notab.txt"} + files << true
        << QStringList{QStringLiteral("创建本地文件失败，请以管理员身份登陆操作系统！"),
                       QStringLiteral("下载文件notab.txt失败！")}
        << "";
}

// Each of these ends the run before anything in the program directory or the
// database has changed.
void TestUpdateRun::stopsBeforeChanging() {
    QFETCH(QString, catalog);
    QFETCH(QStringList, served);
    QFETCH(bool, serverUp);
    QFETCH(QStringList, messages);
    QFETCH(QString, neverAsked);

    Installation installation;
    TestHttpServer server;
    QVERIFY(server.listen());
    for (const QString& name : served) {
        const QString path = QStringLiteral("/BrimsollUpdate/") + name;
        if (name == QStringLiteral("UpdateCnt.txt"))
            server.setFile(path, ToGbk(catalog));
        else if (name.endsWith(QStringLiteral(".sql")))
            server.setFile(path, "CREATE TABLE TUpdLog (step TEXT, n INTEGER)");
        else
            server.setFile(path, "new");
    }
    UseServer(serverUp ? server.baseAddress()
                       : QStringLiteral("http://127.0.0.1:%1").arg(TestHttpServer::closedPort()));
    PromptScript prompts;
    for (const QString& message : messages)
        prompts.expectMessage(message);
    TfrmServerUpdate form;
    RunForm(form);
    QCOMPARE(form.state(), TfrmServerUpdate::State::Ended);
    prompts.verifyDone();

    QVERIFY(!installation.hasLog());
    QCOMPARE(installation.clientVersion(), Installed);
    QCOMPARE(installation.file(QStringLiteral("readme.txt")), QByteArray("readme v1"));
    QCOMPARE(installation.file(MainName()), MainScript("v1"));
    QVERIFY(!installation.exists(QStringLiteral("restarted")));
    if (!neverAsked.isEmpty())
        QVERIFY(!server.requests().contains(neverAsked));
}

// The run says so when the new version cannot be recorded (here a script
// renamed the parameter table), and starts the main program all the same.
void TestUpdateRun::versionNotRecorded() {
    Installation installation;
    TestHttpServer server;
    QVERIFY(server.listen());
    UseServer(server.baseAddress());
    server.setFile(QStringLiteral("/BrimsollUpdate/UpdateCnt.txt"),
                   "2027.01.01[SQL]rename.sql\trename.sql\r\n");
    server.setFile(QStringLiteral("/BrimsollUpdate/SQL/rename.sql"),
                   "ALTER TABLE TPara RENAME TO TParaOld\r\n");
    PromptScript prompts;
    prompts.expectMessage(
        QStringLiteral("升级文件已更新，但新版本号未能写入数据库，下次升级时将再次执行本次更新！"));
    TfrmServerUpdate form;
    RunForm(form);
    QCOMPARE(form.state(), TfrmServerUpdate::State::Ended);
    QCOMPARE(DM->GetDataBySQL(QStringLiteral("select ClientVer from TParaOld")), Installed);
    QTRY_COMPARE(installation.file(QStringLiteral("restarted")), QByteArray("v1\n"));
}

// Without the network a local package is chosen; its SERVER entries are put
// in place too (a missing folder is created one level deep).
void TestUpdateRun::offlinePackage() {
    Installation installation;
    UseNoNetwork();
    QTemporaryDir package;
    const QString folder = package.path() + u'/';
    WriteFile(folder + QStringLiteral("UpdateCnt.txt"), "2027.01.01[SQL]create.sql\tcreate.sql\r\n"
                                                        "2027.01.01[CLIENT]readme.txt\treadme.txt\r\n"
                                                        "2027.02.01[SERVER]srv/settings.ini\tsettings.ini\r\n"
                                                        "2027.02.01[SERVER]server.conf\tserver.conf\r\n");
    WriteFile(
        folder + QStringLiteral("SQL/create.sql"),
        "CREATE TABLE TUpdLog (step TEXT, n INTEGER)\r\nGO\r\nINSERT INTO TUpdLog VALUES ('offline', 1)\r\n");
    WriteFile(folder + QStringLiteral("CLIENT/readme.txt"), "readme v2");
    WriteFile(folder + QStringLiteral("SERVER/srv/settings.ini"), "settings");
    WriteFile(folder + QStringLiteral("SERVER/server.conf"), "conf");

    StandIn standIn;
    PromptScript prompts;
    prompts.expectMessage(QStringLiteral("域名解析失败！确认您的电脑已经连接到Internet"))
        .expectQuestion(
            QStringLiteral("不能联网的情况下，可以通过其他渠道获得更新包文件！可以直接选择更新包\n"
                           "是否选择更新包？"),
            true)
        .expect(PromptKind::OpenFile, QString(), PromptAnswer{true, folder + QStringLiteral("chosen.txt")})
        .expectMessage(Done);
    TfrmServerUpdate form;
    RunForm(form);
    QCOMPARE(form.state(), TfrmServerUpdate::State::Ended);
    QCOMPARE(form.windowTitle(), QStringLiteral("Brimsoll软件自动升级"));
    const Prompt dialog = prompts.seen().at(2);
    QCOMPARE(dialog.caption, QStringLiteral("选择更新目录文件"));
    QCOMPARE(dialog.filter, QStringLiteral("UpdateCnt.txt|UpdateCnt.txt"));
    QCOMPARE(dialog.defaultText, QStringLiteral("UpdateCnt.txt"));

    QCOMPARE(installation.log(), QStringLiteral("offline1"));
    QCOMPARE(installation.clientVersion(), QStringLiteral("2027.02.01"));
    QCOMPARE(installation.file(QStringLiteral("readme.txt")), QByteArray("readme v2"));
    QCOMPARE(installation.file(QStringLiteral("srv/settings.ini")), QByteArray("settings"));
    QCOMPARE(installation.file(QStringLiteral("server.conf")), QByteArray("conf"));
    QVERIFY(!installation.exists(QStringLiteral("NetUpdate")));
    QTRY_VERIFY(!standIn.running());
    QTRY_COMPARE(installation.file(QStringLiteral("restarted")), QByteArray("v1\n"));
}

void TestUpdateRun::offlineEnds_data() {
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<bool>("chooseFile");
    QTest::addColumn<TfrmServerUpdate::State>("state");
    QTest::newRow("not answered Yes") << false << false << TfrmServerUpdate::State::Ended;
    QTest::newRow("file dialog cancelled") << true << false << TfrmServerUpdate::State::Ended;
    // Shown as an error; the window stays open without further action.
    QTest::newRow("package without a catalog") << true << true << TfrmServerUpdate::State::Stopped;
}

void TestUpdateRun::offlineEnds() {
    QFETCH(bool, answerYes);
    QFETCH(bool, chooseFile);
    QFETCH(TfrmServerUpdate::State, state);
    Installation installation;
    UseNoNetwork();
    QTemporaryDir package;
    PromptScript prompts;
    prompts.expectMessage(QStringLiteral("域名解析失败！确认您的电脑已经连接到Internet"));
    prompts.expectQuestion(QString(), answerYes);
    if (answerYes)
        prompts.expect(PromptKind::OpenFile, QString(),
                       PromptAnswer{chooseFile, package.filePath(QStringLiteral("UpdateCnt.txt"))});
    if (chooseFile)
        prompts.expect(PromptKind::Error, QString());
    TfrmServerUpdate form;
    RunForm(form);
    QCOMPARE(form.state(), state);
    QCOMPARE(form.isVisible(), state == TfrmServerUpdate::State::Stopped);
    QCOMPARE(installation.clientVersion(), Installed);
    QCOMPARE(installation.file(QStringLiteral("readme.txt")), QByteArray("readme v1"));
}

// The program itself, unattended: messages on standard error, exit code 0.
// Its file name holds the main program's name too, yet it never ends itself,
// and it can replace its own file.
void TestUpdateRun::realExecutable() {
    Installation installation;
    TestHttpServer server;
    QVERIFY(server.listen());
    const QString updater = QStringLiteral("Renovo-") + MainName();
    server.setFile(QStringLiteral("/BrimsollUpdate/UpdateCnt.txt"),
                   ("2027.01.01[SQL]create.sql\tcreate.sql\r\n"
                    "2027.01.01[CLIENT]readme.txt\treadme.txt\r\n"
                    "2027.01.02[CLIENT]" +
                    updater.toUtf8() + "\trenovo\r\n"));
    server.setFile(QStringLiteral("/BrimsollUpdate/SQL/create.sql"),
                   "CREATE TABLE TUpdLog (step TEXT, n INTEGER)");
    server.setFile(QStringLiteral("/BrimsollUpdate/CLIENT/readme.txt"), "readme v2");
    server.setFile(QStringLiteral("/BrimsollUpdate/CLIENT/renovo"), "new updater");
    QVERIFY(QFile::copy(QStringLiteral(RENOVO_EXECUTABLE), installation.dir() + updater));

    StandIn standIn;
    QProcess renovo;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("RENOVO_UPDATE_URL"), server.baseAddress());
    environment.insert(QStringLiteral("RENOVO_MAIN_PROGRAM"), MainName());
    environment.insert(QStringLiteral("RENOVO_UNATTENDED"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    renovo.setProcessEnvironment(environment);
    renovo.start(installation.dir() + updater, {});
    QVERIFY(renovo.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(renovo.state() == QProcess::NotRunning, 60000);
    const QString errors = QString::fromLocal8Bit(renovo.readAllStandardError());
    QCOMPARE(renovo.exitStatus(), QProcess::NormalExit);
    QCOMPARE(renovo.exitCode(), 0);
    QVERIFY2(errors.contains(Done), qPrintable(errors));

    QVERIFY(installation.hasLog());
    QCOMPARE(installation.clientVersion(), QStringLiteral("2027.01.02"));
    QCOMPARE(installation.file(QStringLiteral("readme.txt")), QByteArray("readme v2"));
    QCOMPARE(installation.file(updater), QByteArray("new updater"));
    QTRY_VERIFY(!standIn.running());
    QTRY_COMPARE(installation.file(QStringLiteral("restarted")), QByteArray("v1\n"));
}

QTEST_MAIN(TestUpdateRun)
#include "tst_updaterun.moc"
