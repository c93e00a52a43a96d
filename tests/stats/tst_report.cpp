// The command-line report: options, errors, and the table it writes.

#include "support/testsupport.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run Report(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(REPORT_PROGRAM), args);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void badArguments_data();
    void badArguments();
    void missingDatabase();
    void writesTheTableAsCsv();
    void allocationMessagesGoToStandardError();
    void writesAWorkbook();
};

void TestReport::badArguments_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no dates") << QStringList{};
    QTest::newRow("unknown option") << QStringList{"--from", "2024-01-01", "--to", "2024-01-31", "--fast"};
    QTest::newRow("bad date") << QStringList{"--from", "2024-02-30", "--to", "2024-03-31"};
    QTest::newRow("option without value") << QStringList{"--from", "--to", "2024-03-31"};
    QTest::newRow("bad output type") << QStringList{"--from",     "2024-01-01", "--to",
                                                    "2024-01-31", "--output",   "x.pdf"};
}

void TestReport::badArguments() {
    QFETCH(QStringList, args);
    const Run run = Report(args);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.contains("usage:"));
    QVERIFY(run.out.isEmpty());
}

void TestReport::missingDatabase() {
    QTemporaryDir dir;
    const QString missing = dir.filePath("none.MDB");
    const Run run = Report({"--db", missing, "--from", "2024-01-01", "--to", "2024-01-31"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains("cannot open the database"));
    QVERIFY(!QFile::exists(missing));
}

void TestReport::writesTheTableAsCsv() {
    TestDatabase db;
    db.exec(
        "Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values ('0001','总部, \"北京\"','',0);"
        "Insert into TEmployee (Code,UserName,TypeCode) Values ('00010001','张三','0001');"
        "Insert into TCustClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values ('0001','办公费','',0);"
        "Insert into TBillDetail (OcrDate,CustCode,DepartCode,EmpID,Total) Values "
        "('2024-01-31 23:59:59','0001','0001','00010001',12.345),('2024-01-02 08:00:00','0001','0001','',3)");
    const QString file = db.programDir() + "out.csv";
    Run run =
        Report({"--db", db.databaseFile(), "--from", "2024-01-01", "--to", "2024-01-31", "--output", file});
    QCOMPARE(run.exitCode, 0);
    QFile csv(file);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(csv.readAll()), QStringLiteral(",\"+ 总部, \"\"北京\"\"\",\r\n"
                                                              ",,--张三\r\n"
                                                              "--办公费,3.00,12.35\r\n"));
    run = Report({"--db", db.databaseFile(), "--from", "2024-01-01", "--to", "2024-01-31", "--codes",
                  "--include-sub"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QString::fromUtf8(run.out), QStringLiteral(",,0001,00010001\r\n"
                                                        ",,\"+ 总部, \"\"北京\"\"\",\r\n"
                                                        ",,,--张三\r\n"
                                                        "0001,--办公费,15.35,12.35\r\n"));
}

void TestReport::allocationMessagesGoToStandardError() {
    TestDatabase db;
    db.exec("Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values ('0001','总部','',0);"
            "Insert into TEmployee (Code,UserName,TypeCode,FuncCode) Values ('00010001','张三','0001','KJ');"
            "Insert into TCustClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values ('0001','办公费','',0),"
            "('0002','差旅费','',0);"
            "Insert into TFormula (FuncCode,CustTypeCode,Formula) Values ('KJ','0001','1/{SUM_F X:无}'),"
            "('KJ','0002','({SUM_D 0001:总部}+0.5)*2')");
    const Run run =
        Report({"--db", db.databaseFile(), "--from", "2024-01-01", "--to", "2024-01-31", "--allocation"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QString::fromUtf8(run.out), QStringLiteral(",+ 总部,\r\n,,--张三\r\n--办公费,0.00,0.00\r\n"
                                                        "--差旅费,0.00,3.00\r\n"));
    QVERIFY(QString::fromUtf8(run.err).contains(QStringLiteral("错误原因：Floating point division by zero")));
}

void TestReport::writesAWorkbook() {
    TestDatabase db;
    db.exec("Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values ('0001','总部','',0)");
    const QString file = db.programDir() + "out.xlsx";
    const Run run =
        Report({"--db", db.databaseFile(), "--from", "2024-01-01", "--to", "2024-01-31", "--output", file});
    QCOMPARE(run.exitCode, 0);
    QProcess unzip;
    unzip.start("unzip", {"-p", file, "xl/sharedStrings.xml"});
    QVERIFY(unzip.waitForFinished());
    if (unzip.exitCode() != 0)
        QSKIP("unzip is not available");
    QVERIFY(QString::fromUtf8(unzip.readAllStandardOutput()).contains(QStringLiteral("--总部")));
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
