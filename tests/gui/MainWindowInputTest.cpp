// The main window driven only as a person drives it: keys to the window, clicks at points of it,
// menus opened from the keyboard. What is checked is what the person would see.
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "app/qt/QELFrameWindow.h"
#include "search/qt/MatchListLabelWindows.h"
#include "search/qt/MatchListWindows.h"
#include "search/qt/QELViewWindows.h"
#include "support/FreshSettings.h"
#include "support/RecordingPrompts.h"
#include "support/TestDictionaries.h"
#include "support/WindowInput.h"

namespace qel {

using test::WindowInput;

class MainWindowInputTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir m_dir;
  QString m_first, m_second, m_third;

  struct Fixture {
    test::FreshSettings settings;
    test::RecordingPrompts prompts;
    QELFrameWindow window;
    WindowInput input{window};
    Fixture(const QStringList& dictionaries)
        : window(settings.store, settings.folder.path(), dictionaries) {}
    QELViewWindows& view() { return *window.view(); }
    void search(const QString& pattern) {
      WindowInput::click(view().patternBox());
      input.retype(pattern);
      input.key(Qt::Key_Return);
      QTRY_VERIFY_WITH_TIMEOUT(view().state() != SearchState::Searching, 20000);
    }
    QStringList results(int pane) {
      QStringList out;
      const ResultList& list = view().session()->pane(pane).results;
      for (long i = 0; i < list.count(); ++i) out << QString::fromLatin1(list.record(i)->entry());
      return out;
    }
    void clickFirstResult(int pane) {
      MatchListWindows* list = view().pane(pane).list;
      WindowInput::click(list->viewport(), list->rowRect(0).center());
      QVERIFY(list->isFocused());
    }
  };

  static QString path(const test::TempDir& dir, const char* name) {
    return QString::fromStdString(dir.file(name));
  }

 private slots:
  void initTestCase() {
    m_first = path(m_dir, "first.qcd");
    m_second = path(m_dir, "second.qcd");
    m_third = path(m_dir, "third.qcd");
    QVERIFY(test::buildTestDictionary(m_first.toStdString(), {"electron", "tail", "tonight"}));
    QVERIFY(test::buildTestDictionary(m_second.toStdString(), {"electron", "elation", "tall"}));
    QVERIFY(test::buildTestDictionary(m_third.toStdString(), {"tail", "toll"}));
  }

  // Return, keypad Enter and the Search button's key all search what the box shows.
  void returnAndEnterSearchThePatternTyped() {
    Fixture f({m_first});
    for (const auto& press : std::vector<std::function<void()>>{
             [&] { f.input.key(Qt::Key_Return); }, [&] { f.input.keypadEnter(); },
             [&] { f.input.key(Qt::Key_S, Qt::AltModifier); }}) {
      WindowInput::click(f.view().patternBox());
      f.input.retype(".l...r.n");
      press();  // Alt+S clicks the button a moment later, as it shows the button going down
      QTRY_COMPARE(f.results(0), QStringList({"electron"}));
      f.input.retype("t*");
      press();
      QTRY_COMPARE(f.results(0), QStringList({"tail", "tonight"}));
    }
  }

  // The history is a drop-down list, never a completion of what is typed.
  void theHistoryDoesNotCompleteTheTypedPattern() {
    Fixture f({m_first});
    f.search("t*t");
    f.search("t*");
    QCOMPARE(f.view().patternBox()->currentText(), QString("t*"));
    QCOMPARE(f.results(0), QStringList({"tail", "tonight"}));
  }

  // Closing, promoting or demoting with a result focused; from the File menu and the pane menu.
  void dictionaryCommandsWithAResultFocused() {
    struct Case {
      const char* name;
      std::function<void(Fixture&)> command;
      QStringList captions;
    };
    const std::vector<Case> cases = {
        {"File > Close", [](Fixture& f) { f.input.menu('f', 'c'); }, {"second"}},
        {"File > Demote", [](Fixture& f) { f.input.menu('f', 'd'); }, {"second", "first"}},
        {"pane menu > Close",
         [](Fixture& f) {
           test::whenShown<QMenu>([&](QMenu*) { f.input.key(Qt::Key_C); });
           WindowInput::click(f.view().pane(0).caption, QPoint(-1, -1), Qt::RightButton);
         },
         {"second"}},
    };
    for (const Case& c : cases) {
      Fixture f({m_first, m_second});
      f.search("t*");
      f.clickFirstResult(0);
      c.command(f);
      QTRY_COMPARE(f.view().paneCount(), int(c.captions.size()));
      QStringList names;
      for (int i = 0; i < f.window.dictionaries().count(); ++i)
        names << QString::fromStdString(f.window.dictionaries().name(i));
      QVERIFY2(names == c.captions, c.name);
    }
  }

  // Opening a dictionary adds a pane; closing one removes only its own: the others keep their
  // results and counts.
  void openingAndClosingKeepTheOtherPanes() {
    Fixture f({m_first, m_second});
    f.search("t*");
    const QStringList first = f.results(0), second = f.results(1);
    QCOMPARE(first, QStringList({"tail", "tonight"}));
    f.prompts.chosenFiles = {m_third};
    f.input.key(Qt::Key_O, Qt::ControlModifier);
    QTRY_COMPARE(f.view().paneCount(), 3);
    QCOMPARE(f.results(0), first);
    QCOMPARE(f.results(1), second);
    QCOMPARE(f.view().pane(0).caption->text().contains("(2)"), true);
    // The new pane is active: closing it leaves the first two as they were.
    f.input.menu('f', 'c');
    QTRY_COMPARE(f.view().paneCount(), 2);
    QCOMPARE(f.results(0), first);
    QCOMPARE(f.results(1), second);
    // The first closed: the second's results move up with it.
    f.clickFirstResult(0);
    f.input.menu('f', 'c');
    QTRY_COMPARE(f.view().paneCount(), 1);
    QCOMPARE(f.results(0), second);
  }
};

}  // namespace qel

QTEST_MAIN(qel::MainWindowInputTest)
#include "MainWindowInputTest.moc"
