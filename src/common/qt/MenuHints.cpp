#include "common/qt/MenuHints.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QStatusTipEvent>
#include <QTimer>

namespace qel {
namespace {

// One filter for every menu: it keeps no state of its own.
class ItemHints : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MouseMove) return false;
    auto* menu = static_cast<QMenu*>(watched);
    QWidget* owner = menu->parentWidget();
    if (!owner) return false;
    const QAction* item = menu->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    // The menu is a window of its own, which a tip does not leave: it goes to the window the
    // menu belongs to, whose status bar shows it. It goes after the menu has handled the move,
    // which clears the status bar for a greyed item.
    QPointer<QWidget> target = owner->window();
    const QString text = item ? item->statusTip() : QString();
    QTimer::singleShot(0, target, [target, text] {
      QStatusTipEvent tip(text);
      if (target) QCoreApplication::sendEvent(target, &tip);
    });
    return false;
  }
};

}  // namespace

void showItemHints(QMenu* menu) {
  static ItemHints* filter = new ItemHints(QCoreApplication::instance());
  menu->installEventFilter(filter);
}

}  // namespace qel
