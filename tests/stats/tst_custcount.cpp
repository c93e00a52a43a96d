// The statistics window: its period, pages, buttons and the guard of a fill.

#include "app/openwindow.h"
#include "stats/custcount.h"
#include "support/testsupport.h"
#include "widgets/stringgrid.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QMdiArea>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

void Fixture(TestDatabase& db) {
    db.exec("Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values ('0001','总部','',0),"
            "('00010001','销售部','0001',1);"
            "Insert into TEmployee (Code,UserName,TypeCode,FuncCode) Values ('000100010001','张三','00010001','XS');"
            "Insert into TCustClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values ('0001','管理费用','',0),"
            "('00010001','办公费','0001',1);"
            "Insert into TFormula (FuncCode,CustTypeCode,Formula) Values ('XS','00010001','{SUM_D 0001:总部}*2');");
}

// The text of a cell by the codes of its row and column.
QString CellByCodes(const StringGrid* grid, const QString& rowCode, const QString& colCode) {
    for (int c = grid->fixedCols(); c < grid->colCount(); ++c)
        if (grid->cell(c, 0) == colCode)
            for (int r = grid->fixedRows(); r < grid->rowCount(); ++r)
                if (grid->cell(0, r) == rowCode)
                    return grid->cell(c, r);
    return QStringLiteral("(none)");
}

} // namespace

class TestCustCount : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensWithThePreviousMonthFilled();
    void checkBoxRefillsAtOnce();
    void allocationShowsItsPage();
    void closingDuringAFillStopsItFirst();
    void failedLayoutKeepsTheWindowUnseen();
};

void TestCustCount::opensWithThePreviousMonthFilled() {
    TestDatabase db;
    Fixture(db);
    const QDate first = QDate(QDate::currentDate().year(), QDate::currentDate().month(), 1).addMonths(-1);
    db.exec(QStringLiteral("Insert into TBillDetail (OcrDate,CustCode,DepartCode,EmpID,Total) Values"
                           "('%1 00:00:00','00010001','00010001','000100010001',12.5)")
                .arg(first.toString("yyyy-MM-dd")));
    QMdiArea area;
    SetChildArea(&area);
    QVERIFY(ShowCustCount());
    auto* window = area.findChild<TfrmCustCount*>();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("基本费用统计表"));
    QCOMPARE(window->dtStart->date(), first);
    QCOMPARE(window->dtend->date(), first.addMonths(1).addDays(-1));
    QVERIFY(!window->PageControl1->isTabVisible(1));
    QVERIFY(window->cmdReg->isEnabled());
    QCOMPARE(CellByCodes(window->Grid, "00010001", "000100010001"), QStringLiteral("12.50"));
    QCOMPARE(window->Grid->colAlignment(window->Grid->fixedCols()) & Qt::AlignRight, Qt::AlignRight);
    window->cmdClose->click();
    QTRY_VERIFY(area.subWindowList().isEmpty());
    SetChildArea(nullptr);
}

void TestCustCount::checkBoxRefillsAtOnce() {
    TestDatabase db;
    Fixture(db);
    db.exec("Insert into TBillDetail (OcrDate,CustCode,DepartCode,EmpID,Total) Values"
            "('2024-01-10 09:00:00','00010001','00010001','',5)");
    TfrmCustCount window;
    window.dtStart->setDate(QDate(2024, 1, 1));
    window.dtend->setDate(QDate(2024, 1, 31));
    window.Button1Click();
    QCOMPARE(CellByCodes(window.Grid, "0001", "0001"), QStringLiteral("0.00"));
    window.chkIncludeSub->click(); // a sub-category and a sub-department now count
    QCOMPARE(CellByCodes(window.Grid, "0001", "0001"), QStringLiteral("5.00"));
}

void TestCustCount::allocationShowsItsPage() {
    TestDatabase db;
    Fixture(db);
    TfrmCustCount window;
    QVERIFY(window.ReadyfixCount(window.Grid));
    window.cmdReg->click();
    QVERIFY(window.PageControl1->isTabVisible(1));
    QCOMPARE(window.PageControl1->currentIndex(), 1);
    QCOMPARE(CellByCodes(window.GridCalc, "00010001", "000100010001"), QStringLiteral("2.00"));
    QCOMPARE(CellByCodes(window.GridCalc, "00010001", "00010001"), QStringLiteral("0.00"));
    QCOMPARE(window.GridCalc->tag(), 2);
}

void TestCustCount::closingDuringAFillStopsItFirst() {
    TestDatabase db;
    Fixture(db);
    // Enough columns for the fill to be under way when the close arrives.
    for (int i = 2; i < 60; ++i)
        db.exec(QStringLiteral("Insert into TEmpClass (TypeCode,TypeName,ParTypeCode,nLeveal) Values "
                               "('%1','部门%2','',0)")
                    .arg(i, 4, 10, QChar(u'0'))
                    .arg(i));
    QMdiArea area;
    SetChildArea(&area);
    auto window = std::make_unique<TfrmCustCount>();
    QPointer<TfrmCustCount> shown = OpenChild<TfrmCustCount>(std::move(window), nullptr);
    bool sawDisabled = false;
    int columns = 0;
    // Close from inside the fill, as a user clicking the close box would.
    auto* timer = new QTimer(shown);
    connect(timer, &QTimer::timeout, shown, [&] {
        if (!shown->Filling())
            return;
        sawDisabled = !shown->Button1->isEnabled() && !shown->chkIncludeSub->isEnabled();
        if (++columns == 1)
            area.closeAllSubWindows();
    });
    timer->start(0);
    shown->Button1Click();
    QTRY_VERIFY(!shown);
    QVERIFY(sawDisabled);
    SetChildArea(nullptr);
}

void TestCustCount::failedLayoutKeepsTheWindowUnseen() {
    TestDatabase db;
    db.exec("Drop table TEmpClass");
    QMdiArea area;
    SetChildArea(&area);
    QVERIFY(!ShowCustCount());
    QVERIFY(area.subWindowList().isEmpty());
    SetChildArea(nullptr);
}

QTEST_MAIN(TestCustCount)
#include "tst_custcount.moc"
