#include "classes/classtreeeditor.h"

#include "app/dataset.h"
#include "app/helpers.h"
#include "app/prompts.h"
#include "classes/classcodes.h"
#include "classes/classtree.h"

namespace {
const QString ReadError = QStringLiteral("读取数据出现错误。");
} // namespace

ClassTreeEditor::ClassTreeEditor(ClassTree* tree, ClassTable table)
    : m_tree(tree)
    , m_table(table) {}

QString ClassTreeEditor::AskName(const QString& prompt, const QString& current) const {
    return GbkLeft(InputBox(prompt, prompt, current), NameBytes);
}

bool ClassTreeEditor::NextCode(const QString& parentCode, QString& code) const {
    switch (GetMaxNum(m_table, parentCode, code)) {
    case NextCodeResult::Ok:
        return true;
    case NextCodeResult::QueryFailed:
        ShowMessage(ReadError);
        return false;
    case NextCodeResult::GroupsExhausted:
        ShowMessage(QStringLiteral("该分类下的编号已经用完（最多9999个），不能再添加！"));
        return false;
    }
    return false;
}

bool ClassTreeEditor::Execute(const QString& statement) const {
    TCommand command;
    command.setCommandText(statement);
    try {
        command.execute();
        return true;
    } catch (const EDatabaseError&) {
        ShowMessage(ReadError);
        return false;
    }
}

void ClassTreeEditor::AddRoot() {
    const QString name = AskName(InfoOf(m_table).rootPrompt, QString());
    if (name.isEmpty())
        return;
    GoodsClass record;
    if (!NextCode(QString(), record.TypeCode))
        return;
    record.TypeName = name;
    QTreeWidgetItem* node = m_tree->AddNode(nullptr, record);
    // A node whose insert failed leaves the tree again.
    if (!Execute(InsertClassStatement(m_table, record)))
        m_tree->RemoveNode(node);
}

void ClassTreeEditor::AddChild() {
    QTreeWidgetItem* parent = m_tree->Selected();
    if (!parent)
        return;
    const GoodsClass parentRecord = ClassTree::Record(parent);
    const ClassTableInfo& info = InfoOf(m_table);
    if (parentRecord.nLeveal > info.maxParentLevel) {
        ShowMessage(info.depthMessage);
        return;
    }
    const QString name = AskName(info.childPrompt, QString());
    if (name.isEmpty())
        return;
    GoodsClass record;
    if (!NextCode(parentRecord.TypeCode, record.TypeCode))
        return;
    record.ParTypeCode = parentRecord.TypeCode;
    record.TypeName = name;
    record.nLeveal = parentRecord.nLeveal + 1;
    QTreeWidgetItem* node = m_tree->AddNode(parent, record);
    if (!Execute(InsertClassStatement(m_table, record))) {
        m_tree->RemoveNode(node);
        return;
    }
    parent->setExpanded(true);
}

void ClassTreeEditor::Rename() {
    QTreeWidgetItem* node = m_tree->Selected();
    if (!node)
        return;
    // Cancelling the input box answers the current name, which is written unchanged.
    const QString name = AskName(InfoOf(m_table).renamePrompt, node->text(0));
    if (name.isEmpty())
        return;
    const GoodsClass record = ClassTree::Record(node);
    if (!Execute(RenameClassStatement(m_table, record.TypeCode, name)))
        return;
    node->setText(0, name);
}

void ClassTreeEditor::Delete() {
    QTreeWidgetItem* node = m_tree->Selected();
    if (!node)
        return;
    if (node->childCount() > 0) {
        ShowMessage(QStringLiteral("指定分类下有子分类，不能直接删除！请先删除子分类！"));
        return;
    }
    if (!AskYesNo(QStringLiteral("您确认删除吗？")))
        return;
    if (!Execute(DeleteClassStatement(m_table, ClassTree::Record(node).TypeCode)))
        return;
    m_tree->RemoveNode(node);
}
