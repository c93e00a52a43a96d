// The statistics: the table layout, the base fill against the per-cell
// statements it stands for, formula tokens and the allocation.

#include "app/datamodule.h"
#include "app/dataset.h"
#include "app/helpers.h"
#include "calc/calcexpress.h"
#include "stats/formulatokens.h"
#include "stats/statfill.h"
#include "stats/statlayout.h"
#include "support/testsupport.h"

#include <QTest>

namespace {

const StatPeriod January{QDate(2024, 1, 1), QDate(2024, 1, 31)};

// The value of one base cell by its own statement, as the window once ran it.
QString ReferenceCell(const QString& cat, const QString& code, bool leaf, bool includeSub,
                      const StatPeriod& p) {
    QString sql;
    const QString dates = QStringLiteral(" And OcrDate>=#") + p.startText() +
                          QStringLiteral("# And OcrDate<#") + p.nextText() + u'#';
    if (!includeSub && leaf)
        sql = "Select sum(Total) from TBillDetail where CustCode = '" + cat + "' and EMPID = '" + code + "'" +
              dates;
    else if (!includeSub)
        sql = "Select sum(Total) from TBillDetail where CustCode = '" + cat + "' and DepartCode = '" + code +
              "' and EMPID=''" + dates;
    else if (leaf)
        sql = "Select sum(Total) from TBillDetail where CustCode like '" + cat + "%' and EMPID like '" +
              code + "%'" + dates;
    else
        sql = "Select sum(Total) from TBillDetail where CustCode like '" + cat + "%' and (DepartCode like '" +
              code + "%')" + dates;
    TDataSet dstemp;
    dstemp.setCommandText(sql);
    dstemp.open();
    return FormatMoney(dstemp.eof() ? 0.0 : dstemp.value(0).toDouble());
}

// The tricky cases: deleted departments and employees, employees of
// sub-departments, empty and NULL employee codes, a department whose code
// equals an employee's, records on the period's edges.
void TrickyDatabase(TestDatabase& db) {
    db.exec(R"(
        Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values
          ('0001','总部','',0), ('00010001','销售部','0001',1), ('000100010001','华东区','00010001',2),
          ('00010002','财务部','0001',1), ('0002','分公司','',0), ('00020001','孤立组','0002',1),
          ('00090001','无上级','0009',1);
        Insert into TEmployee (Code,UserName,TypeCode,FuncCode) Values
          ('000100010001','张三','00010001','XS'),   -- the same code as the department 华东区
          ('000100010002','李四','00010001','XS'),
          ('00010001000100001','王五','000100010001','JL'),
          ('00020002','赵六','0002',''),
          ('00090001000X','孙七','00090001','XS');
        Insert into TCustClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values
          ('0001','管理费用','',0), ('00010001','办公费','0001',1), ('000100010001','电费','00010001',2),
          ('0002','销售费用','',0), ('00030001','无上级','0003',1);
        Insert into TBillDetail (OcrDate,CustCode,DepartCode,EmpID,Total) Values
          ('2024-01-01 00:00:00','00010001','00010001','000100010001',100),
          ('2023-12-31 23:59:59','00010001','00010001','000100010001',1),
          ('2024-01-31 23:59:59','000100010001','000100010001','00010001000100001',20.25),
          ('2024-02-01 00:00:00','000100010001','000100010001','00010001000100001',3000),
          ('2024-01-15 10:00:00','0001','0001','',7.5),
          ('2024-01-15 10:00:00','0001','0001',NULL,0.7),
          ('2024-01-16 10:00:00','00010001','00010001','',50),
          ('2024-01-16 11:00:00','00010001','000100010001','',5),
          ('2024-01-17 11:00:00','0002','0002','00020002',12.34),
          ('2024-01-17 11:00:00','0002','0003','00030001',8),          -- a deleted department and employee
          ('2024-01-18 11:00:00','00030001','0002','',9),              -- a deleted category
          ('2024-01-19 11:00:00','00010001','00020001','00020001',4),   -- EmpID equal to a department code
          ('2024-01-20 11:00:00','00010001','00010002','000100010002',-2.5),
          ('2024-01-21 11:00:00',NULL,'0001','',1000);
        Insert into TFunc (FuncCode,FuncName) Values ('XS','销售员'), ('JL','经理');
    )");
}

QString TableText(const StatTable& t) {
    QStringList lines;
    for (int r = 0; r < t.rowCount; ++r) {
        QStringList cells;
        for (int c = 0; c < t.colCount; ++c)
            cells.append(t.cell(c, r));
        lines.append(cells.join(u'|'));
    }
    return lines.join(u'\n');
}

} // namespace

class TestStats : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void defaultPeriod_data();
    void defaultPeriod();
    void layoutOfTheExample();
    void layoutWithoutEmployees();
    void baseFillEqualsThePerCellStatements_data();
    void baseFillEqualsThePerCellStatements();
    void progressCanStopTheFill();
    void readTokenCodes_data();
    void readTokenCodes();
    void expandTokens_data();
    void expandTokens();
    void tokenExampleEvaluates();
    void faultyFormulasReportTwiceAndGiveZero();
    void allocationEqualsThePerCellStatements();
};

void TestStats::defaultPeriod_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    QTest::newRow("January") << QDate(2025, 1, 14) << QDate(2024, 12, 1) << QDate(2024, 12, 31);
    QTest::newRow("March, leap year") << QDate(2024, 3, 31) << QDate(2024, 2, 1) << QDate(2024, 2, 29);
    QTest::newRow("March") << QDate(2025, 3, 1) << QDate(2025, 2, 1) << QDate(2025, 2, 28);
}

void TestStats::defaultPeriod() {
    QFETCH(QDate, today);
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    const StatPeriod period = DefaultStatPeriod(today);
    QCOMPARE(period.first, first);
    QCOMPARE(period.last, last);
}

void TestStats::layoutOfTheExample() {
    TestDatabase db;
    db.exec("Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values ('0001','总部','',0),"
            "('00010002','销售部','0001',1);"
            "Insert into TEmployee (Code,UserName,TypeCode) Values ('000100020003','张三','00010002');"
            "Insert into TCustClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values ('0002','管理费用','',0),"
            "('00020001','办公费','0002',1)");
    StatTable table;
    QVERIFY(LayoutStatTable(table));
    QCOMPARE(table.fixedRows, 4);
    QCOMPARE(table.fixedCols, 3);
    QCOMPARE(TableText(table), QStringLiteral("|||0001|00010002|000100020003\n"
                                              "|||+ 总部||\n"
                                              "||||+ 销售部|\n"
                                              "|||||--张三\n"
                                              "0002|+ 管理费用||||\n"
                                              "00020001||--办公费|||"));
    QCOMPARE(table.leafColumns, (std::vector<bool>{false, false, true}));
}

void TestStats::layoutWithoutEmployees() {
    TestDatabase db;
    db.exec("Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values ('0002','甲','',0),"
            "('0001','乙','',0)");
    StatTable table;
    QVERIFY(LayoutStatTable(table));
    QCOMPARE(table.fixedRows, 3); // the last header row stays empty
    QCOMPARE(table.fixedCols, 2);
    QCOMPARE(table.dataRows(), 0);
    // Siblings by name (甲 jia before 乙 yi), not by code; both without children.
    QCOMPARE(table.colCode(2), QStringLiteral("0002"));
    QCOMPARE(table.cell(3, 1), QStringLiteral("--乙"));
    QCOMPARE(table.cell(2, 2), QString());
}

void TestStats::baseFillEqualsThePerCellStatements_data() {
    QTest::addColumn<bool>("includeSub");
    QTest::newRow("exact") << false;
    QTest::newRow("with sub-categories and sub-departments") << true;
}

void TestStats::baseFillEqualsThePerCellStatements() {
    QFETCH(bool, includeSub);
    TestDatabase db;
    TrickyDatabase(db);
    StatTable table;
    QVERIFY(LayoutStatTable(table));
    QVERIFY(FillBaseTable(table, January, includeSub));
    int nonZero = 0;
    for (int c = table.fixedCols; c < table.colCount; ++c) {
        for (int r = table.fixedRows; r < table.rowCount; ++r) {
            const QString expected =
                ReferenceCell(table.rowCode(r), table.colCode(c),
                              table.leafColumns[size_t(c - table.fixedCols)], includeSub, January);
            QVERIFY2(table.cell(c, r) == expected,
                     qPrintable(QStringLiteral("row %1 (%2), column %3 (%4): %5, not %6")
                                    .arg(r)
                                    .arg(table.rowCode(r))
                                    .arg(c)
                                    .arg(table.colCode(c), table.cell(c, r), expected)));
            nonZero += expected != QStringLiteral("0.00");
        }
    }
    QVERIFY(nonZero >= 5); // the fixture does reach the cells
}

void TestStats::progressCanStopTheFill() {
    TestDatabase db;
    TrickyDatabase(db);
    StatTable table;
    QVERIFY(LayoutStatTable(table));
    QList<int> columns;
    QVERIFY(!FillBaseTable(table, January, false, [&](int col) {
        columns.append(col);
        return columns.size() < 2;
    }));
    QCOMPARE(columns, (QList<int>{table.fixedCols, table.fixedCols + 1}));
    QCOMPARE(table.cell(table.fixedCols + 1, table.fixedRows), QString()); // not written
}

void TestStats::readTokenCodes_data() {
    QTest::addColumn<QString>("token");
    QTest::addColumn<bool>("twoFields");
    QTest::addColumn<QString>("code1");
    QTest::addColumn<QString>("code2");
    QTest::newRow("COUNT") << "{COUNT 00010002:总部\\销售部\\ 00020001:管理费用\\办公费\\" << true
                           << "00010002"
                           << "00020001";
    QTest::newRow("SUM_D") << "{SUM_D 00010002:销售部" << false << "00010002"
                           << "";
    QTest::newRow("field without colon") << "{SUM_F ZJL" << false << ""
                                         << "";
    // A space inside the first description: the second code comes from behind it.
    QTest::newRow("space in a description") << "{COUNT 0001:总 部\\ 0002:费用\\" << true << "0001"
                                            << "部\\ 0002";
}

void TestStats::readTokenCodes() {
    QFETCH(QString, token);
    QFETCH(bool, twoFields);
    QFETCH(QString, code1);
    QFETCH(QString, code2);
    const TokenCodes codes = ReadTokenCodes(token, twoFields);
    QCOMPARE(codes.code1, code1);
    QCOMPARE(codes.code2, code2);
}

namespace {
// Token values that name the token, for checking the scan.
class EchoValues final : public TokenValues {
public:
    long double Value(TokenKind kind, const QString& token) override {
        seen.append(QString::number(int(kind)) + u'=' + token);
        return 1.5L + seen.size();
    }
    QStringList seen;
};
} // namespace

void TestStats::expandTokens_data() {
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("expanded");
    QTest::addColumn<QStringList>("tokens");
    QTest::newRow("no token") << "1+2*3"
                              << "1+2*3" << QStringList{};
    QTest::newRow("COUNTEMP before COUNT")
        << "{COUNTEMP 01:a 02:b}*{COUNT 03:c 04:d}"
        << "2.50*3.50" << QStringList{"1={COUNTEMP 01:a 02:b", "0={COUNT 03:c 04:d"};
    QTest::newRow("headcounts") << "({SUM_D 0001:总部}+{SUM_F ZJL:总经理})/2"
                                << "(2.50+3.50)/2"
                                << QStringList{"2={SUM_D 0001:总部", "3={SUM_F ZJL:总经理"};
    QTest::newRow("lower-case keyword is text") << "{count 01:a 02:b}+1"
                                                << "{count 01:a 02:b}+1" << QStringList{};
    QTest::newRow("stray brace ends the scan") << "{SUM_D 1:a}+{x}+{SUM_D 2:b}"
                                               << "2.50+{x}+{SUM_D 2:b}" << QStringList{"2={SUM_D 1:a"};
    QTest::newRow("keyword without closing brace") << "2*{SUM_D 0001:a"
                                                   << "2*{SUM_D 0001:a" << QStringList{};
}

void TestStats::expandTokens() {
    QFETCH(QString, formula);
    QFETCH(QString, expanded);
    QFETCH(QStringList, tokens);
    EchoValues values;
    QCOMPARE(ExpandTokens(formula, values), expanded);
    QCOMPARE(values.seen, tokens);
}

void TestStats::tokenExampleEvaluates() {
    TestDatabase db;
    db.exec(
        "Insert into TBillDetail (OcrDate,CustCode,DepartCode,EmpID,Total) Values"
        "('2024-01-31 18:00:00','00020001','00010002','000100020001',1000),"
        "('2024-01-01 00:00:00','00020001','00010002','',201),"
        "('2024-02-01 00:00:00','00020001','00010002','',999),"     // the day after
        "('2024-01-10 00:00:00','000200010001','00010002','',999)," // a sub-category
        "('2024-01-10 00:00:00','00020001','000100020001','',999);" // a sub-department
        "Insert into TEmployee (Code,TypeCode) Values ('1','00010002'),('2','00010002'),('3','000100020001'),"
        "('4','000100020001'),('5','00010003')");
    const QString formula = QStringLiteral("{COUNT 00010002:总部\\销售部\\ 00020001:管理费用\\办公费\\}/"
                                           "{SUM_D 00010002:销售部}");
    PromptScript noPrompts;
    DatabaseTokenValues reference(January);
    QCOMPARE(ExpandTokens(formula, reference), QStringLiteral("1201.00/4.00"));
    TCalcExpress calc;
    QCOMPARE(FormatMoney(ExpandFormula(formula, reference, calc)), QStringLiteral("300.25"));
}

void TestStats::faultyFormulasReportTwiceAndGiveZero() {
    TestDatabase db;
    db.exec("Insert into TBillDetail (OcrDate,CustCode,DepartCode,EmpID,Total) Values"
            "('2024-01-05 00:00:00','0002','0001','',-5)");
    DatabaseTokenValues values(January);
    TCalcExpress calc;
    PromptScript prompts;
    const QString negative = QStringLiteral("100-{COUNT 0001:总部\\ 0002:费用\\}");
    prompts.expectMessage("Error in formula.")
        .expectMessage(QStringLiteral("计算表达式：") + negative +
                       QStringLiteral(" 发生错误！\r错误原因：Error in formula."));
    bool failed = false;
    QCOMPARE(double(ExpandFormula(negative, values, calc, &failed)), 0.0);
    QVERIFY(failed);
    // At the start of a formula the negative value reads correctly.
    QCOMPARE(double(ExpandFormula(QStringLiteral("{COUNT 0001:总部\\ 0002:费用\\}+100"), values, calc)),
             95.0);

    const QString nobody = QStringLiteral("10/{SUM_F NONE:无人}");
    prompts.expectMessage(QStringLiteral("计算表达式：") + nobody +
                          QStringLiteral(" 发生错误！\r错误原因：Floating point division by zero"));
    QCOMPARE(double(ExpandFormula(nobody, values, calc)), 0.0);
    prompts.expectMessage("Error in formula.").expect(PromptKind::Information, QString());
    QCOMPARE(double(ExpandFormula(QStringLiteral("   "), values, calc)), 0.0);
}

void TestStats::allocationEqualsThePerCellStatements() {
    TestDatabase db;
    TrickyDatabase(db);
    db.exec(R"(Insert into TFormula (FuncCode,CustTypeCode,Formula) Values
        ('XS','00010001','{COUNT 00010001:总部\销售部\ 00010001:管理费用\办公费\}/{SUM_D 0001:总部}'),
        ('XS','000100010001','{COUNTEMP 00010001000100001:王五 000100010001:电费}*2+{SUM_F XS:销售员}'),
        ('JL','000100010001','{COUNT 00010001:销售部\ 00010001:办公费\}/{SUM_F NONE:无人}'),
        ('JL','0002',''),
        ('','0002','7'))");
    StatTable base;
    QVERIFY(LayoutStatTable(base));
    StatTable calc = base;
    // The division by nobody fails at each of its cells: one holder of JL, in one row.
    PromptScript prompts;
    prompts.expect(PromptKind::Information, QString());
    QVERIFY(FillAllocationTable(calc, base, January));
    prompts.verifyDone();

    // The reference: per cell, the employee's position, the formula, and each token by its statement.
    DatabaseTokenValues reference(January);
    TCalcExpress evaluator;
    int nonZero = 0;
    for (int c = base.fixedCols; c < base.colCount; ++c) {
        for (int r = base.fixedRows; r < base.rowCount; ++r) {
            QString expected = QStringLiteral("0.00");
            const QString position =
                db.dm().GetDataBySQL("Select Count(*) from TEmployee Where Code='" + base.colCode(c) + "'") ==
                        "0"
                    ? QString()
                    : db.dm().GetDataBySQL("Select FuncCode from TEmployee Where Code='" + base.colCode(c) +
                                           "'");
            const bool employee = db.dm().GetDataBySQL("Select Count(*) from TEmployee Where Code='" +
                                                       base.colCode(c) + "'") != "0";
            const QString formula =
                db.dm().GetDataBySQL("Select Formula from TFormula Where FuncCode='" + position +
                                     "' And CustTypeCode='" + base.rowCode(r) + "'");
            if (employee && !formula.isEmpty()) {
                PromptScript any;
                if (formula.contains(QStringLiteral("NONE")))
                    any.expect(PromptKind::Information, QString());
                expected = FormatMoney(ExpandFormula(formula, reference, evaluator));
            }
            QVERIFY2(calc.cell(c, r) == expected,
                     qPrintable(QStringLiteral("row %1, column %2: %3, not %4")
                                    .arg(base.rowCode(r), base.colCode(c), calc.cell(c, r), expected)));
            nonZero += expected != QStringLiteral("0.00");
        }
    }
    QVERIFY(nonZero >= 3);
    // The department 华东区 shares its code with 张三 and so shows his values.
    QList<int> shared;
    for (int c = base.fixedCols; c < base.colCount; ++c)
        if (base.colCode(c) == QStringLiteral("000100010001"))
            shared.append(c);
    QCOMPARE(shared.size(), 2);
    for (int r = base.fixedRows; r < base.rowCount; ++r)
        QCOMPARE(calc.cell(shared[0], r), calc.cell(shared[1], r));
}

QTEST_MAIN(TestStats)
#include "tst_stats.moc"
