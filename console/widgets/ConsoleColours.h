#pragma once
// The console's colours: the bonus panels and the team colours painted on its widgets.

#include "console/widgets/MatchConsole.h"

#include <QColor>
#include <QWidget>

inline const QColor BonusNormal(201, 250, 126);
inline const QColor BonusReached(255, 164, 164);

inline void paint(QWidget *w, const QColor &background, const QColor &text)
{
    // Setting a style sheet polishes the widget again, even an unchanged one.
    const QString sheet = QStringLiteral("background-color: %1; color: %2").arg(background.name(), text.name());
    if (w->styleSheet() != sheet)
        w->setStyleSheet(sheet);
}

// Text in the inverted colour stays readable on any team colour.
inline QColor contrastOf(const QColor &c) { return ColorFromValue(ColorValue(c) ^ 0xFFFFFF); }
