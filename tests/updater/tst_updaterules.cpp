// The updater's rules without its window: catalog evaluation, entries, script
// splitting and running, downloads, putting files in place, ending processes.

#include "app/datamodule.h"
#include "httpserver.h"
#include "support/testsupport.h"
#include "updater/download.h"
#include "updater/processes.h"
#include "updater/updatecatalog.h"
#include "updater/updaterun.h"
#include "updater/updatescript.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(bytes);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestUpdateRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void evaluateCatalog_data();
    void evaluateCatalog();
    void readTextLines();
    void splitEntry_data();
    void splitEntry();
    void splitScript_data();
    void splitScript();
    void exeASQLFile();
    void downLoadFile_data();
    void downLoadFile();
    void putFileInPlace();
    void killProcess();
};

void TestUpdateRules::evaluateCatalog_data() {
    QTest::addColumn<QByteArray>("catalog");
    QTest::addColumn<QByteArray>("installed");
    QTest::addColumn<QStringList>("pending");
    QTest::addColumn<QByteArray>("newVersion");

    QTest::newRow("newer lines in reverse order")
        << QByteArray("2024.01.01[SQL]a\ta\n2024.02.01[SQL]b\tb\n2024.03.01[CLIENT]c\tc")
        << QByteArray("2024.01.15") << QStringList{"[CLIENT]c\tc", "[SQL]b\tb"} << QByteArray("2024.03.01");
    QTest::newRow("equal version is not newer")
        << QByteArray("2024.01.15[SQL]a\ta\n2024.01.01[SQL]b\tb") << QByteArray("2024.01.15") << QStringList{}
        << QByteArray("2024.01.15");
    QTest::newRow("duplicate kept at the lower line, higher version counts")
        << QByteArray("2024.03.01[SQL]a\ta\n2024.02.01[SQL]b\tb\n2024.02.01[SQL]a\ta")
        << QByteArray("2024.01.01") << QStringList{"[SQL]a\ta", "[SQL]b\tb"} << QByteArray("2024.03.01");
    QTest::newRow("duplicate with one old line")
        << QByteArray("2024.02.01[SQL]a\ta\n2024.03.01[SQL]b\tb\n2023.01.01[SQL]a\ta")
        << QByteArray("2024.01.01") << QStringList{"[SQL]b\tb", "[SQL]a\ta"} << QByteArray("2024.03.01");
    QTest::newRow("short line counts only for the version")
        << QByteArray("2024.02.01[SQL]a\ta\n2025") << QByteArray("2024.01.01") << QStringList{"", "[SQL]a\ta"}
        << QByteArray("2025");
    QTest::newRow("a beginning is the smaller")
        << QByteArray("2024.01\n2024.01.01[SQL]a\ta") << QByteArray("2024.01.01") << QStringList{}
        << QByteArray("2024.01.01");
    QTest::newRow("longer than the installed beginning")
        << QByteArray("2024.01.01[SQL]a\ta") << QByteArray("2024.01") << QStringList{"[SQL]a\ta"}
        << QByteArray("2024.01.01");
    QTest::newRow("bytes compare without sign") << QByteArray("\xb0\xe6"
                                                              "2024.01.[SQL]a\ta")
                                                << QByteArray("zzzzzzzzzz") << QStringList{"[SQL]a\ta"}
                                                << QByteArray("\xb0\xe6"
                                                              "2024.01.");
    QTest::newRow("empty installed version") << QByteArray("2024.01.01[SQL]a\ta") << QByteArray()
                                             << QStringList{"[SQL]a\ta"} << QByteArray("2024.01.01");
}

void TestUpdateRules::evaluateCatalog() {
    QFETCH(QByteArray, catalog);
    QFETCH(QByteArray, installed);
    QFETCH(QStringList, pending);
    QFETCH(QByteArray, newVersion);
    const CatalogEvaluation result = EvaluateCatalog(catalog.split('\n'), installed);
    QCOMPARE(result.pending, pending);
    QCOMPARE(result.newVersion, newVersion);
}

// Lines end at CR, LF or CR LF; the catalog is GBK text.
void TestUpdateRules::readTextLines() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("UpdateCnt.txt"));
    WriteFile(file, "a\r\nb\rc\n\nd" + ToGbk(QStringLiteral("费用")) + "\r\n");
    QStringList lines;
    QVERIFY(ReadGbkLines(file, lines));
    QCOMPARE(lines, (QStringList{"a", "b", "c", "", QStringLiteral("d费用")}));
    QVERIFY(!ReadGbkLines(dir.filePath(QStringLiteral("missing.txt")), lines));
}

void TestUpdateRules::splitEntry_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("localName");
    QTest::addColumn<QString>("remoteName");
    QTest::newRow("client") << "[CLIENT]Brimsoll\tBrimsoll-2.0"
                            << "CLIENT"
                            << "Brimsoll"
                            << "Brimsoll-2.0";
    QTest::newRow("lower case section") << "[sql]a.sql\tb.sql"
                                        << "sql"
                                        << "a.sql"
                                        << "b.sql";
    QTest::newRow("path with backslashes") << "[CLIENT]help\\help.htm\th.htm"
                                           << "CLIENT"
                                           << "help/help.htm"
                                           << "h.htm";
    QTest::newRow("only the first tab splits") << "[SQL]a\tb\tc"
                                               << "SQL"
                                               << "a"
                                               << "b\tc";
    QTest::newRow("no tab: empty local name") << "[CLIENT]readme.txt"
                                              << "CLIENT"
                                              << ""
                                              << "readme.txt";
    QTest::newRow("no bracket") << "CLIENT readme\tr"
                                << ""
                                << "CLIENT readme"
                                << "r";
    QTest::newRow("empty") << ""
                           << ""
                           << ""
                           << "";
}

void TestUpdateRules::splitEntry() {
    QFETCH(QString, entry);
    QFETCH(QString, section);
    QFETCH(QString, localName);
    QFETCH(QString, remoteName);
    const CatalogEntry parts = SplitEntry(entry);
    QCOMPARE(parts.section, section);
    QCOMPARE(parts.localName, localName);
    QCOMPARE(parts.remoteName, remoteName);
}

void TestUpdateRules::splitScript_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("statements");
    QTest::newRow("no separator: one statement") << QStringList{"create table A (x int)", "  -- note  "}
                                                 << QStringList{"create table A (x int)\r\n  -- note  \r\n"};
    QTest::newRow("separators in any case, trimmed") << QStringList{"a", "go", "b", " Go\t", "c", "GO", "d"}
                                                     << QStringList{"a\r\n", "b\r\n", "c\r\n", "d\r\n"};
    QTest::newRow("GO; is no separator") << QStringList{"a", "GO;", "b"} << QStringList{"a\r\nGO;\r\nb\r\n"};
    QTest::newRow("ends with a separator") << QStringList{"a", "GO"} << QStringList{"a\r\n"};
    QTest::newRow("blank statements have no effect")
        << QStringList{"GO", "a", "GO", "GO", "  ", "GO", "b"} << QStringList{"a\r\n", "b\r\n"};
    QTest::newRow("GO inside a line is text")
        << QStringList{"select 'GO'", "GOTO"} << QStringList{"select 'GO'\r\nGOTO\r\n"};
    QTest::newRow("empty") << QStringList{} << QStringList{};
}

void TestUpdateRules::splitScript() {
    QFETCH(QStringList, lines);
    QFETCH(QStringList, statements);
    QCOMPARE(SplitScript(lines), statements);
}

// Statements run in file order; a failing one is skipped and the rest go on.
void TestUpdateRules::exeASQLFile() {
    TestDatabase db;
    QVERIFY(db.isValid());
    const QString script = db.programDir() + QStringLiteral("update.sql");
    WriteFile(script, ToGbk(QStringLiteral("CREATE TABLE TUpd (n INTEGER, s TEXT)\r\nGO\r\n"
                                           "INSERT INTO TUpd (n, s) VALUES (1, '费用')\r\ngo\r\n"
                                           "INSERT INTO Missing VALUES (1)\r\n GO \r\n"
                                           "UPDATE TUpd SET n = n + 10\r\nGO\r\n"
                                           "INSERT INTO TUpd (n, s) VALUES (2, '  kept  ')\r\n")));
    TDM dm;
    QVERIFY(dm.Connect(db.databaseFile()));
    QCOMPARE(ExeASQLFile(dm, script), 4);
    QCOMPARE(DM->GetDataBySQL(QStringLiteral("select group_concat(n || s, '|') from TUpd")),
             QStringLiteral("11费用|2  kept  "));
    QCOMPARE(ExeASQLFile(dm, db.programDir() + QStringLiteral("missing.sql")), 0);
}

void TestUpdateRules::downLoadFile_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("localFile");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("message");
    QTest::newRow("file") << "/BrimsollUpdate/SQL/a.sql"
                          << "NetUpdate/a.sql" << true << "";
    QTest::newRow("redirect followed") << "/old/a.sql"
                                       << "NetUpdate/a.sql" << true << "";
    QTest::newRow("Chinese name") << "/BrimsollUpdate/CLIENT/指南 1.htm"
                                  << "NetUpdate/指南.htm" << true << "";
    QTest::newRow("not found: no message") << "/BrimsollUpdate/SQL/none.sql"
                                           << "NetUpdate/none.sql" << false << "";
    QTest::newRow("folders made several levels down") << "/BrimsollUpdate/SQL/a.sql"
                                                      << "NetUpdate/SQL/deep/a.sql" << true << "";
    QTest::newRow("folder cannot be made")
        << "/BrimsollUpdate/SQL/a.sql"
        << "blocker/SQL/a.sql" << false << QStringLiteral("创建本地文件夹失败，请以管理员身份登陆操作系统！");
    QTest::newRow("no file name") << "/BrimsollUpdate/SQL/a.sql"
                                  << "NetUpdate/" << false
                                  << QStringLiteral("创建本地文件失败，请以管理员身份登陆操作系统！");
}

void TestUpdateRules::downLoadFile() {
    QFETCH(QString, path);
    QFETCH(QString, localFile);
    QFETCH(bool, ok);
    QFETCH(QString, message);
    TestHttpServer server;
    QVERIFY(server.listen());
    const QByteArray body(1234, 'x');
    server.setFile(QStringLiteral("/BrimsollUpdate/SQL/a.sql"), body);
    server.setFile(QStringLiteral("/BrimsollUpdate/CLIENT/指南 1.htm"), body);
    server.setRedirect(QStringLiteral("/old/a.sql"), QStringLiteral("/BrimsollUpdate/SQL/a.sql"));
    QTemporaryDir dir;
    WriteFile(dir.filePath(QStringLiteral("blocker")), "a file where a folder would be");
    PromptScript prompts;
    if (!message.isEmpty())
        prompts.expectMessage(message);

    THttpClient http;
    QSignalSpy begun(&http, &THttpClient::workBegin);
    QSignalSpy work(&http, &THttpClient::work);
    const QString target = dir.path() + u'/' + localFile;
    QCOMPARE(DownLoadFile(http, server.baseAddress() + path, target), ok);
    if (ok) {
        QCOMPARE(ReadFile(target), body);
        QCOMPARE(begun.size(), 1);
        QCOMPARE(begun.constFirst().constFirst().toLongLong(), qint64(body.size()));
        QCOMPARE(work.constLast().constFirst().toLongLong(), qint64(body.size()));
    }
    QCOMPARE(work.constFirst().constFirst().toLongLong(), 0);
}

// A program file keeps its permissions; a file that cannot be put in place
// leaves the target as it was.
void TestUpdateRules::putFileInPlace() {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("new"));
    const QString target = dir.filePath(QStringLiteral("Brimsoll"));
    WriteFile(source, "new program");
    WriteFile(target, "old program");
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(PutFileInPlace(source, target));
    QCOMPARE(ReadFile(target), QByteArray("new program"));
    QVERIFY(QFileInfo(target).isExecutable());

    QVERIFY(!PutFileInPlace(dir.filePath(QStringLiteral("missing")), target));
    QCOMPARE(ReadFile(target), QByteArray("new program"));
    QVERIFY(!PutFileInPlace(source, dir.filePath(QStringLiteral("nofolder/file"))));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("nofolder"))));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"Brimsoll", "new"}));
}

// The match is on the executable's file name, anywhere in it, ASCII letters
// in any case. The names are unique to this test run.
void TestUpdateRules::killProcess() {
    const QString sleep = QStandardPaths::findExecutable(QStringLiteral("sleep"));
    QVERIFY(!sleep.isEmpty());
    QTemporaryDir dir;
    const QString name = QStringLiteral("StandInMain%1").arg(QCoreApplication::applicationPid());
    const QString copy = dir.filePath(QStringLiteral("old-") + name.toLower() + QStringLiteral(".bin"));
    QVERIFY(QFile::copy(sleep, copy));
    QProcess standIn;
    standIn.start(copy, {QStringLiteral("60")});
    QVERIFY(standIn.waitForStarted());

    QCOMPARE(KillProcess(name + QStringLiteral("x")), 0);
    QCOMPARE(KillProcess(QString()), 0);
    QCOMPARE(standIn.state(), QProcess::Running);
    QCOMPARE(KillProcess(name), 1);
    QVERIFY(standIn.waitForFinished(5000));
    QCOMPARE(standIn.exitStatus(), QProcess::CrashExit);
    QCOMPARE(KillProcess(name), 0);
}

QTEST_MAIN(TestUpdateRules)
#include "tst_updaterules.moc"
