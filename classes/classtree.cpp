#include "classes/classtree.h"

#include "app/appearance.h"
#include "app/prompts.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QHeaderView>

namespace {

constexpr int RecordRole = Qt::UserRole + 1;

// A node whose siblings are ordered by name as a Chinese reader expects.
class ClassItem : public QTreeWidgetItem {
public:
    ClassItem(const GoodsClass& record, bool topLevel)
        : m_key(ChineseCollator().sortKey(record.TypeName)) {
        setText(0, record.TypeName);
        setData(0, RecordRole, QVariant::fromValue(record));
        setIcon(0, record.ID >= 0 ? EmployeeIcon() : topLevel ? ClassIcons().first : ClassIcons().second);
    }

    void setData(int column, int role, const QVariant& value) override {
        if (column == 0 && role == Qt::DisplayRole)
            m_key = ChineseCollator().sortKey(value.toString());
        QTreeWidgetItem::setData(column, role, value);
    }

    bool operator<(const QTreeWidgetItem& other) const override {
        return m_key.compare(static_cast<const ClassItem&>(other).m_key) < 0;
    }

    static const std::pair<QIcon, QIcon>& ClassIcons() {
        static const std::pair<QIcon, QIcon> icons{GlyphIcon(QStringLiteral("类"), QColor(0x2f, 0x6f, 0xa8)),
                                                   GlyphIcon(QStringLiteral("·"), QColor(0x5b, 0x8c, 0x5a))};
        return icons;
    }

    static const QIcon& EmployeeIcon() {
        static const QIcon icon = GlyphIcon(QStringLiteral("人"), QColor(0xa8, 0x6a, 0x2f));
        return icon;
    }

private:
    QCollatorSortKey m_key;
};

} // namespace

ClassTree::ClassTree(QWidget* parent)
    : QTreeWidget(parent) {
    setObjectName(QStringLiteral("Tree"));
    setColumnCount(1);
    header()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setMouseTracking(true); // hot tracking
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    setAutoExpandDelay(-1);
    // Nodes expand on selection; a click or double-click reports the node.
    connect(this, &QTreeWidget::currentItemChanged, this, [](QTreeWidgetItem* current) {
        if (current)
            current->setExpanded(true);
    });
    connect(this, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* node) { Q_EMIT nodeClicked(node); });
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* node) { Q_EMIT nodeDoubleClicked(node); });
    // Keep the selection visible without focus.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
}

bool ClassTree::ReadForest(ClassTable table, ClassForest::Linking linking, ClassForest& forest) {
    QVector<GoodsClass> rows;
    if (!ReadClassRows(table, rows)) {
        ShowMessage(QStringLiteral("读取数据出现错误。"));
        return false;
    }
    forest.build(rows, linking);
    return true;
}

bool ClassTree::LoadClassTable(ClassTable table, ClassForest::Linking linking) {
    ClassForest forest;
    if (!ReadForest(table, linking, forest))
        return false;
    ShowForest(forest);
    return true;
}

bool ClassTree::LoadDepartmentsWithEmployees() {
    ClassForest forest;
    if (!ReadForest(ClassTable::Departments, ClassForest::Linking::Linked, forest))
        return false;
    forest.sortByName();
    AddEmployees(forest);
    ShowForest(forest, NodeOrder::AsInForest);
    return true;
}

void ClassTree::ShowForest(const ClassForest& forest, NodeOrder order) {
    setSortingEnabled(false);
    clear();
    m_byCode.clear();
    // Built detached from the view, then inserted at once.
    QVector<QTreeWidgetItem*> items(forest.size(), nullptr);
    QList<QTreeWidgetItem*> tops;
    for (int n = 0; n < forest.size(); ++n) {
        const ClassForest::Node& node = forest.node(n);
        auto* item = new ClassItem(node.data, node.data.nLeveal == 0);
        items[n] = item;
        m_byCode[node.data.TypeCode].append(item);
        if (node.parent >= 0)
            items[node.parent]->addChild(item);
        else
            tops.append(item);
    }
    addTopLevelItems(tops);
    if (order == NodeOrder::ByName) {
        setSortingEnabled(true);
        sortItems(0, Qt::AscendingOrder);
    }
}

void ClassTree::index(QTreeWidgetItem* node) {
    m_byCode[Record(node).TypeCode].append(node);
}

void ClassTree::unindex(QTreeWidgetItem* node) {
    for (int i = 0; i < node->childCount(); ++i)
        unindex(node->child(i));
    auto it = m_byCode.find(Record(node).TypeCode);
    if (it != m_byCode.end()) {
        it->removeAll(node);
        if (it->isEmpty())
            m_byCode.erase(it);
    }
}

QTreeWidgetItem* ClassTree::FindNode(const QString& code) const {
    const auto it = m_byCode.constFind(code);
    if (it == m_byCode.constEnd() || it->isEmpty())
        return nullptr;
    if (it->size() == 1)
        return it->constFirst();
    // Several nodes carry the code: the first in tree order (collapsed branches included).
    auto path = [](const QTreeWidgetItem* n) {
        QVector<int> p;
        for (; n; n = n->parent())
            p.prepend(n->parent() ? n->parent()->indexOfChild(const_cast<QTreeWidgetItem*>(n))
                                  : n->treeWidget()->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(n)));
        return p;
    };
    QTreeWidgetItem* first = it->constFirst();
    QVector<int> firstPath = path(first);
    for (qsizetype i = 1; i < it->size(); ++i) {
        const QVector<int> p = path(it->at(i));
        if (p < firstPath) {
            first = it->at(i);
            firstPath = p;
        }
    }
    return first;
}

QTreeWidgetItem* ClassTree::AddNode(QTreeWidgetItem* parent, const GoodsClass& record) {
    auto* item = new ClassItem(record, parent == nullptr);
    if (parent)
        parent->addChild(item);
    else
        addTopLevelItem(item);
    index(item);
    return item;
}

void ClassTree::RemoveNode(QTreeWidgetItem* node) {
    unindex(node);
    delete node;
}

GoodsClass ClassTree::Record(const QTreeWidgetItem* node) {
    return node ? node->data(0, RecordRole).value<GoodsClass>() : GoodsClass{};
}

QTreeWidgetItem* ClassTree::Selected() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.constFirst();
}

void ClassTree::SelectFirst() {
    if (topLevelItemCount() > 0)
        setCurrentItem(topLevelItem(0));
}
