// The main view driven as a user drives it: typing, the Search button, Stop and Resume, Escape,
// Shortest and Longest, the panes' layout and splitters, and dictionaries that go bad.
#include <unistd.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "search/SearchSession.h"
#include "search/qt/QELViewWindows.h"
#include "support/RecordingPrompts.h"
#include "support/TestDictionaries.h"
#include "support/WindowInput.h"

namespace qel {

class QELViewWindowsTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir m_dir;
  std::string m_first, m_second, m_big;

  static QStringList texts(const ResultList& results) {
    QStringList out;
    for (long i = 0; i < results.count(); ++i)
      out << QString::fromLatin1(results.record(i)->text());
    return out;
  }

  // Runs the event loop until the view is no longer searching.
  static void waitForSearch(QELViewWindows& view) {
    QTRY_VERIFY_WITH_TIMEOUT(view.state() != SearchState::Searching, 20000);
  }

  // Typed as a person types: a click in the box, the old text selected and deleted, then the keys.
  static void typePattern(QELViewWindows& view, const QString& pattern) {
    test::WindowInput input(view);
    test::WindowInput::click(view.patternBox());
    input.retype(pattern);
  }

  static void press(QELViewWindows& view, int key) { test::WindowInput(view).key(key); }

  // A value typed into a length box, then Tab, which finishes the edit.
  static void typeLength(QELViewWindows& view, QSpinBox* box, int value) {
    test::WindowInput input(view);
    test::WindowInput::click(box);
    input.key(Qt::Key_A, Qt::ControlModifier);
    input.type(QString::number(value));
    input.key(Qt::Key_Tab);
  }

 private slots:
  void initTestCase() {
    m_first = m_dir.file("first.qcd");
    m_second = m_dir.file("second.qcd");
    QVERIFY(
        test::buildTestDictionary(m_first, {"electron", "election", "tail", "Charlie", "tail-end",
                                            "tonight", "toting", "abcdefghi", "mountain"}));
    QVERIFY(test::buildTestDictionary(m_second, {"electron", "elation", "tall", "plankton"}));
    m_big = m_dir.file("big.qcd");
    std::vector<std::string> lines;
    const auto words = test::systemWordList();
    for (size_t i = 0; i < words.size(); i += 3) {
      if (words[i].find_first_of(":;|+\\") == std::string::npos) lines.push_back(words[i]);
    }
    if (lines.empty()) lines = {"electron", "election"};
    QVERIFY(test::buildTestDictionary(m_big, lines));
  }

  void emptyPatternAsksForHelpAndDisablesSearch() {
    QCDictionaryList list(m_first);
    QELViewWindows view;
    view.setDictionaries(&list);
    QCOMPARE(view.state(), SearchState::NoPattern);
    QCOMPARE(view.statusText(), QString("Press F1 for help"));
    QVERIFY(!view.searchButton()->isEnabled());
    typePattern(view, ".l...r.n");
    QCOMPARE(view.state(), SearchState::Ready);
    // The Quick Reference example, run from the keyboard.
    press(view, Qt::Key_Return);
    waitForSearch(view);
    QCOMPARE(texts(view.session()->pane(0).results), QStringList({"electron"}));
    QVERIFY(view.searchButton()->isEnabled());
    QCOMPARE(view.statusText(),
             QString("Pattern is valid - press the return key to start searching"));
    typePattern(view, "abc]");
    QCOMPARE(view.statusText(), QString("first: A ] can only appear at the end of a choice list"));
  }

  void shortestAndLongestStayInOrder() {
    QCDictionaryList list(m_first);
    QELViewWindows view;
    view.setDictionaries(&list);
    typePattern(view, "*");
    view.setShortestLongest(3, 8);
    auto* shortest = view.findChildren<QSpinBox*>().at(0);
    auto* longest = view.findChildren<QSpinBox*>().at(1);
    typeLength(view, shortest, 9);
    QCOMPARE(longest->value(), 9);
    typeLength(view, longest, 4);
    QCOMPARE(shortest->value(), 4);
    // A number typed digit by digit is taken whole: "12" does not pass through "1".
    view.setShortestLongest(5, 8);
    typeLength(view, longest, 12);
    QCOMPARE(shortest->value(), 5);
    QCOMPARE(longest->value(), 12);
    // The step buttons' keys keep the order as well.
    test::WindowInput::click(shortest);
    for (int presses = 0; shortest->value() <= 12; ++presses) {
      QVERIFY2(presses < 31, "Up in Shortest stopped raising it");
      press(view, Qt::Key_Up);
    }
    QCOMPARE(longest->value(), shortest->value());
    view.setShortestLongest(1, 8);
    typePattern(view, ".........*");
    QCOMPARE(view.statusText(),
             QString("Shortest/Longest settings stop the pattern being matched"));
    QVERIFY(!view.searchButton()->isEnabled());
  }

  // A Quick Reference example typed and run; stopped and resumed in the middle, the results are
  // those of a search run straight through the core.
  void searchStopResumeGivesTheUninterruptedResults() {
    const std::string listText = m_big + ";" + m_first;
    std::vector<QStringList> straight;
    {
      QCDictionaryList list(listText);
      SearchSession session(list);
      SearchSettings s;
      QCOMPARE(session.validate("*", s).state, SearchState::Ready);
      QVERIFY(session.start());
      while (session.step()) {
      }
      for (int i = 0; i < session.paneCount(); ++i)
        straight.push_back(texts(session.pane(i).results));
    }
    QCDictionaryList list(listText);
    QELViewWindows view;
    view.resize(700, 500);
    view.setDictionaries(&list);
    typePattern(view, "*");
    // Stop is clicked once the first slice of the search has run.
    QTimer::singleShot(0, &view, [&view] {
      QCOMPARE(view.state(), SearchState::Searching);
      QCOMPARE(view.searchButton()->text(), QString("&Stop"));
      QVERIFY(!view.patternBox()->isEnabled());
      test::WindowInput::click(view.searchButton());
    });
    press(view, Qt::Key_Return);
    QTRY_COMPARE(view.state(), SearchState::Paused);
    QCOMPARE(view.searchButton()->text(), QString("Re&sume"));
    QCOMPARE(view.statusText(), QString("Searching paused - click on Continue to resume"));
    const long partial = view.session()->pane(0).results.count();
    QVERIFY(partial < static_cast<long>(straight[0].size()));
    test::WindowInput::click(view.searchButton());  // Resume
    waitForSearch(view);
    QCOMPARE(view.state(), SearchState::Ready);
    QVERIFY(view.session()->pane(0).results.count() >= partial);
    QCOMPARE(texts(view.session()->pane(0).results), straight[0]);
    QCOMPARE(texts(view.session()->pane(1).results), straight[1]);
    QCOMPARE(view.pane(0).displayedCount, view.session()->pane(0).results.count());
    QCOMPARE(view.patternBox()->itemText(0), QString("*"));
  }

  void escapePausesAndTypingStartsAfresh() {
    QCDictionaryList list(m_big);
    QELViewWindows view;
    view.setDictionaries(&list);
    typePattern(view, "*");
    // Escape comes once the first slice of the search has run (its words may be in memory from
    // an earlier test, and all of it quick).
    QTimer::singleShot(0, &view, [&view] {
      QCOMPARE(view.state(), SearchState::Searching);
      press(view, Qt::Key_Escape);
    });
    press(view, Qt::Key_Return);
    QTRY_COMPARE(view.state(), SearchState::Paused);
    typePattern(view, "*s");
    QCOMPARE(view.state(), SearchState::Ready);
    press(view, Qt::Key_Return);
    waitForSearch(view);
    for (const QString& t : texts(view.session()->pane(0).results))
      QVERIFY2(t.endsWith('s') || t.endsWith('S'), qPrintable(t));
  }

  void closingDuringASearchWaitsForTheStep() {
    QCDictionaryList list(m_big);
    QELViewWindows view;
    view.setDictionaries(&list);
    typePattern(view, "*");
    QSignalSpy closing(&view, &QELViewWindows::closeRequested);
    bool refused = false;
    QTimer::singleShot(0, &view, [&] { refused = !view.canClose(); });
    press(view, Qt::Key_Return);
    QTRY_COMPARE(closing.count(), 1);
    QVERIFY(refused);
    QCOMPARE(view.state(), SearchState::Closing);
  }

  void fullTextSkipsADictionaryWithoutDefinitions() {
    const std::string defined = m_dir.file("defined.qcd");
    QVERIFY(test::buildTestDictionary(defined, {"electron|a particle with negative charge"}));
    QCDictionaryList list(m_first + ";" + defined);
    QELViewWindows view;
    view.setDictionaries(&list);
    view.setFullText(true);
    QCOMPARE(view.searchButton()->text(), QString("Full Text &Search"));
    typePattern(view, "particle");
    press(view, Qt::Key_Return);
    waitForSearch(view);
    QCOMPARE(view.session()->pane(0).results.count(), 0);
    QCOMPARE(view.session()->pane(1).results.count(), 1);
  }

  // Three panes share an area of 600 equally; stored proportions scale; splitters keep ten gaps.
  void panesFollowTheStoredProportionsAndTheSplitter() {
    QCDictionaryList list(m_first + ";" + m_second + ";" + m_big);
    QELViewWindows view;
    QString stored;
    view.setProportionsStore([&](int) { return stored; },
                             [&](int, const QString& text) { stored = text; });
    view.setDictionaries(&list);
    view.resize(600, 700);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const int gap = view.gap();
    const int extent = view.paneRect(2).bottom() + 1 + gap - view.paneRect(0).top();
    for (int i = 0; i < 3; ++i)
      QVERIFY(std::abs(view.paneRect(i).height() + gap - extent / 3) <= 1);
    // Drag the second pane's splitter up by 50 pixels.
    const QPoint grip(300, view.paneRect(1).top() - gap / 2 - 1);
    QTest::mousePress(&view, Qt::LeftButton, {}, grip);
    QTest::mouseMove(&view, grip - QPoint(0, 50));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, grip - QPoint(0, 50));
    QVERIFY(!stored.isEmpty());
    QVERIFY(view.paneRect(0).height() < extent / 3 - gap - 40);
    // Not closer than ten gaps to the previous pane's edge.
    const QPoint grip2(300, view.paneRect(1).top() - gap / 2 - 1);
    QTest::mousePress(&view, Qt::LeftButton, {}, grip2);
    QTest::mouseMove(&view, QPoint(300, view.paneRect(0).top() + 2));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(300, view.paneRect(0).top() + 2));
    QVERIFY(view.paneRect(1).top() - view.paneRect(0).top() >= 10 * gap);
    // Side by side, the same rules run across.
    view.setOrientation(1);
    QVERIFY(view.paneRect(1).left() > view.paneRect(0).right());
  }

  void aDictionaryThatGoesBadIsReportedAndBlocksTheSearch() {
    const std::string doomed = m_dir.file("doomed.qcd");
    QVERIFY(test::buildTestDictionary(doomed, {"electron", "election"}));
    QCDictionaryList list(m_first + ";" + doomed);
    test::RecordingPrompts prompts;
    QELViewWindows view;
    view.setDictionaries(&list);
    typePattern(view, "ele*");
    QCOMPARE(view.state(), SearchState::Ready);
    test::writeFile(doomed, "not a dictionary at all");
    typePattern(view, "elec*");
    QCOMPARE(view.state(), SearchState::NoPattern);
    QVERIFY(!view.searchButton()->isEnabled());
    QCOMPARE(prompts.shown.size(), 1);
    QVERIFY(
        prompts.shown[0].startsWith("Dictionary Invalidated: " + QString::fromStdString(doomed)));
    QVERIFY(prompts.shown[0].endsWith("\nis no longer a valid QEL&Corvanth Dictionary File"));
  }

  // Nothing typed into the pattern box can crash or hang the view.
  void oddPatternsAreValidatedQuickly() {
    QCDictionaryList list(m_first);
    QELViewWindows view;
    view.setDictionaries(&list);
    for (const QString& pattern :
         {QString(2000, '('), QString(5000, '@'), QString("\\"), QString("€ß∑"),
          QString(";") + QString(200, '1'), QString("!(!(!(a|b)&c)|d)"), QString(300, '&')}) {
      typePattern(view, pattern.left(300));
      QVERIFY(view.state() == SearchState::NoPattern || view.state() == SearchState::Ready);
    }
  }
};

}  // namespace qel

QTEST_MAIN(qel::QELViewWindowsTest)
#include "QELViewWindowsTest.moc"
