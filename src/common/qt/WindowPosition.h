// Windows placed where the settings remember them, and their placement stored when they close.
#pragma once

#include <string_view>

#include "app/SettingsBackend.h"

class QWidget;

namespace qel {

// The desktop the widget is on.
ScreenArea screenArea(const QWidget& widget);
// A window's normal (not maximised) placement: the top-left corner of its frame and the size
// inside the frame, the two things move() and resize() take back.
Position widgetPosition(const QWidget& widget);
void placeWidget(QWidget& widget, const Position& position);

// A window's position stored under a full value name (a definition window's
// definitionWindowPositionName(n)). Restoring uses it only when restorablePosition() allows, and a
// window of fixed size keeps its size; false when nothing was used.
bool restoreWidgetPosition(QWidget& widget, const SettingsBackend& settings,
                           std::string_view valueName);
void storeWidgetPosition(const QWidget& widget, SettingsBackend& settings,
                         std::string_view valueName);
// The same for a dialog by its name: the value `dialogName` + "Position".
bool restoreDialogPosition(QWidget& widget, const SettingsBackend& settings,
                           std::string_view dialogName);
void storeDialogPosition(const QWidget& widget, SettingsBackend& settings,
                         std::string_view dialogName);

}  // namespace qel
