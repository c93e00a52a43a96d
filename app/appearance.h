#pragma once
// The look shared by both programs: Fusion with one calm palette, a CJK font,
// Qt's own Chinese button texts, and the icons drawn at run time.

#include <QColor>
#include <QIcon>
#include <QString>

class QApplication;

void ApplyAppearance(QApplication& app);

// The program's window icon.
QIcon AppIcon();
// A command icon: a rounded tile in the given colour with one character on it.
QIcon GlyphIcon(const QString& glyph, const QColor& colour);
