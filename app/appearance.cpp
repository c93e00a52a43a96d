#include "app/appearance.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <QStyleFactory>
#include <QTranslator>

namespace {

QPixmap DrawTile(int size, const QString& glyph, const QColor& colour) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath tile;
    const qreal margin = size / 16.0;
    tile.addRoundedRect(QRectF(margin, margin, size - 2 * margin, size - 2 * margin), size / 5.0, size / 5.0);
    QLinearGradient gradient(0, 0, 0, size);
    gradient.setColorAt(0, colour.lighter(125));
    gradient.setColorAt(1, colour.darker(110));
    painter.fillPath(tile, gradient);
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(int(size * 0.58));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, glyph);
    return pixmap;
}

} // namespace

QIcon GlyphIcon(const QString& glyph, const QColor& colour) {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(DrawTile(size, glyph, colour));
    return icon;
}

QIcon AppIcon() { return GlyphIcon(QStringLiteral("费"), QColor(0x2f, 0x6f, 0xa8)); }

void ApplyAppearance(QApplication& app) {
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    QPalette palette;
    const QColor window(0xf3, 0xf5, 0xf8);
    const QColor base(Qt::white);
    const QColor text(0x1f, 0x29, 0x37);
    const QColor highlight(0x2f, 0x6f, 0xa8);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, QColor(0xf7, 0xf9, 0xfc));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0xe9, 0xed, 0xf2));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(0xff, 0xfb, 0xe6));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x9a, 0xa3, 0xae));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x9a, 0xa3, 0xae));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x9a, 0xa3, 0xae));
    app.setPalette(palette);

    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(10);
    app.setFont(font);

    app.setStyleSheet(QStringLiteral(
        "QToolBar { spacing: 4px; padding: 2px; border-bottom: 1px solid #d5dbe3; }"
        "QToolButton { padding: 3px 8px; }"
        "QGroupBox { font-weight: bold; }"));

    // Qt's own buttons (Yes, No, Cancel) in Chinese.
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;

    app.setWindowIcon(AppIcon());
}
