#pragma once

#include <QIcon>
#include <QString>

// A toolbar picture: two 16 x 16 pictures side by side, the normal one and the one shown
// while the button is disabled; the colour of the bottom-left pixel is transparent.
QIcon ToolbarGlyph(const QString& resourcePath);
