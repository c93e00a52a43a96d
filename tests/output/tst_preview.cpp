// The print preview: loading a data grid and a string grid into the preview
// control, the page layout, and the printed PDF of the expense list and of the
// statistics tables read back with pdftotext.

#include "app/dataset.h"
#include "app/openwindow.h"
#include "app/processprinter.h"
#include "bills/billquery.h"
#include "output/pdftextmap.h"
#include "output/ppreview.h"
#include "output/preview.h"
#include "output/previewlayout.h"
#include "stats/custcount.h"
#include "support/testsupport.h"
#include "widgets/datagrid.h"
#include "widgets/stringgrid.h"
#include "statfixture.h"

#include <QAction>
#include <QDateEdit>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

namespace {

DataGridColumn Column(const QString& field, const QString& title, int width = 80) {
    DataGridColumn column;
    column.fieldName = field;
    column.title = title;
    column.width = width;
    return column;
}

// The expense list's kind of columns: a display format for dates and amounts,
// a hidden code column, a key-list column, a two-line caption and footers.
QVector<DataGridColumn> BillColumns() {
    QVector<DataGridColumn> columns = {
        Column("ID", "序号", 50),   Column("OcrDate", "发生日期", 90),     Column("DepartCode", "部门代码"),
        Column("Desp", "状态", 60), Column("ContractNo", "合同编号", 100), Column("Total", "费用|金额", 90)};
    columns[0].footer = {DataGridFooter::Kind::StaticText, QStringLiteral("合计"), {}, {}, Qt::AlignCenter};
    columns[1].displayFormat = QStringLiteral("yyyy-MM-dd");
    columns[2].visible = false;
    columns[3].keyList = QStringList{"0", "1"};
    columns[3].pickList = QStringList{"未审", "已审"};
    columns[3].alignment = Qt::AlignCenter;
    columns[4].footer = {DataGridFooter::Kind::Count, {}, {}, QStringLiteral("0条"), Qt::AlignCenter};
    columns[5].displayFormat = QStringLiteral("0.00");
    columns[5].alignment = Qt::AlignRight | Qt::AlignVCenter;
    columns[5].footer = {DataGridFooter::Kind::Sum, {}, {}, QStringLiteral("0.00"), Qt::AlignCenter};
    return columns;
}

void InsertBills(TestDatabase& db) {
    db.exec("Insert into TBillDetail (ID,OcrDate,DepartCode,Desp,ContractNo,Total) Values"
            "(1,'2024-03-05 14:30:00','0001','1','HT-1',10.1),"
            "(2,'2024-01-20 08:00:00','0002','9','HT-2',0.3),"
            "(3,'2024-02-11 23:59:59','0001','0','HT-3',100)");
}

struct BillList {
    TDataSet dataSet;
    DataGrid grid;

    BillList() {
        grid.setDataSet(&dataSet);
        grid.setColumns(BillColumns());
        grid.setFooterVisible(true);
    }
    void open(const QString& sql = QStringLiteral("Select * from TBillDetail Order by ID")) {
        dataSet.setCommandText(sql);
        dataSet.open();
    }
};


// The text of a PDF (or of one page of it, from 1), as laid out on the page.
QString PdfText(const QString& pdf, int page = 0) {
    QStringList args{QStringLiteral("-layout")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    QProcess run;
    run.start(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"));
    if (!run.waitForFinished(30000) || run.exitCode() != 0)
        return QString();
    return QString::fromUtf8(run.readAllStandardOutput());
}

// Text without white space: the extraction leaves out the narrow spaces
// between Chinese characters and digits.
QString Compact(QString text) {
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

// Runs the modal preview a command opens through `inside`, which gets the
// shown window; the window is left with 返回.
struct PreviewRun {
    int shown = 0;
    QString pdf;
    QString caption;
    QString title;
    int pages = 0;

    explicit PreviewRun(const QString& pdfFile)
        : pdf(pdfFile) {
        SetModalHandler([this](QDialog& dialog) {
            auto& window = dynamic_cast<TfrmPreview&>(dialog);
            ++shown;
            caption = window.windowTitle();
            window.show();
            title = window.PPreview->pCaption;
            pages = window.PPreview->pageCount();
            const bool printed = window.PPreview->PrintToPdf(pdf);
            window.findChild<QAction*>(QStringLiteral("actReturn"))->trigger();
            if (!printed || window.isVisible() || !window.PPreview->pActive() ||
                !(window.windowState() & Qt::WindowMaximized))
                return -1;
            return window.result();
        });
    }
    ~PreviewRun() { SetModalHandler({}); }
};

} // namespace

class TestPreview : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void headerLines_data();
    void headerLines();
    void dataGridLoad();
    void emptyQueryPutsTheFooterInRowZero();
    void stringGridLoad();
    void pageLayout();
    void queryListPrintsToPdf();
    void longListRepeatsTitleAndHeader();
    void queryNeverRun();
    void queryWindowPrintsItsList();
    void statisticsTables_data();
    void statisticsTables();
    void pdfCommandAsksForAFile();
    void printCommandUsesTheChosenPrinter();
    void textMapNamesTheIdeograph();

private:
    QTemporaryDir m_dir;
};

void TestPreview::initTestCase() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QVERIFY(m_dir.isValid());
}

void TestPreview::headerLines_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("lines"); // lines 0 to 2
    QTest::newRow("no bar repeats") << "金额" << 1 << QStringList{"金额", "金额", "金额"};
    QTest::newRow("last part repeats") << "A|B" << 2 << QStringList{"A", "B", "B"};
    QTest::newRow("three parts") << "费用|管理|办公" << 3 << QStringList{"费用", "管理", "办公"};
    QTest::newRow("empty parts") << "|B|" << 3 << QStringList{"", "B", ""};
    QTest::newRow("empty caption") << "" << 1 << QStringList{"", "", ""};
}

void TestPreview::headerLines() {
    QFETCH(QString, caption);
    QFETCH(int, count);
    QFETCH(QStringList, lines);
    QCOMPARE(TfrmPreview::GetMaxTitleRow(caption), count);
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(HeaderLine(caption, i), lines[i]);
}

void TestPreview::dataGridLoad() {
    TestDatabase db;
    InsertBills(db);
    BillList list;
    list.open();
    TfrmPreview window;
    window.ReadyData1(QStringLiteral("费用单据查询"), &list.grid, &list.dataSet);
    const TPPreview& p = *window.PPreview;
    QCOMPARE(p.pPrintType, 1);
    QCOMPARE(p.pRowHeight, 16);
    QCOMPARE(p.pCaption, QStringLiteral("费用单据查询"));
    QCOMPARE(p.pColCount, 6);
    QCOMPARE(p.pHeaderRowCount, 2);
    QCOMPARE(p.pDataRowCount, 3);
    QCOMPARE(p.pCountRowCount, 0);
    QVERIFY(!p.pShowCount);
    // The hidden column is loaded with width 0, its cells all the same.
    QCOMPARE((QList<int>{p.colWidth(0), p.colWidth(1), p.colWidth(2), p.colWidth(5)}),
             (QList<int>{50, 90, 0, 90}));
    QCOMPARE(p.cell(2, 0), QStringLiteral("0001"));
    QCOMPARE((QList<int>{p.colAlign(0), p.colAlign(3), p.colAlign(5)}), (QList<int>{0, 1, 2}));
    QCOMPARE((QStringList{p.title(0, 0), p.title(0, 1), p.title(5, 0), p.title(5, 1)}),
             (QStringList{"序号", "序号", "费用", "金额"}));
    // Display formats; the key list where a key matches, the shown value where none does.
    QCOMPARE((QStringList{p.cell(0, 0), p.cell(1, 0), p.cell(3, 0), p.cell(5, 0)}),
             (QStringList{"1", "2024-03-05", "已审", "10.10"}));
    QCOMPARE((QStringList{p.cell(3, 1), p.cell(5, 1)}), (QStringList{"9", "0.30"}));
    QCOMPARE(p.cell(3, 2), QStringLiteral("未审"));
    // The footer texts in the row after the last record.
    QCOMPARE((QStringList{p.cell(0, 3), p.cell(1, 3), p.cell(4, 3), p.cell(5, 3)}),
             (QStringList{"合计", "", "3条", "110.40"}));
    QCOMPARE(p.summaryRowCount(), 1);
    // The walk leaves the cursor past the end; the grid shows the last record.
    QVERIFY(list.dataSet.eof());
    QCOMPARE(list.grid.currentIndex().row(), 2);
}

void TestPreview::emptyQueryPutsTheFooterInRowZero() {
    TestDatabase db;
    BillList list;
    list.open();
    TfrmPreview window;
    window.ReadyData1(QStringLiteral("费用单据查询"), &list.grid, &list.dataSet);
    const TPPreview& p = *window.PPreview;
    QCOMPARE(p.pDataRowCount, 0);
    QCOMPARE((QStringList{p.cell(0, 0), p.cell(4, 0), p.cell(5, 0)}), (QStringList{"合计", "0条", "0.00"}));
    const PreviewPages pages = LayoutPreviewPages(p, QSizeF(700, 1000));
    QCOMPARE(pages.pageCount(), 1);
    QCOMPARE(pages.bodyRows, 1);

    // Without a footer row nothing follows the (no) records.
    list.grid.setFooterVisible(false);
    TfrmPreview bare;
    bare.ReadyData1(QStringLiteral("费用单据查询"), &list.grid, &list.dataSet);
    QCOMPARE(bare.PPreview->summaryRowCount(), 0);
}

void TestPreview::stringGridLoad() {
    StringGrid grid;
    grid.setColCount(4);
    grid.setRowCount(3);
    grid.setFixedCols(2);
    grid.setDefaultRowHeight(18);
    grid.setColWidth(0, -1);
    grid.setColWidth(1, 100);
    grid.setColAlignment(1, Qt::AlignLeft | Qt::AlignVCenter);
    grid.setColAlignment(2, Qt::AlignHCenter);
    grid.setColAlignment(3, Qt::AlignRight);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 3; ++r)
            grid.setCell(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
    grid.setCell(2, 0, QStringLiteral("部门|销售部"));
    TfrmPreview window;
    window.ReadyData3(QStringLiteral("基本费用统计"), &grid);
    const TPPreview& p = *window.PPreview;
    QCOMPARE(p.pRowHeight, 18);
    QCOMPARE(p.pColCount, 4);
    QCOMPARE(p.pDataRowCount, 2);
    QCOMPARE(p.pHeaderRowCount, 2);
    QCOMPARE(p.pFixedColCount, 2);
    QCOMPARE((QList<int>{p.colWidth(0), p.colWidth(1), p.colWidth(2), p.colWidth(3)}),
             (QList<int>{0, 100, 64, 64}));
    QCOMPARE((QList<int>{p.colAlign(0), p.colAlign(1), p.colAlign(2), p.colAlign(3)}),
             (QList<int>{2, 0, 1, 2}));
    // Row 0 gives the header lines, the rows below it the data rows.
    QCOMPARE((QStringList{p.title(1, 0), p.title(1, 1), p.title(2, 0), p.title(2, 1)}),
             (QStringList{"1,0", "1,0", "部门", "销售部"}));
    QCOMPARE((QStringList{p.cell(0, 0), p.cell(3, 0), p.cell(3, 1), p.cell(3, 2)}),
             (QStringList{"0,1", "3,1", "3,2", ""}));

    // A grid of one row: the header line and no data rows.
    grid.setRowCount(1);
    TfrmPreview single;
    single.ReadyData3(QStringLiteral("基本费用统计"), &grid);
    QCOMPARE(single.PPreview->pDataRowCount, 0);
    QCOMPARE(single.PPreview->summaryRowCount(), 0);
    QCOMPARE(LayoutPreviewPages(*single.PPreview, QSizeF(700, 1000)).pageCount(), 1);
}

void TestPreview::pageLayout() {
    // 2 fixed columns of 100 and 38 of 84, one hidden; 100 rows of 18.
    PreviewTable table;
    table.pColCount = 41;
    table.pRowHeight = 18;
    table.pDataRowCount = 100;
    table.pFixedColCount = 2;
    for (int c = 0; c < 41; ++c)
        table.pSetColWidth(c, c < 2 ? 100 : 84);
    table.pSetColWidth(20, 0);
    const QSizeF landscape(1047, 720);
    const PreviewPages pages = LayoutPreviewPages(table, landscape);
    // Too wide even when scaled down as far as it goes: slices of whole columns.
    QCOMPARE(pages.scale, MinPreviewScale);
    QVERIFY(pages.slices.size() > 1);
    QList<int> seen;
    for (const QVector<int>& slice : pages.slices) {
        QCOMPARE(slice.mid(0, 2), (QVector<int>{0, 1}));
        double width = 0;
        for (const int c : slice)
            width += table.colWidth(c);
        QVERIFY(width <= pages.page.width());
        seen += slice.mid(2).toList();
    }
    QList<int> expected;
    for (int c = 2; c < 41; ++c)
        if (c != 20)
            expected.append(c);
    QCOMPARE(seen, expected);
    // Every slice runs over all rows.
    QVERIFY(pages.rowStarts.size() > 1);
    QCOMPARE(pages.pageCount(), int(pages.slices.size() * pages.rowStarts.size()));
    QCOMPARE(pages.endRow(pages.pageCount() - 1), 100);
    QCOMPARE(pages.firstRow(pages.rowStarts.size()), 0); // the second slice starts at the top again

    // A table a little too wide is scaled to the page and not cut.
    table.pColCount = 14;
    const PreviewPages scaled = LayoutPreviewPages(table, landscape);
    QCOMPARE(scaled.slices.size(), 1);
    QVERIFY(scaled.scale < 1 && scaled.scale > MinPreviewScale);
    QCOMPARE(qRound(scaled.page.width()), PreviewTableWidth(table));
}

void TestPreview::queryListPrintsToPdf() {
    TestDatabase db;
    InsertBills(db);
    PromptScript prompts;
    BillList list;
    list.open();
    const QString pdf = m_dir.filePath(QStringLiteral("list.pdf"));
    {
        PreviewRun run(pdf);
        PreviewDBGrid(QStringLiteral("费用单据查询"), &list.grid, &list.dataSet);
        QCOMPARE(run.shown, 1);
        QCOMPARE(run.caption, QStringLiteral("打印预览窗口"));
        QCOMPARE(run.pages, 1);
    }
    const QString text = PdfText(pdf);
    for (const char* expected : {"费用单据查询", "序号", "发生日期", "状态", "费用", "金额", "2024-03-05",
                                 "10.10", "0.30", "已审", "HT-2", "合计", "3条", "110.40"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)),
                 qPrintable(QString::fromUtf8(expected) + "\n" + text));
    QVERIFY(Compact(text).contains(QStringLiteral("第1页/共1页")));
    // Neither the hidden column's caption nor its cells.
    QVERIFY(!text.contains(QStringLiteral("部门代码")));
    QVERIFY(!text.contains(QStringLiteral("0002")));
    QVERIFY(list.dataSet.eof());
}

void TestPreview::longListRepeatsTitleAndHeader() {
    TestDatabase db;
    QStringList rows;
    for (int id = 1; id <= 120; ++id)
        rows << QStringLiteral("(%1,'2024-01-01 00:00:00','HT-%1',%1)").arg(id);
    db.exec("Insert into TBillDetail (ID,OcrDate,ContractNo,Total) Values " + rows.join(u','));
    PromptScript prompts;
    BillList list;
    list.open();
    TfrmPreview window;
    window.ReadyData1(QStringLiteral("费用单据查询"), &list.grid, &list.dataSet);
    window.PPreview->pRefresh();
    const int pages = window.PPreview->pageCount();
    QVERIFY(pages >= 2);
    const QString pdf = m_dir.filePath(QStringLiteral("long.pdf"));
    QVERIFY(window.PPreview->PrintToPdf(pdf));
    for (int page = 1; page <= pages; ++page) {
        const QString text = PdfText(pdf, page);
        QVERIFY2(text.contains(QStringLiteral("费用单据查询")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("合同编号")));
        QVERIFY(Compact(text).contains(QStringLiteral("第%1页/共%2页").arg(page).arg(pages)));
        // The footer texts come once, after the last record.
        QCOMPARE(text.contains(QStringLiteral("120条")), page == pages);
    }
    QVERIFY(PdfText(pdf, pages).contains(QStringLiteral("HT-120")));

    // Page navigation in the shown preview.
    window.show();
    auto* number = window.PPreview->findChild<QSpinBox*>(QStringLiteral("PageNumber"));
    QCOMPARE(window.PPreview->currentPage(), 1);
    window.PPreview->findChild<QAction*>(QStringLiteral("actLast"))->trigger();
    QCOMPARE(window.PPreview->currentPage(), pages);
    QCOMPARE(number->value(), pages);
    window.PPreview->findChild<QAction*>(QStringLiteral("actPrevious"))->trigger();
    QCOMPARE(window.PPreview->currentPage(), pages - 1);
    number->setValue(1);
    QCOMPARE(window.PPreview->currentPage(), 1);
}

void TestPreview::queryNeverRun() {
    TestDatabase db;
    PromptScript prompts;
    prompts.expectMessage(QStringLiteral("无查询结果！"));
    BillList list;
    PreviewRun run(m_dir.filePath(QStringLiteral("none.pdf")));
    PreviewDBGrid(QStringLiteral("费用单据查询"), &list.grid, &list.dataSet);
    QCOMPARE(run.shown, 0);
}

void TestPreview::queryWindowPrintsItsList() {
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
    prompts.expectMessage(QStringLiteral("无查询结果！"));
    TfrmBillQuery window;
    const QString pdf = m_dir.filePath(QStringLiteral("query.pdf"));
    PreviewRun run(pdf);
    window.Button4->click(); // before any query
    QCOMPARE(run.shown, 0);
    prompts.verifyDone();

    QVERIFY(window.ReadyData(QString()));
    window.Button4->click();
    QCOMPARE(run.shown, 1);
    QCOMPARE(run.title, QStringLiteral("费用单据查询"));
    const QString text = PdfText(pdf);
    for (const QString& expected :
         {QStringLiteral("费用单据查询"), QStringLiteral("序号"), QStringLiteral("发生日期"),
          QStringLiteral("目标单位"), QStringLiteral("费用类别"), QStringLiteral("备注"), today,
          QStringLiteral("HT-1"), QStringLiteral("东方公司"), QStringLiteral("张三"),
          QStringLiteral("办公费"), QStringLiteral("1.25"), QStringLiteral("2.50"), QStringLiteral("合计"),
          QStringLiteral("2条"), QStringLiteral("3.75")})
        QVERIFY2(text.contains(expected), qPrintable(expected + "\n" + text));
    for (const QString& hidden : {QStringLiteral("部门代码"), QStringLiteral("000100010001")})
        QVERIFY2(!text.contains(hidden), qPrintable(hidden));
    QCOMPARE(window.DBGridEh1->currentIndex().row(), 1);
}

void TestPreview::statisticsTables_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("value");
    QTest::newRow("button 打印(&P), base") << "Button6"
                                           << "基本费用统计"
                                           << "12.50";
    QTest::newRow("base popup 打印") << "N2"
                                     << "基本费用统计"
                                     << "12.50";
    QTest::newRow("button 打印(&P), allocation") << "Button5"
                                                 << "费用分摊明细"
                                                 << "2.00";
    QTest::newRow("allocation popup 打印") << "N1"
                                           << "费用分摊明细"
                                           << "2.00";
}

void TestPreview::statisticsTables() {
    QFETCH(QString, command);
    QFETCH(QString, title);
    QFETCH(QString, value);
    TestDatabase db;
    StatFixture(db);
    PromptScript prompts;
    TfrmCustCount window;
    window.dtStart->setDate(QDate(2024, 1, 1));
    window.dtend->setDate(QDate(2024, 1, 31));
    QVERIFY(window.ReadyfixCount(window.Grid));
    window.cmdRegClick();
    const QString pdf = m_dir.filePath(command + QStringLiteral(".pdf"));
    PreviewRun run(pdf);
    if (auto* button = window.findChild<QPushButton*>(command)) {
        button->click();
    } else {
        QMenu* menu = title == QStringLiteral("基本费用统计") ? window.PopupMenu1 : window.PopupMenu2;
        menu->findChild<QAction*>(command)->trigger();
    }
    QCOMPARE(run.shown, 1);
    QCOMPARE(run.title, title);
    const QString text = PdfText(pdf);
    // The header line holds the column codes; the grid's name rows come first
    // among the data rows, then the categories with their values.
    for (const QString& expected :
         {title, QStringLiteral("0001"), QStringLiteral("00010001"), QStringLiteral("+ 总部"),
          QStringLiteral("--张三"), QStringLiteral("--办公费"), value})
        QVERIFY2(text.contains(expected), qPrintable(expected + "\n" + text));
    // The hidden code column is not printed: no row code left of its name.
    QVERIFY(!text.contains(QRegularExpression(QStringLiteral("0001\\s+\\+ 管理费用|00010001\\s+--办公费"))));
}

void TestPreview::pdfCommandAsksForAFile() {
    TPPreview preview;
    preview.pCaption = QStringLiteral("基本/费用");
    preview.pColCount = 1;
    preview.pDataRowCount = 1;
    preview.pSetColWidth(0, 80);
    preview.pSetTitle(0, 0, QStringLiteral("名称"));
    preview.pSetCell(0, 0, QStringLiteral("办公费"));
    const QString pdf = m_dir.filePath(QStringLiteral("asked.pdf"));
    {
        PromptScript prompts;
        prompts.expect(PromptKind::SaveFile, QString(), PromptAnswer{true, pdf});
        preview.findChild<QAction*>(QStringLiteral("actPdf"))->trigger();
        QCOMPARE(prompts.seen().first().defaultText, QStringLiteral("基本_费用.pdf"));
    }
    QVERIFY(PdfText(pdf).contains(QStringLiteral("办公费")));
    {
        // Cancelled: nothing; a file that cannot be written: a warning.
        PromptScript prompts;
        prompts.expect(PromptKind::SaveFile, QString(), PromptAnswer{false, {}});
        const QString bad = m_dir.filePath(QStringLiteral("no/such/folder/x.pdf"));
        prompts.expect(PromptKind::SaveFile, QString(), PromptAnswer{true, bad});
        prompts.expect(PromptKind::Warning,
                       QStringLiteral("不能写入文件“%1”！").arg(QDir::toNativeSeparators(bad)));
        preview.PdfClick();
        preview.PdfClick();
    }
}

void TestPreview::printCommandUsesTheChosenPrinter() {
    TestDatabase db;
    InsertBills(db);
    BillList list;
    list.open();
    TfrmPreview window;
    window.ReadyData1(QStringLiteral("费用单据查询"), &list.grid, &list.dataSet);
    window.PPreview->pagePrinter().setPageOrientation(QPageLayout::Landscape);
    // The printer set-up chose to print into a file.
    QPrinter& printer = ProcessPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageOrientation(QPageLayout::Portrait);
    const QString pdf = m_dir.filePath(QStringLiteral("printer.pdf"));
    printer.setOutputFileName(pdf);
    {
        PromptScript prompts;
        window.PPreview->findChild<QAction*>(QStringLiteral("actPrint"))->trigger();
    }
    QVERIFY(PdfText(pdf).contains(QStringLiteral("费用单据查询")));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY(info.waitForFinished(30000));
    // Printed across the paper, as previewed.
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)"))
            .match(QString::fromUtf8(info.readAllStandardOutput()));
    QVERIFY(size.hasMatch());
    QVERIFY(size.captured(1).toDouble() > size.captured(2).toDouble());
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);

    printer.setOutputFileName(m_dir.filePath(QStringLiteral("no/such/folder/printer.pdf")));
    {
        PromptScript prompts;
        prompts.expect(PromptKind::Warning, QStringLiteral("打印失败，请在“打印设置”中选择打印机！"));
        window.PPreview->PrintClick();
    }
}

void TestPreview::textMapNamesTheIdeograph() {
    // The font draws 用 and the radical ⽤ (U+2F64), 页 and ⻚ (U+2EDA), the
    // space and the tab with one glyph each.
    const QHash<char16_t, char16_t> corrections = TextMapCorrections({PreviewFont(12, false)});
    QCOMPARE(corrections.value(0x2F64), char16_t(0x7528));
    QCOMPARE(corrections.value(0x2EDA), char16_t(0x9875));
    QCOMPARE(corrections.value(0x0009), char16_t(0x0020));
    QVERIFY(!corrections.contains(0x7528));

    // Glyph by glyph in arrays and single glyphs are put right; a run of
    // glyphs onto a run of characters, and everything outside the maps, stay.
    const QByteArray before = "stream <2F64>\n2 beginbfrange\n<0000> <0000> <0000>\n"
                              "<0001> <0003> [<8D39> <2F64> <0009> ]\n<0004> <0004> <2EDA>\n"
                              "<0005> <000F> <2F64>\nendbfrange\n<2F64>";
    const QByteArray after = "stream <2F64>\n2 beginbfrange\n<0000> <0000> <0000>\n"
                             "<0001> <0003> [<8D39> <7528> <0020> ]\n<0004> <0004> <9875>\n"
                             "<0005> <000F> <2F64>\nendbfrange\n<2F64>";
    QByteArray pdf = before;
    QCOMPARE(RepairPdfTextMap(pdf, corrections), 3);
    QCOMPARE(pdf, after);
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
