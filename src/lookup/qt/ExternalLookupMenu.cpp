// The External Lookup popup, rebuilt from the method table.
#include "lookup/qt/ExternalLookupMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace qel {
namespace {

constexpr int kFixedItems = 2;  // the separator and "&Setup..."
constexpr char kGroupName[] = "externalLookupMethods";
// The default method's key, shown beside it; the window's own action carries the shortcut.
constexpr char kDefaultKeyText[] = "\tCtrl+Alt+Enter";

}  // namespace

void buildExternalLookupMenu(QMenu* popup, LookupMethodTable& table, bool wordAvailable) {
  table.resolveDefault();
  auto* group = popup->findChild<QActionGroup*>(kGroupName, Qt::FindDirectChildrenOnly);
  if (group == nullptr) {
    group = new QActionGroup(popup);
    group->setObjectName(kGroupName);
  }
  const QList<QAction*> items = popup->actions();
  const int oldCount = std::max<int>(0, static_cast<int>(items.size()) - kFixedItems);
  QAction* firstFixed = oldCount < items.size() ? items[oldCount] : nullptr;

  const std::vector<LookupMethodRef> methods = table.enabledMethods();
  for (int p = 0; p < static_cast<int>(methods.size()); ++p) {
    QAction* item = p < oldCount ? items[p] : new QAction(popup);
    if (p >= oldCount) popup->insertAction(firstFixed, item);
    const bool isDefault = table.isDefault(methods[p]);
    QString text = QString::fromStdString(table.method(methods[p]).label);
    if (isDefault) text += kDefaultKeyText;
    item->setText(text);
    item->setCheckable(true);
    item->setChecked(isDefault);
    item->setEnabled(wordAvailable);
    item->setData(QVariant::fromValue(externalLookupMethodCommand(p)));
    group->addAction(item);
  }
  for (int p = static_cast<int>(methods.size()); p < oldCount; ++p) {
    popup->removeAction(items[p]);
    if (items[p]->parent() == popup) delete items[p];
  }
}

}  // namespace qel
