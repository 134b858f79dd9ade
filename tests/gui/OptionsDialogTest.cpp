// The Options dialog on options of its own: "&Save as defaults" writes the page showing and no
// other, sorting and grouping are never both off, the annotation font follows the results font
// only where it was the same, the pattern macros change as they are typed, and the definition
// dictionaries keep their history through the Dictionary List dialog.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/HelpContexts.h"
#include "app/Options.h"
#include "app/qt/QELPropertiesViewWindows.h"
#include "definitions/qt/DictionaryListViewWindows.h"
#include "properties/FontChooserDialog.h"
#include "support/FreshSettings.h"
#include "support/RecordingPrompts.h"
#include "support/TestDictionaries.h"
#include "support/WindowInput.h"

namespace qel {
namespace {

using test::clickIndicator;
using test::typeText;
using test::WindowInput;

QStringList sorted(QStringList list) {
  list.sort();
  return list;
}

}  // namespace

class OptionsDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::FreshSettings> m_fresh;
  Options m_options;

  // A shown dialog on m_options, its page `page` showing (chosen with the mouse, as a user would).
  std::unique_ptr<QELPropertiesViewWindows> openDialog(int page = 0) {
    auto dialog = std::make_unique<QELPropertiesViewWindows>(m_options, m_fresh->store,
                                                             m_fresh->folder.path());
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get())) return nullptr;
    showPage(*dialog, page);
    return dialog;
  }
  static void showPage(QELPropertiesViewWindows& dialog, int page) {
    QTabBar* tabs = dialog.pages()->tabBar();
    WindowInput::click(tabs, tabs->tabRect(page).center());
  }
  template <typename T>
  static T* find(QWidget& dialog, const char* name) {
    T* found = dialog.findChild<T*>(name);
    if (found == nullptr) qFatal("no control %s", name);
    return found;
  }
  void save(QELPropertiesViewWindows& dialog) {
    WindowInput::click(find<QPushButton>(dialog, "save"));
    m_fresh->settings.sync();
  }

 private slots:
  void init() {
    m_fresh = std::make_unique<test::FreshSettings>();
    m_options = Options();
  }
  void cleanup() { m_fresh.reset(); }

  // Fonts changed on the Appearance page and saved from the Sorting page stay unsaved; each page
  // saves its own options.
  void saveAsDefaultsWritesThePageShowingOnly() {
    test::RecordingPrompts prompts;
    QFont larger("Courier New");
    larger.setPixelSize(20);
    prompts.chosenFont = larger;
    auto dialog = openDialog(QELPropertiesViewWindows::kAppearancePage);
    QVERIFY(dialog);
    WindowInput::click(find<QPushButton>(*dialog, "fontOutput"));
    WindowInput::click(find<QPushButton>(*dialog, "fontPattern"));
    QCOMPARE(m_options.fontOutput.height, -20);
    showPage(*dialog, QELPropertiesViewWindows::kSortingPage);
    clickIndicator(find<QAbstractButton>(*dialog, "sorting"));
    QVERIFY(m_options.viewSorting);
    save(*dialog);
    QCOMPARE(sorted(m_fresh->settings.allKeys()),
             QStringList({"ViewCommonFirst", "ViewLengthGrouping", "ViewLengthGroupingAscending",
                          "ViewSorting", "ViewSortingAscending"}));
    QCOMPARE(m_fresh->settings.value("ViewSorting").toInt(), 1);

    const QStringList pages[] = {
        {"ExpansionAt", "ExpansionHash", "VariablesExclusive"},
        {"OutputLower", "OutputPunctuation", "OutputUpper", "OutputWhitespace", "ViewDoubleClick",
         "ViewMaxRank", "ViewShowAnnotations", "ViewShowBalances"},
        {"ViewCommonFirst", "ViewLengthGrouping", "ViewLengthGroupingAscending", "ViewSorting",
         "ViewSortingAscending"},
        {"ViewDefinitionDictionary", "ViewMultipleDictionaries"},
        {"DefinitionBackgroundColor", "DefinitionDefaultFont", "DefinitionHighlightFont",
         "FontOutput", "FontOutputAnnotation", "FontPattern", "FontPrinting", "ViewRareLighter"},
    };
    const int kPageHelp[] = {help::kOptionsPatternPage, help::kOptionsResultPage,
                             help::kOptionsSortingPage, help::kOptionsDictionaryPage,
                             help::kOptionsAppearancePage};
    for (int page = 0; page < QELPropertiesViewWindows::kPages; ++page) {
      m_fresh->settings.clear();
      showPage(*dialog, page);
      QCOMPARE(dialog->helpContext(), kPageHelp[page]);  // F1 explains the page showing
      save(*dialog);
      QCOMPARE(sorted(m_fresh->settings.allKeys()), pages[page]);
    }
    // The fonts saved are the ones chosen.
    QCOMPARE(readOptions(m_fresh->store).fontOutput, m_options.fontOutput);
  }

  // Each filter says what it shows with an example, and its key turns it off.
  void eachFilterNamesItsKindOfWordAndHasItsKey_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("lower") << "outputLower" << int(Qt::Key_L)
                           << "Show words containing only &lower case letters (e.g. tail)";
    QTest::newRow("upper") << "outputUpper" << int(Qt::Key_U)
                           << "Show words containing some &upper case letters (e.g. Charlie)";
    QTest::newRow("punctuation") << "outputPunctuation" << int(Qt::Key_T)
                                 << "Show words containing punc&tuation (e.g. tail-end)";
    QTest::newRow("phrases") << "outputWhitespace" << int(Qt::Key_A)
                             << "Show phr&ases (e.g. tail-end Charlie)";
  }
  void eachFilterNamesItsKindOfWordAndHasItsKey() {
    QFETCH(QString, name);
    QFETCH(int, key);
    QFETCH(QString, text);
    auto dialog = openDialog(QELPropertiesViewWindows::kResultPage);
    QVERIFY(dialog);
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    auto* box = find<QAbstractButton>(*dialog, qPrintable(name));
    QCOMPARE(box->text(), text);
    const Options before = m_options;
    test::pressKey(dialog.get(), Qt::Key(key), Qt::AltModifier);
    QTRY_VERIFY(!box->isChecked());
    Options expected = before;
    expected.outputLower = name != "outputLower";
    expected.outputUpper = name != "outputUpper";
    expected.outputPunctuation = name != "outputPunctuation";
    expected.outputWhitespace = name != "outputWhitespace";
    QVERIFY(m_options == expected);
  }

  void sortingAndGroupingAreNeverBothOff() {
    m_options.viewSorting = true;
    m_options.viewLengthGrouping = false;
    auto dialog = openDialog(QELPropertiesViewWindows::kSortingPage);
    QVERIFY(dialog);
    QSignalSpy changed(dialog.get(), &QELPropertiesViewWindows::optionsChanged);
    auto* sorting = find<QAbstractButton>(*dialog, "sorting");
    auto* grouping = find<QAbstractButton>(*dialog, "grouping");
    auto* sortingAscending = find<QAbstractButton>(*dialog, "sortingAscending");
    QVERIFY(!find<QAbstractButton>(*dialog, "groupingAscending")->isEnabled());

    clickIndicator(sorting);  // off, with grouping off: grouping comes on
    QVERIFY(!sorting->isChecked());
    QVERIFY(grouping->isChecked());
    QVERIFY(!m_options.viewSorting);
    QVERIFY(m_options.viewLengthGrouping);
    QVERIFY(!sortingAscending->isEnabled());
    QVERIFY(find<QAbstractButton>(*dialog, "groupingAscending")->isEnabled());
    QCOMPARE(changed.count(), 1);

    clickIndicator(grouping);  // and the other way round
    QVERIFY(!m_options.viewLengthGrouping);
    QVERIFY(m_options.viewSorting);
    QVERIFY(sorting->isChecked());
    QVERIFY(sortingAscending->isEnabled());

    clickIndicator(grouping);  // both on is allowed
    QVERIFY(m_options.viewSorting && m_options.viewLengthGrouping);
  }

  void annotationFontFollowsTheResultsFontWhereItWasTheSame_data() {
    QTest::addColumn<int>("annotationPixels");
    QTest::addColumn<int>("expectedPixels");
    QTest::newRow("16 pixels like the results") << 16 << 20;
    QTest::newRow("12 pixels of its own") << 12 << 12;
  }
  void annotationFontFollowsTheResultsFontWhereItWasTheSame() {
    QFETCH(int, annotationPixels);
    QFETCH(int, expectedPixels);
    m_options.fontOutputAnnotation.height = -annotationPixels;
    const FontSetting annotationBefore = m_options.fontOutputAnnotation;
    test::RecordingPrompts prompts;
    QFont chosen("DejaVu Sans");
    chosen.setPixelSize(20);
    chosen.setBold(true);
    prompts.chosenFont = chosen;
    prompts.chosenFontColour = QColor(0, 0, 128);
    auto dialog = openDialog(QELPropertiesViewWindows::kAppearancePage);
    QVERIFY(dialog);
    QSignalSpy changed(dialog.get(), &QELPropertiesViewWindows::optionsChanged);
    WindowInput::click(find<QPushButton>(*dialog, "fontOutput"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_options.fontOutput.height, -20);

    const FontSetting& annotation = m_options.fontOutputAnnotation;
    QCOMPARE(annotation.height, -expectedPixels);
    // Face and weight were the results font's, so they follow; italic was the annotation's own,
    // and the colour never follows.
    QCOMPARE(annotation.faceName, std::string("DejaVu Sans"));
    QCOMPARE(annotation.weight, 700);
    QCOMPARE(annotation.italic, annotationBefore.italic);
    QCOMPARE(annotation.textColour, annotationBefore.textColour);
    // The annotation's sample shows the font it now has.
    QCOMPARE(find<QPushButton>(*dialog, "fontOutputAnnotation")->font().pixelSize(),
             expectedPixels);

    // A chooser cancelled changes nothing.
    prompts.chosenFont.reset();
    WindowInput::click(find<QPushButton>(*dialog, "fontOutput"));
    QCOMPARE(changed.count(), 1);
  }

  // In the font chooser, a new size and nothing else: the annotation font stays italic.
  void theAnnotationFontKeepsItalicWhenOnlyItsSizeChanges_data() {
    QTest::addColumn<QString>("face");
    QTest::newRow("a face this system lacks") << "Courier New";
    QTest::newRow("an italic of its own") << "DejaVu Serif";
    QTest::newRow("no italic of its own, drawn slanted") << "DejaVu Math TeX Gyre";
  }
  void theAnnotationFontKeepsItalicWhenOnlyItsSizeChanges() {
    QFETCH(QString, face);
    m_options.fontOutputAnnotation.faceName = face.toStdString();
    auto dialog = openDialog(QELPropertiesViewWindows::kAppearancePage);
    QVERIFY(dialog);
    QVERIFY(m_options.fontOutputAnnotation.italic != 0);
    const int32_t heightBefore = m_options.fontOutputAnnotation.height;
    bool chosen = false;
    QTimer::singleShot(0, this, [&chosen] {
      auto* chooser = qobject_cast<FontChooserDialog*>(QApplication::activeModalWidget());
      if (chooser == nullptr || !QTest::qWaitForWindowActive(chooser)) return;
      // The lists are the faces, their styles and the sizes, in that order.
      const QList<QListView*> lists = chooser->findChildren<QListView*>();
      if (lists.size() < 3) return chooser->reject();
      QListView* sizes = lists[2];
      const QModelIndexList found = sizes->model()->match(
          sizes->model()->index(0, 0), Qt::DisplayRole, "20", 1, Qt::MatchExactly);
      if (found.isEmpty()) return chooser->reject();
      sizes->scrollTo(found.first());
      test::clickAt(sizes->viewport(), sizes->visualRect(found.first()).center());
      test::pressKey(chooser, Qt::Key_Return);
      chosen = true;
    });
    test::clickCentre(find<QPushButton>(*dialog, "fontOutputAnnotation"));
    QVERIFY(chosen);
    QVERIFY(m_options.fontOutputAnnotation.height != heightBefore);
    QVERIFY(m_options.fontOutputAnnotation.italic != 0);
  }

  // A font button shows its sample within the room it has: a large font leaves the dialog as it
  // was.
  void aLargerFontLeavesTheDialogItsSize_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("pixels");
    QTest::newRow("results, and so annotations") << "fontOutput" << 72;
    QTest::newRow("definitions") << "definitionDefaultFont" << 40;
    QTest::newRow("pattern") << "fontPattern" << 28;
  }
  void aLargerFontLeavesTheDialogItsSize() {
    QFETCH(QString, button);
    QFETCH(int, pixels);
    test::RecordingPrompts prompts;
    QFont large("DejaVu Serif");
    large.setPixelSize(pixels);
    prompts.chosenFont = large;
    auto dialog = openDialog(QELPropertiesViewWindows::kAppearancePage);
    QVERIFY(dialog);
    const QSize before = dialog->size();
    auto* chosen = find<QPushButton>(*dialog, qPrintable(button));
    test::clickCentre(chosen);
    QCOMPARE(chosen->font().family(), QString("DejaVu Serif"));
    QTest::qWait(50);  // the layout settles
    QCOMPARE(dialog->size(), before);
  }

  // The colour chooser starts nothing when cancelled; a colour chosen is the option at once.
  void backgroundColourIsChosenInTheColourChooser() {
    test::RecordingPrompts prompts;
    auto dialog = openDialog(QELPropertiesViewWindows::kAppearancePage);
    QVERIFY(dialog);
    QSignalSpy changed(dialog.get(), &QELPropertiesViewWindows::optionsChanged);
    auto* background = find<QPushButton>(*dialog, "definitionBackgroundColor");
    WindowInput::click(background);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_options.definitionBackgroundColor, (Colour{255, 255, 255}));
    prompts.chosenColour = QColor(255, 255, 224);
    WindowInput::click(background);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_options.definitionBackgroundColor, (Colour{255, 255, 224}));
    QCOMPARE(prompts.shown, QStringList({"Background Color", "Background Color"}));
  }

  // Ctrl+Tab and Ctrl+Shift+Tab turn the pages wherever the focus is, Close (where it is at
  // first) included, and go round.
  void controlTabTurnsThePages() {
    auto dialog = openDialog(QELPropertiesViewWindows::kPatternPage);
    QVERIFY(dialog);
    WindowInput input(*dialog);
    QTabWidget* pages = dialog->pages();
    const int last = pages->count() - 1;
    for (const auto& [back, page] : std::initializer_list<std::pair<bool, int>>{
             {false, 1}, {false, 2}, {true, 1}, {true, 0}, {true, last}, {false, 0}}) {
      if (back) {
        input.key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
      } else {
        input.key(Qt::Key_Tab, Qt::ControlModifier);
      }
      QCOMPARE(pages->currentIndex(), page);
    }
  }

  // The program's own texts spell as the rest of the dialog does ("Background Color").
  void everyTextSpellsColorOneWay() {
    auto dialog = openDialog(QELPropertiesViewWindows::kAppearancePage);
    QVERIFY(dialog);
    for (const QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
      QVERIFY2(!b->text().contains("colour", Qt::CaseInsensitive), qPrintable(b->text()));
    for (const QLabel* l : dialog->findChildren<QLabel*>())
      QVERIFY2(!l->text().contains("colour", Qt::CaseInsensitive), qPrintable(l->text()));
  }

  void macrosChangeAsTheyAreTyped() {
    auto dialog = openDialog(QELPropertiesViewWindows::kPatternPage);
    QVERIFY(dialog);
    QSignalSpy changed(dialog.get(), &QELPropertiesViewWindows::optionsChanged);
    auto* at = find<QLineEdit>(*dialog, "expansionAt");
    auto* warning = find<QLabel>(*dialog, "expansionWarning");
    WindowInput::click(at);
    test::pressKey(at, Qt::Key_A, Qt::ControlModifier);
    typeText(at, "[xyz]");
    QCOMPARE(m_options.expansionAt, std::string("[xyz]"));
    QVERIFY(changed.count() >= 5);
    QVERIFY(!warning->isVisible());
    // A character patterns cannot hold keeps the last text that they can, and says so.
    typeText(at, QString(QChar(0x3A9)));
    QCOMPARE(at->text(), QString("[xyz]") + QChar(0x3A9));
    QCOMPARE(m_options.expansionAt, std::string("[xyz]"));
    QVERIFY(warning->isVisible());
    test::pressKey(at, Qt::Key_Backspace);
    QVERIFY(!warning->isVisible());
    // "é" is a character of the code page: kept as its byte.
    auto* hash = find<QLineEdit>(*dialog, "expansionHash");
    WindowInput::click(hash);
    test::pressKey(hash, Qt::Key_A, Qt::ControlModifier);
    typeText(hash, QString::fromUtf8("[\xC3\xA9]"));
    QCOMPARE(m_options.expansionHash, std::string("[\xE9]"));
    save(*dialog);
    QCOMPARE(readOptions(m_fresh->store).expansionHash, std::string("[\xE9]"));
  }

  // Change... composes a list in the Dictionary List dialog: it becomes the option and the top of
  // the history, which is kept; an earlier entry chosen becomes the option again.
  void definitionDictionariesKeepTheirHistory() {
    test::TempDir folder;
    QVERIFY(test::buildTestDictionary(folder.file("alpha.qcd"), {"tail"}));
    QVERIFY(test::buildTestDictionary(folder.file("beta.qcd"), {"tail"}));
    writeDialogString(m_fresh->store, DictionaryListViewWindows::kDialogName,
                      DictionaryListViewWindows::kFolderValue, folder.path());
    const std::string earlier = folder.file("beta.qcd");
    writeStringList(m_fresh->store, "QELViewDictionary", {earlier}, 10);
    m_options.viewDefinitionDictionary = folder.file("alpha.qcd");

    auto dialog = openDialog(QELPropertiesViewWindows::kDictionaryPage);
    QVERIFY(dialog);
    auto* combo = find<QComboBox>(*dialog, "definitionDictionaries");
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->currentText().toStdString(), folder.file("alpha.qcd"));

    // In the Dictionary List: add beta after alpha, then OK.
    bool composed = false;
    QTimer::singleShot(0, this, [&composed] {
      auto* list = qobject_cast<DictionaryListViewWindows*>(QApplication::activeModalWidget());
      if (list == nullptr) return;
      QListWidget* other = list->otherList();
      const QList<QListWidgetItem*> beta = other->findItems("beta", Qt::MatchExactly);
      if (beta.size() != 1) return list->reject();
      WindowInput::click(other->viewport(), other->visualItemRect(beta.first()).center());
      WindowInput::click(list->findChild<QPushButton*>("add"));
      WindowInput::click(list->findChild<QPushButton*>("ok"));
      composed = true;
    });
    QSignalSpy changed(dialog.get(), &QELPropertiesViewWindows::optionsChanged);
    WindowInput::click(find<QPushButton>(*dialog, "changeDefinitionDictionaries"));
    QVERIFY(composed);
    const std::string both = folder.file("alpha.qcd") + ";" + folder.file("beta.qcd");
    QCOMPARE(m_options.viewDefinitionDictionary, both);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(combo->currentText().toStdString(), both);
    m_fresh->settings.sync();
    QCOMPARE(readStringList(m_fresh->store, "QELViewDictionary", 10),
             (std::vector<std::string>{both, folder.file("alpha.qcd"), earlier}));

    // The earliest, as the user picks it: the list opened with a click, End, Return.
    WindowInput input(*dialog);
    WindowInput::click(combo);
    QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
    input.key(Qt::Key_End);
    input.key(Qt::Key_Return);
    QCOMPARE(m_options.viewDefinitionDictionary, earlier);
    QCOMPARE(changed.count(), 2);
  }
};

}  // namespace qel

QTEST_MAIN(qel::OptionsDialogTest)
#include "OptionsDialogTest.moc"
