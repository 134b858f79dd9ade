// The dictionary builder's window: a text source in the builder's line syntax (UTF-8 or code page
// 1252) made into a dictionary file with the options of the command-line build. The build runs with
// a progress bar and its log, and Cancel stays live; the target is replaced only by a complete
// build and keeps its old contents in its ".bak" file. Lines the build skips are listed apart.
#pragma once

#include <QString>
#include <string>

#include "maintenance/qt/MaintenanceJobDialog.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace qel {

class QCDictionaryBuilderWindow : public MaintenanceJobDialog {
  Q_OBJECT

 public:
  enum class Encoding { kUtf8 = 0, kCp1252 = 1 };

  explicit QCDictionaryBuilderWindow(SettingsBackend& settings, QWidget* parent = nullptr);
  ~QCDictionaryBuilderWindow() override;

  // The skipped lines as the build reported them ("line 7: ..."), the first 1,000 of them.
  QStringList skippedLines() const;

  QLineEdit* sourceEdit() const { return m_source; }
  QComboBox* encodingBox() const { return m_encoding; }
  QLineEdit* outputEdit() const { return m_output; }
  QPlainTextEdit* descriptionEdit() const { return m_description; }
  QSpinBox* shortestBox() const { return m_shortest; }
  QSpinBox* longestBox() const { return m_longest; }
  QSpinBox* commonBox() const { return m_common; }
  QPushButton* buildButton() const { return acceptButton(); }
  QPushButton* cancelButton() const { return closeButton(); }

 signals:
  // After each build, successful or not.
  void buildFinished(bool built);

 protected:
  // Build: runs the build; the window stays open for the next one.
  bool apply() override;
  void enableControls(bool enabled) override;

 private:
  class Source;

  void chooseSource();
  void chooseOutput();
  void addToLog(const std::string& cp1252Text, bool failure);
  bool build();

  QLineEdit* m_source = nullptr;
  QPushButton* m_browseSource = nullptr;
  QComboBox* m_encoding = nullptr;
  QLineEdit* m_output = nullptr;
  QLineEdit* m_ranks = nullptr;
  QPushButton* m_browseRanks = nullptr;
  QPushButton* m_browseOutput = nullptr;
  QPlainTextEdit* m_description = nullptr;
  QSpinBox* m_shortest = nullptr;
  QSpinBox* m_longest = nullptr;
  QSpinBox* m_common = nullptr;
  QListWidget* m_skipped = nullptr;
  static constexpr long kListedSkippedLines = 1000;
  long m_skippedCount = 0;  // listed or not
};

}  // namespace qel
