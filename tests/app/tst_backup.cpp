// Backup, restore and rebuild: the commands of the main window's system menu.

#include "app/backup.h"
#include "app/datamodule.h"
#include "app/helpers.h"
#include "app/mainwindow.h"
#include "app/openwindow.h"
#include "app/rebuild.h"
#include "support/testsupport.h"

#include <QAction>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <future>
#include <sqlite3.h>
#include <thread>

namespace {

const QString RestoreWarning = QStringLiteral("警告：还原数据库将会把当前设置状况下的数据覆盖，且不可恢复！\n"
                                              "建议在还原之前先备份数据库！\n请谨慎使用本功能！");
const QString RestoreFailed = QStringLiteral("还原数据文件发生错误！");

QByteArray FileHash(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

void WriteFile(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

int Count(const QString& table) {
    return DM->GetDataBySQL("select count(*) from " + table).toInt();
}

// Runs statements on a database file (made when missing) through a connection of its own.
bool ExecOn(const QString& file, const char* sql) {
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    bool ok = sqlite3_open_v2(QFile::encodeName(file).constData(), &db, flags, nullptr) == SQLITE_OK;
    ok = ok && sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// Another connection (standing in for the updater) that inserts rows in one
// transaction, enough to write pages into the database file before it commits,
// and commits on its own thread after a pause.
class BackgroundWriter {
public:
    static constexpr int Rows = 2000;

    explicit BackgroundWriter(const QString& file) {
        std::promise<bool> started;
        std::future<bool> startedResult = started.get_future();
        m_thread =
            std::thread([this, name = QFile::encodeName(file), started = std::move(started)]() mutable {
                sqlite3* db = nullptr;
                sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
                sqlite3_busy_timeout(db, 10000);
                auto exec = [db](const char* sql) {
                    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
                };
                const bool ok =
                    exec("PRAGMA cache_size=10") && exec("BEGIN IMMEDIATE") &&
                    exec("insert into TBillDetail (Desp, Total) "
                         "with recursive n(i) as (select 1 union all select i + 1 from n where i < 2000) "
                         "select hex(randomblob(300)), 1 from n");
                started.set_value(ok);
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                m_committed = ok && exec("COMMIT");
                sqlite3_close(db);
            });
        m_started = startedResult.get();
    }
    ~BackgroundWriter() { join(); }

    bool started() const { return m_started; }
    bool join() {
        if (m_thread.joinable())
            m_thread.join();
        return m_committed;
    }

private:
    std::thread m_thread;
    bool m_started = false;
    bool m_committed = false;
};

// True while another connection holds the file's exclusive lock, i.e. is
// writing into the database file itself.
bool FileIsBeingWritten(const QString& file) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const int rc = sqlite3_exec(db, "select count(*) from TPara", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc == SQLITE_BUSY;
}

// Master data in every table, with an employee and a formula naming the position.
void FillAllTables(TestDatabase& db) {
    db.exec(
        "insert into TEmpClass (TypeCode, TypeName, ParTypeCode, nLeveal) values ('0001', '总部', '', 0);"
        "insert into TEmpClass (TypeCode, TypeName, ParTypeCode, nLeveal) values ('00010001', '财务部', "
        "'0001', 1);"
        "insert into TCustClass (TypeCode, TypeName, ParTypeCode, nLeveal) values ('0001', '办公费', '', 0);"
        "insert into TFunc (FuncCode, FuncName) values ('F01', '会计');"
        "insert into TEmployee (Code, UserName, TypeCode, FuncCode) values ('000100010001', '张三', "
        "'00010001', "
        "'F01');"
        "insert into TFormula (FuncCode, CustTypeCode, Formula) values ('F01', '0001', '1');"
        "insert into TBillDetail (OcrDate, CustCode, DepartCode, Total) values ('2024-01-05 00:00:00', "
        "'0001', "
        "'00010001', 12.5);"
        "insert into TBillDetail (OcrDate, CustCode, DepartCode, Total) values ('2024-02-05 00:00:00', "
        "'0001', "
        "'0001', 3)");
}

const QStringList MasterTables{"TEmpClass", "TCustClass", "TEmployee", "TFunc", "TFormula"};

// Runs the rebuild dialog from the main window's menu; act sets it up and
// clicks in it. Returns whether the dialog closed accepted.
bool RunRebuild(TfrmMain& main, const std::function<void(TfrmReBulid&)>& act) {
    int result = -1;
    SetModalHandler([&](QDialog& dialog) {
        act(static_cast<TfrmReBulid&>(dialog));
        result = dialog.result();
        return result;
    });
    main.action("N23")->trigger();
    SetModalHandler(nullptr);
    return result == QDialog::Accepted;
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void backupThenRestoreReturnsTheBackupsData_data();
    void backupThenRestoreReturnsTheBackupsData();
    void backupCancelledOrFailedKeepsTheDatabaseUsable();
    void restoreRefusesWhatIsNotADatabaseOfTheSystem_data();
    void restoreRefusesWhatIsNotADatabaseOfTheSystem();
    void backupIsCompleteWhileAnotherConnectionWrites();
    void restoreWaitsForAnotherConnectionsWrite();
    void rebuildDeletesTheChosenData_data();
    void rebuildDeletesTheChosenData();
    void rebuildNeedsAChoiceAndAYes();
    void rebuildReportsATableItCouldNotClear();
    void checkBoxesAreLinked();
};

void TestBackup::backupThenRestoreReturnsTheBackupsData_data() {
    QTest::addColumn<QString>("typed"); // empty: the proposed name is taken
    QTest::addColumn<QString>("written");
    const QString today = QDate::currentDate().toString("yyyyMMdd");
    QTest::newRow("proposed name") << QString() << "Bak/" + today + ".CBK";
    QTest::newRow("typed without extension") << "mine"
                                             << "Bak/mine.CBK";
    QTest::newRow("typed with another extension") << "mine.old"
                                                  << "Bak/mine.old";
}

void TestBackup::backupThenRestoreReturnsTheBackupsData() {
    QFETCH(QString, typed);
    QFETCH(QString, written);
    TestDatabase db;
    QVERIFY(QDir().mkpath(db.programDir() + "Bak"));
    const QString backup = db.programDir() + written;
    WriteFile(backup, "an earlier backup of the same name"); // confirmed overwrite
    db.exec("insert into TFunc (FuncCode, FuncName) values ('F01', '会计');"
            "insert into TBillDetail (CustCode, Total) values ('0001', 12.5)");
    TfrmMain main;

    {
        PromptScript prompts;
        prompts.expect(PromptKind::SaveFile, QString(),
                       typed.isEmpty() ? PromptAnswer{}
                                       : PromptAnswer{true, db.programDir() + "Bak/" + typed});
        prompts.expectMessage("备份数据成功！");
        main.action("N2")->trigger();
        const Prompt& dialog = prompts.seen().constFirst();
        QCOMPARE(dialog.caption, QStringLiteral("备份文件"));
        QCOMPARE(dialog.directory, db.programDir() + "Bak");
        QCOMPARE(dialog.filter, QStringLiteral("Brimsoll资料备份文件(*.CBK)|*.CBK"));
        QCOMPARE(dialog.defaultText,
                 db.programDir() + "Bak/" + QDate::currentDate().toString("yyyyMMdd") + ".CBK");
        QCOMPARE(dialog.defaultSuffix, QStringLiteral("CBK"));
    }
    QVERIFY(IsSystemDatabase(backup));
    QVERIFY(DM->IsConnected());

    db.exec("delete from TFunc; insert into TBillDetail (CustCode, Total) values ('0002', 7)");
    {
        PromptScript prompts;
        prompts.expect(PromptKind::Warning, RestoreWarning);
        prompts.expect(PromptKind::OpenFile, QString(), PromptAnswer{true, backup});
        prompts.expectMessage("数据库还原成功！");
        main.action("R1")->trigger();
        const Prompt& dialog = prompts.seen().at(1);
        QCOMPARE(dialog.caption, QStringLiteral("选择文件还原数据库"));
        QCOMPARE(dialog.directory, db.programDir() + "Bak");
        QCOMPARE(dialog.filter, QStringLiteral("Brimsoll资料备份文件(*.CBK)|*.CBK"));
    }
    QVERIFY(DM->IsConnected());
    QCOMPARE(DM->GetDataBySQL("select FuncName from TFunc where FuncCode = 'F01'"), QStringLiteral("会计"));
    QCOMPARE(DM->GetDataBySQL("select group_concat(CustCode) from TBillDetail"), QStringLiteral("0001"));
    // Nothing is left beside the database but the database.
    QCOMPARE(QDir(db.programDir() + "DB").entryList(QDir::Files), QStringList{"Data.MDB"});
}

void TestBackup::backupCancelledOrFailedKeepsTheDatabaseUsable() {
    TestDatabase db;
    TfrmMain main;
    {
        PromptScript prompts;
        prompts.expect(PromptKind::SaveFile, QString(), PromptAnswer{false, {}});
        main.action("N2")->trigger();
    }
    const QString missingFolder = db.programDir() + "没有的目录";
    {
        PromptScript prompts;
        prompts.expect(PromptKind::SaveFile, QString(), PromptAnswer{true, missingFolder + "/x.CBK"});
        prompts.expectMessage("确认目标位置可读写！");
        main.action("N2")->trigger();
    }
    QVERIFY(!QFileInfo::exists(missingFolder));
    QVERIFY(DM->IsConnected());
    db.exec("insert into TFunc (FuncCode, FuncName) values ('F01', '会计')");
    QCOMPARE(Count("TFunc"), 1);
}

void TestBackup::restoreRefusesWhatIsNotADatabaseOfTheSystem_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("text file") << "text";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("database of another program") << "foreign";
    QTest::newRow("database without TPara") << "partial";
    QTest::newRow("backup cut short") << "truncated";
    QTest::newRow("file gone") << "missing";
}

void TestBackup::restoreRefusesWhatIsNotADatabaseOfTheSystem() {
    QFETCH(QString, kind);
    TestDatabase db;
    db.exec("insert into TFunc (FuncCode, FuncName) values ('F01', '会计')");
    QTemporaryDir elsewhere;
    const QString chosen = elsewhere.filePath("chosen.CBK");
    if (kind == "text") {
        WriteFile(chosen, "这不是数据库\n");
    } else if (kind == "empty") {
        WriteFile(chosen, QByteArray());
    } else if (kind == "foreign") {
        QVERIFY(ExecOn(chosen, "create table x (y); insert into x values (1)"));
    } else if (kind == "partial") {
        QVERIFY(QFile::copy(db.databaseFile(), chosen));
        QVERIFY(ExecOn(chosen, "drop table TPara"));
    } else if (kind == "truncated") {
        db.exec("insert into TBillDetail (Desp) values (hex(randomblob(20000)))");
        QVERIFY(BackupDatabase(*DM, chosen));
        QFile f(chosen);
        QVERIFY(f.resize(f.size() / 2));
    }
    const QByteArray before = FileHash(db.databaseFile());

    TfrmMain main;
    {
        PromptScript prompts;
        prompts.expect(PromptKind::Warning, RestoreWarning);
        prompts.expect(PromptKind::OpenFile, QString(), PromptAnswer{true, chosen});
        prompts.expectMessage(RestoreFailed);
        main.action("R1")->trigger();
    }
    QCOMPARE(FileHash(db.databaseFile()), before);
    QCOMPARE(QDir(db.programDir() + "DB").entryList(QDir::Files), QStringList{"Data.MDB"});
    QVERIFY(DM->IsConnected());
    QCOMPARE(DM->GetDataBySQL("select FuncName from TFunc"), QStringLiteral("会计"));
}

void TestBackup::backupIsCompleteWhileAnotherConnectionWrites() {
    TestDatabase db;
    db.exec("insert into TBillDetail (CustCode, Total) values ('0001', 1)");
    const QString backup = db.programDir() + "during-write.CBK";

    BackgroundWriter writer(db.databaseFile());
    QVERIFY(writer.started());
    QVERIFY(FileIsBeingWritten(db.databaseFile()));
    QString error;
    QVERIFY2(BackupDatabase(*DM, backup, &error), qPrintable(error));
    QVERIFY(writer.join());

    // The copy waited for the commit and holds one whole state of the database.
    QVERIFY2(IsSystemDatabase(backup, &error), qPrintable(error));
    QVERIFY(DM->Connect(backup));
    QCOMPARE(Count("TBillDetail"), 1 + BackgroundWriter::Rows);
}

void TestBackup::restoreWaitsForAnotherConnectionsWrite() {
    TestDatabase db;
    db.exec("insert into TBillDetail (CustCode, Total) values ('0001', 1)");
    const QString backup = db.programDir() + "before.CBK";
    QVERIFY(BackupDatabase(*DM, backup));
    db.exec("insert into TBillDetail (CustCode, Total) values ('0002', 2)");

    BackgroundWriter writer(db.databaseFile());
    QVERIFY(writer.started());
    QString error;
    QVERIFY2(RestoreDatabase(*DM, backup, &error), qPrintable(error));
    writer.join();

    // The other connection's unfinished write never reaches the restored file.
    QVERIFY2(IsSystemDatabase(db.databaseFile(), &error), qPrintable(error));
    QVERIFY(DM->IsConnected());
    QCOMPARE(DM->GetDataBySQL("select group_concat(CustCode) from TBillDetail"), QStringLiteral("0001"));
}

void TestBackup::rebuildDeletesTheChosenData_data() {
    QTest::addColumn<bool>("basic");
    QTest::newRow("business data only") << false;
    QTest::newRow("business data and basic information") << true;
}

void TestBackup::rebuildDeletesTheChosenData() {
    QFETCH(bool, basic);
    TestDatabase db;
    FillAllTables(db);
    TfrmMain main;
    QPointer<QWidget> child = OpenChild(std::make_unique<QWidget>(), std::function<bool(QWidget&)>());
    QVERIFY(child);

    PromptScript prompts;
    prompts.expectQuestion("系统重建将清除所有数据，请确认您已经备份了数据库，是否继续？", true);
    prompts.expectMessage("系统重建完成！");
    QVERIFY(RunRebuild(main, [&](TfrmReBulid& dialog) {
        (basic ? dialog.chkJB() : dialog.cmkYW())->click();
        dialog.cmdSH()->click();
    }));
    prompts.verifyDone();

    QTRY_VERIFY(!child);
    QCOMPARE(Count("TBillDetail"), 0);
    for (const QString& table : MasterTables)
        QVERIFY2(basic ? Count(table) == 0 : Count(table) > 0, qPrintable(table));
    QCOMPARE(DM->GetDataBySQL("select ClientVer from TPara"), QStringLiteral("2026.12.01"));
}

void TestBackup::rebuildNeedsAChoiceAndAYes() {
    TestDatabase db;
    FillAllTables(db);
    TfrmMain main;
    QPointer<QWidget> child = OpenChild(std::make_unique<QWidget>(), std::function<bool(QWidget&)>());

    PromptScript prompts;
    prompts.expectMessage("至少需要选择一项清除项目！");
    prompts.expectQuestion("系统重建将清除所有数据，请确认您已经备份了数据库，是否继续？", false);
    QVERIFY(!RunRebuild(main, [](TfrmReBulid& dialog) {
        dialog.cmdSH()->click();
        dialog.chkJB()->click();
        dialog.cmdSH()->click();
        dialog.cmdCancel()->click();
    }));
    prompts.verifyDone();
    QVERIFY(child);
    QCOMPARE(Count("TBillDetail"), 2);
    QCOMPARE(Count("TFunc"), 1);
}

void TestBackup::rebuildReportsATableItCouldNotClear() {
    TestDatabase db;
    FillAllTables(db);
    QVERIFY(ExecOn(
        db.databaseFile(),
        "create trigger KeepDepartments before delete on TEmpClass begin select raise(abort, 'kept'); end"));
    TfrmMain main;

    PromptScript prompts;
    prompts.expectQuestion(QString(), true);
    prompts.expectMessage("清除数据表TEmpClass时发生错误，系统重建未完成！");
    QVERIFY(!RunRebuild(main, [](TfrmReBulid& dialog) {
        dialog.chkJB()->click();
        dialog.cmdSH()->click();
    }));
    prompts.verifyDone();
    // The other statements still ran.
    QCOMPARE(Count("TEmpClass"), 2);
    QCOMPARE(Count("TEmployee"), 0);
    QCOMPARE(Count("TBillDetail"), 0);
}

void TestBackup::checkBoxesAreLinked() {
    TfrmReBulid dialog;
    QCheckBox* business = dialog.cmkYW();
    QCheckBox* basic = dialog.chkJB();
    QVERIFY(!business->isChecked() && !basic->isChecked());

    basic->click(); // basic information needs the business data
    QVERIFY(business->isChecked() && basic->isChecked());
    business->click(); // and goes with it
    QVERIFY(!business->isChecked() && !basic->isChecked());
    business->click();
    QVERIFY(business->isChecked() && !basic->isChecked());
    basic->click();
    basic->click(); // clearing basic information keeps the business data
    QVERIFY(business->isChecked() && !basic->isChecked());

    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
