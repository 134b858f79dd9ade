// The word-list merge window: several word lists and dictionaries merged into one source text or
// straight into a new dictionary, duplicates decided by folded letters (the first spelling kept,
// or every spelling), sorted, with the counts of what each input brought. Long inputs keep the
// window live with a progress bar, and Cancel stops the merge; the target is replaced only by a
// complete result and keeps its old contents in its ".bak" file.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

#include "maintenance/qt/MaintenanceJobDialog.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace qel {

class QCWordListMergeWindow : public MaintenanceJobDialog {
  Q_OBJECT

 public:
  explicit QCWordListMergeWindow(SettingsBackend& settings, QWidget* parent = nullptr);
  ~QCWordListMergeWindow() override;

  QStringList inputs() const;
  void setInputs(const QStringList& paths);
  // Each input's counts as shown: name, entries, added, duplicates, skipped; then the total.
  QStringList countRows() const;

  QListWidget* inputList() const { return m_inputs; }
  QComboBox* encodingBox() const { return m_encoding; }
  QRadioButton* keepFirstButton() const { return m_keepFirst; }
  QRadioButton* keepEveryButton() const { return m_keepEvery; }
  QRadioButton* textOutputButton() const { return m_toText; }
  QRadioButton* dictionaryOutputButton() const { return m_toDictionary; }
  QLineEdit* outputEdit() const { return m_output; }
  QLineEdit* descriptionEdit() const { return m_description; }
  QPushButton* mergeButton() const { return acceptButton(); }
  QPushButton* cancelButton() const { return closeButton(); }

 signals:
  void mergeFinished(bool merged);

 protected:
  // Merge: runs the merge; the window stays open for the next one.
  bool apply() override;
  void enableControls(bool enabled) override;

 private:
  class Lines;

  void addInputs();
  void removeInputs();
  void moveInput(int step);
  void chooseOutput();
  void updateControls();
  bool merge();
  // Lets the window run during a merge: false once the user cancelled.
  bool turn(double done);

  QListWidget* m_inputs = nullptr;
  QPushButton* m_add = nullptr;
  QPushButton* m_remove = nullptr;
  QPushButton* m_up = nullptr;
  QPushButton* m_down = nullptr;
  QComboBox* m_encoding = nullptr;
  QRadioButton* m_keepFirst = nullptr;
  QRadioButton* m_keepEvery = nullptr;
  QRadioButton* m_toText = nullptr;
  QRadioButton* m_toDictionary = nullptr;
  QLineEdit* m_output = nullptr;
  QPushButton* m_change = nullptr;
  QLineEdit* m_description = nullptr;
  QTreeWidget* m_counts = nullptr;
  int m_input = 0;  // the input being read, for the progress bar
};

}  // namespace qel
