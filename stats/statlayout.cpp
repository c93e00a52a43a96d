#include "stats/statlayout.h"

#include "app/dataset.h"
#include "app/prompts.h"
#include "classes/classforest.h"

namespace {

// The first field of the first row as an integer; an empty result reads 0.
bool ReadNumber(const QString& sql, int& value) {
    TDataSet dstemp;
    dstemp.setCommandText(sql);
    try {
        dstemp.open();
        const QVariant first = dstemp.eof() ? QVariant() : dstemp.value(0);
        value = first.isValid() ? first.toInt() : 0;
        return true;
    } catch (const EDatabaseError&) {
        return false;
    }
}

// The depth of every node (0 for the top level).
std::vector<int> Depths(const ClassForest& forest, const QVector<int>& order) {
    std::vector<int> depth(size_t(forest.size()), 0);
    for (int n : order) {
        const int parent = forest.node(n).parent;
        depth[size_t(n)] = parent >= 0 ? depth[size_t(parent)] + 1 : 0;
    }
    return depth;
}

bool LoadForest(ClassTable table, ClassForest& forest) {
    QVector<GoodsClass> rows;
    if (!ReadClassRows(table, rows)) {
        ShowMessage(QStringLiteral("读取数据出现错误。"));
        return false;
    }
    forest.build(rows, ClassForest::Linking::Linked);
    return true;
}

} // namespace

QString MarkedName(const QString& name, bool hasChildren) {
    return (hasChildren ? QStringLiteral("+ ") : QStringLiteral("--")) + name;
}

bool LayoutStatTable(StatTable& table) {
    int departmentDepth = 0;
    if (!ReadNumber(QStringLiteral("Select Max(nLeveal) from TEmpClass"), departmentDepth)) {
        table.fixedRows = 0;
        return false;
    }
    table.fixedRows = departmentDepth + 3;
    int categoryDepth = 0;
    if (ReadNumber(QStringLiteral("Select Max(nLeveal) from TCustClass"), categoryDepth))
        table.fixedCols = categoryDepth + 2;
    int categoryCount = 0;
    if (!ReadNumber(QStringLiteral("Select Count(*) from TCustClass"), categoryCount))
        return false;

    ClassForest categories;
    if (!LoadForest(ClassTable::Categories, categories))
        return false;
    categories.sortByName();
    ClassForest departments;
    if (!LoadForest(ClassTable::Departments, departments))
        return false;
    if (!AddEmployees(departments))
        ShowMessage(QStringLiteral("读取数据发生错误！"));
    departments.sortByName();

    const QVector<int> rowOrder = categories.depthFirst();
    const QVector<int> colOrder = departments.depthFirst();
    table.cells.clear();
    table.rowCount = table.colCount = 0;
    table.resize(table.fixedRows + int(rowOrder.size()), table.fixedCols + int(colOrder.size()));

    const std::vector<int> rowDepth = Depths(categories, rowOrder);
    for (int i = 0; i < rowOrder.size(); ++i) {
        const ClassForest::Node& node = categories.node(rowOrder[i]);
        const int row = table.fixedRows + i;
        table.setCell(0, row, node.data.TypeCode);
        const int col = rowDepth[size_t(rowOrder[i])] + 1;
        if (col < table.colCount)
            table.setCell(col, row, MarkedName(node.data.TypeName, !node.children.isEmpty()));
    }
    const std::vector<int> colDepth = Depths(departments, colOrder);
    table.leafColumns.assign(size_t(colOrder.size()), false);
    for (int i = 0; i < colOrder.size(); ++i) {
        const ClassForest::Node& node = departments.node(colOrder[i]);
        const int col = table.fixedCols + i;
        table.setCell(col, 0, node.data.TypeCode);
        const int row = colDepth[size_t(colOrder[i])] + 1;
        if (row < table.rowCount)
            table.setCell(col, row, MarkedName(node.data.TypeName, !node.children.isEmpty()));
        table.leafColumns[size_t(i)] = node.children.isEmpty();
    }
    return true;
}
