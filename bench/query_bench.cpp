// Speed of the expense query window: a database with 100,000 expense records
// in the window's default period (the last 91 days), opened by the window's
// ReadyData until the grid has painted them (offscreen), and sorted by title
// clicks on several columns, beside the same statement in the sqlite3 shell
// on the same file. Prints each time and the ratios (goal: opening within 3x
// the bare statement; every sort under a second).
//
// The shell is timed twice: its own "Run Time: real" for the statement (rows
// written to /dev/null), the baseline of the ratio, and the wall time of the
// whole shell process for comparison. Every time is the best of several runs.
//
// Usage: query_bench [rows]

#include "app/databasefile.h"
#include "app/datamodule.h"
#include "app/dataset.h"
#include "bills/billquery.h"
#include "bills/billrules.h"
#include "widgets/datagrid.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {

constexpr int Runs = 5;

// Expense records spread over the last 91 days, up to today: every department,
// employee, category and counterparty repeats, as in a real year of entries.
QString FillStatement(int rows) {
    return QStringLiteral(
               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
               "INSERT INTO TBillDetail (OcrDate, CustCode, CustName, DepartCode, DepartName, EmpID, "
               "EmpName, "
               "Total, ContractNo, Provider, Desp) "
               "SELECT strftime('%Y-%m-%d %H:%M:%S', date('now', 'localtime', '-' || ((i * 7919) % 91) || ' "
               "days'), "
               "'+' || ((i * 104729) % 86400) || ' seconds'), "
               "'0001000' || (i % 5 + 1), "
               "CASE i % 5 WHEN 0 THEN '差旅费' WHEN 1 THEN '办公用品' WHEN 2 THEN '招待费' WHEN 3 THEN "
               "'通讯费' "
               "ELSE '交通费' END, "
               "'0001100' || (i % 6), "
               "CASE i % 6 WHEN 0 THEN '总经理办公室' WHEN 1 THEN '财务部' WHEN 2 THEN '销售一部' "
               "WHEN 3 THEN '销售二部' WHEN 4 THEN '技术部' ELSE '行政部' END, "
               "CASE WHEN i % 7 = 0 THEN '' ELSE '0001100' || (i % 6) || '000' || (i % 8 + 1) END, "
               "CASE WHEN i % 7 = 0 THEN '' ELSE "
               "substr('张三李四王五赵六钱七孙八周九吴十', (i % 8) * 2 + 1, 2) END, "
               "((i * 7727) % 1000000) / 100.0, "
               "'HT' || (100000 + i), "
               "'供应商' || ((i * 31) % 500), "
               "CASE WHEN i % 3 = 0 THEN NULL ELSE '备注' || (i % 100) END "
               "FROM n")
        .arg(rows);
}

double Ms(qint64 ns) {
    return double(ns) / 1e6;
}

// The shortest of several runs of work (setup runs before each, untimed).
qint64 BestNs(const std::function<void()>& setup, const std::function<void()>& work) {
    qint64 best = -1;
    for (int i = 0; i < Runs; ++i) {
        setup();
        QElapsedTimer timer;
        timer.start();
        work();
        const qint64 elapsed = timer.nsecsElapsed();
        best = best < 0 ? elapsed : std::min(best, elapsed);
    }
    return best;
}

struct ShellTimes {
    qint64 statementNs = -1; // the shell's own "Run Time: real"
    qint64 processNs = -1;   // the whole shell process
};

// The statement in the sqlite3 shell, its rows written to /dev/null.
bool RunShell(const QString& file, const QString& statement, ShellTimes& best) {
    for (int i = 0; i < Runs; ++i) {
        QProcess shell;
        QElapsedTimer timer;
        timer.start();
        // The shell times a statement it reads from its input, not one given as an argument.
        shell.start(QStringLiteral("sqlite3"), {file});
        shell.write(QStringLiteral(".timer on\n.output /dev/null\n%1;\n").arg(statement).toUtf8());
        shell.closeWriteChannel();
        if (!shell.waitForFinished(120000) || shell.exitCode() != 0) {
            std::fprintf(stderr, "sqlite3 shell failed: %s %s\n", qPrintable(shell.errorString()),
                         shell.readAllStandardError().constData());
            return false;
        }
        const qint64 process = timer.nsecsElapsed();
        static const QRegularExpression runTime(QStringLiteral(R"(Run Time: real ([0-9.]+))"));
        const QRegularExpressionMatch m = runTime.match(QString::fromUtf8(shell.readAllStandardOutput()));
        if (!m.hasMatch()) {
            std::fprintf(stderr, "the sqlite3 shell printed no run time\n");
            return false;
        }
        const qint64 statementNs = qint64(m.captured(1).toDouble() * 1e9);
        best.statementNs = best.statementNs < 0 ? statementNs : std::min(best.statementNs, statementNs);
        best.processNs = best.processNs < 0 ? process : std::min(best.processNs, process);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Data.MDB"));
    QString error;
    if (!CreateDatabaseFile(file, {QStringLiteral(BRIMSOLL_SOURCE_DIR "/db/schema.sql")}, &error)) {
        std::fprintf(stderr, "cannot make the database: %s\n", qPrintable(error));
        return 1;
    }
    TDM dm;
    if (!dm.Connect(file)) {
        std::fprintf(stderr, "cannot connect: %s\n", qPrintable(dm.LastError()));
        return 1;
    }
    DM = &dm;
    try {
        TCommand fill(&dm);
        fill.setCommandText(FillStatement(rows));
        fill.execute();
    } catch (const EDatabaseError& e) {
        std::fprintf(stderr, "cannot fill the database: %s\n", qPrintable(e.message()));
        return 1;
    }

    TfrmBillQuery window;
    window.resize(1200, 700);
    window.show();
    QApplication::processEvents();
    // The statement exactly as the window runs it, in the engine's dialect.
    const QString statement = AccessToSqlite(
        BillQueryStatement(window.dtStart->date(), window.dtEnd->date(), BillFilterClauses({})));

    ShellTimes shell;
    if (!RunShell(file, statement, shell)) // the first runs also warm the file cache
        return 1;

    const qint64 open = BestNs([&] { window.dsQuery->close(); },
                               [&] {
                                   if (!window.ReadyData(QString()))
                                       std::exit(1);
                                   window.DBGridEh1->viewport()->repaint();
                               });
    const TDataSet* data = window.dsQuery;
    std::printf("rows listed: %d of %d\n", data->recordCount(), rows);
    std::printf("footer: %s / %s\n", qPrintable(window.DBGridEh1->footerText(2)),
                qPrintable(window.DBGridEh1->footerText(10)));
    std::printf("sqlite3 shell, statement (Run Time):  %8.1f ms\n", Ms(shell.statementNs));
    std::printf("sqlite3 shell, whole process:         %8.1f ms\n", Ms(shell.processNs));
    std::printf("query window open (ReadyData+paint):  %8.1f ms   ratio %.2f to the statement, %.2f to the "
                "process (goal <= 3)\n",
                Ms(open), double(open) / double(shell.statementNs), double(open) / double(shell.processNs));

    // Each title click flips the one sort direction of the query windows.
    bool sortsFast = true;
    for (int column : {10, 1, 5, 3, 0}) {
        const qint64 sort = BestNs([] {},
                                   [&] {
                                       window.DBGridEh1TitleClick(column);
                                       window.DBGridEh1->viewport()->repaint();
                                   });
        sortsFast = sortsFast && sort < 1'000'000'000;
        std::printf("sort by %-10s                     %8.1f ms   (goal < 1000 ms)\n",
                    qPrintable(window.DBGridEh1->columns()[column].fieldName), Ms(sort));
    }
    const bool openFast = double(open) <= 3.0 * double(shell.statementNs);
    std::printf("%s\n", openFast && sortsFast ? "goals met" : "goals NOT met");
    return 0;
}
