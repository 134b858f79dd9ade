// The caption strip above a results list: " &N name (count)", whose mnemonic Alt+N gives the list
// the focus, drawn like a title bar when its pane is the active one.
#pragma once

#include <QLabel>
#include <QPoint>
#include <QString>

namespace qel {

class MatchListWindows;

// The view tells the caption whether its pane is the active one (setActive); the caption follows
// its list's focus by itself. Double-clicks and right-clicks go to the view as signals, which opens
// the dictionary's properties and the pane menu.
class MatchListLabelWindows : public QLabel {
  Q_OBJECT

 public:
  // The list below the caption: the mnemonic and a press give it the focus.
  explicit MatchListLabelWindows(MatchListWindows* list, QWidget* parent = nullptr);

  // number: the pane's number counting from 1, which is also its Alt+number mnemonic.
  void setIndexAndName(int number, const QString& name);
  void setCount(long count);  // shown when above 0
  // The dictionary's description, the caption's tooltip; none when empty.
  void setDescription(const QString& description);
  void setActive(bool active);
  bool isActive() const { return m_active; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void doubleClicked();
  void menuRequested(QPoint globalPos);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void rebuildText();
  void updateColours();

  MatchListWindows* m_list;
  int m_number = 1;
  QString m_name;
  long m_count = 0;
  bool m_active = false;
  bool m_rightDown = false;
};

}  // namespace qel
