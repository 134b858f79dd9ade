// The dictionary save dialog: writes a results list as a dictionary file, either to one target
// with a description of the user's (using the alphabet of the dictionary the results came from),
// or over each of the dictionaries the user selects, each with its own alphabet and description.
// The build runs with its log in the dialog and Cancel stays live; a target is replaced only by a
// complete build and keeps its old contents in its ".bak" file.
#pragma once

#include <QString>
#include <memory>

#include "maintenance/DictionaryMaintainer.h"
#include "pattern/PatternLimits.h"
#include "properties/PropertiesDialog.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace qel {

class QCDictionaryList;
class ResultList;

class QCDictionarySaveDialog : public PropertiesDialog {
  Q_OBJECT

 public:
  // What to save and where. `dictionary` is the dictionary of `dictionaries` whose alphabet the
  // single target is built with; below 0 the dialog rebuilds the dictionaries selected in its
  // list instead. Entries of `shortest` to `longest` letters are kept.
  struct Request {
    const ResultList* results = nullptr;
    QCDictionaryList* dictionaries = nullptr;
    int dictionary = 0;
    QString path;         // the single target
    QString description;  // its description
    int shortest = 1;
    int longest = pattern::kLongestWord;
  };

  QCDictionarySaveDialog(const Request& request, const QString& caption,
                         std::string_view dialogName, int helpContext, SettingsBackend& settings,
                         QWidget* parent = nullptr);
  ~QCDictionarySaveDialog() override;

  bool multipleMode() const { return m_dictionary < 0; }
  DictionaryMaintainer::State state() const { return m_maintainer->state(); }
  QString logText() const;
  QString statusText() const;
  QListWidget* dictionaryList() const { return m_list; }
  QLineEdit* fileEdit() const { return m_file; }
  QPlainTextEdit* descriptionEdit() const { return m_description; }
  QPushButton* saveButton() const { return acceptButton(); }
  QPushButton* cancelButton() const { return closeButton(); }
  // The build's log lines as they come (for a window that follows a build).
  DictionaryMaintainer& maintainer() { return *m_maintainer; }

 protected:
  // Save: true once every target is written, which closes the dialog.
  bool apply() override;
  // Cancel (or closing) while a build runs abandons the build and leaves the dialog open.
  void done(int result) override;

 private:
  void chooseFile();
  void updateStatus();
  void setStatus(const QString& text);
  void setControlsEnabled(bool enabled);
  bool saveSingle();
  bool saveSelected();

  QCDictionaryList& m_dictionaries;
  int m_dictionary;
  std::unique_ptr<DictionaryMaintainer> m_maintainer;
  QListWidget* m_list = nullptr;
  QLineEdit* m_file = nullptr;
  // The target the dialog was opened with: the Save Results box has asked about replacing it.
  QString m_askedPath;
  QPushButton* m_change = nullptr;
  QPlainTextEdit* m_description = nullptr;
  QPlainTextEdit* m_log = nullptr;
  QLabel* m_status = nullptr;
};

}  // namespace qel
