// The Dictionary List dialog: composes an ordered list of dictionaries (such as those whose
// definitions are shown) from the valid dictionaries of one folder and those chosen before.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "dictionary/QCDictionaryList.h"
#include "properties/PropertiesDialog.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace qel {

class DictionaryListViewWindows : public PropertiesDialog {
  Q_OBJECT

 public:
  static constexpr char kDialogName[] = "DictionaryList";
  // The other dictionaries' folder, a value of this dialog; a relative one lies in the program's
  // folder.
  static constexpr char kFolderValue[] = "DictionaryFolder";
  static constexpr char kDefaultFolder[] = "Dictionaries";

  // Starts from `listText`, absolute paths joined by ";": its valid dictionaries are selected, in
  // its order. Open it modally (exec()); after OK, resultText() is the list composed.
  DictionaryListViewWindows(const QString& listText, SettingsBackend& settings,
                            const QString& programFolder, QWidget* parent = nullptr);
  ~DictionaryListViewWindows() override;

  QString resultText() const { return m_result; }
  QString folder() const { return m_folder; }

  QListWidget* selectedList() const { return m_selectedList; }
  QListWidget* otherList() const { return m_otherList; }

 protected:
  bool apply() override;

 private:
  void addDictionary();
  void removeDictionary();
  void moveDictionary(int by);
  void showProperties();
  void browse();
  void fillOther();
  void insertOther(const QString& fileName);
  void selectionChanged(QListWidget* list);
  void updateStates();
  bool isSelected(const QString& path) const;

  std::string m_programFolder;
  // One list per selected dictionary, in the order of the selected list.
  std::vector<std::unique_ptr<QCDictionaryList>> m_selected;
  QString m_folder;  // absolute
  QString m_result;
  QListWidget* m_selectedList;
  QListWidget* m_otherList;
  QLineEdit* m_folderEdit;
  QPushButton* m_promote;
  QPushButton* m_demote;
  QPushButton* m_add;
  QPushButton* m_remove;
  QPushButton* m_properties;
};

}  // namespace qel
