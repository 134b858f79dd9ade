// Window placement from and into settings.
#include "common/qt/WindowPosition.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace qel {

ScreenArea screenArea(const QWidget& widget) {
  const QScreen* screen = widget.screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QRect desktop = screen->virtualGeometry();
  return {desktop.x(), desktop.y(), desktop.width(), desktop.height()};
}

Position widgetPosition(const QWidget& widget) {
  QRect normal = widget.isWindow() ? widget.normalGeometry() : QRect();
  if (!normal.isValid()) normal = widget.geometry();
  // The frame's corner, so that a window put back with move() keeps its title bar where it was.
  const QPoint frameOffset = widget.geometry().topLeft() - widget.pos();
  const QPoint corner = normal.topLeft() - frameOffset;
  return {corner.x(), corner.y(), normal.width(), normal.height()};
}

void placeWidget(QWidget& widget, const Position& position) {
  widget.move(position.left, position.top);
  if (widget.minimumSize() != widget.maximumSize()) widget.resize(position.width, position.height);
}

bool restoreWidgetPosition(QWidget& widget, const SettingsBackend& settings,
                           std::string_view valueName) {
  const std::optional<Position> stored = readPosition(settings, valueName);
  if (!stored) return false;
  const std::optional<Position> position = restorablePosition(*stored, screenArea(widget));
  if (!position) return false;
  placeWidget(widget, *position);
  return true;
}

void storeWidgetPosition(const QWidget& widget, SettingsBackend& settings,
                         std::string_view valueName) {
  writePosition(settings, valueName, widgetPosition(widget));
}

bool restoreDialogPosition(QWidget& widget, const SettingsBackend& settings,
                           std::string_view dialogName) {
  return restoreWidgetPosition(widget, settings, dialogValueName(dialogName, kPositionValue));
}

void storeDialogPosition(const QWidget& widget, SettingsBackend& settings,
                         std::string_view dialogName) {
  storeWidgetPosition(widget, settings, dialogValueName(dialogName, kPositionValue));
}

}  // namespace qel
