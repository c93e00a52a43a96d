// The data grid: display texts of the column descriptions, footers following
// deletions, title-click sorting with its marker, the current row shared with
// the dataset, and the row double-click.

#include "app/dataset.h"
#include "support/testsupport.h"
#include "widgets/datagrid.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

DataGridColumn Column(const QString& field, const QString& title = QString()) {
    DataGridColumn column;
    column.fieldName = field;
    column.title = title;
    return column;
}

// The expense list's columns, as the query window describes them.
QVector<DataGridColumn> BillColumns() {
    QVector<DataGridColumn> columns = {Column("ID", "序号"),
                                       Column("OcrDate", "发生日期"),
                                       Column("ContractNo", "合同编号"),
                                       Column("DepartCode", "部门代码"),
                                       Column("EmpName", "职员名称"),
                                       Column("Total", "金额")};
    columns[0].footer = {DataGridFooter::Kind::StaticText, QStringLiteral("合计"), {}, {}, Qt::AlignCenter};
    columns[1].displayFormat = QStringLiteral("yyyy-MM-dd");
    columns[2].footer = {DataGridFooter::Kind::Count, {}, {}, QStringLiteral("0条"), Qt::AlignCenter};
    columns[3].visible = false;
    columns[5].displayFormat = QStringLiteral("0.00");
    columns[5].alignment = Qt::AlignRight | Qt::AlignVCenter;
    columns[5].footer = {DataGridFooter::Kind::Sum, {}, {}, QStringLiteral("0.00"), Qt::AlignCenter};
    return columns;
}

// Three expense records; the statement lists them newest first.
void InsertBills(TestDatabase& db) {
    db.exec(QStringLiteral("Insert into TBillDetail (ID,OcrDate,ContractNo,DepartCode,EmpName,Total) "
                           "Values(1,'2024-03-05 14:30:00','HT-2','0001','张三',10.10);"
                           "Insert into TBillDetail (ID,OcrDate,ContractNo,DepartCode,EmpName,Total) "
                           "Values(2,'2024-01-20 08:00:00','HT-3','0001','李四',0.2);"
                           "Insert into TBillDetail (ID,OcrDate,ContractNo,DepartCode,EmpName,Total) "
                           "Values(3,'2024-02-11 23:59:59','HT-1','0002','王五',100)"));
}

QStringList ColumnTexts(const DataGrid& grid, int column) {
    QStringList texts;
    for (int row = 0; row < grid.model()->rowCount(); ++row)
        texts.append(grid.cellText(row, column));
    return texts;
}

QStringList FooterTexts(const DataGrid& grid) {
    QStringList texts;
    for (int column = 0; column < grid.model()->columnCount(); ++column)
        texts.append(grid.footerText(column));
    return texts;
}

int CurrentRow(const DataGrid& grid) {
    return grid.currentIndex().isValid() ? grid.currentIndex().row() : -1;
}

} // namespace

class TestDataGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void columnText_data();
    void columnText();
    void gridShowsTheDataset();
    void footersFollowDeletionsDownToTheEmptyList();
    void sortOrdersRowsAndMarksTheTitle_data();
    void sortOrdersRowsAndMarksTheTitle();
    void titleClickLeavesTheOrderToTheReceiver();
    void currentRowIsTheDatasetsCurrentRow();
    void lastRowScrollsUpAboveTheFooter();
    void doubleClickNamesTheRow();
};

void TestDataGrid::columnText_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("text");
    const QStringList noKeys;
    const QStringList sex{"0", "1"};
    QTest::newRow("stored date-time as date")
        << QVariant("2024-03-05 14:30:00") << "yyyy-MM-dd" << noKeys << "2024-03-05";
    QTest::newRow("text that is no date") << QVariant("soon") << "yyyy-MM-dd" << noKeys << "soon";
    QTest::newRow("NULL date") << QVariant() << "yyyy-MM-dd" << noKeys << "";
    QTest::newRow("amount") << QVariant(12.5) << "0.00" << noKeys << "12.50";
    QTest::newRow("half a cent rounds away from zero") << QVariant(-0.125) << "0.00" << noKeys << "-0.13";
    QTest::newRow("tiny negative amount") << QVariant(-0.001) << "0.00" << noKeys << "0.00";
    QTest::newRow("integer amount") << QVariant(qlonglong(100)) << "0.00" << noKeys << "100.00";
    QTest::newRow("numeric text") << QVariant("3") << "0.00" << noKeys << "3.00";
    QTest::newRow("text that is no number") << QVariant("n/a") << "0.00" << noKeys << "n/a";
    QTest::newRow("count with unit") << QVariant(qlonglong(7)) << "0条" << noKeys << "7条";
    QTest::newRow("no decimals, no negative zero") << QVariant(-0.4) << "0" << noKeys << "0";
    QTest::newRow("one decimal") << QVariant(1234.56) << "0.0" << noKeys << "1234.6";
    QTest::newRow("no format") << QVariant(12.5) << "" << noKeys << "12.5";
    QTest::newRow("key 0") << QVariant(qlonglong(0)) << "" << sex << "男";
    QTest::newRow("key 1") << QVariant(qlonglong(1)) << "" << sex << "女";
    QTest::newRow("no matching key") << QVariant(qlonglong(-1)) << "" << sex << "";
    QTest::newRow("NULL under a key list") << QVariant() << "" << sex << "";
    QTest::newRow("key list wins over format") << QVariant(qlonglong(1)) << "0.00" << sex << "女";
    QTest::newRow("key without pick entry") << QVariant("2") << "" << QStringList{"0", "1", "2"} << "";
}

void TestDataGrid::columnText() {
    QFETCH(QVariant, value);
    QFETCH(QString, format);
    QFETCH(QStringList, keys);
    QFETCH(QString, text);
    DataGridColumn column = Column("F");
    column.displayFormat = format;
    column.keyList = keys;
    column.pickList = QStringList{"男", "女"};
    QCOMPARE(ColumnText(column, value), text);
}

void TestDataGrid::gridShowsTheDataset() {
    TestDatabase db;
    db.exec(QStringLiteral("Insert into TFunc (FuncCode,FuncName) Values('ZJL','总经理');"
                           "Insert into TEmployee (Code,UserName,Sex,ZZStu,TypeCode,FuncCode) "
                           "Values('00010001','张三',0,1,'0001','ZJL');"
                           "Insert into TEmployee (Code,UserName,Sex,ZZStu,TypeCode,FuncCode) "
                           "Values('00010002','李丽',1,-1,'0001','NONE')"));
    TDataSet data;
    data.setCommandText(
        QStringLiteral("Select TEmployee.*,TFunc.FuncName from TEmployee left join TFunc on  "
                       "TEmployee.FuncCode=TFunc.FuncCode where   TEmployee.TypeCode='0001'"));
    DataGrid grid;
    QVector<DataGridColumn> columns = {Column("ID"), Column("UserName", "姓名"), Column("Sex", "性别"),
                                       Column("FuncName", "职位"), Column("ZZStu", "在职状态")};
    columns[0].visible = false;
    columns[2].keyList = columns[4].keyList = QStringList{"0", "1"};
    columns[2].pickList = QStringList{"男", "女"};
    columns[4].pickList = QStringList{"离职", "在职"};
    columns[3].width = 120;
    grid.setColumns(columns);
    grid.setDataSet(&data);
    QCOMPARE(grid.model()->rowCount(), 0); // closed: an empty list
    data.open();

    QCOMPARE(grid.model()->rowCount(), 2);
    QCOMPARE(ColumnTexts(grid, 1), (QStringList{"张三", "李丽"}));
    QCOMPARE(ColumnTexts(grid, 2), (QStringList{"男", "女"}));
    QCOMPARE(ColumnTexts(grid, 3), (QStringList{"总经理", ""}));
    QCOMPARE(ColumnTexts(grid, 4), (QStringList{"在职", ""})); // no status chosen (-1)
    QVERIFY(grid.isColumnHidden(0));
    QVERIFY(!grid.cellText(0, 0).isEmpty()); // a hidden column still has its texts
    const QAbstractItemModel& model = *grid.model();
    QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("职位"));
    QCOMPARE(model.headerData(3, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsEditable));
    QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectRows);

    grid.horizontalHeader()->resizeSection(3, 150); // the user widens a column
    QCOMPARE(grid.columns()[3].width, 150);
    QCOMPARE(grid.columns()[0].width, 80); // a hidden column keeps its described width
    QCOMPARE(grid.columns()[2].pickList, (QStringList{"男", "女"}));
}

void TestDataGrid::footersFollowDeletionsDownToTheEmptyList() {
    TestDatabase db;
    InsertBills(db);
    TDataSet data;
    DataGrid grid;
    grid.setColumns(BillColumns());
    grid.setFooterVisible(true);
    grid.setDataSet(&data);
    QCOMPARE(FooterTexts(grid), (QStringList{"合计", "", "", "", "", ""})); // no query yet
    data.setCommandText(QStringLiteral("Select * from TBillDetail Order by ID Desc"));
    data.open();
    QCOMPARE(FooterTexts(grid), (QStringList{"合计", "", "3条", "", "", "110.30"}));

    data.setRecNo(1); // the middle row, ID 2
    data.deleteRow();
    QCOMPARE(ColumnTexts(grid, 0), (QStringList{"3", "1"}));
    QCOMPARE(FooterTexts(grid), (QStringList{"合计", "", "2条", "", "", "110.10"}));
    QCOMPARE(CurrentRow(grid), 1); // the row after the deleted one
    data.deleteRow();
    QCOMPARE(CurrentRow(grid), 0); // the last row went: the one before it
    QCOMPARE(FooterTexts(grid), (QStringList{"合计", "", "1条", "", "", "100.00"}));
    data.deleteRow();
    QCOMPARE(grid.model()->rowCount(), 0);
    QCOMPARE(CurrentRow(grid), -1);
    QCOMPARE(FooterTexts(grid), (QStringList{"合计", "", "0条", "", "", "0.00"}));

    data.close();
    QCOMPARE(FooterTexts(grid), (QStringList{"合计", "", "", "", "", ""}));
}

void TestDataGrid::sortOrdersRowsAndMarksTheTitle_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("ascending");
    QTest::addColumn<QStringList>("ids");
    QTest::newRow("amount ascending, as numbers") << 5 << true << QStringList{"2", "1", "3"};
    QTest::newRow("amount descending") << 5 << false << QStringList{"3", "1", "2"};
    QTest::newRow("date ascending") << 1 << true << QStringList{"2", "3", "1"};
    QTest::newRow("name ascending, by pinyin") << 4 << true << QStringList{"2", "3", "1"};
    QTest::newRow("hidden column") << 3 << false << QStringList{"3", "1", "2"};
}

void TestDataGrid::sortOrdersRowsAndMarksTheTitle() {
    QFETCH(int, column);
    QFETCH(bool, ascending);
    QFETCH(QStringList, ids);
    TestDatabase db;
    InsertBills(db);
    TDataSet data;
    data.setCommandText(QStringLiteral("Select * from TBillDetail Order by ID"));
    DataGrid grid;
    grid.setColumns(BillColumns());
    grid.setDataSet(&data);
    QVERIFY(!grid.sortByColumn(column, ascending)); // nothing to sort before the query ran
    data.open();
    data.setRecNo(2);

    QVERIFY(grid.sortByColumn(column, ascending));
    QCOMPARE(ColumnTexts(grid, 0), ids);
    QCOMPARE(grid.sortColumn(), column);
    QCOMPARE(grid.horizontalHeader()->sortIndicatorSection(), column);
    QCOMPARE(grid.horizontalHeader()->sortIndicatorOrder(),
             ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    QCOMPARE(CurrentRow(grid), data.recNo());

    data.open(); // a new query: the statement's order, no marker
    QCOMPARE(grid.sortColumn(), -1);
    QCOMPARE(grid.horizontalHeader()->sortIndicatorSection(), -1);
    QCOMPARE(ColumnTexts(grid, 0), (QStringList{"1", "2", "3"}));
}

void TestDataGrid::titleClickLeavesTheOrderToTheReceiver() {
    TestDatabase db;
    InsertBills(db);
    TDataSet data;
    data.setCommandText(QStringLiteral("Select * from TBillDetail Order by ID"));
    data.open();
    DataGrid grid;
    grid.setColumns(BillColumns());
    grid.setDataSet(&data);
    grid.resize(700, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy clicks(&grid, &DataGrid::titleClicked);
    QHeaderView* titles = grid.horizontalHeader();
    auto clickTitle = [&](int column) {
        const QPoint centre(titles->sectionViewportPosition(column) + titles->sectionSize(column) / 2,
                            titles->height() / 2);
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, centre);
    };

    clickTitle(4); // nobody sorts: no marker appears
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks.at(0).at(0).toInt(), 4);
    QCOMPARE(titles->sortIndicatorSection(), -1);

    // A receiver that sorts descending on every click, as a shared toggle may.
    connect(&grid, &DataGrid::titleClicked, &grid, [&grid](int column) { grid.sortByColumn(column, false); });
    clickTitle(5);
    clickTitle(5);
    QCOMPARE(titles->sortIndicatorSection(), 5);
    QCOMPARE(titles->sortIndicatorOrder(), Qt::DescendingOrder);
    QCOMPARE(ColumnTexts(grid, 0), (QStringList{"3", "1", "2"}));
}

void TestDataGrid::currentRowIsTheDatasetsCurrentRow() {
    TestDatabase db;
    InsertBills(db);
    TDataSet data;
    data.setCommandText(QStringLiteral("Select * from TBillDetail Order by ID"));
    DataGrid grid;
    grid.setColumns(BillColumns());
    grid.setDataSet(&data);
    data.open();
    QCOMPARE(CurrentRow(grid), 0);

    grid.selectRow(2); // the user picks a row
    QCOMPARE(data.recNo(), 2);
    QCOMPARE(data.asString("ContractNo"), QStringLiteral("HT-1"));
    QCOMPARE(grid.model()->headerData(2, Qt::Vertical).toString(), QStringLiteral("\u25B6"));
    QCOMPARE(grid.model()->headerData(0, Qt::Vertical).toString(), QString());

    // A walk through all rows leaves the dataset past its end; the grid shows
    // the last row and leaves the dataset where it stands.
    for (data.first(); !data.eof(); data.next()) {
    }
    grid.followRecNo();
    QCOMPARE(CurrentRow(grid), 2);
    QVERIFY(data.eof());

    // Rows written through the dataset: a changed row stays current, an
    // appended one becomes current.
    data.setRecNo(0);
    grid.followRecNo();
    data.edit();
    data.setValue("EmpName", QStringLiteral("赵六"));
    data.post();
    QCOMPARE(grid.cellText(0, 4), QStringLiteral("赵六"));
    QCOMPARE(CurrentRow(grid), 0);
    data.append();
    data.setValue("Total", 5);
    grid.selectRow(1); // while a row is being written, choosing a row does not move the dataset
    data.post();
    QCOMPARE(grid.model()->rowCount(), 4);
    QCOMPARE(CurrentRow(grid), 3);
    QCOMPARE(grid.footerText(5), QStringLiteral("115.30"));
}

void TestDataGrid::lastRowScrollsUpAboveTheFooter() {
    TestDatabase db;
    for (int i = 0; i < 40; ++i)
        db.exec(QStringLiteral("Insert into TBillDetail (Total) Values(%1)").arg(i));
    TDataSet data;
    data.setCommandText(QStringLiteral("Select * from TBillDetail Order by ID"));
    data.open();
    DataGrid grid;
    grid.setColumns(BillColumns());
    grid.setFooterVisible(true);
    grid.setDataSet(&data);
    grid.resize(500, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    const QWidget* footer = grid.findChild<QWidget*>(QStringLiteral("footer"));
    QVERIFY(footer && footer->isVisible());
    QCOMPARE(footer->geometry().bottom(), grid.viewport()->geometry().bottom());
    const int visibleBottom = grid.viewport()->height() - footer->height();

    data.setRecNo(39);
    grid.followRecNo();
    QVERIFY(grid.rowViewportPosition(39) + grid.rowHeight(39) <= visibleBottom);
    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
    QCOMPARE(grid.rowViewportPosition(39) + grid.rowHeight(39), visibleBottom);
}

void TestDataGrid::doubleClickNamesTheRow() {
    TestDatabase db;
    InsertBills(db);
    TDataSet data;
    data.setCommandText(QStringLiteral("Select * from TBillDetail Order by ID"));
    data.open();
    DataGrid grid;
    grid.setColumns(BillColumns());
    grid.setDataSet(&data);
    grid.resize(700, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy doubleClicks(&grid, &DataGrid::rowDoubleClicked);

    const QPoint onRow = grid.visualRect(grid.model()->index(1, 2)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, onRow);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, onRow);
    QCOMPARE(doubleClicks.size(), 1);
    QCOMPARE(doubleClicks.at(0).at(0).toInt(), 1);
    QCOMPARE(data.recNo(), 1);

    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, QPoint(5, grid.viewport()->height() - 5));
    QCOMPARE(doubleClicks.size(), 1);                                // below the rows: no row, no signal
    QVERIFY(grid.selectionModel()->isRowSelected(1, QModelIndex())); // and the current row stays chosen
}

QTEST_MAIN(TestDataGrid)
#include "tst_datagrid.moc"
