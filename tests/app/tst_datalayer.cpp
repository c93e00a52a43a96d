// The data layer: dialect translation, the data module's helpers, datasets and
// commands on a database made from the schema.

#include "app/datamodule.h"
#include "app/dataset.h"
#include "app/helpers.h"
#include "support/testsupport.h"

#include <QFile>
#include <QTest>

class TestDataLayer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void accessToSqlite_data();
    void accessToSqlite();
    void connectRefusesMissingAndForeignFiles();
    void connectAcceptsPathWithSpacesAndChinese();
    void getDataBySql();
    void getDataBySqlToItems();
    void datasetReadsTypedFields();
    void datasetSortsLoadedRows();
    void datasetEditsOneTable();
    void postRefusalIsAnErrorAndKeepsEditState();
    void positionInUseCannotBeDeleted();
    void quotedTextIsStoredAsTyped();
    void dateLiteralsCompareWithStoredDates();
};

void TestDataLayer::accessToSqlite_data() {
    QTest::addColumn<QString>("access");
    QTest::addColumn<QString>("sqlite");
    QTest::newRow("plain") << "Select * from TFunc" << "Select * from TFunc";
    QTest::newRow("date literals") << "Select * from TBillDetail where OcrDate>=#2024-01-01# and OcrDate<#2024-02-01#"
                                   << "Select * from TBillDetail where OcrDate>='2024-01-01' and OcrDate<'2024-02-01'";
    QTest::newRow("single-digit month and day") << "x>=#2024-1-5#" << "x>='2024-01-05'";
    QTest::newRow("date with time") << "x<#2024-01-05 7:30:00#" << "x<'2024-01-05 07:30:00'";
    QTest::newRow("hash inside quoted value") << "Select * from T where Desp='#2024-01-01#' and x=#2024-01-02#"
                                              << "Select * from T where Desp='#2024-01-01#' and x='2024-01-02'";
    QTest::newRow("doubled quote inside value") << "where a='it''s #1#' and d=#2024-03-04#"
                                                << "where a='it''s #1#' and d='2024-03-04'";
    QTest::newRow("bracketed name kept") << "Select [Code] from TEmployee" << "Select [Code] from TEmployee";
    QTest::newRow("not a date") << "where a=#abc# or b=1" << "where a=#abc# or b=1";
    QTest::newRow("invalid date") << "where a=#2024-02-30#" << "where a=#2024-02-30#";
    QTest::newRow("lone hash") << "where a='x' #" << "where a='x' #";
    QTest::newRow("unterminated quote") << "where a='x #2024-01-01#" << "where a='x #2024-01-01#";
}

void TestDataLayer::accessToSqlite() {
    QFETCH(QString, access);
    QFETCH(QString, sqlite);
    QCOMPARE(AccessToSqlite(access), sqlite);
}

void TestDataLayer::connectRefusesMissingAndForeignFiles() {
    QTemporaryDir dir;
    TDM dm;
    const QString missing = dir.filePath(QStringLiteral("DB/Data.MDB"));
    QVERIFY(!dm.Connect(missing));
    QVERIFY(!QFile::exists(missing));
    QVERIFY(!dm.IsConnected());

    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    QVERIFY(!dm.Connect(text));
    QVERIFY(!dm.IsConnected());
    QCOMPARE(dm.GetDataBySQL(QStringLiteral("Select 1")), QString());
}

void TestDataLayer::connectAcceptsPathWithSpacesAndChinese() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("费用 程序/DB/Data.MDB"));
    QVERIFY(MakeSchemaDatabase(file));
    TDM dm;
    QVERIFY2(dm.Connect(file), qPrintable(dm.LastError()));
    QCOMPARE(dm.GetDataBySQL(QStringLiteral("Select ClientVer from TPara")), QStringLiteral("2026.12.01"));
}

void TestDataLayer::getDataBySql() {
    TestDatabase db;
    PromptScript noPrompts;
    QCOMPARE(db.dm().GetDataBySQL(QStringLiteral("Select Max(TypeCode) from TEmpClass")), QString());
    QCOMPARE(db.dm().GetDataBySQL(QStringLiteral("Select nonsense from nowhere")), QString());
    db.exec(QStringLiteral("Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values('0001','总部','',0);"
                           "Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values('0002','分部','',0)"));
    QCOMPARE(db.dm().GetDataBySQL(QStringLiteral("Select Max(TypeCode) from TEmpClass Where ParTypeCode=''")),
             QStringLiteral("0002"));
    QCOMPARE(db.dm().GetDataBySQL(QStringLiteral("Select Count(*) from TEmpClass")), QStringLiteral("2"));
}

void TestDataLayer::getDataBySqlToItems() {
    TestDatabase db;
    db.exec(QStringLiteral("Insert into TBillDetail (Provider) Values('乙公司');"
                           "Insert into TBillDetail (Provider) Values(NULL);"
                           "Insert into TBillDetail (Provider) Values('');"
                           "Insert into TBillDetail (Provider) Values('甲公司');"
                           "Insert into TBillDetail (Provider) Values('乙公司')"));
    QStringList items{QStringLiteral("old")};
    db.dm().GetDataBySQLToItems(QStringLiteral("Select Distinct Provider from TBillDetail order by Provider desc"),
                                items, true);
    QCOMPARE(items, (QStringList{QStringLiteral("甲公司"), QStringLiteral("乙公司")})); // in code-point order, descending

    // A failing statement leaves the list exactly as it was, even with the clear flag.
    db.dm().GetDataBySQLToItems(QStringLiteral("Select Provider from Missing"), items, true);
    QCOMPARE(items.size(), 2);
    db.dm().GetDataBySQLToItems(QStringLiteral("Select Provider from TBillDetail where Provider='甲公司'"), items,
                                false);
    QCOMPARE(items.size(), 3);
}

void TestDataLayer::datasetReadsTypedFields() {
    TestDatabase db;
    db.exec(QStringLiteral("Insert into TBillDetail (OcrDate,CustCode,Total,EmpID) Values('2024-03-05 14:30:00','0001',"
                           "12.5,NULL)"));
    TDataSet ds;
    ds.setCommandText(QStringLiteral("Select * from TBillDetail"));
    ds.open();
    QCOMPARE(ds.recordCount(), 1);
    QVERIFY(!ds.eof());
    QCOMPARE(ds.asString(QStringLiteral("custcode")), QStringLiteral("0001")); // names ignore case
    QCOMPARE(ds.asFloat(QStringLiteral("Total")), 12.5);
    QCOMPARE(ds.asDateTime(QStringLiteral("OcrDate")), QDateTime(QDate(2024, 3, 5), QTime(14, 30)));
    QCOMPARE(ds.asString(QStringLiteral("EmpID")), QString());
    QCOMPARE(ds.asInteger(QStringLiteral("EmpID")), 0);
    QCOMPARE(ds.asFloat(QStringLiteral("EmpID")), 0.0);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, ds.asString(QStringLiteral("NoSuchField")));
    ds.next();
    QVERIFY(ds.eof());

    ds.close();
    ds.setCommandText(QStringLiteral("Select * from TBillDetail where 1=0"));
    ds.open();
    QVERIFY(ds.isEmpty());
    QVERIFY(ds.eof());
    ds.setCommandText(QStringLiteral("Select * from Nowhere"));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, ds.open());
}

void TestDataLayer::datasetSortsLoadedRows() {
    TestDatabase db;
    db.exec(QStringLiteral("Insert into TBillDetail (EmpName,Total) Values('张三',30);"
                           "Insert into TBillDetail (EmpName,Total) Values('李四',100);"
                           "Insert into TBillDetail (EmpName,Total) Values('王五',4.5);"
                           "Insert into TBillDetail (EmpName,Total) Values(NULL,NULL)"));
    TDataSet ds;
    ds.setCommandText(QStringLiteral("Select * from TBillDetail order by ID"));
    ds.open();
    auto column = [&ds](const QString& field) {
        QStringList values;
        for (ds.first(); !ds.eof(); ds.next())
            values.append(ds.asString(field));
        return values;
    };
    ds.sort(QStringLiteral("Total"), false); // numerically, not as text
    QCOMPARE(column(QStringLiteral("Total")), (QStringList{"", "4.5", "30", "100"}));
    ds.sort(QStringLiteral("Total"), true);
    QCOMPARE(column(QStringLiteral("Total")), (QStringList{"100", "30", "4.5", ""}));
    ds.sort(QStringLiteral("EmpName"), false); // by pinyin: Li, Wang, Zhang
    QCOMPARE(column(QStringLiteral("EmpName")), (QStringList{"", "李四", "王五", "张三"}));
}

void TestDataLayer::datasetEditsOneTable() {
    TestDatabase db;
    TDataSet ds;
    ds.setCommandText(QStringLiteral("Select * from TBillDetail Where ID=-1"));
    ds.open();
    QVERIFY(ds.isEmpty());
    ds.append();
    ds.setValue(QStringLiteral("CustCode"), QStringLiteral("0001"));
    ds.setValue(QStringLiteral("Total"), 99.25);
    ds.setValue(QStringLiteral("OcrDate"), QDateTime(QDate(2024, 5, 6), QTime(8, 9, 10)));
    ds.post();
    QCOMPARE(ds.recordCount(), 1);
    const QString id = ds.asString(QStringLiteral("ID"));
    QVERIFY(!id.isEmpty());
    QCOMPARE(db.dm().GetDataBySQL("Select OcrDate from TBillDetail Where ID=" + id),
             QStringLiteral("2024-05-06 08:09:10"));

    TDataSet edit;
    edit.setCommandText("Select * from TBillDetail Where ID=" + id);
    edit.open();
    edit.edit();
    edit.setValue(QStringLiteral("Total"), 1.5);
    edit.post();
    QCOMPARE(db.dm().GetDataBySQL("Select Total from TBillDetail Where ID=" + id), QStringLiteral("1.5"));
    QCOMPARE(db.dm().GetDataBySQL("Select CustCode from TBillDetail Where ID=" + id), QStringLiteral("0001"));

    edit.deleteRow();
    QVERIFY(edit.isEmpty());
    QCOMPARE(db.dm().GetDataBySQL(QStringLiteral("Select Count(*) from TBillDetail")), QStringLiteral("0"));
}

void TestDataLayer::postRefusalIsAnErrorAndKeepsEditState() {
    TestDatabase db;
    db.exec(QStringLiteral("Insert into TFunc (FuncCode,FuncName) Values('ZJL','总经理')"));
    TDataSet ds;
    ds.setCommandText(QStringLiteral("Select * from TFunc Where ID=-1"));
    ds.open();
    ds.append();
    ds.setValue(QStringLiteral("FuncCode"), QStringLiteral("zjl")); // codes are unique regardless of case
    ds.setValue(QStringLiteral("FuncName"), QStringLiteral("副总经理"));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, ds.post());
    QCOMPARE(ds.state(), TDataSet::State::Insert);
    // The caller may change the value and post again: one row is written.
    ds.setValue(QStringLiteral("FuncCode"), QStringLiteral("FZJL"));
    ds.post();
    QCOMPARE(db.dm().GetDataBySQL(QStringLiteral("Select Count(*) from TFunc")), QStringLiteral("2"));
}

void TestDataLayer::positionInUseCannotBeDeleted() {
    TestDatabase db;
    db.exec(QStringLiteral("Insert into TFunc (FuncCode,FuncName) Values('KJ','会计');"
                           "Insert into TFunc (FuncCode,FuncName) Values('CN','出纳');"
                           "Insert into TFunc (FuncCode,FuncName) Values('FREE','空闲');"
                           "Insert into TEmployee (Code,UserName,FuncCode) Values('00010001','张三','KJ');"
                           "Insert into TFormula (FuncCode,CustTypeCode,Formula) Values('CN','0001','1')"));
    TDataSet ds;
    ds.setCommandText(QStringLiteral("Select * from TFunc Order by FuncCode"));
    ds.open();
    for (ds.first(); !ds.eof();) {
        const QString code = ds.asString(QStringLiteral("FuncCode"));
        if (code == QStringLiteral("FREE")) {
            ds.deleteRow();
            continue;
        }
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, ds.deleteRow());
        ds.next();
    }
    QCOMPARE(ds.recordCount(), 2);
    QCOMPARE(db.dm().GetDataBySQL(QStringLiteral("Select Count(*) from TFunc")), QStringLiteral("2"));
}

void TestDataLayer::quotedTextIsStoredAsTyped() {
    TestDatabase db;
    const QString typed = QStringLiteral("O'Neil'); Delete from TEmpClass; --");
    db.exec(QStringLiteral("Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values('0001','总部','',0)"));
    TCommand command;
    command.setCommandText("Update TEmpClass Set TypeName='" + SqlEscape(typed) + "' Where TypeCode='0001'");
    QCOMPARE(command.execute(), 1);
    QCOMPARE(db.dm().GetDataBySQL("Select TypeCode from TEmpClass Where TypeName='" + SqlEscape(typed) + "'"),
             QStringLiteral("0001"));
    QCOMPARE(db.dm().GetDataBySQL(QStringLiteral("Select TypeName from TEmpClass")), typed);
}

void TestDataLayer::dateLiteralsCompareWithStoredDates() {
    TestDatabase db;
    db.exec(QStringLiteral("Insert into TBillDetail (OcrDate,Total) Values('2024-01-31 23:59:59',1);"
                           "Insert into TBillDetail (OcrDate,Total) Values('2024-02-01 00:00:00',2);"
                           "Insert into TBillDetail (OcrDate,Total) Values('2024-02-29 23:59:59',4);"
                           "Insert into TBillDetail (OcrDate,Total) Values('2024-03-01 00:00:00',8)"));
    QCOMPARE(db.dm().GetDataBySQL(
                 QStringLiteral("Select Sum(Total) from TBillDetail where OcrDate>=#2024-02-01# and OcrDate<#2024-03-01#")),
             QStringLiteral("6"));
}

QTEST_GUILESS_MAIN(TestDataLayer)
#include "tst_datalayer.moc"
