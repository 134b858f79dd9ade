// The inside of a definition window: the definitions found, grouped by dictionary in a tree, beside
// the text of the one selected, with a splitter between them that keeps its place.
#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "definitions/qt/DefinitionSource.h"

class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;

namespace qel {

class DefinitionRichEdit;

class DefinitionViewWindows : public QWidget {
  Q_OBJECT

 public:
  DefinitionViewWindows(SettingsBackend& settings, QWidget* parent = nullptr);

  // Heads, orders and lists the definitions, then selects (and so shows) the first one to read:
  // the one headed most like `key` in the first dictionary or in `preferredPath`.
  void populate(DefinitionsFound found, const std::string& key, const std::string& preferredPath,
                const DefinitionLook& look);
  // Shows the selected item again in a new look.
  void redisplay(const DefinitionLook& look);
  // Selects the next (or previous) item, dictionaries included, round from the end to the start.
  void stepDefinition(bool next);

  // The definition shown, or null (nothing shown, or a dictionary's description).
  const Definition* currentDefinition() const;
  int definitionCount() const { return static_cast<int>(m_found.definitions.size()); }
  int currentIndex() const { return m_current; }
  QString statusText() const { return m_status; }

  QTreeWidget* tree() const { return m_tree; }
  DefinitionRichEdit* text() const { return m_text; }
  QSplitter* splitter() const { return m_splitter; }
  // The text pane's left edge, as it is stored.
  int splitterPosition() const;
  void fitTreeToHeadings();
  void showEvent(QShowEvent* event) override;

 signals:
  void statusChanged(const QString& text);

 private:
  void display(QTreeWidgetItem* item);
  void setStatus(const QString& text);

  SettingsBackend& m_settings;
  QTreeWidget* m_tree = nullptr;
  bool m_fitPending = false;  // the tree waits to be fitted to its headings until shown
  DefinitionRichEdit* m_text = nullptr;
  QSplitter* m_splitter = nullptr;
  DefinitionsFound m_found;
  DefinitionLook m_look;
  int m_current = -1;
  bool m_rebuilding = false;
  QString m_status;
};

}  // namespace qel
