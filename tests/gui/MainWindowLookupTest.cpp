// Lookups from the main window: the selected result or the pattern in a definition window, a
// full-text result's own definition, a changed dictionary, no definitions, stepping through the
// results from a definition window, and the double-click.
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>
#include <thread>

#include "app/qt/QELFrameWindow.h"
#include "app/qt/SettingsStore.h"
#include "definitions/qt/DefinitionRichEdit.h"
#include "definitions/qt/DefinitionViewFrame.h"
#include "definitions/qt/DefinitionViewWindows.h"
#include "lookup/qt/LookupService.h"
#include "search/qt/MatchListWindows.h"
#include "search/qt/QELViewWindows.h"
#include "support/FreshSettings.h"
#include "support/RecordingPrompts.h"
#include "support/TestDictionaries.h"
#include "support/WindowInput.h"

namespace qel {
namespace {

using test::FreshSettings;

QString defaultDictionary() {
  const QString path =
      QCoreApplication::applicationDirPath() + QStringLiteral("/../Dictionaries/Devuduvodi.qcd");
  return QFileInfo::exists(path) ? path : QString();
}

// The addresses web lookups open.
class AddressSink : public QObject {
  Q_OBJECT
 public:
  AddressSink() { QDesktopServices::setUrlHandler("https", this, "open"); }
  ~AddressSink() override { QDesktopServices::unsetUrlHandler("https"); }
  QStringList opened;
 public slots:
  void open(const QUrl& url) { opened << url.toString(QUrl::FullyEncoded); }
};

QStringList highlighted(DefinitionRichEdit* text) {
  QStringList words;
  for (QTextBlock b = text->document()->begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat f = it.fragment().charFormat();
      if (f.fontItalic() && f.foreground().color() == QColor(255, 0, 0)) {
        words << it.fragment().text();
      }
    }
  }
  return words;
}

}  // namespace

class MainWindowLookupTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir m_dir;
  std::string m_first, m_second;

  static void search(QELFrameWindow& window, const QString& pattern, bool fullText = false) {
    window.view()->setFullText(fullText);
    window.view()->setPatternAndSearch(pattern);
    QTRY_VERIFY(window.view()->state() == SearchState::Ready);
  }
  static void showActive(QELFrameWindow& window) {
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
  }
  // Selects a result with the mouse, as a user would.
  static void clickResult(QELFrameWindow& window, int pane, long row) {
    MatchListWindows* list = window.view()->pane(pane).list;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(row).center());
  }
  static DefinitionViewFrame* frame(QELFrameWindow& window, size_t i = 0) {
    const auto& frames = window.lookup().windows().frames();
    return i < frames.size() ? frames[i].get() : nullptr;
  }

 private slots:
  void initTestCase() {
    m_first = m_dir.file("first.qcd");
    m_second = m_dir.file("second.qcd");
    QVERIFY(test::buildTestDictionary(
        m_first, {"tail|The tail of a charged particle.", "electron|A particle with charge.",
                  "quark|A particle without definitions here."}));
    QVERIFY(
        test::buildTestDictionary(m_second, {"tailor|One who makes clothes.", "toll|A charge."}));
  }

  void thePatternOrTheSelectedResultIsLookedUp() {
    FreshSettings fresh;
    test::RecordingPrompts prompts;
    QELFrameWindow window(fresh.store, fresh.folder.path(),
                          {QString::fromStdString(m_first), QString::fromStdString(m_second)});
    showActive(window);
    search(window, "t*");
    window.view()->patternBox()->setFocus();
    window.updateCommands();
    QVERIFY(window.action(Command::kLookup)->isEnabled());
    // The pattern box's text is the word while it has the focus.
    window.view()->patternBox()->setEditText("electron");
    QTest::keyClick(window.view()->patternBox()->lineEdit(), Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(frame(window));
    QCOMPARE(frame(window)->history().current(), std::string("electron"));

    clickResult(window, 1, 0);  // toll (the shorter first)
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    window.updateCommands();
    QVERIFY(window.action(Command::kLookup)->isEnabled());
    QTest::keyClick(window.view()->pane(1).list, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(frame(window)->history().current(), std::string("toll"));
    QCOMPARE(window.lookup().windows().frames().size(), size_t(1));  // the same window
    QTest::keyClick(window.view()->pane(1).list, Qt::Key_Return,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(window.lookup().windows().frames().size(), size_t(2));
    QCOMPARE(frame(window, 1)->number(), 2);

    // Two results selected: nothing to look up.
    QTest::keyClick(window.view()->pane(1).list, Qt::Key_Down, Qt::ShiftModifier);
    window.updateCommands();
    QVERIFY(!window.action(Command::kLookup)->isEnabled());
  }

  void nextResultStepsThroughThePanesFromADefinitionWindow() {
    FreshSettings fresh;
    QELFrameWindow window(fresh.store, fresh.folder.path(),
                          {QString::fromStdString(m_first), QString::fromStdString(m_second)});
    showActive(window);
    search(window, "t*");  // tail | toll, tailor
    clickResult(window, 0, 0);
    QTest::keyClick(window.view()->pane(0).list, Qt::Key_Return, Qt::ControlModifier);
    DefinitionViewFrame* definitions = frame(window);
    QVERIFY(definitions);
    QVERIFY(QTest::qWaitForWindowActive(definitions));
    QVERIFY(!definitions->action(DefinitionViewFrame::kPreviousResult)->isEnabled());
    QTest::keyClick(definitions->client()->text(), Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(window.view()->activePane(), 1);
    QCOMPARE(definitions->history().current(), std::string("toll"));
    QTest::keyClick(definitions->client()->text(), Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(definitions->history().current(), std::string("tailor"));
    QVERIFY(!definitions->action(DefinitionViewFrame::kNextResult)->isEnabled());
    QTest::keyClick(definitions->client()->text(), Qt::Key_Up, Qt::AltModifier);
    QTest::keyClick(definitions->client()->text(), Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(window.view()->activePane(), 0);
    QCOMPARE(definitions->history().current(), std::string("tail"));
  }

  // Previous and Next Result follow the selection here as soon as it moves, without waiting for
  // the definition window to be activated.
  void theResultStepsFollowTheSelectionAtOnce() {
    FreshSettings fresh;
    QELFrameWindow window(fresh.store, fresh.folder.path(),
                          {QString::fromStdString(m_first), QString::fromStdString(m_second)});
    showActive(window);
    QLineEdit* pattern = window.view()->patternBox()->lineEdit();
    test::clickCentre(pattern);
    test::typeText(pattern, "t*");
    test::clickCentre(window.view()->searchButton());
    QTRY_VERIFY(window.view()->state() == SearchState::Ready &&
                window.view()->session()->pane(1).results.count() == 2);  // tail | toll, tailor
    const auto clickRow = [&window](int pane, long row) {
      MatchListWindows* list = window.view()->pane(pane).list;
      test::clickAt(list->viewport(), list->rowRect(row).center());
    };
    clickRow(0, 0);
    test::pressKey(&window, Qt::Key_Return, Qt::ControlModifier);
    DefinitionViewFrame* definitions = frame(window);
    QVERIFY(definitions);
    QCOMPARE(definitions->history().current(), std::string("tail"));
    QAction* previous = definitions->action(DefinitionViewFrame::kPreviousResult);
    QAction* next = definitions->action(DefinitionViewFrame::kNextResult);
    QVERIFY(!previous->isEnabled());
    QVERIFY(next->isEnabled());

    showActive(window);
    clickRow(1, 1);  // the last result of all
    QVERIFY(!definitions->isActiveWindow());
    QVERIFY(previous->isEnabled());
    QVERIFY(!next->isEnabled());
    test::pressKey(window.view()->pane(1).list, Qt::Key_Home);
    QVERIFY(next->isEnabled());
  }

  void aWordWithoutDefinitionsOffersAnExternalLookup() {
    FreshSettings fresh;
    QELFrameWindow window(fresh.store, fresh.folder.path(), {QString::fromStdString(m_first)});
    std::vector<std::pair<std::string, bool>> asked;
    window.lookup().setPrompt([&](QWidget*, const std::string& word, bool noDefinitions) {
      asked.emplace_back(word, noDefinitions);
      return false;
    });
    window.lookup().lookup(&window, LookupService::kLookup, "zebra");
    QCOMPARE(asked.size(), size_t(1));
    QCOMPARE(asked[0].first, std::string("zebra"));
    QVERIFY(asked[0].second);
    QVERIFY(!frame(window));
  }

  void aFullTextResultOpensItsOwnDefinitionUnlessTheDictionaryChanged() {
    FreshSettings fresh;
    test::RecordingPrompts prompts;
    const std::string path = m_dir.file("changing.qcd");
    QVERIFY(test::buildTestDictionary(
        path, {"tail|The tail of a charged particle.", "electron|A particle with charge."}));
    QELFrameWindow window(fresh.store, fresh.folder.path(), {QString::fromStdString(path)});
    showActive(window);
    search(window, "particle & charge*", true);
    QCOMPARE(window.view()->session()->pane(0).results.count(), 2L);
    clickResult(window, 0, 0);
    QTest::keyClick(window.view()->pane(0).list, Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(frame(window));
    QCOMPARE(frame(window)->client()->definitionCount(), 1);
    const bool tail = frame(window)->history().current() == "tail";
    QCOMPARE(highlighted(frame(window)->client()->text()),
             (tail ? QStringList{"charged", "particle"} : QStringList{"particle", "charge"}));

    // The file changes under the results: no definition from it until the search runs again.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    QVERIFY(test::buildTestDictionary(path, {"tail|Something else entirely."}));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.view()->pane(0).list->setFocus();
    QTest::keyClick(window.view()->pane(0).list, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(prompts.shown.last(),
             QString("Dictionary Changed: The dictionary has been updated.\n\n"
                     "Please rerun the search and try again."));
    QCOMPARE(frame(window)->history().size(), 1);
  }

  void obeliskOnTheDefaultDictionary() {
    const QString dictionary = defaultDictionary();
    if (dictionary.isEmpty()) QSKIP("the default dictionary has not been built");
    FreshSettings fresh;
    QELFrameWindow window(fresh.store, fresh.folder.path(), {dictionary});
    showActive(window);
    window.view()->patternBox()->setFocus();
    window.view()->patternBox()->setEditText("obelisk");
    QTest::keyClick(window.view()->patternBox()->lineEdit(), Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(frame(window));
    QCOMPARE(frame(window)->client()->definitionCount(), 2);
    QVERIFY(frame(window)->client()->text()->toPlainText().contains("stone pillar"));

    search(window, "particle & charge", true);
    QVERIFY(window.view()->session()->pane(0).results.count() > 0);
    showActive(window);  // as the click on it would make it
    clickResult(window, 0, 0);
    QTest::keyClick(window.view()->pane(0).list, Qt::Key_Return, Qt::ControlModifier);
    const QStringList words = highlighted(frame(window)->client()->text());
    QVERIFY2(words.contains("particle") && words.contains("charge"), qPrintable(words.join(",")));
  }

  void theFirstStartPlacesTheFirstTwoDefinitionWindows() {
    FreshSettings fresh;
    fresh.store.writeNumber("QuickReference", 0);
    fresh.store.writeNumber("StartupTips", 0);
    {
      QELFrameWindow window(fresh.store, fresh.folder.path(), {QString::fromStdString(m_first)});
      window.showStartWindows();
    }
    std::string first, second;
    QVERIFY(fresh.store.readString("Definition1Position", first));
    QVERIFY(fresh.store.readString("Definition2Position", second));
    QVERIFY(first != second);
    fresh.store.writeString("Definition1Position", "0,10,20,300,200");
    QELFrameWindow again(fresh.store, fresh.folder.path(), {QString::fromStdString(m_first)});
    again.showStartWindows();
    QVERIFY(fresh.store.readString("Definition1Position", first));
    QCOMPARE(first, std::string("0,10,20,300,200"));  // a place the user chose stays
  }

  void theDoubleClickLooksUpOrHandsTheWordOn() {
    FreshSettings fresh;
    fresh.store.writeNumber("ViewDoubleClick", 1);
    AddressSink sink;
    QELFrameWindow window(fresh.store, fresh.folder.path(), {QString::fromStdString(m_first)});
    showActive(window);
    search(window, "tail");
    MatchListWindows* list = window.view()->pane(0).list;
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(0).center());
    QCOMPARE(sink.opened.size(), 1);
    QVERIFY2(sink.opened[0].contains("%22tail%22"), qPrintable(sink.opened[0]));
    QVERIFY(!frame(window));
  }
};

}  // namespace qel

QTEST_MAIN(qel::MainWindowLookupTest)
#include "MainWindowLookupTest.moc"
