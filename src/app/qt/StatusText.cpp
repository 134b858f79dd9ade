#include "app/qt/StatusText.h"

#include <QFontMetrics>

namespace qel {

StatusText::StatusText(QWidget* parent) : QLabel(parent) {
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void StatusText::setFullText(const QString& text) {
  m_text = text;
  fit();
}

QSize StatusText::minimumSizeHint() const { return QSize(0, QLabel::minimumSizeHint().height()); }

void StatusText::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  fit();
}

void StatusText::fit() {
  const QString shown = fontMetrics().elidedText(m_text, Qt::ElideRight, contentsRect().width());
  setText(shown);
  setToolTip(shown == m_text ? QString() : m_text);
}

}  // namespace qel
