#include "definitions/qt/DefinitionViewWindows.h"

#include <QFrame>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <algorithm>

#include "app/SettingsBackend.h"
#include "definitions/DefinitionOrder.h"
#include "definitions/qt/DefinitionRichEdit.h"
#include "platform/qt/CoreText.h"

namespace qel {
namespace {

constexpr std::string_view kDialogName = "Definition";
constexpr std::string_view kSplitterValue = "SplitterPosition";
constexpr int kGap = 6;
constexpr int kDesignedTextLeft = 162;  // where the text pane starts until the user moves it
constexpr int kMaxToolTip = 79;
constexpr int kIndexRole = Qt::UserRole;
constexpr int kDictionaryRole = Qt::UserRole + 1;

}  // namespace

DefinitionViewWindows::DefinitionViewWindows(SettingsBackend& settings, QWidget* parent)
    : QWidget(parent), m_settings(settings) {
  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  m_tree = new QTreeWidget;
  m_tree->setHeaderHidden(true);
  m_tree->setRootIsDecorated(true);
  m_tree->setColumnCount(1);
  m_text = new DefinitionRichEdit;

  // Neither pane may become narrower than eight gaps.
  m_splitter = new QSplitter(Qt::Horizontal);
  m_splitter->setHandleWidth(kGap);
  m_splitter->setChildrenCollapsible(false);
  m_splitter->addWidget(m_tree);
  m_splitter->addWidget(m_text);
  m_tree->setMinimumWidth(8 * kGap);
  m_text->setMinimumWidth(8 * kGap);
  m_splitter->setStretchFactor(1, 1);
  const int left = std::max(
      8 * kGap, readDialogNumber(settings, kDialogName, kSplitterValue, kDesignedTextLeft) - kGap);
  m_splitter->setSizes({left, 4 * left});
  connect(m_splitter, &QSplitter::splitterMoved, this, [this] {
    writeDialogNumber(m_settings, kDialogName, kSplitterValue, splitterPosition());
  });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kGap, 1, kGap, kGap);
  layout->setSpacing(kGap);
  layout->addWidget(line);
  layout->addWidget(m_splitter, 1);

  connect(m_tree, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* item) { display(item); });
}

int DefinitionViewWindows::splitterPosition() const {
  return m_splitter->sizes().value(0) + m_splitter->handleWidth();
}

void DefinitionViewWindows::populate(DefinitionsFound found, const std::string& key,
                                     const std::string& preferredPath, const DefinitionLook& look) {
  m_found = std::move(found);
  m_look = look;
  std::vector<Definition>& definitions = m_found.definitions;
  chooseHeadingPairs(definitions, key);
  sortDefinitions(definitions);

  m_rebuilding = true;
  m_tree->clear();
  m_rebuilding = false;
  m_current = -1;

  const QIcon dictionaryIcon = style()->standardIcon(QStyle::SP_DirIcon);
  const QIcon definitionIcon = style()->standardIcon(QStyle::SP_FileIcon);
  QTreeWidgetItem* dictionary = nullptr;
  std::vector<QTreeWidgetItem*> items(definitions.size());
  for (size_t i = 0; i < definitions.size(); ++i) {
    const Definition& d = definitions[i];
    const QString name = fromCp1252(dictionaryName(d.dictionaryPath));
    if (!dictionary || d.dictionaryNumber != definitions[i - 1].dictionaryNumber) {
      if (dictionary) dictionary->setExpanded(true);
      dictionary = new QTreeWidgetItem(m_tree, {name});
      dictionary->setIcon(0, dictionaryIcon);
      dictionary->setData(0, kIndexRole, static_cast<int>(i));
      dictionary->setData(0, kDictionaryRole, true);
      dictionary->setToolTip(0, name.left(kMaxToolTip));
    }
    const QString heading = fromCp1252(headingOf(d));
    items[i] = new QTreeWidgetItem(dictionary, {heading});
    items[i]->setIcon(0, definitionIcon);
    items[i]->setData(0, kIndexRole, static_cast<int>(i));
    items[i]->setData(0, kDictionaryRole, false);
    // The tree is narrow: a long heading is cut short in it, and reads in full here.
    items[i]->setToolTip(0, heading + u'\n' + name.left(kMaxToolTip));
  }
  if (dictionary) dictionary->setExpanded(true);
  fitTreeToHeadings();

  const int initial = initialDefinition(definitions, key, preferredPath);
  QTreeWidgetItem* chosen = initial >= 0 ? items[initial] : nullptr;
  if (!chosen && m_tree->topLevelItemCount() > 0) chosen = m_tree->topLevelItem(0)->child(0);
  if (chosen) {
    m_tree->setCurrentItem(chosen);
    m_tree->scrollToItem(chosen);
  } else {
    display(nullptr);
  }
}

// Until the user places the splitter, the tree is widened to show its headings whole, up to two
// fifths of the window; it is never narrowed, so that the text does not jump from word to word.
void DefinitionViewWindows::fitTreeToHeadings() {
  int32_t placed = 0;
  if (m_settings.readNumber(dialogValueName(kDialogName, kSplitterValue), placed)) return;
  // The splitter's sizes mean something once it is laid out at the window's size.
  if (!isVisible()) {
    m_fitPending = true;
    return;
  }
  m_fitPending = false;
  int needed = 0;
  for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
    const QRect row = m_tree->visualItemRect(*it);
    const int text = m_tree->fontMetrics().horizontalAdvance((*it)->text(0));
    const int icon = m_tree->iconSize().width() > 0 ? m_tree->iconSize().width() : 16;
    // Its indentation (where it shows), its icon and text, and room for a scroll bar.
    const int indent =
        row.isValid() ? row.left() : m_tree->indentation() * ((*it)->parent() ? 2 : 1);
    needed = std::max(needed, indent + icon + text + 3 * kGap);
  }
  needed += m_tree->verticalScrollBar()->sizeHint().width();
  const QList<int> sizes = m_splitter->sizes();
  const int total = sizes.value(0) + sizes.value(1);
  const int wanted = std::min(needed, total * 2 / 5);
  if (sizes.size() == 2 && total > 0 && wanted > sizes[0]) {
    m_splitter->setSizes({wanted, total - wanted});
  }
}

void DefinitionViewWindows::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (m_fitPending) fitTreeToHeadings();
}

void DefinitionViewWindows::redisplay(const DefinitionLook& look) {
  m_look = look;
  display(m_tree->currentItem());
}

void DefinitionViewWindows::display(QTreeWidgetItem* item) {
  if (m_rebuilding) return;
  if (!item) {
    m_current = -1;
    m_text->display({}, m_look);
    setStatus({});
    return;
  }
  const int index = item->data(0, kIndexRole).toInt();
  if (index < 0 || index >= definitionCount()) return;
  const Definition& d = m_found.definitions[index];
  if (item->data(0, kDictionaryRole).toBool()) {
    m_current = -1;
    std::string description;
    const QCDictionaryList* list = m_found.dictionaries.get();
    if (list && d.dictionaryNumber >= 0 && d.dictionaryNumber < list->count()) {
      description = list->description(d.dictionaryNumber);
    }
    setStatus(tr("Description of ") + item->text(0));
    m_text->display(description, m_look);
    return;
  }
  m_current = index;
  setStatus(tr("Definition %1 of %2").arg(index + 1).arg(definitionCount()));
  m_text->display(d.body, m_look, d.firstTexts.empty() ? d.entryText : std::string());
}

void DefinitionViewWindows::stepDefinition(bool next) {
  std::vector<QTreeWidgetItem*> order;
  for (QTreeWidgetItemIterator it(m_tree); *it; ++it) order.push_back(*it);
  if (order.empty()) return;
  const auto at = std::find(order.begin(), order.end(), m_tree->currentItem());
  const long n = static_cast<long>(order.size());
  long i = at == order.end() ? (next ? -1 : 0) : at - order.begin();
  i = ((next ? i + 1 : i - 1) % n + n) % n;
  m_tree->setCurrentItem(order[i]);
  m_tree->scrollToItem(order[i]);
}

const Definition* DefinitionViewWindows::currentDefinition() const {
  return m_current >= 0 ? &m_found.definitions[m_current] : nullptr;
}

void DefinitionViewWindows::setStatus(const QString& text) {
  m_status = text;
  emit statusChanged(text);
}

}  // namespace qel
