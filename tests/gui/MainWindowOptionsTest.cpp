// The Options dialog opened from the main window's Tools menu, end to end: what is changed in it
// changes the next search and the dictionaries lookups read, it is disabled while a search runs,
// and it closes with the window.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>
#include <set>

#include "app/WindowSettings.h"
#include "app/qt/QELPropertiesViewWindows.h"
#include "definitions/qt/DefinitionRichEdit.h"
#include "definitions/qt/DefinitionViewFrame.h"
#include "definitions/qt/DefinitionViewWindows.h"
#include "definitions/qt/DictionaryListViewWindows.h"
#include "dictionary/CommonnessRanks.h"
#include "lookup/qt/LookupService.h"
#include "search/qt/MatchListWindows.h"
#include "support/MainWindowFixture.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

using test::WindowInput;

QStringList texts(const ResultList& results) {
  QStringList out;
  for (long i = 0; i < results.count(); ++i) {
    const std::string_view text = results.record(i)->text();
    out << QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  }
  return out;
}

// The dictionaries whose definitions of `word` lookups find.
std::set<std::string> definingDictionaries(QELFrameWindow& window, const std::string& word) {
  std::set<std::string> paths;
  for (const Definition& d : window.lookup().definitionsOf(word).definitions)
    paths.insert(d.dictionaryPath);
  return paths;
}

// In the Dictionary List dialog once it shows: the other dictionary `name` added, then OK.
void addInDictionaryList(const QString& name, bool& added) {
  test::whenShown<DictionaryListViewWindows>([name, &added](DictionaryListViewWindows* list) {
    const QList<QListWidgetItem*> found = list->otherList()->findItems(name, Qt::MatchExactly);
    if (found.size() != 1) return list->reject();
    QListWidget* other = list->otherList();
    WindowInput::click(other->viewport(), other->visualItemRect(found.first()).center());
    WindowInput::click(list->findChild<QPushButton*>("add"));
    WindowInput::click(list->findChild<QPushButton*>("ok"));
    added = true;
  });
}

// The words of a definition text drawn in `colour`, italic: the highlights.
QStringList highlighted(DefinitionRichEdit* text, const QColor& colour) {
  QStringList words;
  for (QTextBlock b = text->document()->begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat f = it.fragment().charFormat();
      if (f.fontItalic() && f.foreground().color() == colour) words << it.fragment().text();
    }
  }
  return words;
}

}  // namespace

struct Fixture : test::MainWindowFixture {
  using MainWindowFixture::MainWindowFixture;
  // The pattern typed into the pattern box of the window clicked, and searched; the texts found.
  QStringList search(const QString& pattern) {
    reactivate();
    MainWindowFixture::search(pattern);
    return view().state() == SearchState::Searching ? QStringList{"(still searching)"}
                                                    : texts(view().session()->pane(0).results);
  }
  // The Options dialog, from the Tools menu of the window clicked, at `page`.
  QELPropertiesViewWindows* openOptions(int page) {
    reactivate();
    input.menu('t', 'o');
    auto* dialog = window.findChild<QELPropertiesViewWindows*>();
    if (dialog == nullptr || !QTest::qWaitForWindowActive(dialog)) return nullptr;
    QTabBar* tabs = dialog->pages()->tabBar();
    WindowInput::click(tabs, tabs->tabRect(page).center());
    return dialog;
  }
};

class MainWindowOptionsTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir m_dir;
  QString m_words;

 private slots:
  void initTestCase() {
    m_words = QString::fromStdString(m_dir.file("words.qcd"));
    QVERIFY(test::buildTestDictionary(
        m_words.toStdString(),
        {"cat", "cot", "cxt", "cyt", "tail", "tailed", "tail end", "tail-end", "Tailor"}));
  }

  // With ranks beside the dictionary: most common first within each length, the rarer words
  // hidden when asked, and a word's rank in its tooltip. Without ranks the same options change
  // nothing.
  void commonWordsComeFirstWhereRanksExist() {
    struct Case {
      bool ranked;
      int maxRank;
      QStringList results;
    };
    const QString ranks = m_dir.file("words.qcr").c_str();
    CommonnessRanks written;
    for (const auto& [word, rank] : {std::pair{"cyt", 10}, {"cot", 20}, {"Tailor", 35}})
      written.set(word, static_cast<uint8_t>(rank));
    for (const Case& c :
         {Case{false, 100, {"cat", "cot", "cxt", "cyt"}},
          Case{true, 100, {"cyt", "cot", "cat", "cxt"}}, Case{true, 20, {"cyt", "cot"}}}) {
      QFile::remove(ranks);
      if (c.ranked) QVERIFY(written.saveFor(m_words.toStdString()).ok());
      Fixture f({m_words}, [&](SettingsStore& store) {
        store.writeNumber("ViewCommonFirst", 1);
        store.writeNumber("ViewMaxRank", c.maxRank);
      });
      f.search("c.t");
      QCOMPARE(f.results(0), c.results);
      if (!c.ranked) continue;
      MatchListWindows* list = f.view().findChildren<MatchListWindows*>().value(0);
      test::pointAt(list->viewport(), list->rowRect(0).center());
      QTRY_COMPARE(QToolTip::text(),
                   QString("cyt\nCommonness rank 10 (1 is the most common, 95 the rarest)"));
    }
    QFile::remove(ranks);
  }

  // A definition keeps its highlights through a change of options: one that has nothing to do
  // with definitions leaves it as it is, a new highlight font redraws them in that font.
  void definitionHighlightsOutliveAnOptionChange_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("anagram balances")
        << int(QELPropertiesViewWindows::kResultPage) << "showBalances" << QColor(Qt::red);
    QTest::newRow("highlight font") << int(QELPropertiesViewWindows::kAppearancePage)
                                    << "definitionHighlightFont" << QColor(Qt::blue);
  }
  void definitionHighlightsOutliveAnOptionChange() {
    QFETCH(int, page);
    QFETCH(QString, control);
    QFETCH(QColor, colour);
    const std::string defined = m_dir.file("defined.qcd");
    QVERIFY(test::buildTestDictionary(defined, {"tail|The tail, and the end of the tail."}));
    Fixture f({QString::fromStdString(defined)});
    QFont italic("DejaVu Serif");
    italic.setPixelSize(18);
    italic.setItalic(true);
    f.prompts.chosenFont = italic;
    f.prompts.chosenFontColour = Qt::blue;
    WindowInput::click(f.view().patternBox());
    f.input.type("tail");
    f.input.key(Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(!f.window.lookup().windows().frames().empty());
    DefinitionViewFrame* definitions = f.window.lookup().windows().frames().front().get();
    DefinitionRichEdit* text = definitions->client()->text();
    QCOMPARE(highlighted(text, Qt::red), QStringList({"tail", "tail"}));

    QELPropertiesViewWindows* options = f.openOptions(page);
    QVERIFY(options);
    auto* button = options->findChild<QAbstractButton*>(control);
    QVERIFY(button);
    if (button->isCheckable())
      test::clickIndicator(button);
    else
      test::clickCentre(button);
    QCOMPARE(highlighted(text, colour), QStringList({"tail", "tail"}));
  }

  void turningOffPhrasesRemovesThemFromTheNextSearch() {
    Fixture f({m_words});
    QVERIFY(f.search("tail*").contains("tail end"));
    QELPropertiesViewWindows* options = f.openOptions(QELPropertiesViewWindows::kResultPage);
    QVERIFY(options);
    auto* phrases = options->findChild<QAbstractButton*>("outputWhitespace");
    test::clickIndicator(phrases);
    QVERIFY(!phrases->isChecked());
    const QStringList found = f.search("tail*");
    QVERIFY(!found.contains("tail end"));
    QVERIFY(found.contains("tail-end"));
    QVERIFY(found.contains("Tailor"));
    // Not saved: the next start has phrases again.
    f.fresh.settings.sync();
    QVERIFY(!f.fresh.settings.contains("OutputWhitespace"));
  }

  // "@" stands for what the Pattern page says as soon as it is typed; the pattern in the box is
  // checked again at once.
  void theAtMacroFollowsThePatternPage() {
    Fixture f({m_words});
    QCOMPARE(f.search("c@t"), QStringList({"cat", "cot"}));
    QELPropertiesViewWindows* options = f.openOptions(QELPropertiesViewWindows::kPatternPage);
    QVERIFY(options);
    WindowInput::click(options->findChild<QLineEdit*>("expansionAt"));
    f.input.retype("[xyz");  // unfinished: the pattern is wrong until "]" is typed
    QCOMPARE(f.view().state(), SearchState::NoPattern);
    f.input.type("]");
    QCOMPARE(f.view().state(), SearchState::Ready);
    QCOMPARE(f.search("c@t"), QStringList({"cxt", "cyt"}));
  }

  // The definition dictionaries composed in the Dictionary List dialog are those lookups read,
  // in the order composed, as soon as it closes.
  void lookupsReadTheDefinitionDictionariesChosen() {
    test::TempDir definitions;
    const std::string alpha = definitions.file("alpha.qcd");
    const std::string beta = definitions.file("beta.qcd");
    QVERIFY(test::buildTestDictionary(alpha, {"tail|The alpha tail."}));
    QVERIFY(test::buildTestDictionary(beta, {"tail|The beta tail."}));
    Fixture f({m_words}, [&](SettingsStore& store) {  // no definitions in m_words
      writeDialogString(store, "DictionaryList", "DictionaryFolder", definitions.path());
    });
    QVERIFY(definingDictionaries(f.window, "tail").empty());

    QELPropertiesViewWindows* options = f.openOptions(QELPropertiesViewWindows::kDictionaryPage);
    QVERIFY(options);
    auto* change = options->findChild<QPushButton*>("changeDefinitionDictionaries");
    for (const char* name : {"beta", "alpha"}) {
      bool added = false;
      addInDictionaryList(name, added);
      WindowInput::click(change);
      QTRY_VERIFY(added);
    }
    const std::vector<Definition> both = f.window.lookup().definitionsOf("tail").definitions;
    QCOMPARE(both.size(), size_t{2});
    QCOMPARE(both.front().dictionaryPath, beta);
    QCOMPARE(both.back().dictionaryPath, alpha);
  }

  // The dialog is one window, disabled while a search runs (Page Setup is not); the main window
  // closes it as it closes, and its place is kept.
  void theDialogIsDisabledWhileSearchingAndClosesWithTheWindow() {
    Fixture f({m_words});
    QPointer<QELPropertiesViewWindows> options =
        f.openOptions(QELPropertiesViewWindows::kSortingPage);
    QVERIFY(options);
    QCOMPARE(f.openOptions(0), options.data());  // the same dialog again
    QCOMPARE(f.window.findChildren<QELPropertiesViewWindows*>().size(), 1);

    f.reactivate();
    WindowInput::click(f.view().patternBox());
    f.input.type("*");
    bool searching = false, dialogEnabled = true, commandEnabled = true, pageSetupEnabled = false;
    QTimer::singleShot(0, &f.window, [&] {
      searching = f.view().state() == SearchState::Searching;
      dialogEnabled = options->isEnabled();
      commandEnabled = f.window.action(Command::kOptions)->isEnabled();
      pageSetupEnabled = f.window.action(Command::kPageSetup)->isEnabled();
    });
    f.input.key(Qt::Key_Return);
    QTRY_VERIFY(searching);
    QVERIFY(!dialogEnabled);
    QVERIFY(!commandEnabled);
    QVERIFY(pageSetupEnabled);  // the margins do not touch the search
    QTRY_VERIFY(f.view().state() != SearchState::Searching);
    QVERIFY(options->isEnabled());

    f.window.close();
    QTRY_VERIFY(options.isNull());
    f.fresh.settings.sync();
    QVERIFY(f.fresh.settings.contains("QELViewPosition"));
  }
};

}  // namespace qel

QTEST_MAIN(qel::MainWindowOptionsTest)
#include "MainWindowOptionsTest.moc"
