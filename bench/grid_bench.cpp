// Speed of the expense list: a database with 100,000 expense records in one
// period, opened into a dataset shown in a data grid (offscreen) and sorted by
// several columns, beside the same statement run bare through the sqlite3 C API
// on the same file. Prints each time and the ratio of opening to the bare
// statement (goal: within 3x; every sort under a second).
//
// Times are the processor time of the measuring thread, the best of three runs,
// so that other work on a shared machine disturbs the ratios little.
//
// Usage: grid_bench [rows]

#include "app/databasefile.h"
#include "app/datamodule.h"
#include "app/dataset.h"
#include "widgets/datagrid.h"

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <sqlite3.h>
#include <time.h>
#include <vector>

namespace {

// Processor time of the calling thread, in nanoseconds.
qint64 ThreadNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

const QString Statement = QStringLiteral("Select * from TBillDetail where 1=1  and OcrDate>=#2024-01-01#"
                                         "and OcrDate<#2024-04-01# Order by ID Desc");

bool Check(int rc, sqlite3* db, const char* what) {
    if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW)
        return true;
    std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
    return false;
}

// Expense records spread over the first quarter of 2024.
bool FillDatabase(const QString& file, int rows) {
    sqlite3* db = nullptr;
    if (!Check(sqlite3_open(file.toUtf8().constData(), &db), db, "open"))
        return false;
    const char* departments[] = {"总经理办公室", "财务部", "销售一部", "销售二部", "技术部", "行政部"};
    const char* employees[] = {"张三", "李四", "王五", "赵六", "钱七", "孙八", "周九", "吴十"};
    const char* categories[] = {"差旅费", "办公用品", "招待费", "通讯费", "交通费"};
    std::mt19937 random(20240101);
    sqlite3_stmt* insert = nullptr;
    bool ok =
        Check(sqlite3_exec(db, "begin", nullptr, nullptr, nullptr), db, "begin") &&
        Check(sqlite3_prepare_v2(db,
                                 "insert into TBillDetail (OcrDate,CustCode,CustName,DepartCode,DepartName,"
                                 "EmpID,EmpName,Total,ContractNo,Provider,Desp) "
                                 "values (?,?,?,?,?,?,?,?,?,?,?)",
                                 -1, &insert, nullptr),
              db, "prepare");
    for (int i = 0; ok && i < rows; ++i) {
        const int day = int(random() % 91);
        const int department = int(random() % 6);
        const int employee = int(random() % 8);
        const int category = int(random() % 5);
        const QByteArray date = QDate(2024, 1, 1)
                                    .addDays(day)
                                    .startOfDay()
                                    .addSecs(random() % 86400)
                                    .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                    .toUtf8();
        const QByteArray departmentCode = QByteArray("0001") + QByteArray::number(1000 + department);
        const QByteArray employeeCode = departmentCode + QByteArray::number(1000 + employee);
        const QByteArray categoryCode = QByteArray("000") + QByteArray::number(category + 1);
        const QByteArray contract = "HT" + QByteArray::number(100000 + i);
        const QByteArray provider = "供应商" + QByteArray::number(random() % 500);
        sqlite3_bind_text(insert, 1, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, categoryCode.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, categories[category], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, departmentCode.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 5, departments[department], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 6, employeeCode.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 7, employees[employee], -1, SQLITE_STATIC);
        sqlite3_bind_double(insert, 8, double(random() % 1000000) / 100.0);
        sqlite3_bind_text(insert, 9, contract.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 10, provider.constData(), -1, SQLITE_TRANSIENT);
        if (i % 3 == 0)
            sqlite3_bind_null(insert, 11);
        else
            sqlite3_bind_text(insert, 11, "备注", -1, SQLITE_STATIC);
        ok = Check(sqlite3_step(insert), db, "insert");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ok = ok && Check(sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
    return ok;
}

// The statement run bare: every row stepped and every value read in its own type.
qint64 BareStatementNs(const QString& file, int& rows) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const qint64 start = ThreadNs();
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, AccessToSqlite(Statement).toUtf8().constData(), -1, &statement, nullptr);
    const int columns = sqlite3_column_count(statement);
    rows = 0;
    // The engine's calls are opaque to the compiler: every value is read.
    while (sqlite3_step(statement) == SQLITE_ROW) {
        ++rows;
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(statement, c)) {
            case SQLITE_INTEGER:
                sqlite3_column_int64(statement, c);
                break;
            case SQLITE_FLOAT:
                sqlite3_column_double(statement, c);
                break;
            case SQLITE_NULL:
                break;
            default:
                sqlite3_column_text(statement, c);
                sqlite3_column_bytes(statement, c);
                break;
            }
        }
    }
    sqlite3_finalize(statement);
    const qint64 elapsed = ThreadNs() - start;
    sqlite3_close(db);
    return elapsed;
}

QVector<DataGridColumn> QueryColumns() {
    auto column = [](const char* field, const char* title) {
        DataGridColumn c;
        c.fieldName = QString::fromUtf8(field);
        c.title = QString::fromUtf8(title);
        return c;
    };
    QVector<DataGridColumn> columns = {
        column("ID", "序号"),           column("OcrDate", "发生日期"),    column("ContractNo", "合同编号"),
        column("Provider", "目标单位"), column("DepartCode", "部门代码"), column("DepartName", "部门名称"),
        column("EmpName", "职员名称"),  column("EmpID", "雇员编号"),      column("CustCode", "费用代码"),
        column("CustName", "费用类别"), column("Total", "金额"),          column("Desp", "备注")};
    columns[0].footer = {DataGridFooter::Kind::StaticText, QStringLiteral("合计"), {}, {}, Qt::AlignCenter};
    columns[1].displayFormat = QStringLiteral("yyyy-MM-dd");
    columns[2].footer = {DataGridFooter::Kind::Count, {}, {}, QStringLiteral("0条"), Qt::AlignCenter};
    columns[4].visible = columns[7].visible = columns[8].visible = false;
    columns[10].displayFormat = QStringLiteral("0.00");
    columns[10].alignment = Qt::AlignRight | Qt::AlignVCenter;
    columns[10].footer = {DataGridFooter::Kind::Sum, {}, {}, QStringLiteral("0.00"), Qt::AlignCenter};
    return columns;
}

// The shortest of several runs; setup runs before each, outside the timing.
template <typename S, typename F> qint64 BestOfNs(int runs, S&& setup, F&& run) {
    qint64 best = -1;
    for (int i = 0; i < runs; ++i) {
        setup();
        const qint64 start = ThreadNs();
        run();
        const qint64 elapsed = ThreadNs() - start;
        best = best < 0 ? elapsed : std::min(best, elapsed);
    }
    return best;
}

double Ms(qint64 ns) {
    return double(ns) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    constexpr int Runs = 3;

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Data.MDB"));
    QString error;
    if (!CreateDatabaseFile(file, {QStringLiteral(BRIMSOLL_SOURCE_DIR "/db/schema.sql")}, &error)) {
        std::fprintf(stderr, "cannot make the database: %s\n", qPrintable(error));
        return 1;
    }
    if (!FillDatabase(file, rows))
        return 1;
    TDM dm;
    if (!dm.Connect(file)) {
        std::fprintf(stderr, "cannot connect: %s\n", qPrintable(dm.LastError()));
        return 1;
    }
    DM = &dm;

    int bareRows = 0;
    BareStatementNs(file, bareRows); // warms the file cache
    qint64 bare = -1;
    for (int i = 0; i < Runs; ++i) {
        const qint64 run = BareStatementNs(file, bareRows);
        bare = bare < 0 ? run : std::min(bare, run);
    }

    TDataSet data(&dm);
    data.setCommandText(Statement);
    DataGrid grid;
    grid.setColumns(QueryColumns());
    grid.setFooterVisible(true);
    grid.setDataSet(&data);
    grid.resize(1200, 700);
    grid.show();
    QApplication::processEvents();

    const qint64 open = BestOfNs(
        Runs, [&] { data.close(); },
        [&] {
            data.open();
            grid.viewport()->repaint();
        });
    // The dataset's share: the same rows opened with no grid bound (after the
    // grid's, so that both find the heap already grown).
    TDataSet alone(&dm);
    alone.setCommandText(Statement);
    const qint64 openAlone = BestOfNs(
        Runs, [&] { alone.close(); }, [&] { alone.open(); });
    alone.close();
    std::printf("rows: %d (bare statement: %d)\n", data.recordCount(), bareRows);
    std::printf("footer: %s / %s\n", qPrintable(grid.footerText(2)), qPrintable(grid.footerText(10)));
    std::printf("bare statement (sqlite3 C API): %8.1f ms\n", Ms(bare));
    std::printf("open into a dataset alone:      %8.1f ms   ratio %.2f\n", Ms(openAlone),
                double(openAlone) / double(bare));
    std::printf("open into dataset and grid:     %8.1f ms   ratio %.2f (goal <= 3)\n", Ms(open),
                double(open) / double(bare));

    // Each run reverses the order of the previous one, as the shared direction
    // toggle of the query windows does.
    bool sortsFast = true;
    bool ascending = false;
    for (int column : {10, 1, 5, 0}) {
        const qint64 sort = BestOfNs(
            Runs, [&] { ascending = !ascending; },
            [&] {
                grid.sortByColumn(column, ascending);
                grid.viewport()->repaint();
            });
        sortsFast = sortsFast && sort < 1'000'000'000;
        std::printf("sort by %-10s                %8.1f ms   (goal < 1000 ms)\n",
                    qPrintable(grid.columns()[column].fieldName), Ms(sort));
    }
    const bool openFast = double(open) <= 3.0 * double(bare);
    std::printf("%s\n", openFast && sortsFast ? "goals met" : "goals NOT met");
    return 0;
}
