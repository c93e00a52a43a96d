#include "classes/classforest.h"

#include "app/dataset.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <algorithm>
#include <vector>

const ClassTableInfo& InfoOf(ClassTable table) {
    static const ClassTableInfo departments{QStringLiteral("TEmpClass"),
                                            QStringLiteral("输入部门主分类名称"),
                                            QStringLiteral("输入下级部门分类名称"),
                                            QStringLiteral("输入新的部门分类名称"),
                                            QStringLiteral("最多支持5级分类！"),
                                            3};
    static const ClassTableInfo categories{
        QStringLiteral("TCustClass"),           QStringLiteral("输入费用主分类名称"),
        QStringLiteral("输入费用二级分类名称"), QStringLiteral("输入新的费用分类名称"),
        QStringLiteral("最多支持四级分类！"),   2};
    return table == ClassTable::Departments ? departments : categories;
}

const QCollator& ChineseCollator() {
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Chinese, QLocale::China)};
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    return collator;
}

bool ClassNameLess(const QString& a, const QString& b) {
    return ChineseCollator().compare(a, b) < 0;
}

void ClassForest::build(const QVector<GoodsClass>& rows, Linking linking) {
    m_nodes.clear();
    m_roots.clear();
    m_byCode.clear();
    m_nodes.reserve(rows.size());
    int currentTop = -1;
    for (const GoodsClass& row : rows) {
        if (row.nLeveal == 0) {
            currentTop = addNode(-1, row);
            continue;
        }
        if (linking == Linking::TwoLevel) {
            addNode(currentTop, row);
            continue;
        }
        const int parent = findNode(row.ParTypeCode);
        if (parent >= 0)
            addNode(parent, row);
    }
}

int ClassForest::addNode(int parent, const GoodsClass& data) {
    const int index = int(m_nodes.size());
    m_nodes.append(Node{data, parent, {}});
    if (parent >= 0)
        m_nodes[parent].children.append(index);
    else
        m_roots.append(index);
    m_byCode[data.TypeCode].append(index);
    return index;
}

void ClassForest::sortByName() {
    std::vector<QCollatorSortKey> keys;
    keys.reserve(m_nodes.size());
    for (const Node& n : m_nodes)
        keys.push_back(ChineseCollator().sortKey(n.data.TypeName));
    auto byName = [&keys](int a, int b) { return keys[a].compare(keys[b]) < 0; };
    std::stable_sort(m_roots.begin(), m_roots.end(), byName);
    for (Node& n : m_nodes)
        std::stable_sort(n.children.begin(), n.children.end(), byName);
}

bool ClassForest::before(int a, int b) const {
    // The chains from each node up to its root, compared from the root down.
    auto chain = [this](int n) {
        QVector<int> path;
        for (; n >= 0; n = m_nodes[n].parent)
            path.prepend(n);
        return path;
    };
    const QVector<int> pa = chain(a), pb = chain(b);
    const qsizetype common = std::min(pa.size(), pb.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (pa[i] == pb[i])
            continue;
        const QVector<int>& siblings = i == 0 ? m_roots : m_nodes[pa[i - 1]].children;
        return siblings.indexOf(pa[i]) < siblings.indexOf(pb[i]);
    }
    return pa.size() < pb.size(); // an ancestor comes before its descendants
}

int ClassForest::findNode(const QString& code) const {
    const auto it = m_byCode.constFind(code);
    if (it == m_byCode.constEnd() || it->isEmpty())
        return -1;
    int first = it->constFirst();
    for (qsizetype i = 1; i < it->size(); ++i) {
        if (before(it->at(i), first))
            first = it->at(i);
    }
    return first;
}

QVector<int> ClassForest::depthFirst() const {
    QVector<int> order;
    order.reserve(m_nodes.size());
    QVector<int> stack(m_roots.crbegin(), m_roots.crend());
    while (!stack.isEmpty()) {
        const int n = stack.takeLast();
        order.append(n);
        const QVector<int>& children = m_nodes[n].children;
        for (auto it = children.crbegin(); it != children.crend(); ++it)
            stack.append(*it);
    }
    return order;
}

bool ReadClassRows(ClassTable table, QVector<GoodsClass>& rows) {
    rows.clear();
    TDataSet dsTree;
    dsTree.setCommandText(QStringLiteral("Select * from %1 order by TypeCode").arg(InfoOf(table).table));
    try {
        dsTree.open();
        const int code = dsTree.fieldIndex(QStringLiteral("TypeCode"));
        const int parent = dsTree.fieldIndex(QStringLiteral("ParTypeCode"));
        const int name = dsTree.fieldIndex(QStringLiteral("TypeName"));
        const int level = dsTree.fieldIndex(QStringLiteral("nLeveal"));
        if (code < 0 || parent < 0 || name < 0 || level < 0)
            return false;
        rows.reserve(dsTree.recordCount());
        for (int r = 0; r < dsTree.recordCount(); ++r) {
            GoodsClass row;
            row.TypeCode = dsTree.valueAt(r, code).toString();
            row.ParTypeCode = dsTree.valueAt(r, parent).toString();
            row.TypeName = dsTree.valueAt(r, name).toString();
            row.nLeveal = dsTree.valueAt(r, level).toInt();
            rows.append(std::move(row));
        }
    } catch (const EDatabaseError&) {
        return false;
    }
    return true;
}

bool AddEmployees(ClassForest& departments) {
    TDataSet dsEmp;
    dsEmp.setCommandText(QStringLiteral("Select ID,Code,UserName,TypeCode from TEmployee Order By ID"));
    try {
        dsEmp.open();
    } catch (const EDatabaseError&) {
        return false;
    }
    // The department nodes of each code, and their depths, before any employee is added.
    const int count = departments.size();
    QHash<QString, QVector<int>> byCode;
    std::vector<int> depth(size_t(count), 0);
    for (int n : departments.depthFirst()) {
        const ClassForest::Node& node = departments.node(n);
        if (node.parent >= 0)
            depth[size_t(n)] = depth[size_t(node.parent)] + 1;
        if (!node.data.TypeCode.isEmpty())
            byCode[node.data.TypeCode].append(n);
    }
    for (int r = 0; r < dsEmp.recordCount(); ++r) {
        const auto it = byCode.constFind(dsEmp.valueAt(r, 3).toString());
        if (it == byCode.constEnd())
            continue;
        for (int department : *it) {
            GoodsClass employee;
            employee.ID = dsEmp.valueAt(r, 0).toInt();
            employee.TypeCode = dsEmp.valueAt(r, 1).toString();
            employee.ParTypeCode = departments.node(department).data.TypeCode;
            employee.TypeName = dsEmp.valueAt(r, 2).toString();
            employee.nLeveal = depth[size_t(department)] + 1;
            departments.addNode(department, employee);
        }
    }
    return true;
}
