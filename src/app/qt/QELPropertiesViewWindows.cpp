// The Options dialog.
#include "app/qt/QELPropertiesViewWindows.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/HelpContexts.h"
#include "app/SettingsFormat.h"
#include "common/qt/HelpWindow.h"
#include "definitions/qt/DictionaryListViewWindows.h"
#include "platform/Cp1252.h"
#include "platform/qt/CoreText.h"

namespace qel {
namespace {

struct PageInfo {
  const char* name;
  const char* description;
  int helpContext;
};

const PageInfo kPageInfo[QELPropertiesViewWindows::kPages] = {
    {QT_TR_NOOP("Pattern"), QT_TR_NOOP("How letter variables and macros in patterns are treated"),
     help::kOptionsPatternPage},
    {QT_TR_NOOP("Result"), QT_TR_NOOP("How results are displayed and filtered"),
     help::kOptionsResultPage},
    {QT_TR_NOOP("Sorting"), QT_TR_NOOP("How results are sorted"), help::kOptionsSortingPage},
    {QT_TR_NOOP("Dictionary"), QT_TR_NOOP("How multiple dictionaries are handled"),
     help::kOptionsDictionaryPage},
    {QT_TR_NOOP("Appearance"), QT_TR_NOOP("What fonts are used in the display and for printing"),
     help::kOptionsAppearancePage},
};

constexpr OptionId kPatternOptions[] = {OptionId::kExpansionAt, OptionId::kExpansionHash,
                                        OptionId::kVariablesExclusive};
constexpr OptionId kResultOptions[] = {OptionId::kViewShowAnnotations, OptionId::kViewShowBalances,
                                       OptionId::kViewDoubleClick,     OptionId::kOutputLower,
                                       OptionId::kOutputUpper,         OptionId::kOutputPunctuation,
                                       OptionId::kOutputWhitespace,    OptionId::kViewMaxRank};
constexpr OptionId kSortingOptions[] = {
    OptionId::kViewSorting, OptionId::kViewSortingAscending, OptionId::kViewLengthGrouping,
    OptionId::kViewLengthGroupingAscending, OptionId::kViewCommonFirst};
constexpr OptionId kDictionaryOptions[] = {OptionId::kViewMultipleDictionaries,
                                           OptionId::kViewDefinitionDictionary};
constexpr OptionId kAppearanceOptions[] = {
    OptionId::kFontPattern,           OptionId::kFontOutput,
    OptionId::kFontOutputAnnotation,  OptionId::kFontPrinting,
    OptionId::kViewRareLighter,       OptionId::kDefinitionBackgroundColor,
    OptionId::kDefinitionDefaultFont, OptionId::kDefinitionHighlightFont};

bool holdsOnlyPatternCharacters(const QString& text) {
  std::string converted;
  return cp1252::fromUtf8(text.toStdString(), converted);
}

// A pattern text (code page 1252) in an edit. A text with a character that patterns cannot hold
// leaves the option as it was; the page says why.
PVWValue<QString> patternText(std::string& field) {
  return {[&field] { return fromCp1252(field); },
          [&field](const QString& text) {
            std::string converted;
            if (cp1252::fromUtf8(text.toStdString(), converted)) field = std::move(converted);
          }};
}

PVWValue<QString> utf8Text(std::string& field) {
  return {[&field] { return QString::fromStdString(field); },
          [&field](const QString& text) { field = text.toStdString(); }};
}

template <typename Control>
Control* named(Control* control, const char* name) {
  control->setObjectName(name);
  return control;
}

// A check box that belongs to the one above it, set in a little.
QLayout* indented(QWidget* control) {
  auto* row = new QHBoxLayout;
  row->addSpacing(control->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                  control->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing));
  row->addWidget(control);
  return row;
}

}  // namespace

std::span<const OptionId> QELPropertiesViewWindows::pageOptions(Page page) {
  switch (page) {
    case kPatternPage:
      return kPatternOptions;
    case kResultPage:
      return kResultOptions;
    case kSortingPage:
      return kSortingOptions;
    case kDictionaryPage:
      return kDictionaryOptions;
    case kAppearancePage:
      return kAppearanceOptions;
    case kPages:
      break;
  }
  return {};
}

QELPropertiesViewWindows::QELPropertiesViewWindows(Options& options, SettingsBackend& settings,
                                                   const QString& programFolder, QWidget* parent)
    : PropertiesDialog(kDialogName, help::kOptionsPatternPage, Buttons::kClose, settings, parent),
      m_options(options),
      m_programFolder(programFolder),
      m_pages(new QTabWidget(this)),
      m_resultsFontBefore(options.fontOutput) {
  setWindowTitle(tr("QEL Options"));
  m_pages->setObjectName("pages");
  m_pages->addTab(page(kPatternPage, patternPage()), tr(kPageInfo[kPatternPage].name));
  m_pages->addTab(page(kResultPage, resultPage()), tr(kPageInfo[kResultPage].name));
  m_pages->addTab(page(kSortingPage, sortingPage()), tr(kPageInfo[kSortingPage].name));
  m_pages->addTab(page(kDictionaryPage, dictionaryPage()), tr(kPageInfo[kDictionaryPage].name));
  m_pages->addTab(page(kAppearancePage, appearancePage()), tr(kPageInfo[kAppearancePage].name));
  for (int i = 0; i < kPages; ++i) m_pages->setTabToolTip(i, tr(kPageInfo[i].description));
  // Help explains the page showing.
  connect(m_pages, &QTabWidget::currentChanged, this,
          [this](int index) { setHelpContext(kPageInfo[index].helpContext); });
  // Ctrl+Tab and Ctrl+Shift+Tab turn the pages wherever the focus is in the dialog (the tab
  // widget itself only sees them while the focus is on one of its pages).
  for (const auto& [keys, step] :
       {std::pair{QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
        std::pair{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
        std::pair{QKeySequence(Qt::CTRL | Qt::Key_Backtab), -1}}) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this, [this, step = step] {
      m_pages->setCurrentIndex((m_pages->currentIndex() + step + m_pages->count()) %
                               m_pages->count());
    });
  }

  QPushButton* save = addButton(tr("&Save as defaults"));
  save->setObjectName("save");
  connect(save, &QPushButton::clicked, this, &QELPropertiesViewWindows::saveAsDefaults);
  connect(this, &PropertiesDialog::valueChanged, this, &QELPropertiesViewWindows::onValueChanged);
  updateStates();

  auto* body = new QVBoxLayout;
  body->addWidget(m_pages);
  setUp(body, Sizing::kFixed);
}

// A page: its description above its controls.
QWidget* QELPropertiesViewWindows::page(Page page, QLayout* body) {
  auto* widget = new QWidget(this);
  auto* layout = new QVBoxLayout(widget);
  auto* description = new QLabel(tr(kPageInfo[page].description), widget);
  description->setObjectName("description");
  QFont bold = description->font();
  bold.setBold(true);
  description->setFont(bold);
  layout->addWidget(description);
  layout->addLayout(body);
  layout->addStretch();
  return widget;
}

QLayout* QELPropertiesViewWindows::patternPage() {
  auto* form = new QFormLayout;
  m_expansionAt = named(bind(new PVWEdit(patternText(m_options.expansionAt))), "expansionAt");
  m_expansionHash = named(bind(new PVWEdit(patternText(m_options.expansionHash))), "expansionHash");
  form->addRow(tr("&@ becomes:"), m_expansionAt);
  form->addRow(tr("&# becomes:"), m_expansionHash);
  m_expansionWarning = named(new QLabel(tr("Patterns cannot hold a character of this text: the "
                                           "last text without it stays in use.")),
                             "expansionWarning");
  m_expansionWarning->setWordWrap(true);
  m_expansionWarning->setVisible(false);
  form->addRow(m_expansionWarning);
  form->addRow(named(bind(new PVWCheckBox(tr("E&xclusive letter variables"),
                                          PVWValue<bool>::of(m_options.variablesExclusive))),
                     "variablesExclusive"));
  return form;
}

QLayout* QELPropertiesViewWindows::resultPage() {
  auto* layout = new QVBoxLayout;
  layout->addWidget(named(bind(new PVWCheckBox(tr("Sho&w dictionary annotations"),
                                               PVWValue<bool>::of(m_options.viewShowAnnotations))),
                          "showAnnotations"));
  layout->addWidget(named(bind(new PVWCheckBox(tr("Show anagra&m balances"),
                                               PVWValue<bool>::of(m_options.viewShowBalances))),
                          "showBalances"));
  auto* filtering = new QGroupBox(tr("Filtering"));
  auto* filters = new QVBoxLayout(filtering);
  // Each filter names its kind of word with an example, since "upper case" or "punctuation" alone
  // leave open which words a filter drops.
  const auto filter = [this, filters](const char* name, const QString& text, bool& option) {
    filters->addWidget(named(bind(new PVWCheckBox(text, PVWValue<bool>::of(option))), name));
  };
  filter("outputLower", tr("Show words containing only &lower case letters (e.g. tail)"),
         m_options.outputLower);
  filter("outputUpper", tr("Show words containing some &upper case letters (e.g. Charlie)"),
         m_options.outputUpper);
  filter("outputPunctuation", tr("Show words containing punc&tuation (e.g. tail-end)"),
         m_options.outputPunctuation);
  filter("outputWhitespace", tr("Show phr&ases (e.g. tail-end Charlie)"),
         m_options.outputWhitespace);
  // Ranks come from a file beside each dictionary; a dictionary without one hides nothing.
  auto* rarity = new QHBoxLayout;
  auto* rarityLabel = new QLabel(tr("Hide words ra&rer than:"));
  auto* maxRank = named(bind(new PVWCombo({{tr("(show all)"), 100},
                                           {tr("10 - the most common"), 10},
                                           {tr("20"), 20},
                                           {tr("35 - everyday words"), 35},
                                           {tr("50"), 50},
                                           {tr("60"), 60},
                                           {tr("70 - a large dictionary"), 70},
                                           {tr("80"), 80},
                                           {tr("95 - the rarest ranked"), 95}},
                                          PVWValue<int>::of(m_options.viewMaxRank))),
                        "maxRank");
  rarityLabel->setBuddy(maxRank);
  rarity->addWidget(rarityLabel);
  rarity->addWidget(maxRank);
  rarity->addStretch();
  filters->addLayout(rarity);
  layout->addWidget(filtering);
  layout->addWidget(named(bind(new PVWRadioGroup(tr("&Double-click action"),
                                                 {{tr("L&ookup"), 0}, {tr("E&xternal lookup"), 1}},
                                                 PVWValue<int>::of(m_options.viewDoubleClick))),
                          "doubleClick"));
  return layout;
}

QLayout* QELPropertiesViewWindows::sortingPage() {
  auto* layout = new QVBoxLayout;
  m_sorting = named(
      bind(new PVWCheckBox(tr("S&ort alphabetically"), PVWValue<bool>::of(m_options.viewSorting))),
      "sorting");
  m_sortingAscending = named(
      bind(new PVWCheckBox(tr("&Ascending"), PVWValue<bool>::of(m_options.viewSortingAscending))),
      "sortingAscending");
  m_grouping = named(bind(new PVWCheckBox(tr("Group &by length"),
                                          PVWValue<bool>::of(m_options.viewLengthGrouping))),
                     "grouping");
  m_groupingAscending =
      named(bind(new PVWCheckBox(tr("Asce&nding"),
                                 PVWValue<bool>::of(m_options.viewLengthGroupingAscending))),
            "groupingAscending");
  layout->addWidget(m_sorting);
  layout->addLayout(indented(m_sortingAscending));
  layout->addWidget(m_grouping);
  layout->addLayout(indented(m_groupingAscending));
  layout->addWidget(named(bind(new PVWCheckBox(tr("&Most common first (within each length group)"),
                                               PVWValue<bool>::of(m_options.viewCommonFirst))),
                          "commonFirst"));
  return layout;
}

QLayout* QELPropertiesViewWindows::dictionaryPage() {
  auto* layout = new QVBoxLayout;
  layout->addWidget(named(
      bind(new PVWRadioGroup(tr("Several dictionaries"),
                             {{tr("Search all dictionaries &independently"), 1},
                              {tr("Search all dictionaries and suppress &duplicated results"), 0},
                              {tr("Search &active dictionary only"), 2}},
                             PVWValue<int>::of(m_options.viewMultipleDictionaries))),
      "multipleDictionaries"));

  auto* definitions = new QGroupBox(tr("Definition dictionaries"));
  auto* row = new QHBoxLayout(definitions);
  // The history first, so that the value is found among it.
  m_definitionDictionaries =
      new PVWTextCombo(kHistoryLength, utf8Text(m_options.viewDefinitionDictionary));
  m_definitionDictionaries->setObjectName("definitionDictionaries");
  QStringList history;
  for (const std::string& text :
       readStringList(settings(), dialogValueName(kDialogName, kHistoryValue), kHistoryLength))
    history << QString::fromStdString(text);
  m_definitionDictionaries->setTexts(history);
  bind(m_definitionDictionaries);
  connect(m_definitionDictionaries, &PVWTextCombo::textsChanged, this, [this] {
    std::vector<std::string> texts;
    for (const QString& text : m_definitionDictionaries->texts())
      texts.push_back(text.toStdString());
    writeStringList(settings(), dialogValueName(kDialogName, kHistoryValue), texts, kHistoryLength);
  });
  auto* change = named(new QPushButton(tr("Chan&ge...")), "changeDefinitionDictionaries");
  change->setAutoDefault(false);
  connect(change, &QPushButton::clicked, this,
          &QELPropertiesViewWindows::changeDefinitionDictionaries);
  row->addWidget(m_definitionDictionaries, 1);
  row->addWidget(change);
  layout->addWidget(definitions);
  return layout;
}

QLayout* QELPropertiesViewWindows::appearancePage() {
  const auto fontButton = [this](const char* name, const QString& sample, const QString& caption,
                                 FontSetting& font) {
    return named(bind(new PVWFontButton(sample, caption, PVWValue<FontSetting>::of(font))), name);
  };
  auto* mainWindow = new QGroupBox(tr("Main window"));
  auto* mainForm = new QFormLayout(mainWindow);
  mainForm->addRow(tr("&Pattern font:"),
                   fontButton("fontPattern", ".l.ea.y", tr("Pattern Font"), m_options.fontPattern));
  m_resultsFont = fontButton("fontOutput", "alveary", tr("Results Font"), m_options.fontOutput);
  mainForm->addRow(tr("&Results font:"), m_resultsFont);
  m_annotationFont = fontButton("fontOutputAnnotation", "1 n.", tr("Results Annotation Font"),
                                m_options.fontOutputAnnotation);
  mainForm->addRow(tr("R&esults annotation font:"), m_annotationFont);
  mainForm->addRow(tr("Pri&ntout font:"), fontButton("fontPrinting", "alveary", tr("Printout Font"),
                                                     m_options.fontPrinting));
  mainForm->addRow(named(bind(new PVWCheckBox(tr("Draw rare &words in a lighter color"),
                                              PVWValue<bool>::of(m_options.viewRareLighter))),
                         "rareLighter"));

  auto* definitionWindows = new QGroupBox(tr("Definition windows"));
  auto* definitionForm = new QFormLayout(definitionWindows);
  definitionForm->addRow(
      tr("Bac&kground color:"),
      named(bind(new PVWColourButton(tr("Background Color"),
                                     PVWValue<Colour>::of(m_options.definitionBackgroundColor))),
            "definitionBackgroundColor"));
  definitionForm->addRow(tr("De&fault font:"),
                         fontButton("definitionDefaultFont", "an early dictionary",
                                    tr("Definition Font"), m_options.definitionDefaultFont));
  definitionForm->addRow(tr("H&ighlight font:"),
                         fontButton("definitionHighlightFont", "an early dictionary",
                                    tr("Highlight Font"), m_options.definitionHighlightFont));

  auto* layout = new QVBoxLayout;
  layout->addWidget(mainWindow);
  layout->addWidget(definitionWindows);
  return layout;
}

// A change the user made, written into the options already: the rules that tie options together,
// then the program is told.
void QELPropertiesViewWindows::onValueChanged(QWidget* control) {
  if (control == m_sorting || control == m_grouping) {
    keepResultsOrdered(m_options, control == m_sorting);
    m_sorting->readValue();
    m_grouping->readValue();
  } else if (control == m_resultsFont) {
    carryFontChanges(m_resultsFontBefore, m_options.fontOutput, m_options.fontOutputAnnotation);
    m_annotationFont->readValue();
    m_resultsFontBefore = m_options.fontOutput;
  }
  updateStates();
  emit optionsChanged();
}

void QELPropertiesViewWindows::updateStates() {
  m_sortingAscending->setEnabled(m_options.viewSorting);
  m_groupingAscending->setEnabled(m_options.viewLengthGrouping);
  m_expansionWarning->setVisible(!holdsOnlyPatternCharacters(m_expansionAt->text()) ||
                                 !holdsOnlyPatternCharacters(m_expansionHash->text()));
}

void QELPropertiesViewWindows::changeDefinitionDictionaries() {
  const std::string current =
      resolveListText(m_options.viewDefinitionDictionary, m_programFolder.toStdString());
  DictionaryListViewWindows dialog(QString::fromStdString(current), settings(), m_programFolder,
                                   this);
  connect(&dialog, &PropertiesDialog::helpRequested, &dialog,
          [&dialog](int context) { showHelp(context, &dialog); });
  if (dialog.exec() == QDialog::Accepted) m_definitionDictionaries->chooseText(dialog.resultText());
}

void QELPropertiesViewWindows::saveAsDefaults() {
  // The expansions as they stand in their edits, whatever the edits have told so far.
  const Options before = m_options;
  m_expansionAt->writeValue();
  m_expansionHash->writeValue();
  if (!(m_options == before)) emit optionsChanged();
  const auto page = static_cast<Page>(m_pages->currentIndex());
  writeOptions(settings(), m_options, pageOptions(page));
}

}  // namespace qel
