// Definition windows over dictionaries written by our own builder: what they list and show, the
// highlights, the history, lookups from the text, numbering and placement.
#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolTip>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <memory>

#include "common/qt/SettingsStore.h"
#include "definitions/qt/DefinitionRichEdit.h"
#include "definitions/qt/DefinitionViewFrame.h"
#include "definitions/qt/DefinitionViewWindows.h"
#include "definitions/qt/DefinitionWindowList.h"
#include "dictionary/DefinitionsOfWord.h"
#include "pattern/MatchEngineSet.h"
#include "platform/qt/CoreText.h"
#include "support/TestDictionaries.h"
#include "support/WindowInput.h"

namespace qel {
namespace {

const std::vector<std::string> kSource = {
    "bank++1+|The bank of a river is its edge. Compare bank2 and www.example.org/banks.",
    "bank++2+:depot|A place that holds money.",
    "tail-end:tailend|The last part: the tail end, the Tail-End, the tailend.",
    "electron|{\\rtf1{\\colortbl;\\red0\\green0\\blue255;}A {\\b particle} with "
    "{\\cf1 negative} charge; charged particles}",
    "rtfless|{\\rt {\\b not} rich}",
    "stern|{\\rtf1 The back: the {\\ul tail end }or {\\ul rump}.}",
};

// The program around the windows: definitions from one dictionary, lookups recorded.
class TestSource : public DefinitionSource {
 public:
  TestSource(SettingsBackend& settings, std::string path) : m_settings(settings), m_path(path) {}

  DefinitionsFound definitionsOf(const std::string& word) override {
    DefinitionsFound found;
    auto list = std::make_shared<QCDictionaryList>(m_path);
    definitionsOfWord(*list, word, found.definitions);
    found.dictionaries = list;
    return found;
  }
  void lookup(QWidget*, Command command, const std::string& word, const std::string& preferredPath,
              const std::string& numberSuffix) override {
    lookups.push_back({command, word, preferredPath, numberSuffix});
  }
  void fillExternalLookupMenu(QMenu*, bool) override {}
  void showLookupSetup(QWidget*) override {}
  bool canStepResult(bool next) override { return next ? canNext : canPrevious; }
  void stepResult(bool next) override { steps.push_back(next); }
  DefinitionLook look() override {
    DefinitionLook look;
    look.highlight.setFontItalic(true);
    look.highlight.setForeground(Qt::red);
    return look;
  }
  SettingsBackend& settings() override { return m_settings; }

  struct Lookup {
    Command command;
    std::string word, preferredPath, suffix;
  };
  std::vector<Lookup> lookups;
  std::vector<bool> steps;
  bool canNext = false;
  bool canPrevious = false;

 private:
  SettingsBackend& m_settings;
  std::string m_path;
};

// The words of the text pane shown in the highlight.
QStringList highlightedWords(DefinitionRichEdit* text) {
  QStringList words;
  QString current;
  for (QTextBlock b = text->document()->begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      if (f.charFormat().fontItalic() && f.charFormat().foreground().color() == Qt::red) {
        words << f.text();
      }
    }
  }
  return words;
}

// Window shortcuts act only in the active window.
void waitUntilActive(DefinitionViewFrame* frame) {
  if (!QTest::qWaitForWindowActive(frame)) qWarning("the window did not become active");
}

// A click on the text at a character position, which puts the caret there; with Shift, the text
// from the caret to there is selected.
void clickText(DefinitionRichEdit* text, int position, Qt::KeyboardModifiers modifiers = {}) {
  QTextCursor at(text->document());
  at.setPosition(position);
  test::clickAt(text->viewport(), text->cursorRect(at).center(), Qt::LeftButton, modifiers);
}

void selectText(DefinitionRichEdit* text, int start, int end) {
  clickText(text, start);
  clickText(text, end, Qt::ShiftModifier);
}

class DefinitionViewTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    m_folder = std::make_unique<QTemporaryDir>();
    m_qsettings =
        std::make_unique<QSettings>(m_folder->filePath("settings.ini"), QSettings::IniFormat);
    m_settings = std::make_unique<SettingsStore>(*m_qsettings);
    m_path = m_folder->filePath("test.qcd").toStdString();
    QVERIFY(test::buildTestDictionary(m_path, kSource));
    m_source = std::make_unique<TestSource>(*m_settings, m_path);
    m_windows = std::make_unique<DefinitionWindowList>(*m_source);
  }
  void cleanup() {
    m_windows.reset();
    m_source.reset();
  }

  void showsEveryDefinitionUnderItsDictionaryWithTheWordHighlighted() {
    DefinitionViewFrame* frame = m_windows->window(false);
    frame->show(m_source->definitionsOf("tail end"), "tail end");
    waitUntilActive(frame);
    QTreeWidget* tree = frame->client()->tree();
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->text(0), QString("test"));
    QCOMPARE(tree->topLevelItem(0)->childCount(), 1);
    QCOMPARE(frame->windowTitle(), QString("tail end - Definition [1]"));
    QCOMPARE(frame->statusText(), QString("Definition 1 of 1"));
    QCOMPARE(highlightedWords(frame->client()->text()),
             (QStringList{"tail end", "Tail-End", "tailend"}));
    // The caret goes to the first highlight.
    QCOMPARE(frame->client()->text()->textCursor().position(),
             frame->client()->text()->toPlainText().indexOf("tail end"));

    // Selecting the dictionary shows its description; the next definition wraps round to it.
    test::pressKey(frame->client()->text(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(frame->statusText(), QString("Description of test"));
    QCOMPARE(frame->client()->text()->toPlainText(), QString("test dictionary"));
    test::pressKey(frame->client()->text(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(frame->statusText(), QString("Definition 1 of 1"));
    // Shown again from the tree, a definition has no highlights.
    QVERIFY(highlightedWords(frame->client()->text()).isEmpty());
  }

  void aNumberedWordInTheTextLooksUpTheWordPreferringThatHeading() {
    DefinitionViewFrame* frame = m_windows->window(false);
    frame->show(m_source->definitionsOf("bank"), "bank");
    waitUntilActive(frame);
    QCOMPARE(frame->client()->definitionCount(), 2);
    DefinitionRichEdit* text = frame->client()->text();
    clickText(text, static_cast<int>(text->toPlainText().indexOf("bank2")) + 2);
    QCOMPARE(frame->action(DefinitionViewFrame::kLookup)->text(), QString("&Lookup \"bank\""));
    QCOMPARE(frame->action(DefinitionViewFrame::kLookupInNewWindow)->text(),
             QString("Lookup \"bank\" in &New Window..."));
    test::pressKey(text, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(m_source->lookups.size(), size_t(1));
    QCOMPARE(m_source->lookups[0].command, Command::kLookup);
    QCOMPARE(m_source->lookups[0].word, std::string("bank"));
    QCOMPARE(m_source->lookups[0].suffix, std::string("2"));
    QCOMPARE(m_source->lookups[0].preferredPath, m_path);

    // What the lookup then shows: the definition headed bank 2 first.
    frame->show(m_source->definitionsOf("bank"), "bank", m_path, "2");
    QCOMPARE(frame->client()->currentDefinition()->body, std::string("A place that holds money."));
    frame->show(m_source->definitionsOf("bank"), "bank");
    QCOMPARE(frame->client()->currentIndex(), 0);
  }

  void aLongSelectionIsNoWordToLookUp() {
    DefinitionViewFrame* frame = m_windows->window(false);
    frame->show(m_source->definitionsOf("bank"), "bank");
    DefinitionRichEdit* text = frame->client()->text();
    selectText(text, 0, 50);
    QVERIFY(frame->action(DefinitionViewFrame::kLookup)->isEnabled());
    QVERIFY(frame->action(DefinitionViewFrame::kCopy)->isEnabled());
    selectText(text, 0, 60);
    QVERIFY(!frame->action(DefinitionViewFrame::kLookup)->isEnabled());
    QVERIFY(!frame->action(DefinitionViewFrame::kExternalLookup)->isEnabled());
    QCOMPARE(frame->action(DefinitionViewFrame::kLookup)->text(), QString("&Lookup"));
    test::pressKey(text, Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(m_source->lookups.empty());
  }

  void richTextNeedsItsWholeOpeningMark() {
    DefinitionViewFrame* frame = m_windows->window(false);
    frame->show(m_source->definitionsOf("electron"), "electron");
    DefinitionRichEdit* text = frame->client()->text();
    QCOMPARE(text->toPlainText(), QString("A particle with negative charge; charged particles"));
    QTextCursor inside(text->document());
    inside.setPosition(4);
    QCOMPARE(inside.charFormat().fontWeight(), int(QFont::Bold));
    inside.setPosition(text->toPlainText().indexOf("negative") + 1);
    QCOMPARE(inside.charFormat().foreground().color(), QColor(0, 0, 255));
    frame->show(m_source->definitionsOf("rtfless"), "rtfless");
    QCOMPARE(text->toPlainText(), QString("{\\rt {\\b not} rich}"));
    // A record without headings shows its entry above the text, bold and underlined.
    DefinitionsFound bare = m_source->definitionsOf("electron");
    bare.definitions.at(0).firstTexts.clear();
    bare.definitions.at(0).secondTexts.clear();
    bare.definitions.at(0).entryText = "plain";
    frame->show(bare, "plain");
    QCOMPARE(text->document()->firstBlock().text(), QString("plain"));
    QVERIFY(text->document()->firstBlock().begin().fragment().charFormat().fontUnderline());
  }

  // A lookup at an underlined phrase takes all of it, its blanks too, but nothing around it.
  void anUnderlinedPhraseIsLookedUpWhole_data() {
    QTest::addColumn<QString>("clickedIn");
    QTest::addColumn<QString>("word");
    QTest::newRow("its last word") << "end"
                                   << "tail end";
    QTest::newRow("its first word") << "tail"
                                    << "tail end";
    QTest::newRow("a word underlined alone") << "rump"
                                             << "rump";
    QTest::newRow("no underline") << "back"
                                  << "back";
  }
  void anUnderlinedPhraseIsLookedUpWhole() {
    QFETCH(QString, clickedIn);
    QFETCH(QString, word);
    DefinitionViewFrame* frame = m_windows->window(false);
    frame->show(m_source->definitionsOf("stern"), "stern");
    waitUntilActive(frame);
    DefinitionRichEdit* text = frame->client()->text();
    QTextCursor inside(text->document());
    inside.setPosition(text->toPlainText().indexOf(clickedIn) + 1);
    test::clickAt(text->viewport(), text->cursorRect(inside).center());
    test::pressKey(frame, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(m_source->lookups.size(), size_t(1));
    QCOMPARE(QString::fromStdString(m_source->lookups[0].word), word);
  }

  // The tree is narrow: pointing at a definition shows its heading whole, with its dictionary.
  void aHeadingShowsInFullAsItsTooltip() {
    DefinitionViewFrame* frame = m_windows->window(false);
    frame->show(m_source->definitionsOf("bank"), "bank");
    waitUntilActive(frame);
    QTreeWidget* tree = frame->client()->tree();
    QTreeWidgetItem* second = tree->topLevelItem(0)->child(1);
    test::pointAt(tree->viewport(), tree->visualItemRect(second).center());
    QTRY_COMPARE(QToolTip::text(), second->text(0) + "\ntest");
  }

  // The mouse's own Back and Forward buttons walk the history wherever the pointer is.
  void theMouseBackAndForwardButtonsWalkTheHistory() {
    DefinitionViewFrame* frame = m_windows->window(false);
    for (const char* word : {"tailend", "bank", "electron"}) {
      frame->show(m_source->definitionsOf(word), word);
    }
    waitUntilActive(frame);
    DefinitionRichEdit* text = frame->client()->text();
    test::clickCentre(text->viewport(), Qt::BackButton);
    QCOMPARE(frame->history().current(), std::string("bank"));
    test::clickCentre(frame->client()->tree()->viewport(), Qt::BackButton);
    QCOMPARE(frame->history().current(), std::string("tailend"));
    test::clickCentre(text->viewport(), Qt::ForwardButton);
    QCOMPARE(frame->history().current(), std::string("bank"));
    QCOMPARE(frame->history().size(), 3);
  }

  void fullTextMatchesAreHighlightedInsteadOfTheWord() {
    DefinitionViewFrame* frame = m_windows->window(false);
    auto found = m_source->definitionsOf("electron");
    MatchEngineSet patterns;
    QCOMPARE(patterns.parse(found.dictionaries->alphabet(0), "particle* & charge*", 1, 31),
             pattern::PatternError::kValid);
    const FullTextMatch match{found.dictionaries->alphabet(0), patterns};
    frame->show(found, "electron", {}, {}, &match);
    QCOMPARE(highlightedWords(frame->client()->text()),
             (QStringList{"particle", "charge", "charged", "particles"}));
  }

  void addressesAreLinks() {
    DefinitionViewFrame* frame = m_windows->window(false);
    frame->show(m_source->definitionsOf("bank"), "bank");
    DefinitionRichEdit* text = frame->client()->text();
    QTextCursor at(text->document());
    at.setPosition(text->toPlainText().indexOf("example") + 1);
    QCOMPARE(at.charFormat().anchorHref(), QString("https://www.example.org/banks"));
  }

  void backForwardAndTheGoToMenu() {
    DefinitionViewFrame* frame = m_windows->window(false);
    for (const char* word : {"tailend", "bank", "electron"}) {
      frame->show(m_source->definitionsOf(word), word);
    }
    waitUntilActive(frame);
    QVERIFY(!frame->action(DefinitionViewFrame::kForward)->isEnabled());
    test::pressKey(frame->client()->text(), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(frame->history().current(), std::string("bank"));
    QCOMPARE(frame->windowTitle(), QString("bank - Definition [1]"));
    QCOMPARE(frame->history().size(), 3);
    QVERIFY(frame->action(DefinitionViewFrame::kForward)->isEnabled());
    // Going back re-reads the word and highlights it.
    QVERIFY(highlightedWords(frame->client()->text()).contains("bank"));
    test::pressKey(frame->client()->text(), Qt::Key_Left, Qt::AltModifier);
    frame->show(m_source->definitionsOf("electron"), "electron");
    QCOMPARE(frame->history().size(), 2);
    QVERIFY(!frame->action(DefinitionViewFrame::kForward)->isEnabled());

    for (int i = 3; i <= 15; ++i) frame->show(m_source->definitionsOf("bank"), "bank");
    frame->goToHistory(12);
    QMenu* menu = frame->contextMenu();
    QMenu* goTo = menu->actions().first()->menu();
    QStringList items;
    for (QAction* a : goTo->actions()) {
      const int command = a->data().toInt();
      if (command >= DefinitionViewFrame::kHistoryItem &&
          command < DefinitionViewFrame::kHistoryItem + 10) {
        items << a->text() + (a->isChecked() ? "*" : "");
      }
    }
    QCOMPARE(items.size(), 10);
    QCOMPARE(items.first(), QString("&1 bank"));  // entry 6
    QCOMPARE(items[6], QString("&7 bank*"));      // entry 12
    QCOMPARE(items.last(), QString("1&0 bank"));
    goTo->actions().last()->trigger();
    QCOMPARE(frame->history().position(), 15);
  }

  void resultStepsAskTheMainWindow() {
    DefinitionViewFrame* frame = m_windows->window(false);
    frame->show(m_source->definitionsOf("bank"), "bank");
    QVERIFY(!frame->action(DefinitionViewFrame::kNextResult)->isEnabled());
    m_source->canNext = true;
    frame->show(m_source->definitionsOf("bank"), "bank");
    waitUntilActive(frame);
    test::pressKey(frame->client()->text(), Qt::Key_Down, Qt::AltModifier);
    test::pressKey(frame->client()->text(), Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(m_source->steps, std::vector<bool>{true});
  }

  void windowsAreNumberedReusedAndKeepTheirPlaces() {
    DefinitionViewFrame* first = m_windows->window(false);
    first->show(m_source->definitionsOf("bank"), "bank");
    QCOMPARE(m_windows->window(false), first);
    DefinitionViewFrame* second = m_windows->window(true);
    QVERIFY(second != first);
    QCOMPARE(second->number(), 2);
    second->show(m_source->definitionsOf("depot"), "depot");
    QCOMPARE(second->windowTitle(), QString("depot - Definition [2]"));
    QCOMPARE(m_windows->window(false), second);  // the one shown last
    second->move(40, 50);
    second->resize(300, 200);
    second->close();
    std::string stored;
    QVERIFY(m_settings->readString("Definition2Position", stored));
    QVERIFY(!m_settings->readString("Definition1Position", stored));
    QCOMPARE(m_windows->window(true), second);  // hidden, so used again
    QCOMPARE(m_windows->window(false), first);

    DefinitionWindowList again(*m_source);
    again.window(false)->show(m_source->definitionsOf("bank"), "bank");
    DefinitionViewFrame* replaced = again.window(true);
    replaced->show(m_source->definitionsOf("depot"), "depot");
    QCOMPARE(replaced->number(), 2);
    QCOMPARE(replaced->size(), QSize(300, 200));
  }

  // Until the user moves the splitter, the tree is as wide as its headings (within two fifths
  // of the window): none is cut at the window's first size.
  void theHeadingsShowWholeUntilTheSplitterIsMoved() {
    const std::string path = m_folder->filePath("headings.qcd").toStdString();
    QVERIFY(test::buildTestDictionary(path, {"obelisk++noun, a stone pillar+|A monument.",
                                             "obelisk++noun, a printed mark+|A dagger."}));
    TestSource source(*m_settings, path);
    DefinitionWindowList windows(source);
    DefinitionViewFrame* frame = windows.window(false);
    frame->resize(700, 400);  // half a screen's width, as a definition window is at first
    frame->show(source.definitionsOf("obelisk"), "obelisk");
    waitUntilActive(frame);
    QTreeWidget* tree = frame->client()->tree();
    QCOMPARE(tree->topLevelItem(0)->childCount(), 2);
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
      const QRect row = tree->visualItemRect(*it);
      const int end = row.left() + tree->iconSize().width() +
                      tree->fontMetrics().horizontalAdvance((*it)->text(0));
      QVERIFY2(end <= tree->viewport()->width(), qPrintable((*it)->text(0)));
    }
  }

  void theSplitterKeepsItsPlace() {
    DefinitionViewFrame* frame = m_windows->window(false);
    frame->show(m_source->definitionsOf("bank"), "bank");
    QSplitter* splitter = frame->client()->splitter();
    QSplitterHandle* handle = splitter->handle(1);
    // The handle dragged 40 pixels to the right, through the window as a pointer does it.
    QWindow* window = frame->windowHandle();
    const QPoint grip = handle->mapTo(frame, handle->rect().center());
    QTest::mousePress(window, Qt::LeftButton, {}, grip);
    QTest::mouseMove(window, grip + QPoint(20, 0));
    QTest::mouseMove(window, grip + QPoint(40, 0));
    QTest::mouseRelease(window, Qt::LeftButton, {}, grip + QPoint(40, 0));
    int32_t stored = 0;
    QVERIFY(m_settings->readNumber("DefinitionSplitterPosition", stored));
    QCOMPARE(stored, frame->client()->splitterPosition());
    DefinitionViewWindows other(*m_settings);
    QCOMPARE(other.splitterPosition(), stored);
  }

 private:
  std::unique_ptr<QTemporaryDir> m_folder;
  std::unique_ptr<QSettings> m_qsettings;
  std::unique_ptr<SettingsStore> m_settings;
  std::string m_path;
  std::unique_ptr<TestSource> m_source;
  std::unique_ptr<DefinitionWindowList> m_windows;
};

}  // namespace
}  // namespace qel

QTEST_MAIN(qel::DefinitionViewTest)
#include "DefinitionViewTest.moc"
