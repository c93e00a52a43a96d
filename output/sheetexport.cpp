#include "output/sheetexport.h"

#include "app/dataset.h"
#include "app/prompts.h"
#include "output/xlsxfile.h"
#include "widgets/stringgridmodel.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>

namespace {

const QString CannotConnect = QStringLiteral("系统不能连接到Excel,请确认Excel是否安装！");

WorkbookOpener& Opener() {
    static WorkbookOpener opener;
    return opener;
}

bool OpenOnDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace

int TextSheet::columnCount() const {
    int count = 0;
    for (const QStringList& row : rows)
        count = std::max(count, int(row.size()));
    return count;
}

QString TextSheet::cell(int row, int col) const {
    return rows.value(row).value(col);
}

bool SheetCellText(const DataGridColumn& column, const QString& plain, QString* text) {
    if (!column.keyList.isEmpty()) {
        const int index = column.keyIndex(plain);
        if (index < 0)
            return false;
        *text = column.pickList[index];
    } else if (column.fieldName == QStringLiteral("WorkSn")) {
        *text = plain + QStringLiteral(" \r");
    } else {
        *text = plain;
    }
    return true;
}

TextSheet DataSetSheet(const QString& title, const QVector<DataGridColumn>& columns, TDataSet& dataSet) {
    TextSheet sheet;
    sheet.rows.append(QStringList{title});
    QStringList captions;
    QVector<int> fields;  // the dataset's field of each visible column, -1 when it has none
    QVector<int> visible; // the visible columns in order
    for (int c = 0; c < columns.size(); ++c) {
        if (!columns[c].visible)
            continue;
        visible.append(c);
        captions.append(columns[c].title);
        fields.append(dataSet.fieldIndex(columns[c].fieldName));
    }
    sheet.rows.append(captions);
    for (dataSet.first(); !dataSet.eof(); dataSet.next()) {
        QStringList row;
        row.reserve(visible.size());
        for (int i = 0; i < visible.size(); ++i) {
            QString text;
            const QString plain = fields[i] < 0 ? QString() : dataSet.asString(fields[i]);
            row.append(SheetCellText(columns[visible[i]], plain, &text) ? text : QString());
        }
        sheet.rows.append(row);
    }
    return sheet;
}

TextSheet StringGridSheet(const QString& title, const StringGridModel& grid) {
    TextSheet sheet;
    sheet.rows.append(QStringList{title});
    sheet.rows.append(QStringList());
    QVector<int> shown;
    for (int c = 1; c < grid.colCount(); ++c)
        if (grid.colWidth(c) > 0)
            shown.append(c);
    for (int r = 1; r < grid.rowCount(); ++r) {
        QStringList row;
        row.reserve(shown.size());
        for (const int c : shown)
            row.append(grid.cell(c, r));
        sheet.rows.append(row);
    }
    return sheet;
}

QString ExportFileName(const QString& folder, const QString& name, const QDateTime& time) {
    QString base;
    for (const QChar c : name)
        base += (c < u' ' || QStringLiteral("/\\:*?\"<>|").contains(c)) ? u'_' : c;
    base = base.trimmed();
    if (base.isEmpty() || base.startsWith(u'.'))
        base.prepend(QStringLiteral("Sheet"));
    base += u'_' + time.toString(QStringLiteral("yyyyMMdd_HHmmss"));
    const QDir dir(folder);
    QString path = dir.filePath(base + QStringLiteral(".xlsx"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1(%2).xlsx").arg(base).arg(n));
    return path;
}

QString ExportFolder() {
    return QDir(QDir::tempPath()).filePath(QStringLiteral("Brimsoll"));
}

void SetWorkbookOpener(WorkbookOpener opener) {
    Opener() = std::move(opener);
}

QString SendSheet(const TextSheet& sheet, const QString& name, const QString& caption) {
    const QString folder = ExportFolder();
    if (!QDir().mkpath(folder)) {
        ShowMessage(CannotConnect);
        return QString();
    }
    const QString path = ExportFileName(folder, name, QDateTime::currentDateTime());
    TextWorkbook book;
    book.documentTitle = caption;
    book.rows = int(sheet.rows.size());
    book.cols = sheet.columnCount();
    book.text = [&sheet](int row, int col) { return sheet.cell(row, col); };
    if (!WriteTextWorkbook(path, book)) {
        QFile::remove(path);
        ShowMessage(CannotConnect);
        return QString();
    }
    const bool opened = Opener() ? Opener()(path) : OpenOnDesktop(path);
    if (!opened)
        ShowMessage(CannotConnect + QStringLiteral("\n工作簿已保存在：") + QDir::toNativeSeparators(path));
    return path;
}

QString SendDataSetToExcel(const QString& title, const QVector<DataGridColumn>& columns, TDataSet* dataSet,
                           const QString& fileName) {
    if (!dataSet || !dataSet->active()) {
        ShowMessage(QStringLiteral("查询过程没有执行，没有数据库可以发送！"));
        return QString();
    }
    const TextSheet sheet = DataSetSheet(title, columns, *dataSet);
    return SendSheet(sheet, title.isEmpty() ? fileName : title, title);
}
