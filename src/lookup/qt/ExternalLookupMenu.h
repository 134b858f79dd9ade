// The External Lookup popup's method items.
#pragma once

#include "lookup/LookupMethodTable.h"

class QMenu;

namespace qel {

// Rebuilds the items in front of the popup's last two (a separator and "&Setup...", which the
// caller adds once): one radio item per enabled method in table order, the default checked and
// showing Ctrl+Alt+Enter, all greyed without a word. Each item's data() is its Command,
// externalLookupMethodCommand(its position). Resolves the default first. Call it each time the
// popup is about to show.
void buildExternalLookupMenu(QMenu* popup, LookupMethodTable& table, bool wordAvailable);

}  // namespace qel
