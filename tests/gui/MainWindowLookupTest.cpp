// Lookups from the main window: the selected result or the pattern in a definition window, a
// full-text result's own definition, a changed dictionary, no definitions, stepping through the
// results from a definition window, and the double-click.
#include <QDesktopServices>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QUrl>
#include <cstdio>
#include <thread>

#include "app/qt/QuickReferenceWindow.h"
#include "app/qt/StartupTipsWindow.h"
#include "definitions/qt/DefinitionRichEdit.h"
#include "definitions/qt/DefinitionViewFrame.h"
#include "definitions/qt/DefinitionViewWindows.h"
#include "lookup/qt/LookupService.h"
#include "search/qt/SearchModeButton.h"
#include "support/MainWindowFixture.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

using Fixture = test::MainWindowFixture;
using test::FreshSettings;
using test::WindowInput;

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

// The search mode chosen from the menu the button beside Search opens, then the search.
void search(Fixture& f, const QString& pattern, bool fullText) {
  test::whenShown<QMenu>([&f, fullText](QMenu*) { f.input.key(fullText ? Qt::Key_F : Qt::Key_W); });
  WindowInput::click(f.window.findChild<SearchModeButton*>());
  QTRY_COMPARE(f.view().fullText(), fullText);
  f.search(pattern);
}

DefinitionViewFrame* frame(Fixture& f, size_t i = 0) {
  const auto& frames = f.window.lookup().windows().frames();
  return i < frames.size() ? frames[i].get() : nullptr;
}

// The pattern box clicked, the word typed and looked up (Ctrl+Enter).
void lookUpTyped(Fixture& f, const QString& word) {
  WindowInput::click(f.view().patternBox());
  f.input.retype(word);
  f.input.key(Qt::Key_Return, Qt::ControlModifier);
}

}  // namespace

class MainWindowLookupTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir m_dir;
  QString m_first, m_second;

 private slots:
  void initTestCase() {
    m_first = QString::fromStdString(m_dir.file("first.qcd"));
    m_second = QString::fromStdString(m_dir.file("second.qcd"));
    QVERIFY(test::buildTestDictionary(
        m_first.toStdString(),
        {"tail|The tail of a charged particle.", "electron|A particle with charge.",
         "quark|A particle without definitions here."}));
    QVERIFY(test::buildTestDictionary(m_second.toStdString(),
                                      {"tailor|One who makes clothes.", "toll|A charge."}));
  }

  void thePatternOrTheSelectedResultIsLookedUp() {
    Fixture f({m_first, m_second});
    f.search("t*");
    QAction* lookup = f.window.action(Command::kLookup);
    f.inMenu('e', [&] { QVERIFY(lookup->isEnabled()); });
    // The pattern box's text is the word while it has the focus.
    lookUpTyped(f, "electron");
    QVERIFY(frame(f));
    QCOMPARE(frame(f)->history().current(), std::string("electron"));

    f.reactivate();       // as the click on it would make it
    f.clickResult(1, 0);  // toll (the shorter first)
    f.inMenu('e', [&] { QVERIFY(lookup->isEnabled()); });
    f.input.key(Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(frame(f)->history().current(), std::string("toll"));
    QCOMPARE(f.window.lookup().windows().frames().size(), size_t(1));  // the same window
    f.reactivate();
    f.input.key(Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.window.lookup().windows().frames().size(), size_t(2));
    QCOMPARE(frame(f, 1)->number(), 2);

    // Two results selected: nothing to look up.
    f.reactivate();
    f.input.key(Qt::Key_Down, Qt::ShiftModifier);
    f.inMenu('e', [&] { QVERIFY(!lookup->isEnabled()); });
  }

  void nextResultStepsThroughThePanesFromADefinitionWindow() {
    Fixture f({m_first, m_second});
    f.search("t*");  // tail | toll, tailor
    f.clickResult(0, 0);
    f.input.key(Qt::Key_Return, Qt::ControlModifier);
    DefinitionViewFrame* definitions = frame(f);
    QVERIFY(definitions);
    QVERIFY(QTest::qWaitForWindowActive(definitions));
    QVERIFY(!definitions->action(DefinitionViewFrame::kPreviousResult)->isEnabled());
    f.input.key(Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(f.view().activePane(), 1);
    QCOMPARE(definitions->history().current(), std::string("toll"));
    f.input.key(Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(definitions->history().current(), std::string("tailor"));
    QVERIFY(!definitions->action(DefinitionViewFrame::kNextResult)->isEnabled());
    f.input.key(Qt::Key_Up, Qt::AltModifier);
    f.input.key(Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(f.view().activePane(), 0);
    QCOMPARE(definitions->history().current(), std::string("tail"));
  }

  // Previous and Next Result follow the selection here as soon as it moves, without waiting for
  // the definition window to be activated.
  void theResultStepsFollowTheSelectionAtOnce() {
    Fixture f({m_first, m_second});
    WindowInput::click(f.view().patternBox());
    f.input.type("t*");
    WindowInput::click(f.view().searchButton());
    QTRY_VERIFY(f.view().state() == SearchState::Ready &&
                f.view().session()->pane(1).results.count() == 2);  // tail | toll, tailor
    f.clickResult(0, 0);
    f.input.key(Qt::Key_Return, Qt::ControlModifier);
    DefinitionViewFrame* definitions = frame(f);
    QVERIFY(definitions);
    QCOMPARE(definitions->history().current(), std::string("tail"));
    QAction* previous = definitions->action(DefinitionViewFrame::kPreviousResult);
    QAction* next = definitions->action(DefinitionViewFrame::kNextResult);
    QVERIFY(!previous->isEnabled());
    QVERIFY(next->isEnabled());

    f.reactivate();
    f.clickResult(1, 1);  // the last result of all
    QVERIFY(!definitions->isActiveWindow());
    QVERIFY(previous->isEnabled());
    QVERIFY(!next->isEnabled());
    f.input.key(Qt::Key_Home);
    QVERIFY(next->isEnabled());
  }

  void aWordWithoutDefinitionsOffersAnExternalLookup() {
    Fixture f({m_first});
    std::vector<std::pair<std::string, bool>> asked;
    f.window.lookup().setPrompt([&](QWidget*, const std::string& word, bool noDefinitions) {
      asked.emplace_back(word, noDefinitions);
      return false;
    });
    lookUpTyped(f, "zebra");
    QCOMPARE(asked.size(), size_t(1));
    QCOMPARE(asked[0].first, std::string("zebra"));
    QVERIFY(asked[0].second);
    QVERIFY(!frame(f));
  }

  void aFullTextResultOpensItsOwnDefinitionUnlessTheDictionaryChanged() {
    const std::string path = m_dir.file("changing.qcd");
    QVERIFY(test::buildTestDictionary(
        path, {"tail|The tail of a charged particle.", "electron|A particle with charge."}));
    Fixture f({QString::fromStdString(path)});
    search(f, "particle & charge*", true);
    QCOMPARE(f.view().session()->pane(0).results.count(), 2L);
    f.clickResult(0, 0);
    f.input.key(Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(frame(f));
    QCOMPARE(frame(f)->client()->definitionCount(), 1);
    const bool tail = frame(f)->history().current() == "tail";
    QCOMPARE(highlighted(frame(f)->client()->text()),
             (tail ? QStringList{"charged", "particle"} : QStringList{"particle", "charge"}));

    // The file changes under the results: no definition from it until the search runs again.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    QVERIFY(test::buildTestDictionary(path, {"tail|Something else entirely."}));
    f.reactivate();
    f.clickResult(0, 0);
    f.input.key(Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(f.prompts.shown.last(),
             QString("Dictionary Changed: The dictionary has been updated.\n\n"
                     "Please rerun the search and try again."));
    QCOMPARE(frame(f)->history().size(), 1);
  }

  void obeliskOnTheDefaultDictionary() {
    const QString dictionary = defaultDictionary();
    if (dictionary.isEmpty()) QSKIP("the default dictionary has not been built");
    Fixture f({dictionary});
    lookUpTyped(f, "obelisk");
    QVERIFY(frame(f));
    QCOMPARE(frame(f)->client()->definitionCount(), 2);
    QVERIFY(frame(f)->client()->text()->toPlainText().contains("stone pillar"));

    f.reactivate();
    search(f, "particle & charge", true);
    QVERIFY(f.view().session()->pane(0).results.count() > 0);
    f.clickResult(0, 0);
    f.input.key(Qt::Key_Return, Qt::ControlModifier);
    const QStringList words = highlighted(frame(f)->client()->text());
    QVERIFY2(words.contains("particle") && words.contains("charge"), qPrintable(words.join(",")));
  }

  // Owned windows close with the main window only: the Startup Tips, from the menu, leave the
  // definition windows open.
  void theStartupTipsLeaveTheDefinitionWindowsOpen() {
    Fixture f({m_first});
    lookUpTyped(f, "electron");
    QVERIFY(frame(f));
    QTRY_VERIFY(frame(f)->isVisible());
    f.reactivate();
    f.input.menu('h', 's');
    QTRY_VERIFY(f.window.findChild<QELStartupTipsViewWindows*>() != nullptr);
    QVERIFY(frame(f));
    QVERIFY(frame(f)->isVisible());
  }

  // The first definition windows go clear of the Quick Reference shown at the first start.
  void theFirstStartPlacesTheFirstTwoDefinitionWindows() {
    FreshSettings fresh;
    fresh.store.writeNumber("StartupTips", 0);
    QRect reference;
    {
      QELFrameWindow window(fresh.store, fresh.folder.path(), {m_first});
      window.resize(300, 300);
      window.move(0, 0);
      window.showStartWindows();
      QWidget* shown = window.findChild<QELQuickReferenceViewWindows*>();
      QVERIFY(shown);
      reference = shown->frameGeometry();
    }
    std::string first, second;
    QVERIFY(fresh.store.readString("Definition1Position", first));
    QVERIFY(fresh.store.readString("Definition2Position", second));
    QVERIFY(first != second);
    for (const std::string& text : {first, second}) {
      int left = 0, top = 0, width = 0, height = 0;
      QCOMPARE(std::sscanf(text.c_str(), "%*d,%d,%d,%d,%d", &left, &top, &width, &height), 4);
      QVERIFY2(!reference.intersects(QRect(left, top, width, height)), text.c_str());
    }
    fresh.store.writeString("Definition1Position", "0,10,20,300,200");
    QELFrameWindow again(fresh.store, fresh.folder.path(), {m_first});
    again.showStartWindows();
    QVERIFY(fresh.store.readString("Definition1Position", first));
    QCOMPARE(first, std::string("0,10,20,300,200"));  // a place the user chose stays
  }

  void theDoubleClickLooksUpOrHandsTheWordOn() {
    AddressSink sink;
    Fixture f({m_first}, [](SettingsStore& store) { store.writeNumber("ViewDoubleClick", 1); });
    f.search("tail");
    MatchListWindows* list = f.view().pane(0).list;
    WindowInput::doubleClick(list->viewport(), list->rowRect(0).center());
    QCOMPARE(sink.opened.size(), 1);
    QVERIFY2(sink.opened[0].contains("%22tail%22"), qPrintable(sink.opened[0]));
    QVERIFY(!frame(f));
  }
};

}  // namespace qel

QTEST_MAIN(qel::MainWindowLookupTest)
#include "MainWindowLookupTest.moc"
