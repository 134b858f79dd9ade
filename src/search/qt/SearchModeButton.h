// The small button beside Search that opens the search-mode menu, drawn as a scroll bar's
// down-arrow button.
#pragma once

#include <QAbstractButton>

namespace qel {

class SearchModeButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit SearchModeButton(QWidget* parent = nullptr);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace qel
