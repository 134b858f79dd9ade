// The status bar names what a menu item does while the pointer is over it: greyed items too (Qt
// leaves those out), and in shortcut menus, whose tips Qt sends nowhere.
#pragma once

class QMenu;

namespace qel {

void showItemHints(QMenu* menu);

}  // namespace qel
