#include "search/qt/MatchListLabelWindows.h"

#include <QContextMenuEvent>
#include <QMouseEvent>

#include "search/qt/MatchListWindows.h"

namespace qel {
namespace {

constexpr int kCaptionPadding = 4;  // pixels above the text's height

}  // namespace

MatchListLabelWindows::MatchListLabelWindows(MatchListWindows* list, QWidget* parent)
    : QLabel(parent), m_list(list) {
  // A dictionary name with "<" in it must never be taken for markup.
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setFocusPolicy(Qt::NoFocus);
  setBuddy(list);  // the mnemonic gives the list the focus
  connect(list, &MatchListWindows::focusGained, this, &MatchListLabelWindows::updateColours);
  connect(list, &MatchListWindows::focusLost, this, &MatchListLabelWindows::updateColours);
  rebuildText();
  updateColours();
}

void MatchListLabelWindows::setIndexAndName(int number, const QString& name) {
  m_number = number;
  m_name = name;
  rebuildText();
}

void MatchListLabelWindows::setCount(long count) {
  if (count == m_count) return;
  m_count = count;
  rebuildText();
}

void MatchListLabelWindows::setDescription(const QString& description) { setToolTip(description); }

void MatchListLabelWindows::setActive(bool active) {
  m_active = active;
  updateColours();
}

void MatchListLabelWindows::rebuildText() {
  QString text = QStringLiteral(" &%1 ").arg(m_number);
  // An "&" of the name is shown, not taken for a second mnemonic.
  text += QString(m_name).replace(QLatin1Char('&'), QStringLiteral("&&"));
  if (m_count > 0) text += QStringLiteral(" (%1)").arg(m_count);
  setText(text);
}

void MatchListLabelWindows::updateColours() {
  // Inherit the window's colours again, then, for the active pane only, override the two that
  // paint a caption.
  setPalette(QPalette());
  setAutoFillBackground(m_active);
  if (!m_active) return;
  // Like a title bar: the active pane stands out, more strongly while its list has the focus.
  // Styles that give inactive selections the same colours as active ones would hide that
  // difference, so the unfocused caption then mixes the highlight with the window colour.
  QPalette colours = palette();
  const QColor active = colours.color(QPalette::Active, QPalette::Highlight);
  QColor background = active;
  QColor text = colours.color(QPalette::Active, QPalette::HighlightedText);
  if (!m_list->isFocused()) {
    background = colours.color(QPalette::Inactive, QPalette::Highlight);
    text = colours.color(QPalette::Inactive, QPalette::HighlightedText);
    if (background == active) {
      const QColor window = colours.color(QPalette::Active, QPalette::Window);
      background = QColor((active.red() + window.red()) / 2, (active.green() + window.green()) / 2,
                          (active.blue() + window.blue()) / 2);
      text = colours.color(QPalette::Active, QPalette::WindowText);
    }
  }
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    colours.setColor(group, QPalette::Window, background);
    colours.setColor(group, QPalette::WindowText, text);
  }
  setPalette(colours);
}

QSize MatchListLabelWindows::sizeHint() const {
  return QSize(QLabel::sizeHint().width(), fontMetrics().height() + kCaptionPadding);
}

QSize MatchListLabelWindows::minimumSizeHint() const {
  return QSize(QLabel::minimumSizeHint().width(), fontMetrics().height() + kCaptionPadding);
}

void MatchListLabelWindows::mousePressEvent(QMouseEvent* event) {
  m_list->setFocus(Qt::MouseFocusReason);
  if (event->button() == Qt::RightButton) m_rightDown = true;
}

void MatchListLabelWindows::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::RightButton || !m_rightDown) return;
  m_rightDown = false;
  if (rect().contains(event->position().toPoint())) {
    emit menuRequested(event->globalPosition().toPoint());
  }
}

void MatchListLabelWindows::mouseDoubleClickEvent(QMouseEvent* event) {
  m_list->setFocus(Qt::MouseFocusReason);
  if (event->button() == Qt::LeftButton) emit doubleClicked();
}

void MatchListLabelWindows::contextMenuEvent(QContextMenuEvent* event) {
  // The right button's release asks for the menu; the view's own menu must not open as well.
  event->accept();
}

}  // namespace qel
