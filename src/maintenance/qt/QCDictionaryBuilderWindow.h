// The dictionary builder's window: a text source in the builder's line syntax (UTF-8 or code page
// 1252) made into a dictionary file with the options of the command-line build. The build runs with
// a progress bar and its log, and Cancel stays live; the target is replaced only by a complete
// build and keeps its old contents in its ".bak" file. Lines the build skips are listed apart.
#pragma once

#include <QString>
#include <string>

#include "properties/PropertiesDialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace qel {

class QCDictionaryBuilderWindow : public PropertiesDialog {
  Q_OBJECT

 public:
  enum class Encoding { kUtf8 = 0, kCp1252 = 1 };

  explicit QCDictionaryBuilderWindow(SettingsBackend& settings, QWidget* parent = nullptr);
  ~QCDictionaryBuilderWindow() override;

  bool building() const { return m_building; }
  QString logText() const;
  QString statusText() const;
  // The skipped lines as the build reported them ("line 7: ..."), the first 1,000 of them.
  QStringList skippedLines() const;

  QLineEdit* sourceEdit() const { return m_source; }
  QComboBox* encodingBox() const { return m_encoding; }
  QLineEdit* outputEdit() const { return m_output; }
  QPlainTextEdit* descriptionEdit() const { return m_description; }
  QSpinBox* shortestBox() const { return m_shortest; }
  QSpinBox* longestBox() const { return m_longest; }
  QSpinBox* commonBox() const { return m_common; }
  QProgressBar* progressBar() const { return m_progress; }
  QPushButton* buildButton() const { return acceptButton(); }
  QPushButton* cancelButton() const { return closeButton(); }

 signals:
  // After each build, successful or not.
  void buildFinished(bool built);

 protected:
  // Build: runs the build; the window stays open for the next one.
  bool apply() override;
  // Cancel while a build runs abandons it and leaves the window open; otherwise it closes.
  void done(int result) override;

 private:
  class Source;

  void chooseSource();
  void chooseOutput();
  void setControlsEnabled(bool enabled);
  void addToLog(const std::string& cp1252Text, bool failure);
  bool build();
  // Lets the window run during a build: false once the user cancelled.
  bool yield(const Source& source);

  QLineEdit* m_source = nullptr;
  QPushButton* m_browseSource = nullptr;
  QComboBox* m_encoding = nullptr;
  QLineEdit* m_output = nullptr;
  QLineEdit* m_ranks = nullptr;
  QPushButton* m_browseOutput = nullptr;
  QPlainTextEdit* m_description = nullptr;
  QSpinBox* m_shortest = nullptr;
  QSpinBox* m_longest = nullptr;
  QSpinBox* m_common = nullptr;
  QProgressBar* m_progress = nullptr;
  QPlainTextEdit* m_log = nullptr;
  QListWidget* m_skipped = nullptr;
  static constexpr long kListedSkippedLines = 1000;
  long m_skippedCount = 0;  // listed or not
  QLabel* m_status = nullptr;
  bool m_building = false;
  bool m_cancelled = false;
};

}  // namespace qel
