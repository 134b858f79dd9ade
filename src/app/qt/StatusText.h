// The status bar's message: one line that never widens the window. A text too long for the bar
// is cut with an ellipsis and shown whole as the tooltip.
#pragma once

#include <QLabel>
#include <QString>

namespace qel {

class StatusText : public QLabel {
  Q_OBJECT

 public:
  explicit StatusText(QWidget* parent = nullptr);

  void setFullText(const QString& text);
  const QString& fullText() const { return m_text; }

  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void fit();

  QString m_text;
};

}  // namespace qel
