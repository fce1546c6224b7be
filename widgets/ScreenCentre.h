#pragma once

class QWidget;

// Sizes a top-level window to its size hint (a fixed size stays) and moves it to
// the middle of its screen (its parent's screen, else the primary one).
void CentreOnScreen(QWidget& window);
