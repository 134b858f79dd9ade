// The progress bar: a ruler whose segments follow each length's share of the entries, in the
// order the search visits them; fill that follows a real search; repaints only on a changed
// pixel; Full Text Search without a ruler; numbers that never collide; the fill's colour.
#include <QImage>
#include <QPaintEvent>
#include <QtTest>
#include <memory>
#include <string>
#include <vector>

#include "dictionary/QCDictionaryList.h"
#include "search/SearchSession.h"
#include "search/qt/QELProgressBar.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

// `count` different words of `length` letters: the letters spell the word's number in base 26.
std::vector<std::string> words(int length, int count) {
  std::vector<std::string> out;
  for (int n = 0; n < count; ++n) {
    std::string word(length, 'a');
    for (int i = length - 1, rest = n; i >= 0 && rest > 0; --i, rest /= 26) word[i] += rest % 26;
    out.push_back(word);
  }
  return out;
}

std::vector<std::string> dictionaryLines(const std::vector<std::pair<int, int>>& lengthCounts) {
  std::vector<std::string> lines;
  for (const auto& [length, count] : lengthCounts) {
    const std::vector<std::string> some = words(length, count);
    lines.insert(lines.end(), some.begin(), some.end());
  }
  return lines;
}

// Records the area of every paint the widget receives.
class PaintCounter : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) areas.push_back(static_cast<QPaintEvent*>(event)->rect());
    return false;
  }
  std::vector<QRect> areas;
};

QRect insideFrame(const QWidget& widget) { return widget.rect().adjusted(2, 2, -2, -2); }

int nearestPixel(int width, long part, long total) {
  return static_cast<int>((2LL * width * part + total) / (2LL * total));
}

}  // namespace

class QELProgressBarTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void segmentsFollowEntryShares_data();
  void segmentsFollowEntryShares();
  void fillCountsTheLengthsAlreadyVisited_data();
  void fillCountsTheLengthsAlreadyVisited();
  void fillFollowsARealSearch_data();
  void fillFollowsARealSearch();
  void repaintsOnlyWhenTheFillGainsAPixel_data();
  void repaintsOnlyWhenTheFillGainsAPixel();
  void fullTextSearchHasNoRuler();
  void numbersKeepClearOfEachOther_data();
  void numbersKeepClearOfEachOther();
  void fillIsDrawnInTheHighlightColour();

 private:
  test::TempDir m_dir;
  // Lengths 3, 4, 5 and 7 with 100, 300, 600 and 1000 entries; none of 6.
  std::unique_ptr<QCDictionaryList> m_list;
  // Lengths 1 to 19 with 10 entries each, and one entry of 20 letters.
  std::unique_ptr<QCDictionaryList> m_crowded;
};

void QELProgressBarTest::initTestCase() {
  const std::string path = m_dir.file("lengths.qcd");
  QVERIFY(
      test::buildTestDictionary(path, dictionaryLines({{3, 100}, {4, 300}, {5, 600}, {7, 1000}})));
  m_list = std::make_unique<QCDictionaryList>(path);
  QCOMPARE(m_list->entryCount(0, 3), 100L);
  QCOMPARE(m_list->entryCount(0, 4), 300L);
  QCOMPARE(m_list->entryCount(0, 5), 600L);
  QCOMPARE(m_list->entryCount(0, 6), 0L);
  QCOMPARE(m_list->entryCount(0, 7), 1000L);

  std::vector<std::pair<int, int>> crowded;
  for (int length = 1; length <= 19; ++length) crowded.push_back({length, 10});
  crowded.push_back({20, 1});
  const std::string crowdedPath = m_dir.file("crowded.qcd");
  QVERIFY(test::buildTestDictionary(crowdedPath, dictionaryLines(crowded)));
  m_crowded = std::make_unique<QCDictionaryList>(crowdedPath);
  QCOMPARE(m_crowded->entryCount(0, 20), 1L);
}

void QELProgressBarTest::segmentsFollowEntryShares_data() {
  QTest::addColumn<int>("shortest");
  QTest::addColumn<int>("longest");
  QTest::addColumn<int>("step");
  QTest::addColumn<QList<int>>("lengths");
  QTest::addColumn<int>("width");
  QTest::newRow("ascending") << 1 << 31 << 1 << QList<int>{3, 4, 5, 7} << 400;
  QTest::newRow("descending, longest at the left")
      << 1 << 31 << -1 << QList<int>{7, 5, 4, 3} << 400;
  QTest::newRow("Shortest/Longest narrow it") << 4 << 5 << 1 << QList<int>{4, 5} << 400;
  QTest::newRow("a length without entries has no segment")
      << 5 << 7 << -1 << QList<int>{7, 5} << 400;
  QTest::newRow("wide") << 1 << 31 << 1 << QList<int>{3, 4, 5, 7} << 1733;
}

void QELProgressBarTest::segmentsFollowEntryShares() {
  QFETCH(int, shortest);
  QFETCH(int, longest);
  QFETCH(int, step);
  QFETCH(QList<int>, lengths);
  QFETCH(int, width);
  QELProgressBar bar;
  bar.resize(width, bar.sizeHint().height());
  bar.setDictionary(m_list.get(), 0, shortest, longest, step);

  QVERIFY(bar.hasRuler());
  QCOMPARE(bar.firstLength(), lengths.front());
  QCOMPARE(bar.lastLength(), lengths.back());
  long total = 0;
  for (int length : lengths) total += m_list->entryCount(0, length);
  QCOMPARE(bar.total(), total);
  QCOMPARE(bar.filledWidth(), 0);

  const QRect barRect = bar.barRect();
  QVERIFY(insideFrame(bar).contains(barRect));
  QVERIFY(barRect.width() > width / 2);
  const auto& segments = bar.segments();
  QCOMPARE(static_cast<int>(segments.size()), static_cast<int>(lengths.size()));
  QCOMPARE(segments.front().left, barRect.left());
  QCOMPARE(segments.back().right, barRect.left() + barRect.width());
  for (size_t k = 0; k < segments.size(); ++k) {
    QCOMPARE(segments[k].length, lengths[k]);
    QCOMPARE(segments[k].entries, m_list->entryCount(0, lengths[k]));
    if (k > 0) QCOMPARE(segments[k].left, segments[k - 1].right);
    const double share = double(barRect.width()) * segments[k].entries / total;
    QVERIFY2(std::abs((segments[k].right - segments[k].left) - share) <= 1.0,
             qPrintable(QString("length %1: %2 pixels for a share of %3")
                            .arg(segments[k].length)
                            .arg(segments[k].right - segments[k].left)
                            .arg(share)));
  }
}

void QELProgressBarTest::fillCountsTheLengthsAlreadyVisited_data() {
  QTest::addColumn<int>("step");
  QTest::addColumn<int>("currentLength");
  QTest::addColumn<long>("position");
  QTest::addColumn<long>("done");
  QTest::newRow("ascending, at 5: 3 and 4 passed") << 1 << 5 << 50L << 400L;
  QTest::newRow("ascending, at 6: 3, 4 and 5 passed") << 1 << 6 << 0L << 1000L;
  QTest::newRow("descending, at 5: 7 passed") << -1 << 5 << 50L << 1000L;
  QTest::newRow("descending, at 7: nothing passed") << -1 << 7 << 999L << 0L;
  QTest::newRow("ascending, no length yet") << 1 << 0 << 0L << 0L;
  QTest::newRow("descending, no length yet") << -1 << 0 << 0L << 0L;
}

void QELProgressBarTest::fillCountsTheLengthsAlreadyVisited() {
  QFETCH(int, step);
  QFETCH(int, currentLength);
  QFETCH(long, position);
  QFETCH(long, done);
  QELProgressBar bar;
  bar.resize(500, bar.sizeHint().height());
  bar.setDictionary(m_list.get(), 0, 1, 31, step, currentLength, position);
  QCOMPARE(bar.doneCount(), done);
  QCOMPARE(bar.filledWidth(), nearestPixel(bar.barRect().width(), done + position, 2000));
}

void QELProgressBarTest::fillFollowsARealSearch_data() {
  QTest::addColumn<bool>("ascending");
  QTest::addColumn<int>("firstLength");
  QTest::newRow("ascending") << true << 3;
  QTest::newRow("descending") << false << 7;
}

// The bar's own count of the lengths passed must agree with the session's count of entries
// examined, or the fill would jump at each change of length.
void QELProgressBarTest::fillFollowsARealSearch() {
  QFETCH(bool, ascending);
  QFETCH(int, firstLength);
  SearchSettings settings;
  settings.lengthGroupingAscending = ascending;
  SearchSession session(*m_list);
  QCOMPARE(session.validate("*", settings).state, SearchState::Ready);
  QELProgressBar bar;
  bar.resize(600, bar.sizeHint().height());
  bar.showSession(m_list.get(), session, 0, false);
  QCOMPARE(bar.firstLength(), firstLength);
  QCOMPARE(bar.filledWidth(), 0);

  QVERIFY(session.start());
  int previous = 0;
  int lengthsSeen = 0;
  int lastLength = 0;
  while (session.step()) {
    bar.showSession(m_list.get(), session, 0, false);
    const SearchSession::Progress progress = session.progress();
    if (progress.pane < 0) break;
    QCOMPARE(bar.firstLength(), firstLength);
    QCOMPARE(bar.total(), progress.total);
    QCOMPARE(bar.doneCount() + bar.position(), progress.examined);
    QCOMPARE(bar.filledWidth(),
             nearestPixel(bar.barRect().width(), progress.examined, progress.total));
    QVERIFY2(bar.filledWidth() >= previous, "the fill went back");
    previous = bar.filledWidth();
    if (progress.currentLength != lastLength) ++lengthsSeen;
    lastLength = progress.currentLength;
  }
  QCOMPARE(lengthsSeen, 4);
  QVERIFY(previous > bar.barRect().width() / 2);

  // Done: the ruler stays, without progress.
  bar.showSession(m_list.get(), session, 0, false);
  QVERIFY(bar.hasRuler());
  QCOMPARE(bar.filledWidth(), 0);
}

void QELProgressBarTest::repaintsOnlyWhenTheFillGainsAPixel_data() {
  QTest::addColumn<bool>("fullText");
  QTest::newRow("word search") << false;
  QTest::newRow("full text search") << true;
}

void QELProgressBarTest::repaintsOnlyWhenTheFillGainsAPixel() {
  QFETCH(bool, fullText);
  QELProgressBar bar;
  bar.resize(400, bar.sizeHint().height());
  const long total = 2000;
  auto setPosition = [&](long position) {
    if (fullText) {
      bar.setFullText(position, total);
    } else {
      bar.setPosition(position);
    }
  };
  if (fullText) {
    bar.setFullText(0, total);
  } else {
    bar.setDictionary(m_list.get(), 0, 1, 31, 1, 3, 0);
  }
  bar.show();
  QVERIFY(QTest::qWaitForWindowExposed(&bar));
  PaintCounter counter;
  bar.installEventFilter(&counter);
  QCoreApplication::processEvents();

  // Fewer pixels than entries: most single steps stay within a pixel.
  QVERIFY(bar.barRect().width() < total / 4);
  int unchanged = 0;
  int changed = 0;
  for (long position = 1; position <= 40; ++position) {
    counter.areas.clear();
    const int before = bar.filledWidth();
    setPosition(position);
    const int after = bar.filledWidth();
    if (after == before) {
      ++unchanged;
      QCoreApplication::processEvents();
      QCoreApplication::processEvents();
      QVERIFY2(counter.areas.empty(), qPrintable(QString("repainted at %1").arg(position)));
    } else {
      ++changed;
      QTRY_VERIFY(!counter.areas.empty());
      // What was repainted covers the columns the fill gained.
      QRect painted;
      for (const QRect& area : counter.areas) painted |= area;
      const QRect gained(bar.barRect().left() + before, bar.barRect().top(), after - before,
                         bar.barRect().height());
      QVERIFY(painted.contains(gained));
    }
  }
  QVERIFY(unchanged > 0);
  QVERIFY(changed > 0);

  if (!fullText) {
    // The next length begins where the last one ended: the fill stays and nothing repaints.
    bar.setPosition(100);
    QCoreApplication::processEvents();
    counter.areas.clear();
    bar.setDictionary(m_list.get(), 0, 1, 31, 1, 4, 0);
    QCOMPARE(bar.doneCount(), 100L);
    QCoreApplication::processEvents();
    QVERIFY(counter.areas.empty());
  }
}

void QELProgressBarTest::fullTextSearchHasNoRuler() {
  QELProgressBar bar;
  bar.resize(300, bar.sizeHint().height());
  bar.setDictionary(m_list.get(), 0, 1, 31, 1);
  QVERIFY(bar.hasRuler());

  bar.setFullText(250, 1000);
  QVERIFY(!bar.hasRuler());
  QVERIFY(bar.isFullText());
  QCOMPARE(bar.firstLength(), 0);
  QCOMPARE(bar.lastLength(), 0);
  QVERIFY(bar.segments().empty());
  QVERIFY(bar.labels().empty());
  QCOMPARE(bar.barRect(), insideFrame(bar));
  QCOMPARE(bar.filledWidth(), insideFrame(bar).width() / 4);

  // The fill reaches down to the bottom of the area, where the ruler would have been.
  QPalette colours = bar.palette();
  colours.setColor(QPalette::Highlight, QColor(200, 0, 0));
  bar.setPalette(colours);
  const QImage image = bar.grab().toImage();
  const QRect inside = insideFrame(bar);
  QCOMPARE(image.pixelColor(inside.left() + 1, inside.bottom()), QColor(200, 0, 0));
  QCOMPARE(image.pixelColor(inside.left() + 1, inside.top()), QColor(200, 0, 0));

  // A dictionary whose range holds no entry has no ruler either.
  bar.setDictionary(m_list.get(), 0, 6, 6, 1);
  QVERIFY(!bar.hasRuler());
  QVERIFY(!bar.isFullText());
  QCOMPARE(bar.filledWidth(), 0);
}

void QELProgressBarTest::numbersKeepClearOfEachOther_data() {
  QTest::addColumn<int>("width");
  QTest::addColumn<int>("step");
  QTest::addColumn<bool>("allDrawn");
  QTest::newRow("narrow, ascending") << 120 << 1 << false;
  QTest::newRow("narrow, descending") << 120 << -1 << false;
  QTest::newRow("tiny") << 30 << 1 << false;
  QTest::newRow("wide, ascending") << 2000 << 1 << true;
  // The one-entry 20 comes first and leaves no room for 19 beside it.
  QTest::newRow("wide, descending") << 2000 << -1 << false;
}

void QELProgressBarTest::numbersKeepClearOfEachOther() {
  QFETCH(int, width);
  QFETCH(int, step);
  QFETCH(bool, allDrawn);
  QELProgressBar bar;
  bar.resize(width, bar.sizeHint().height());
  bar.setDictionary(m_crowded.get(), 0, 1, 31, step);
  const QRect inside = insideFrame(bar);
  const auto& segments = bar.segments();
  const auto& labels = bar.labels();
  QCOMPARE(static_cast<int>(segments.size()), 20);

  QVERIFY(!labels.empty());
  QCOMPARE(labels.front().length, step > 0 ? 1 : 20);
  QCOMPARE(labels.front().rect.left(), inside.left());
  if (allDrawn) {
    QCOMPARE(labels.size(), segments.size());
  } else {
    QVERIFY(labels.size() < segments.size());
  }
  int k = 0;  // the segment of the label
  for (size_t i = 0; i < labels.size(); ++i) {
    const auto& label = labels[i];
    QCOMPARE(label.text, QString::number(label.length));
    QVERIFY2(label.rect.left() >= inside.left() && label.rect.right() <= inside.right(),
             qPrintable(QString("%1 outside").arg(label.length)));
    if (i > 0) {
      const int gap = label.rect.left() - (labels[i - 1].rect.right() + 1);
      QVERIFY2(gap >= 3, qPrintable(QString("%1 and %2 are %3 pixels apart")
                                        .arg(labels[i - 1].length)
                                        .arg(label.length)
                                        .arg(gap)));
      while (segments[k].length != label.length) ++k;
      // Centred on the tick where its segment starts, unless pushed back inside at the end.
      const int centre = label.rect.left() + label.rect.width() / 2;
      if (label.rect.right() < inside.right()) QVERIFY(std::abs(centre - segments[k].left) <= 1);
    }
  }
  // Even the number of a one-entry length at the very end is drawn, inside the area.
  if (allDrawn) QCOMPARE(labels.back().length, step > 0 ? 20 : 1);
}

void QELProgressBarTest::fillIsDrawnInTheHighlightColour() {
  QELProgressBar bar;
  QPalette colours = bar.palette();
  const QColor highlight(10, 20, 200);
  const QColor face(0, 180, 0);
  colours.setColor(QPalette::Highlight, highlight);
  colours.setColor(QPalette::Button, face);
  bar.setPalette(colours);
  bar.resize(400, bar.sizeHint().height());
  bar.setDictionary(m_list.get(), 0, 1, 31, -1, 5, 0);  // 7 passed: half the entries
  const QRect barRect = bar.barRect();
  QCOMPARE(bar.filledWidth(), nearestPixel(barRect.width(), 1000, 2000));

  const QImage image = bar.grab().toImage();
  const int middle = barRect.top() + barRect.height() / 2;
  QCOMPARE(image.pixelColor(barRect.left(), middle), highlight);
  QCOMPARE(image.pixelColor(barRect.left() + bar.filledWidth() - 1, middle), highlight);
  QCOMPARE(image.pixelColor(barRect.left() + bar.filledWidth() + 1, middle), face);
  QCOMPARE(image.pixelColor(barRect.right(), middle), face);
  // The ruler's row of ticks below the bar is not part of the fill.
  QCOMPARE(image.pixelColor(barRect.left() + 1, barRect.bottom() + 1), face);
}

}  // namespace qel

QTEST_MAIN(qel::QELProgressBarTest)
#include "QELProgressBarTest.moc"
