#include "classes/selectclass.h"

#include "app/dialogs.h"
#include "app/openwindow.h"
#include "app/prompts.h"
#include "classes/classtree.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

TfrmSelectClass::TfrmSelectClass()
    : Tree(new ClassTree(this))
    , cmdSelect(new QPushButton(QStringLiteral("选中(&S)"), this))
    , cmdClose(new QPushButton(QStringLiteral("退出(&X)"), this)) {
    setObjectName(QStringLiteral("frmSelectClass"));
    setWindowTitle(QStringLiteral("选择分类"));
    cmdSelect->setObjectName(QStringLiteral("cmdSelect"));
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdSelect->setAutoDefault(false);
    cmdClose->setAutoDefault(false);
    Tree->setMinimumSize(300, 380);
    Tree->installEventFilter(this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSelect);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Tree);
    layout->addLayout(buttons);
    MakeFixedDialog(this);
    SetCancelButton(this, cmdClose);

    connect(cmdSelect, &QPushButton::clicked, this, &TfrmSelectClass::cmdSelectClick);
    connect(cmdClose, &QPushButton::clicked, this, &TfrmSelectClass::cmdCloseClick);
    connect(Tree, &ClassTree::nodeDoubleClicked, this, &TfrmSelectClass::cmdSelectClick);
}

bool TfrmSelectClass::ReadyData() {
    if (!Tree->LoadClassTable(ClassTable::Departments, ClassForest::Linking::TwoLevel))
        return false;
    Tree->SelectFirst();
    return true;
}

void TfrmSelectClass::cmdSelectClick() {
    QTreeWidgetItem* node = Tree->Selected();
    if (!node)
        return;
    if (node->childCount() > 0) {
        ShowMessage(QStringLiteral("请选择下级分类！"));
        return;
    }
    const GoodsClass record = ClassTree::Record(node);
    m_chosenCode = record.TypeCode;
    m_chosenName = record.TypeName;
    m_notChosen = false;
    accept();
}

void TfrmSelectClass::cmdCloseClick() {
    reject();
}

bool TfrmSelectClass::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Tree && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdSelectClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

ClassChoice ShowSelectClass() {
    auto dialog = RunModal<TfrmSelectClass>(std::make_unique<TfrmSelectClass>(), &TfrmSelectClass::ReadyData);
    return dialog ? dialog->Choice() : ClassChoice{};
}
