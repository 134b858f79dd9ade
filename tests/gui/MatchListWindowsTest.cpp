// The results list and its caption, driven with real keys and clicks: selection by keyboard and
// mouse, a drag that scrolls past the edge, the menu, copying, tooltips, a million rows, repaints
// while a search adds rows, and the caption's mnemonic, colours and clicks.
#include <QAction>
#include <QClipboard>
#include <QPaintEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolTip>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "search/ResultList.h"
#include "search/qt/MatchListLabelWindows.h"
#include "search/qt/MatchListWindows.h"

Q_DECLARE_METATYPE(std::vector<qel::ResultSelection::Run>)

namespace qel {
namespace {

using Runs = std::vector<ResultSelection::Run>;
constexpr int kWholeRows = 10;  // rows every test window shows whole, with part of one more below

// Different words for different numbers (the number in base 26), in the order of the numbers:
// ordered lists compare letters only.
std::string word(long i) {
  std::string w = "waaaaa";
  for (size_t k = w.size() - 1; i > 0; --k, i /= 26) w[k] = static_cast<char>('a' + i % 26);
  return w;
}

// A results list in a window of its own, sized to show kWholeRows rows and half of the next.
struct ListWindow {
  explicit ListWindow(long rows, ResultOrder order = ResultOrder::Discovery) {
    results.setOrder(order, false);
    for (long i = 0; i < rows; ++i) results.add(word(i), "", "", 0);
    list = new MatchListWindows(results, &window);
    // Lists compared by their pixels must have the same width, however many rows they hold.
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const int h = list->rowHeight();
    list->setGeometry(0, 0, 300, kWholeRows * h + h / 2 + 2 * list->frameWidth());
    window.resize(300, list->height());
  }
  bool show(bool focus = true) {
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) return false;
    list->updateDisplay();
    // The window gives its only focusable widget the focus; a test that wants none takes it away.
    if (focus) {
      list->setFocus();
    } else {
      list->clearFocus();
    }
    return list->hasFocus() == focus;
  }
  QWidget* viewport() const { return list->viewport(); }
  QPoint at(long row) const { return list->rowRect(row).center(); }
  void click(long row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(viewport(), Qt::LeftButton, modifiers, at(row));
  }
  const Runs& runs() { return results.selection().runs(); }
  int caret() { return results.selection().caret(); }
  // The list as it stands on the screen: what the paints left there, stale rows included.
  QImage onScreen() const {
    QCoreApplication::processEvents();
    const QPoint origin = viewport()->mapTo(&window, QPoint(0, 0));
    return window.screen()
        ->grabWindow(window.winId(), origin.x(), origin.y(), viewport()->width(),
                     viewport()->height())
        .toImage();
  }

  ResultList results;
  QWidget window;
  MatchListWindows* list;
};

// Keys as a user types them: Shift stays down across consecutive steps that use it and is
// released (which the list hears) before the first step without it, or at kReleaseShift.
constexpr QKeyCombination kReleaseShift = QKeyCombination(Qt::Key_unknown);
void type(QWidget* target, const QList<QKeyCombination>& keys) {
  bool down = false;
  auto send = [&](bool press, int key, Qt::KeyboardModifiers modifiers) {
    QTest::simulateEvent(target, press, key, modifiers, {}, false);
  };
  for (QKeyCombination key : keys + QList{kReleaseShift}) {
    const bool shift = key.keyboardModifiers() & Qt::ShiftModifier;
    if (down != shift) send(shift, Qt::Key_Shift, shift ? Qt::NoModifier : Qt::ShiftModifier);
    down = shift;
    if (key == kReleaseShift) continue;
    send(true, key.key(), key.keyboardModifiers());
    send(false, key.key(), key.keyboardModifiers());
  }
}

// Records the area of every paint the viewport receives.
class PaintRecorder : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted |= static_cast<QPaintEvent*>(event)->region();
    return false;
  }
  QRegion painted;
};

// A list showing exactly `texts`, in that order, for comparing what another list painted.
std::unique_ptr<ListWindow> reference(const std::vector<std::string>& texts, long top) {
  auto w = std::make_unique<ListWindow>(0);
  for (const std::string& t : texts) w->results.add(t, "", "", 0);
  if (!w->show(false)) return nullptr;
  w->list->verticalScrollBar()->setValue(static_cast<int>(top));
  return w;
}

constexpr QKeyCombination kShift(Qt::Key key) { return QKeyCombination(Qt::ShiftModifier, key); }
constexpr QKeyCombination kCtrl(Qt::Key key) { return QKeyCombination(Qt::ControlModifier, key); }
constexpr QKeyCombination kPlain(Qt::Key key) { return QKeyCombination(key); }

}  // namespace

// Failure messages show the runs: found by argument-dependent lookup from QCOMPARE.
char* toString(const Runs& runs) {
  QByteArray text;
  for (const ResultSelection::Run& r : runs)
    text += QByteArray::number(r.start) + "+" + QByteArray::number(r.count) + " ";
  return qstrdup(text.isEmpty() ? "none" : text.constData());
}

class MatchListWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void keysMoveTheCaretAndSelect_data();
  void keysMoveTheCaretAndSelect();
  void clicksSelect_data();
  void clicksSelect();
  void dragSelectsAndKeepsScrollingPastTheEdge();
  void rightButtonAndMenuKeysAskForTheMenu();
  void doubleClickReportsTheRow();
  void copyPutsTheSelectedTextWithThePlatformLineEnd();
  void cutRowsShowTheirWholeTextInATooltip();
  void millionRowsJumpExactlyToTheLastRow();
  void rowsAddedDuringASearchRepaintOnlyWhatMoved();
  void blockSplitsWhileRowsArriveLeaveTheScreenRight();
  void captionTextMnemonicTooltipAndClicks();
  void captionColoursFollowTheActivePaneAndFocus();
};

void MatchListWindowsTest::keysMoveTheCaretAndSelect_data() {
  QTest::addColumn<int>("start");  // the row clicked first
  QTest::addColumn<QList<QKeyCombination>>("keys");
  QTest::addColumn<Runs>("runs");
  QTest::addColumn<int>("caret");
  QTest::addColumn<int>("top");
  const Qt::Key down = Qt::Key_Down, space = Qt::Key_Space;
  QTest::newRow("Shift+Down twice from 5")
      << 5 << QList{kShift(down), kShift(down)} << Runs{{5, 3}} << 7 << 0;
  QTest::newRow("then Ctrl+Down and Ctrl+Space add 8")
      << 5 << QList{kShift(down), kShift(down), kCtrl(down), kCtrl(space)} << Runs{{5, 4}} << 8
      << 0;
  QTest::newRow("releasing Shift forgets the anchor")
      << 5 << QList{kShift(down), kReleaseShift, kShift(down)} << Runs{{6, 2}} << 7 << 0;
  QTest::newRow("Page Down: whole rows less one, then scrolls")
      << 0 << QList{kPlain(Qt::Key_PageDown), kPlain(Qt::Key_PageDown)} << Runs{{18, 1}} << 18 << 9;
  QTest::newRow("Shift+Page Down from 2")
      << 2 << QList{kShift(Qt::Key_PageDown)} << Runs{{2, 10}} << 11 << 2;
  QTest::newRow("End, then Shift+Page Up")
      << 3 << QList{kPlain(Qt::Key_End), kShift(Qt::Key_PageUp)} << Runs{{90, 10}} << 90 << 90;
  QTest::newRow("Ctrl+A") << 1 << QList{kCtrl(Qt::Key_A)} << Runs{{0, 100}} << 1 << 0;
}

void MatchListWindowsTest::keysMoveTheCaretAndSelect() {
  QFETCH(int, start);
  QFETCH(QList<QKeyCombination>, keys);
  QFETCH(Runs, runs);
  QFETCH(int, caret);
  QFETCH(int, top);
  ListWindow w(100);
  QVERIFY(w.show());
  w.click(start);
  type(w.list, keys);
  QCOMPARE(w.runs(), runs);
  QCOMPARE(w.caret(), caret);
  QCOMPARE(w.list->firstVisibleRow(), long(top));
}

void MatchListWindowsTest::clicksSelect_data() {
  QTest::addColumn<QList<int>>("rows");
  QTest::addColumn<QList<int>>("modifiers");  // Qt::KeyboardModifiers of each click
  QTest::addColumn<Runs>("runs");
  QTest::addColumn<int>("caret");
  const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
  QTest::newRow("click") << QList{1, 3} << QList{0, 0} << Runs{{3, 1}} << 3;
  QTest::newRow("Shift-click extends from the caret")
      << QList{3, 1} << QList{0, shift} << Runs{{1, 3}} << 1;
  QTest::newRow("Shift held: the anchor stays")
      << QList{1, 4, 2} << QList{0, shift, shift} << Runs{{1, 2}} << 2;
  QTest::newRow("Ctrl-click adds") << QList{1, 4} << QList{0, ctrl} << Runs{{1, 1}, {4, 1}} << 4;
  QTest::newRow("a plain click after Shift starts again")
      << QList{1, 3, 0} << QList{0, shift, 0} << Runs{{0, 1}} << 0;
  QTest::newRow("below the last row: nothing") << QList{2, 7} << QList{0, 0} << Runs{{2, 1}} << 2;
}

void MatchListWindowsTest::clicksSelect() {
  QFETCH(QList<int>, rows);
  QFETCH(QList<int>, modifiers);
  QFETCH(Runs, runs);
  QFETCH(int, caret);
  ListWindow w(5);
  QVERIFY(w.show());
  w.list->clearFocus();
  for (int i = 0; i < rows.size(); ++i) {
    w.click(rows[i], Qt::KeyboardModifiers(modifiers[i]));
  }
  QVERIFY(w.list->hasFocus());
  QCOMPARE(w.runs(), runs);
  QCOMPARE(w.caret(), caret);
}

void MatchListWindowsTest::dragSelectsAndKeepsScrollingPastTheEdge() {
  ListWindow w(200);
  QVERIFY(w.show());
  QTest::mousePress(w.viewport(), Qt::LeftButton, {}, w.at(2));
  QTest::keyClick(w.list, Qt::Key_End);  // keys wait while the mouse selects
  QCOMPARE(w.caret(), 2);
  QTest::mouseMove(w.viewport(), w.at(5));
  QCOMPARE(w.caret(), 5);
  QVERIFY(w.results.selection().isShownSelected(4));
  // Resting below the list, the drag goes on scrolling without any further move.
  const QPoint below(10, w.viewport()->height() + 3);
  QTest::mouseMove(w.viewport(), below);
  QTRY_VERIFY(w.list->firstVisibleRow() >= 20);
  QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, below);
  const int caret = w.caret();
  QCOMPARE(long(caret), w.list->firstVisibleRow() + kWholeRows - 1);  // the last whole row
  QCOMPARE(w.runs(), (Runs{{2, caret - 1}}));

  // Above the list it scrolls back; Ctrl deselects the rows it drags over.
  QTest::mousePress(w.viewport(), Qt::LeftButton, Qt::ControlModifier, w.at(caret - 1));
  QTest::mouseMove(w.viewport(), QPoint(10, -3));
  QTRY_COMPARE(w.list->firstVisibleRow(), 0L);
  QTest::mouseRelease(w.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(10, -3));
  QCOMPARE(w.caret(), 0);
  QCOMPARE(w.runs(), (Runs{{caret, 1}}));
}

void MatchListWindowsTest::rightButtonAndMenuKeysAskForTheMenu() {
  ListWindow w(5);
  QVERIFY(w.show());
  QSignalSpy menu(w.list, &MatchListWindows::menuRequested);
  w.click(1);
  w.click(3, Qt::ShiftModifier);
  auto rightClick = [&](int row, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(w.viewport(), Qt::RightButton, modifiers, w.at(row));
  };
  rightClick(2);  // a selected row keeps the selection
  QCOMPARE(w.runs(), (Runs{{1, 3}}));
  QCOMPARE(menu.count(), 1);
  QCOMPARE(menu.at(0).at(0).toPoint(), w.viewport()->mapToGlobal(w.at(2)));
  QCOMPARE(menu.at(0).at(1).toBool(), true);
  rightClick(4, Qt::ControlModifier);  // with Ctrl or Shift the selection stays
  QCOMPARE(w.runs(), (Runs{{1, 3}}));
  rightClick(7);  // below the last row
  QCOMPARE(w.runs(), (Runs{{1, 3}}));
  QCOMPARE(menu.last().at(1).toBool(), false);
  rightClick(4);
  QCOMPARE(w.runs(), (Runs{{4, 1}}));
  QCOMPARE(w.caret(), 4);
  QCOMPARE(menu.count(), 4);
  // While the left button makes a selection the right one does nothing.
  QTest::mousePress(w.viewport(), Qt::LeftButton, {}, w.at(0));
  rightClick(2);
  QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, w.at(0));
  QCOMPARE(w.runs(), (Runs{{0, 1}}));
  QCOMPARE(menu.count(), 4);
  // From the keyboard: at the list's corner, once per key.
  QTest::keyClick(w.list, Qt::Key_Menu);
  QTest::keyClick(w.list, Qt::Key_F10, Qt::ShiftModifier);
  QTest::keyClick(w.list, Qt::Key_F10);
  QCoreApplication::processEvents();
  QCOMPARE(menu.count(), 6);
  QCOMPARE(menu.last().at(0).toPoint(), w.list->mapToGlobal(QPoint(0, 0)));
  QCOMPARE(menu.last().at(1).toBool(), true);
}

void MatchListWindowsTest::doubleClickReportsTheRow() {
  ListWindow w(5);
  QVERIFY(w.show());
  QSignalSpy doubled(w.list, &MatchListWindows::resultDoubleClicked);
  w.click(4, Qt::ShiftModifier);
  QTest::mouseDClick(w.viewport(), Qt::LeftButton, Qt::ShiftModifier, w.at(4));
  QCOMPARE(doubled.count(), 1);
  QCOMPARE(doubled.at(0).at(0).value<long>(), 4L);
  QCOMPARE(doubled.at(0).at(1).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
  QTest::mouseDClick(w.viewport(), Qt::LeftButton, {}, w.at(8));
  QCOMPARE(doubled.count(), 1);
  // The view may open a window that takes the second release: the keys must still work.
  QTest::keyClick(w.list, Qt::Key_Up);
  QCOMPARE(w.runs(), (Runs{{3, 1}}));
}

void MatchListWindowsTest::copyPutsTheSelectedTextWithThePlatformLineEnd() {
#ifdef Q_OS_WIN
  const QString lineEnd = "\r\n";
#else
  const QString lineEnd = "\n";
#endif
  ListWindow w(0);
  w.results.add("tonight", " night owl", " +ht", 0);
  w.results.add("caf\xE9", "", " -\x80", 0);  // code page 1252: e acute, euro sign
  w.results.add("ox", "", "", 0);
  QVERIFY(w.show());
  // A window shortcut on the same keys must not take them from the focused list.
  QAction windowCopy(&w.window);
  windowCopy.setShortcuts({QKeySequence::Copy, QKeySequence::SelectAll});
  w.window.addAction(&windowCopy);
  QSignalSpy stolen(&windowCopy, &QAction::triggered);
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText("before");
  QTest::keyClick(w.list, Qt::Key_C, Qt::ControlModifier);  // nothing selected yet
  QCOMPARE(clipboard->text(), QString("before"));
  w.click(1);
  QTest::keyClick(w.list, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(clipboard->text(), QString::fromUtf8("café -€"));
  QTest::keyClick(w.list, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(w.list, Qt::Key_Insert, Qt::ControlModifier);
  QCOMPARE(clipboard->text(), "tonight night owl +ht" + lineEnd + QString::fromUtf8("café -€") +
                                  lineEnd + "ox" + lineEnd);
  QCOMPARE(stolen.count(), 0);
}

void MatchListWindowsTest::cutRowsShowTheirWholeTextInATooltip() {
  ListWindow w(0);
  const std::string note(60, 'n');
  w.results.add("tonight", " " + note, "", 0);
  for (int i = 0; i < kWholeRows; ++i) w.results.add("ox", "", "", 0);  // the last only in part
  QVERIFY(w.show());
  auto tipAt = [&](long row) {
    QToolTip::hideText();  // after a short delay
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); })) return QString("(stays)");
    const QPoint pos = w.list->rowRect(row).topLeft() + QPoint(5, 2);
    QHelpEvent help(QEvent::ToolTip, pos, w.viewport()->mapToGlobal(pos));
    QCoreApplication::sendEvent(w.viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  QCOMPARE(tipAt(0), QString::fromStdString("tonight " + note));
  QCOMPARE(tipAt(1), QString());
  QCOMPARE(tipAt(kWholeRows), QString("ox"));
  QCOMPARE(tipAt(kWholeRows + 1), QString());  // no row there
}

void MatchListWindowsTest::millionRowsJumpExactlyToTheLastRow() {
  constexpr long kRows = 1000000;
  ListWindow w(kRows);
  QVERIFY(w.show());
  QTest::keyClick(w.list, Qt::Key_End);
  QScrollBar* bar = w.list->verticalScrollBar();
  QCOMPARE(long(w.caret()), kRows - 1);
  QCOMPARE(w.list->firstVisibleRow(), kRows - kWholeRows);
  QCOMPARE(bar->value(), bar->maximum());
  QVERIFY(w.list->rowRect(kRows - 1).bottom() < w.viewport()->height());
  // Back to the top (the caret alone) and down again by the scroll bar: the same place.
  QTest::keyClick(w.list, Qt::Key_Home, Qt::ControlModifier);
  QCOMPARE(w.list->firstVisibleRow(), 0L);
  bar->setValue(bar->maximum());
  QCOMPARE(w.list->firstVisibleRow(), kRows - kWholeRows);
  QCOMPARE(w.list->rowAt(w.at(kRows - 1)), kRows - 1);

  // What it painted: the last ten words, the very last one selected.
  w.list->clearFocus();
  const QImage painted = w.onScreen();
  std::vector<std::string> last;
  for (long i = kRows - kWholeRows; i < kRows; ++i) last.push_back(word(i));
  auto expected = reference(last, 0);
  QVERIFY(expected);
  expected->results.selection().selectOnly(kWholeRows - 1);
  expected->list->refresh();
  QCOMPARE(painted, expected->onScreen());
}

void MatchListWindowsTest::rowsAddedDuringASearchRepaintOnlyWhatMoved() {
  ListWindow w(0, ResultOrder::Ascending);
  for (const char* e : {"b", "d", "f", "h", "j", "l", "n", "p", "r", "t", "v", "x"}) {
    w.results.add(e, "", "", 0);
  }
  QVERIFY(w.show(false));
  PaintRecorder recorder;
  w.viewport()->installEventFilter(&recorder);
  const int h = w.list->rowHeight();
  auto paintedAfter = [&](const char* entry) {
    QCoreApplication::processEvents();
    recorder.painted = QRegion();
    w.results.add(entry, "", "", 0);
    w.list->updateDisplay();
    QCoreApplication::processEvents();
    return recorder.painted;
  };
  QVERIFY(paintedAfter("y").isEmpty());  // row 12: out of view
  const QRegion g = paintedAfter("g");   // row 3: rows 3 and below moved
  QVERIFY(!g.isEmpty());
  QCOMPARE(g.boundingRect().top(), 3 * h);
  QVERIFY(g.boundingRect().bottom() >= w.viewport()->height() - 1);
  QCOMPARE(w.list->verticalScrollBar()->maximum(), 14 - kWholeRows);
  // A cleared list starts again at the top.
  w.list->verticalScrollBar()->setValue(4);
  w.results.clear();
  w.results.add("a", "", "", 0);
  w.list->updateDisplay();
  QCOMPARE(w.list->firstVisibleRow(), 0);
  QCOMPARE(w.list->verticalScrollBar()->maximum(), 0);
}

void MatchListWindowsTest::blockSplitsWhileRowsArriveLeaveTheScreenRight() {
  // Rows arrive in random order into a sorted list and blocks split at 512 while the list is
  // painted between arrivals; what stays on the screen must be the sorted rows, not stale ones.
  ListWindow w(0, ResultOrder::Ascending);
  QVERIFY(w.show(false));
  const int top = 250;  // across the first split's boundary at 256
  std::vector<std::string> entries;
  for (long i = 0; i < 1500; ++i) entries.push_back(word(i * 7));
  std::mt19937 random(3);
  std::shuffle(entries.begin(), entries.end(), random);
  for (size_t i = 0; i < entries.size(); ++i) {
    w.results.add(entries[i], "", "", 0);
    if (i == entries.size() / 2) w.results.selection().setRange(top + 2, top + 4, true);
    if (i % 37 == 0) {
      w.list->updateDisplay();
      w.list->verticalScrollBar()->setValue(top);
      QCoreApplication::processEvents();
    }
  }
  w.list->updateDisplay();
  QVERIFY(w.results.blockCount() > 2);
  QCOMPARE(w.list->firstVisibleRow(), long(top));
  const QImage painted = w.onScreen();
  std::sort(entries.begin(), entries.end());
  auto expected = reference(entries, top);
  QVERIFY(expected);
  // The selection moved with the rows it was made on; the reference shows the same rows.
  for (const ResultSelection::Run& run : w.results.selection().runs()) {
    expected->results.selection().setRange(run.start, run.start + run.count - 1, true);
  }
  expected->list->refresh();
  QCOMPARE(painted, expected->onScreen());
}

void MatchListWindowsTest::captionTextMnemonicTooltipAndClicks() {
  QWidget window;
  ResultList first, second;
  MatchListWindows* lists[] = {new MatchListWindows(first, &window),
                               new MatchListWindows(second, &window)};
  MatchListLabelWindows* captions[] = {new MatchListLabelWindows(lists[0], &window),
                                       new MatchListLabelWindows(lists[1], &window)};
  for (int i = 0; i < 2; ++i) {
    captions[i]->setGeometry(0, i * 100, 200, captions[i]->sizeHint().height());
    lists[i]->setGeometry(0, i * 100 + 20, 200, 70);
  }
  captions[0]->setIndexAndName(1, "Words");
  captions[1]->setIndexAndName(2, "Big & Small");
  QCOMPARE(captions[1]->text(), QString(" &2 Big && Small"));
  captions[1]->setCount(41);
  QCOMPARE(captions[1]->text(), QString(" &2 Big && Small (41)"));
  captions[0]->setDescription("");
  QVERIFY(captions[0]->toolTip().isEmpty());
  captions[1]->setDescription("British English, huge");
  QCOMPARE(captions[1]->toolTip(), QString("British English, huge"));

  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  QSignalSpy gained(lists[1], &MatchListWindows::focusGained);
  QTest::keyClick(&window, Qt::Key_2, Qt::AltModifier);
  QTRY_VERIFY(lists[1]->hasFocus());
  QCOMPARE(gained.count(), 1);
  QTest::keyClick(&window, Qt::Key_1, Qt::AltModifier);
  QTRY_VERIFY(lists[0]->hasFocus());

  QSignalSpy doubled(captions[1], &MatchListLabelWindows::doubleClicked);
  QSignalSpy menu(captions[1], &MatchListLabelWindows::menuRequested);
  QTest::mouseClick(captions[1], Qt::LeftButton, {}, QPoint(20, 5));
  QVERIFY(lists[1]->hasFocus());
  QTest::mouseDClick(captions[1], Qt::LeftButton, {}, QPoint(20, 5));
  QCOMPARE(doubled.count(), 1);
  QTest::mouseClick(captions[1], Qt::RightButton, {}, QPoint(30, 5));
  QCOMPARE(menu.count(), 1);
  QCOMPARE(menu.at(0).at(0).toPoint(), captions[1]->mapToGlobal(QPoint(30, 5)));
}

void MatchListWindowsTest::captionColoursFollowTheActivePaneAndFocus() {
  QWidget window;
  ResultList results;
  auto* list = new MatchListWindows(results, &window);
  auto* other = new MatchListWindows(results, &window);
  auto* caption = new MatchListLabelWindows(list, &window);
  caption->setIndexAndName(1, "Words");
  list->move(0, 30);
  other->move(0, 150);
  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  const QPalette normal = window.palette();
  auto background = [&] {
    return caption->autoFillBackground() ? caption->palette().color(QPalette::Window) : QColor();
  };
  list->setFocus();
  caption->setActive(true);
  QCOMPARE(background(), normal.color(QPalette::Active, QPalette::Highlight));
  QCOMPARE(caption->palette().color(QPalette::WindowText),
           normal.color(QPalette::Active, QPalette::HighlightedText));
  // The list loses the focus: the caption notices by itself and stays marked, but less.
  other->setFocus();
  QTRY_VERIFY(background() != normal.color(QPalette::Active, QPalette::Highlight));
  QVERIFY(background().isValid());
  QVERIFY(background() != normal.color(QPalette::Window));
  list->setFocus();
  QTRY_COMPARE(background(), normal.color(QPalette::Active, QPalette::Highlight));
  caption->setActive(false);
  QVERIFY(!background().isValid());
  QCOMPARE(caption->palette().color(QPalette::WindowText), normal.color(QPalette::WindowText));
}

}  // namespace qel

QTEST_MAIN(qel::MatchListWindowsTest)
#include "MatchListWindowsTest.moc"
