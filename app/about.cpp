#include "app/about.h"

#include "app/appearance.h"
#include "app/openwindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmAbout::TfrmAbout()
    : m_cmdClose(new QPushButton(QStringLiteral("关闭(&X)"), this)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于.."));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(AppIcon().pixmap(64, 64));
    auto* product = new QLabel(QStringLiteral("Brimsoll管理系统 V1.0"), this);
    product->setObjectName(QStringLiteral("Label1"));
    QFont font = product->font();
    font.setPointSize(font.pointSize() + 4);
    font.setBold(true);
    product->setFont(font);

    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    m_cmdClose->setDefault(true);
    connect(m_cmdClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addWidget(product, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 14);
    layout->addLayout(top);
    layout->addSpacing(16);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ShowAbout() { RunModal<TfrmAbout>(std::make_unique<TfrmAbout>(), nullptr); }
