// The Options dialog opened from the main window's Tools menu, end to end: what is changed in it
// changes the next search and the dictionaries lookups read, it is disabled while a search runs,
// and it closes with the window.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <set>

#include "app/qt/QELFrameWindow.h"
#include "app/qt/QELPropertiesViewWindows.h"
#include "definitions/qt/DefinitionRichEdit.h"
#include "definitions/qt/DefinitionViewFrame.h"
#include "definitions/qt/DefinitionViewWindows.h"
#include "definitions/qt/DictionaryListViewWindows.h"
#include "lookup/qt/LookupService.h"
#include "search/qt/QELViewWindows.h"
#include "support/FreshSettings.h"
#include "support/RecordingPrompts.h"
#include "support/TestDictionaries.h"
#include "support/WindowInput.h"

namespace qel {
namespace {

using test::FreshSettings;

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

// In the Dictionary List dialog about to open: the other dictionary `name` added, then OK.
void addInDictionaryList(QObject* context, const QString& name, bool& added) {
  QTimer::singleShot(0, context, [name, &added] {
    auto* list = qobject_cast<DictionaryListViewWindows*>(QApplication::activeModalWidget());
    if (list == nullptr) return;
    const QList<QListWidgetItem*> found = list->otherList()->findItems(name, Qt::MatchExactly);
    if (found.size() != 1) return list->reject();
    QListWidget* other = list->otherList();
    QTest::mouseClick(other->viewport(), Qt::LeftButton, {},
                      other->visualItemRect(found.first()).center());
    QTest::mouseClick(list->findChild<QPushButton*>("add"), Qt::LeftButton);
    QTest::mouseClick(list->findChild<QPushButton*>("ok"), Qt::LeftButton);
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

class MainWindowOptionsTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir m_dir;
  QString m_words;

  // Types `pattern` into the pattern box, searches, and waits for the results.
  static QStringList search(QELFrameWindow& window, const QString& pattern) {
    QLineEdit* box = window.view()->patternBox()->lineEdit();
    box->selectAll();
    QTest::keyClicks(box, pattern);
    QTest::keyClick(box, Qt::Key_Return);
    if (!QTest::qWaitFor([&] { return window.view()->state() != SearchState::Searching; }, 20000))
      return {"(still searching)"};
    return texts(window.view()->session()->pane(0).results);
  }
  // The Options dialog, opened from the Tools menu at `page`.
  static QELPropertiesViewWindows* openOptions(QELFrameWindow& window, int page) {
    window.updateCommands();
    window.action(Command::kOptions)->trigger();
    auto* dialog = window.findChild<QELPropertiesViewWindows*>();
    if (dialog == nullptr || !QTest::qWaitForWindowExposed(dialog)) return nullptr;
    QTabBar* tabs = dialog->pages()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
    return dialog;
  }

 private slots:
  void initTestCase() {
    m_words = QString::fromStdString(m_dir.file("words.qcd"));
    QVERIFY(test::buildTestDictionary(
        m_words.toStdString(),
        {"cat", "cot", "cxt", "cyt", "tail", "tailed", "tail end", "tail-end", "Tailor"}));
  }

  // A definition keeps its highlights through a change of options: one that has nothing to do
  // with definitions leaves it as it is, a new highlight font redraws them in that font.
  void definitionHighlightsOutliveAnOptionChange_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("anagram balances") << int(QELPropertiesViewWindows::kResultPage)
                                      << "showBalances" << QColor(Qt::red);
    QTest::newRow("highlight font") << int(QELPropertiesViewWindows::kAppearancePage)
                                    << "definitionHighlightFont" << QColor(Qt::blue);
  }
  void definitionHighlightsOutliveAnOptionChange() {
    QFETCH(int, page);
    QFETCH(QString, control);
    QFETCH(QColor, colour);
    const std::string defined = m_dir.file("defined.qcd");
    QVERIFY(test::buildTestDictionary(defined, {"tail|The tail, and the end of the tail."}));
    FreshSettings fresh;
    test::RecordingPrompts prompts;
    QFont italic("DejaVu Serif");
    italic.setPixelSize(18);
    italic.setItalic(true);
    prompts.chosenFont = italic;
    prompts.chosenFontColour = Qt::blue;
    QELFrameWindow window(fresh.store, fresh.folder.path(), {QString::fromStdString(defined)});
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QLineEdit* pattern = window.view()->patternBox()->lineEdit();
    test::clickCentre(pattern);
    test::typeText(pattern, "tail");
    test::pressKey(pattern, Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(!window.lookup().windows().frames().empty());
    DefinitionViewFrame* definitions = window.lookup().windows().frames().front().get();
    DefinitionRichEdit* text = definitions->client()->text();
    QCOMPARE(highlighted(text, Qt::red), QStringList({"tail", "tail"}));

    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    test::pressKey(&window, Qt::Key_T, Qt::AltModifier);  // Tools
    QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
    test::pressKey(QApplication::activePopupWidget(), Qt::Key_O);  // Options...
    auto* options = window.findChild<QELPropertiesViewWindows*>();
    QVERIFY(options);
    QVERIFY(QTest::qWaitForWindowActive(options));
    QTabBar* tabs = options->pages()->tabBar();
    test::clickAt(tabs, tabs->tabRect(page).center());
    auto* button = options->findChild<QAbstractButton*>(control);
    QVERIFY(button);
    if (button->isCheckable())
      test::clickIndicator(button);
    else
      test::clickCentre(button);
    QCOMPARE(highlighted(text, colour), QStringList({"tail", "tail"}));
  }

  void turningOffPhrasesRemovesThemFromTheNextSearch() {
    FreshSettings fresh;
    QELFrameWindow window(fresh.store, fresh.folder.path(), {m_words});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(search(window, "tail*").contains("tail end"));
    QELPropertiesViewWindows* options = openOptions(window, QELPropertiesViewWindows::kResultPage);
    QVERIFY(options);
    auto* phrases = options->findChild<QAbstractButton*>("outputWhitespace");
    QTest::mouseClick(phrases, Qt::LeftButton, {}, QPoint(6, phrases->height() / 2));
    QVERIFY(!phrases->isChecked());
    const QStringList found = search(window, "tail*");
    QVERIFY(!found.contains("tail end"));
    QVERIFY(found.contains("tail-end"));
    QVERIFY(found.contains("Tailor"));
    // Not saved: the next start has phrases again.
    fresh.settings.sync();
    QVERIFY(!fresh.settings.contains("OutputWhitespace"));
  }

  // "@" stands for what the Pattern page says as soon as it is typed; the pattern in the box is
  // checked again at once.
  void theAtMacroFollowsThePatternPage() {
    FreshSettings fresh;
    QELFrameWindow window(fresh.store, fresh.folder.path(), {m_words});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(search(window, "c@t"), QStringList({"cat", "cot"}));
    QELPropertiesViewWindows* options = openOptions(window, QELPropertiesViewWindows::kPatternPage);
    QVERIFY(options);
    auto* at = options->findChild<QLineEdit*>("expansionAt");
    at->selectAll();
    QTest::keyClicks(at, "[xyz");  // unfinished: the pattern is wrong until "]" is typed
    QCOMPARE(window.view()->state(), SearchState::NoPattern);
    QTest::keyClicks(at, "]");
    QCOMPARE(window.view()->state(), SearchState::Ready);
    QCOMPARE(search(window, "c@t"), QStringList({"cxt", "cyt"}));
  }

  // The definition dictionaries composed in the Dictionary List dialog are those lookups read,
  // in the order composed, as soon as it closes.
  void lookupsReadTheDefinitionDictionariesChosen() {
    test::TempDir definitions;
    const std::string alpha = definitions.file("alpha.qcd");
    const std::string beta = definitions.file("beta.qcd");
    QVERIFY(test::buildTestDictionary(alpha, {"tail|The alpha tail."}));
    QVERIFY(test::buildTestDictionary(beta, {"tail|The beta tail."}));
    FreshSettings fresh;
    writeDialogString(fresh.store, "DictionaryList", "DictionaryFolder", definitions.path());
    QELFrameWindow window(fresh.store, fresh.folder.path(), {m_words});  // no definitions there
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(definingDictionaries(window, "tail").empty());

    QELPropertiesViewWindows* options =
        openOptions(window, QELPropertiesViewWindows::kDictionaryPage);
    QVERIFY(options);
    auto* change = options->findChild<QPushButton*>("changeDefinitionDictionaries");
    bool added = false;
    addInDictionaryList(this, "beta", added);
    QTest::mouseClick(change, Qt::LeftButton);
    QVERIFY(added);
    QCOMPARE(definingDictionaries(window, "tail"), std::set<std::string>{beta});

    added = false;
    addInDictionaryList(this, "alpha", added);
    QTest::mouseClick(change, Qt::LeftButton);
    QVERIFY(added);
    const std::vector<Definition> both = window.lookup().definitionsOf("tail").definitions;
    QCOMPARE(both.size(), size_t{2});
    QCOMPARE(both.front().dictionaryPath, beta);
    QCOMPARE(both.back().dictionaryPath, alpha);
  }

  // The dialog is one window, disabled while a search runs; the main window closes it as it
  // closes, and its place is kept.
  void theDialogIsDisabledWhileSearchingAndClosesWithTheWindow() {
    FreshSettings fresh;
    QELFrameWindow window(fresh.store, fresh.folder.path(), {m_words});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QPointer<QELPropertiesViewWindows> options =
        openOptions(window, QELPropertiesViewWindows::kSortingPage);
    QVERIFY(options);
    QCOMPARE(openOptions(window, 0), options.data());  // the same dialog again
    QCOMPARE(window.findChildren<QELPropertiesViewWindows*>().size(), 1);

    QLineEdit* box = window.view()->patternBox()->lineEdit();
    QTest::keyClicks(box, "*");
    window.view()->onSearchButton();
    QCOMPARE(window.view()->state(), SearchState::Searching);
    QVERIFY(!options->isEnabled());
    QVERIFY(!window.action(Command::kOptions)->isEnabled());
    QTRY_VERIFY(window.view()->state() != SearchState::Searching);
    QVERIFY(options->isEnabled());

    window.close();
    QTRY_VERIFY(options.isNull());
    fresh.settings.sync();
    QVERIFY(fresh.settings.contains("QELViewPosition"));
  }
};

}  // namespace qel

QTEST_MAIN(qel::MainWindowOptionsTest)
#include "MainWindowOptionsTest.moc"
