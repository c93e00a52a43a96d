// Sending tables to a spreadsheet: the workbooks written for a data grid and
// for the statistics window's string grids, read back from their XML, and the
// messages when there is nothing to send or nothing opens the workbook.

#include "app/dataset.h"
#include "bills/billquery.h"
#include "output/sendtoexcel.h"
#include "output/sheetexport.h"
#include "stats/custcount.h"
#include "support/testsupport.h"
#include "widgets/datagrid.h"
#include "widgets/stringgrid.h"
#include "statfixture.h"
#include "workbookreader.h"

#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

const QString CannotConnect = QStringLiteral("系统不能连接到Excel,请确认Excel是否安装！");

DataGridColumn Column(const QString& field, const QString& title) {
    DataGridColumn column;
    column.fieldName = field;
    column.title = title;
    return column;
}

// A list like the expense query's: a hidden code column in the middle, a
// display format the export ignores, and a key-list column.
QVector<DataGridColumn> BillColumns() {
    QVector<DataGridColumn> columns = {Column("ID", "序号"),
                                       Column("OcrDate", "发生日期"),
                                       Column("DepartCode", "部门代码"),
                                       Column("DepartName", "部门名称"),
                                       Column("Desp", "状态"),
                                       Column("Total", "金额")};
    columns[1].displayFormat = QStringLiteral("yyyy-MM-dd");
    columns[2].visible = false;
    columns[4].keyList = QStringList{"0", "1"};
    columns[4].pickList = QStringList{"未审", "已审"};
    columns[5].displayFormat = QStringLiteral("0.00");
    return columns;
}

void InsertBills(TestDatabase& db) {
    db.exec("Insert into TBillDetail (ID,OcrDate,DepartCode,DepartName,Desp,Total,ContractNo) Values"
            "(1,'2024-03-05 14:30:00','0001','总部','1',10.1,'HT-1'),"
            "(2,'2024-01-20 08:00:00','0002','销售部','9',0.2,'HT-2'),"
            "(3,'2024-02-11 23:59:59','0001','总部','0',100,'HT-3')");
}

// A data grid over a query, inside a window with a caption.
struct ListWindow {
    QWidget window;
    TDataSet dataSet;
    DataGrid* grid;

    explicit ListWindow(const QVector<DataGridColumn>& columns)
        : grid(new DataGrid(&window)) {
        window.setWindowTitle(QStringLiteral("费用单据查询"));
        grid->setDataSet(&dataSet);
        grid->setColumns(columns);
    }
    void open(const QString& sql) {
        dataSet.setCommandText(sql);
        dataSet.open();
    }
};


// The column letters of a sheet column (from 1).
QString Letter(int col) {
    QString letters;
    for (; col > 0; col = (col - 1) / 26)
        letters.prepend(QChar(u'A' + (col - 1) % 26));
    return letters;
}

} // namespace

class TestExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void dataGridSheet();
    void emptyQueryKeepsTheCaptionRow();
    void workSnCellEndsInSpaceAndReturn();
    void queryNeverRun();
    void queryWindowSendsItsList();
    void statisticsTables_data();
    void statisticsTables();
    void stringGridOfOneRow();
    void workbookNobodyOpens();
    void workbookThatCannotBeWritten();

private:
    QStringList m_opened; // workbooks handed to the opener
    bool m_openerSucceeds = true;
    std::unique_ptr<QTemporaryDir> m_temp;
    QByteArray m_oldTemp;
};

void TestExport::init() {
    m_opened.clear();
    m_openerSucceeds = true;
    SetWorkbookOpener([this](const QString& path) {
        m_opened.append(path);
        return m_openerSucceeds;
    });
    // The workbooks go below the temporary folder: a fresh one for every case.
    m_oldTemp = qgetenv("TMPDIR");
    m_temp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_temp->isValid());
    qputenv("TMPDIR", m_temp->path().toUtf8());
}

void TestExport::cleanup() {
    SetWorkbookOpener({});
    qputenv("TMPDIR", m_oldTemp);
    m_temp.reset();
}

void TestExport::dataGridSheet() {
    TestDatabase db;
    InsertBills(db);
    PromptScript prompts;
    ListWindow list(BillColumns());
    list.open("Select * from TBillDetail Order by ID");
    SendToExcel(QStringLiteral("费用清单"), list.grid);

    QCOMPARE(m_opened.size(), 1);
    const QString path = m_opened.first();
    QVERIFY(path.startsWith(QDir(QDir::tempPath()).filePath("Brimsoll/费用清单_")));
    QVERIFY(path.endsWith(".xlsx"));
    const SheetCells sheet = ReadFirstSheet(path);
    QVERIFY2(sheet.ok, qPrintable(sheet.error));
    using Row = QMap<QString, QString>;
    QCOMPARE(sheet.row(1), (Row{{"A", "费用清单"}}));
    // The hidden department code leaves no gap.
    QCOMPARE(sheet.row(2),
             (Row{{"A", "序号"}, {"B", "发生日期"}, {"C", "部门名称"}, {"D", "状态"}, {"E", "金额"}}));
    // Plain values, not the display formats; the key "9" has no entry and its
    // cell stays empty while the amount stays in its column.
    QCOMPARE(sheet.row(3),
             (Row{{"A", "1"}, {"B", "2024-03-05 14:30:00"}, {"C", "总部"}, {"D", "已审"}, {"E", "10.1"}}));
    QCOMPARE(sheet.row(4), (Row{{"A", "2"}, {"B", "2024-01-20 08:00:00"}, {"C", "销售部"}, {"E", "0.2"}}));
    QCOMPARE(sheet.row(5),
             (Row{{"A", "3"}, {"B", "2024-02-11 23:59:59"}, {"C", "总部"}, {"D", "未审"}, {"E", "100"}}));
    QCOMPARE(sheet.cells.size(), 1 + 5 + 14);
    // The workbook carries the title as the caption of the spreadsheet window.
    QVERIFY(ZipMember(path, "docProps/core.xml").contains("<dc:title>费用清单</dc:title>"));
    // The walk leaves the cursor past the last record; the grid shows that record.
    QVERIFY(list.dataSet.eof());
    QCOMPARE(list.grid->currentIndex().row(), 2);
}

void TestExport::emptyQueryKeepsTheCaptionRow() {
    TestDatabase db;
    PromptScript prompts;
    ListWindow list(BillColumns());
    list.open("Select * from TBillDetail");
    SendToExcel(QString(), list.grid);

    QCOMPARE(m_opened.size(), 1);
    // Without a title the file is named after the window's caption.
    QVERIFY2(QFileInfo(m_opened.first()).fileName().startsWith("费用单据查询_"),
             qPrintable(m_opened.first()));
    const SheetCells sheet = ReadFirstSheet(m_opened.first());
    QVERIFY2(sheet.ok, qPrintable(sheet.error));
    QCOMPARE(sheet.row(1).size(), 0);
    QCOMPARE(sheet.row(2).size(), 5);
    QCOMPARE(sheet.cells.size(), 5);
}

void TestExport::workSnCellEndsInSpaceAndReturn() {
    TestDatabase db;
    InsertBills(db);
    PromptScript prompts;
    ListWindow list({Column("ID", "序号"), Column("WorkSn", "工号"), Column("workSn", "工号2")});
    list.open("Select ID, ContractNo as WorkSn, ContractNo as workSn2 from TBillDetail Where ID=1");
    SendToExcel(QStringLiteral("工号"), list.grid);

    QCOMPARE(m_opened.size(), 1);
    const SheetCells sheet = ReadFirstSheet(m_opened.first());
    QVERIFY2(sheet.ok, qPrintable(sheet.error));
    QCOMPARE(sheet.at("B3"), QStringLiteral("HT-1 \r"));
    // Only the exact field name takes the rule.
    QCOMPARE(sheet.at("A3"), QStringLiteral("1"));
}

void TestExport::queryNeverRun() {
    TestDatabase db;
    PromptScript prompts;
    prompts.expectMessage(QStringLiteral("查询过程没有执行，没有数据库可以发送！"));
    ListWindow list(BillColumns());
    SendToExcel(QString(), list.grid);
    QVERIFY(m_opened.isEmpty());
    QVERIFY(!QFileInfo::exists(ExportFolder()));
}

void TestExport::queryWindowSendsItsList() {
    TestDatabase db;
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    db.exec(QStringLiteral(
                "Insert into TBillDetail (ID,OcrDate,CustCode,CustName,DepartCode,DepartName,EmpID,"
                "EmpName,Total,ContractNo,Provider,Desp) Values"
                "(7,'%1 09:00:00','0001','管理费用','0002','分公司','','',1.25,'HT-1','东方公司','备注'),"
                "(8,'%1 10:00:00','00010001','办公费','00010001','销售部','000100010001','张三',2.5,"
                "'','','')")
                .arg(today));
    PromptScript prompts;
    prompts.expectMessage(QStringLiteral("查询过程没有执行，没有数据库可以发送！"));
    TfrmBillQuery window;
    window.Button3->click(); // before any query
    QVERIFY(m_opened.isEmpty());
    prompts.verifyDone();
    QVERIFY(window.ReadyData(QString()));
    window.Button3->click();

    QCOMPARE(m_opened.size(), 1);
    QVERIFY(QFileInfo(m_opened.first()).fileName().startsWith("费用单据查询_"));
    const SheetCells sheet = ReadFirstSheet(m_opened.first());
    QVERIFY2(sheet.ok, qPrintable(sheet.error));
    using Row = QMap<QString, QString>;
    QCOMPARE(sheet.row(1), Row());
    // The codes of department, employee and category are hidden and packed away.
    QCOMPARE(sheet.row(2), (Row{{"A", "序号"},
                                {"B", "发生日期"},
                                {"C", "合同编号"},
                                {"D", "目标单位"},
                                {"E", "部门名称"},
                                {"F", "职员名称"},
                                {"G", "费用类别"},
                                {"H", "金额"},
                                {"I", "备注"}}));
    // Newest first, as the list shows them.
    QCOMPARE(sheet.row(3), (Row{{"A", "8"},
                                {"B", today + " 10:00:00"},
                                {"E", "销售部"},
                                {"F", "张三"},
                                {"G", "办公费"},
                                {"H", "2.5"}}));
    QCOMPARE(sheet.row(4), (Row{{"A", "7"},
                                {"B", today + " 09:00:00"},
                                {"C", "HT-1"},
                                {"D", "东方公司"},
                                {"E", "分公司"},
                                {"G", "管理费用"},
                                {"H", "1.25"},
                                {"I", "备注"}}));
    QCOMPARE(window.DBGridEh1->currentIndex().row(), 1);
}

void TestExport::statisticsTables_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("title");
    QTest::newRow("button 发送&Excel") << "Button4"
                                       << "基本费用统计";
    QTest::newRow("base popup 发送到Excel") << "Excel1"
                                            << "基本费用统计";
    QTest::newRow("button 发送到&Excel") << "Button2"
                                         << "费用分摊明细";
    QTest::newRow("allocation popup 发送到Excel") << "MenuItem1"
                                                  << "费用分摊明细";
}

void TestExport::statisticsTables() {
    QFETCH(QString, command);
    QFETCH(QString, title);
    TestDatabase db;
    StatFixture(db);
    PromptScript prompts;
    TfrmCustCount window;
    window.dtStart->setDate(QDate(2024, 1, 1));
    window.dtend->setDate(QDate(2024, 1, 31));
    QVERIFY(window.ReadyfixCount(window.Grid));
    window.cmdRegClick();
    const bool base = title == QStringLiteral("基本费用统计");
    const StringGrid* grid = base ? window.Grid : window.GridCalc;
    QVERIFY(grid->rowCount() > grid->fixedRows());
    if (auto* button = window.findChild<QPushButton*>(command)) {
        QVERIFY(button->isEnabled());
        button->click();
    } else {
        QMenu* menu = base ? window.PopupMenu1 : window.PopupMenu2;
        QAction* action = menu->findChild<QAction*>(command);
        QVERIFY(action && action->isEnabled());
        action->trigger();
    }

    QCOMPARE(m_opened.size(), 1);
    QVERIFY(QFileInfo(m_opened.first()).fileName().startsWith(title + "_"));
    const SheetCells sheet = ReadFirstSheet(m_opened.first());
    QVERIFY2(sheet.ok, qPrintable(sheet.error));
    QVERIFY(ZipMember(m_opened.first(), "docProps/core.xml").contains("<dc:title>基本费用统计表</dc:title>"));
    QCOMPARE(sheet.row(1), (QMap<QString, QString>{{"A", title}}));
    QCOMPARE(sheet.row(2).size(), 0);
    // Grid row r from 1 is sheet row r + 2; the code column 0 is left out.
    int cells = 1;
    for (int r = 1; r < grid->rowCount(); ++r)
        for (int c = 1; c < grid->colCount(); ++c) {
            QCOMPARE(sheet.at(Letter(c) + QString::number(r + 2)), grid->cell(c, r));
            cells += grid->cell(c, r).isEmpty() ? 0 : 1;
        }
    QCOMPARE(sheet.cells.size(), cells);
    // Names and values arrive, the codes of row 0 and column 0 never do.
    const QStringList texts = sheet.cells.values();
    QVERIFY(texts.contains("--张三"));
    QVERIFY(texts.contains("--办公费"));
    QVERIFY(texts.contains(base ? "12.50" : "2.00"));
    for (const char* code : {"0001", "00010001", "000100010001"})
        QVERIFY2(!texts.contains(QString::fromUtf8(code)), code);
}

void TestExport::stringGridOfOneRow() {
    PromptScript prompts;
    StringGrid grid;
    grid.setColCount(4);
    grid.setRowCount(1);
    for (int c = 0; c < 4; ++c)
        grid.setCell(c, 0, QStringLiteral("代码%1").arg(c));
    SendStringGridToExcel(QStringLiteral("基本费用统计"), &grid, QStringLiteral("基本费用统计表"));
    QCOMPARE(m_opened.size(), 1);
    const SheetCells sheet = ReadFirstSheet(m_opened.first());
    QVERIFY2(sheet.ok, qPrintable(sheet.error));
    QCOMPARE(sheet.cells, (QMap<QString, QString>{{"A1", "基本费用统计"}}));

    // Columns of width 0 or -1 are packed away; the others keep their order.
    grid.setRowCount(2);
    for (int c = 0; c < 4; ++c)
        grid.setCell(c, 1, QString::number(c));
    grid.setColWidth(1, 0);
    grid.setColWidth(2, -1);
    const TextSheet packed = StringGridSheet(QStringLiteral("表"), *grid.gridModel());
    QCOMPARE(packed.rows.size(), 3);
    QCOMPARE(packed.rows[2], QStringList{"3"});
}

void TestExport::workbookNobodyOpens() {
    TestDatabase db;
    InsertBills(db);
    m_openerSucceeds = false;
    PromptScript prompts;
    prompts.expect(PromptKind::Information, QString());
    ListWindow list(BillColumns());
    list.open("Select * from TBillDetail");
    SendToExcel(QString(), list.grid);

    QCOMPARE(m_opened.size(), 1);
    const QString path = m_opened.first();
    // The workbook is there all the same, and the message says where.
    QCOMPARE(prompts.seen().last().text,
             CannotConnect + QStringLiteral("\n工作簿已保存在：") + QDir::toNativeSeparators(path));
    const SheetCells sheet = ReadFirstSheet(path);
    QVERIFY2(sheet.ok, qPrintable(sheet.error));
    QCOMPARE(sheet.at("C3"), QStringLiteral("总部"));
}

void TestExport::workbookThatCannotBeWritten() {
    TestDatabase db;
    InsertBills(db);
    // A file stands where the folder of the workbooks would be.
    QFile blocker(ExportFolder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    PromptScript prompts;
    prompts.expectMessage(CannotConnect);
    ListWindow list(BillColumns());
    list.open("Select * from TBillDetail");
    SendToExcel(QString(), list.grid);
    QVERIFY(m_opened.isEmpty());
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
