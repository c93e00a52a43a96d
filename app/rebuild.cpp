#include "app/rebuild.h"

#include "app/backup.h"
#include "app/openwindow.h"
#include "app/prompts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>
#include <cmath>

TfrmReBulid::TfrmReBulid()
    : m_GroupBox1(new QGroupBox(QStringLiteral("警告！！！"), this))
    , m_Memo1(new QPlainTextEdit(m_GroupBox1))
    , m_cmkYW(new QCheckBox(QStringLiteral("清除业务数据"), this))
    , m_chkJB(new QCheckBox(QStringLiteral("清除基本信息"), this))
    , m_cmdSH(new QPushButton(QStringLiteral("系统重建"), this))
    , m_cmdCancel(new QPushButton(QStringLiteral("取消(&X)"), this))
    , m_ListSQL(RebuildStatements()) {
    setObjectName(QStringLiteral("frmReBulid"));
    setWindowTitle(QStringLiteral("系统重建"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    m_GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    m_Memo1->setObjectName(QStringLiteral("Memo1"));
    m_Memo1->setReadOnly(true);
    m_Memo1->setPlainText(QStringLiteral("    系统重建将会将系统中所有信息清除，本功能仅用\n"
                                         "于对期初测试、熟悉系统所产生的测试数据的清除。\n"
                                         "    在执行本功能之前，建议首先在服务端备份数据库\n"
                                         "。若由于没有备份数据而造成损失，开发商概不负责。"));
    m_Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Sized to show the four lines whole (measured as laid out, with the
    // fallback fonts the Chinese text needs).
    QTextDocument measure;
    measure.setDefaultFont(m_Memo1->font());
    measure.setDocumentMargin(m_Memo1->document()->documentMargin());
    measure.setPlainText(m_Memo1->toPlainText());
    const int frame = 2 * m_Memo1->frameWidth() + 4;
    m_Memo1->setFixedSize(int(std::ceil(measure.idealWidth() + 2 * measure.documentMargin())) + frame,
                          int(std::ceil(measure.size().height())) + frame);

    m_cmkYW->setObjectName(QStringLiteral("cmkYW"));
    m_chkJB->setObjectName(QStringLiteral("chkJB"));
    m_cmdSH->setObjectName(QStringLiteral("cmdSH"));
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdSH->setAutoDefault(false);
    m_cmdCancel->setAutoDefault(false);

    connect(m_cmkYW, &QCheckBox::toggled, this, &TfrmReBulid::cmkYWClick);
    connect(m_chkJB, &QCheckBox::toggled, this, &TfrmReBulid::chkJBClick);
    connect(m_cmdSH, &QPushButton::clicked, this, &TfrmReBulid::cmdSHClick);
    connect(m_cmdCancel, &QPushButton::clicked, this, &TfrmReBulid::cmdCancelClick);

    auto* memoLayout = new QVBoxLayout(m_GroupBox1);
    memoLayout->addWidget(m_Memo1);
    auto* checks = new QHBoxLayout;
    checks->addWidget(m_cmkYW);
    checks->addSpacing(24);
    checks->addWidget(m_chkJB);
    checks->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdSH);
    buttons->addWidget(m_cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_GroupBox1);
    layout->addSpacing(6);
    layout->addLayout(checks);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmReBulid::chkJBClick() {
    // Basic information is never deleted without the business data.
    if (m_chkJB->isChecked())
        m_cmkYW->setChecked(true);
}

void TfrmReBulid::cmkYWClick() {
    if (!m_cmkYW->isChecked())
        m_chkJB->setChecked(false);
}

void TfrmReBulid::cmdCancelClick() {
    reject();
}

bool TfrmReBulid::ExecAllSQL(bool basic) {
    const QStringList failed = ExecRebuildStatements(m_ADOCommand1, m_ListSQL, basic);
    if (failed.isEmpty())
        return true;
    ShowMessage(
        QStringLiteral("清除数据表%1时发生错误，系统重建未完成！").arg(failed.join(QStringLiteral("、"))));
    return false;
}

void TfrmReBulid::cmdSHClick() {
    if (!m_cmkYW->isChecked() && !m_chkJB->isChecked()) {
        ShowMessage(QStringLiteral("至少需要选择一项清除项目！"));
        return;
    }
    if (!AskYesNo(QStringLiteral("系统重建将清除所有数据，请确认您已经备份了数据库，是否继续？")))
        return;
    // No open window may go on showing, or writing back, the deleted rows.
    if (QMdiArea* area = ChildArea())
        area->closeAllSubWindows();
    if (!ExecAllSQL(m_chkJB->isChecked()))
        return;
    ShowMessage(QStringLiteral("系统重建完成！"));
    accept();
}

void ShowReBulid() {
    RunModal<TfrmReBulid>(std::make_unique<TfrmReBulid>(), nullptr);
}
