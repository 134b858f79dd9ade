// The Options dialog: every option on one of five pages, each change made to the running program
// at once, and the options of the page showing saved as the defaults on request.
#pragma once

#include <QString>
#include <array>
#include <span>

#include "app/Options.h"
#include "properties/PropertiesDialog.h"

class QLabel;
class QTabWidget;

namespace qel {

class QELPropertiesViewWindows : public PropertiesDialog {
  Q_OBJECT

 public:
  static constexpr char kDialogName[] = "QELView";
  // The definition dictionaries chosen before, kept as values of this dialog:
  // "QELViewDictionary0"..
  static constexpr char kHistoryValue[] = "Dictionary";
  static constexpr int kHistoryLength = 10;

  enum Page { kPatternPage, kResultPage, kSortingPage, kDictionaryPage, kAppearancePage, kPages };
  // The options "&Save as defaults" writes for each page.
  static std::span<const OptionId> pageOptions(Page page);

  // Shows and changes `options`, the running program's, which outlive the dialog: each change is
  // made there at once and told by optionsChanged(). Relative paths of the definition
  // dictionaries are taken from `programFolder`.
  QELPropertiesViewWindows(Options& options, SettingsBackend& settings,
                           const QString& programFolder, QWidget* parent = nullptr);

  QTabWidget* pages() const { return m_pages; }
  // Writes the options of the page showing, and only those, as the defaults.
  void saveAsDefaults();

 signals:
  void optionsChanged();

 private:
  QWidget* page(Page page, QLayout* body);
  QLayout* patternPage();
  QLayout* resultPage();
  QLayout* sortingPage();
  QLayout* dictionaryPage();
  QLayout* appearancePage();
  void onValueChanged(QWidget* control);
  void changeDefinitionDictionaries();
  void updateStates();

  Options& m_options;
  QString m_programFolder;
  QTabWidget* m_pages;
  PVWEdit* m_expansionAt = nullptr;
  PVWEdit* m_expansionHash = nullptr;
  QLabel* m_expansionWarning = nullptr;
  PVWCheckBox* m_sorting = nullptr;
  PVWCheckBox* m_sortingAscending = nullptr;
  PVWCheckBox* m_grouping = nullptr;
  PVWCheckBox* m_groupingAscending = nullptr;
  PVWTextCombo* m_definitionDictionaries = nullptr;
  PVWFontButton* m_resultsFont = nullptr;
  PVWFontButton* m_annotationFont = nullptr;
  FontSetting m_resultsFontBefore;  // the results font before the user's latest choice
};

}  // namespace qel
