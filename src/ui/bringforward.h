// Bringing the program forward when the clerk starts it a second time.
#pragma once

class QWidget;

namespace ui {

// Brings the window the clerk works in forward: the open modal dialog when
// there is one, else `window`; a minimised window is restored.
void bringForward(QWidget *window);

} // namespace ui
