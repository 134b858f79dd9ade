// The program's icon (a corner of a crossword grid with a Q in its first square), drawn at the
// sizes task bars and title bars ask for, so that no image plug-in is needed to show it.
#pragma once

#include <QIcon>

namespace qel {

QIcon programIcon();

// Gives every window of the program its icon and tells the desktop which entry it belongs to.
void setUpProgramIdentity(const char* desktopFileName);

}  // namespace qel
