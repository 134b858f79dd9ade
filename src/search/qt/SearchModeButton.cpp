// Painted through the style, so that it looks like the arrow button of the platform's scroll bars.
#include "search/qt/SearchModeButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace qel {

SearchModeButton::SearchModeButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  setCursor(Qt::ArrowCursor);
}

QSize SearchModeButton::sizeHint() const {
  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  return {extent + 2, extent + 6};
}

void SearchModeButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionButton button;
  button.initFrom(this);
  button.rect = rect();
  button.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
  style()->drawControl(QStyle::CE_PushButtonBevel, &button, &painter, this);
  QStyleOption arrow;
  arrow.initFrom(this);
  const int size = std::min(width(), height()) / 2;
  arrow.rect = QRect((width() - size) / 2, (height() - size) / 2, size, size);
  if (isDown()) arrow.rect.translate(1, 1);
  style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
}

}  // namespace qel
