// The main view's progress bar: how far a search has come through one dictionary, over a ruler of
// the word lengths it visits, each length as wide as its share of the dictionary's entries.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

#include "dictionary/QCDictionaryList.h"
#include "search/SearchSession.h"

namespace qel {

class QELProgressBar : public QWidget {
  Q_OBJECT

 public:
  // One length of the ruler: its entries and the x of the ticks where its segment starts and ends.
  struct Segment {
    int length = 0;
    long entries = 0;
    int left = 0;
    int right = 0;
  };
  // A length's number as drawn below the bar.
  struct Label {
    int length = 0;
    QString text;
    QRect rect;
  };

  explicit QELProgressBar(QWidget* parent = nullptr);

  // Word Search: the ruler of dictionary `index` over shortest..longest, visited upwards (`step`
  // +1) or downwards (-1), as the search session worked them out for its pane. `currentLength` is
  // the length being searched and `position` the entries already examined in it; a current length
  // of 0 shows the ruler without progress.
  void setDictionary(const QCDictionaryList* list, int index, int shortest, int longest, int step,
                     int currentLength = 0, long position = 0);
  // Full Text Search: no ruler, the whole bar follows the searcher's position over its total.
  void setFullText(long position, long total);
  // Entries examined in the current length (Word Search) or the searcher's position (Full Text
  // Search). Repaints only when the filled width changes by a pixel, so it can follow every step.
  void setPosition(long position);
  // An empty bar without a ruler.
  void clear();

  // Follows the session: the dictionary it is searching, its current length and the entries it
  // has examined; with no search under way, the ruler of pane `idlePane` without progress (none in
  // Full Text Search). Cheap enough to call after every step.
  void showSession(const QCDictionaryList* list, const SearchSession& session, int idlePane,
                   bool fullText);
  // The ruler of pane `pane` without progress (none in Full Text Search): while no search runs,
  // a paused one included.
  void showIdle(const QCDictionaryList* list, const SearchSession& session, int pane,
                bool fullText);

  bool hasRuler() const { return !m_lengths.empty(); }
  bool isFullText() const { return m_fullText; }
  int dictionaryIndex() const { return m_index; }
  int firstLength() const { return hasRuler() ? m_lengths.front().length : 0; }
  int lastLength() const { return hasRuler() ? m_lengths.back().length : 0; }
  long doneCount() const { return m_done; }
  long position() const { return m_position; }
  long total() const { return m_total; }

  // The layout for the widget's present size and font.
  QRect barRect() const { return m_bar; }
  int filledWidth() const { return m_filledWidth; }
  const std::vector<Segment>& segments() const { return m_segments; }
  const std::vector<Label>& labels() const { return m_labels; }  // only those drawn

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  struct LengthEntries {
    int length = 0;
    long entries = 0;
    bool operator==(const LengthEntries&) const = default;
  };

  static std::vector<LengthEntries> lengthsInRange(const QCDictionaryList* list, int index,
                                                   int shortest, int longest, int step);
  static long entriesBefore(const std::vector<LengthEntries>& lengths, int step, int currentLength);
  void apply(bool fullText, std::vector<LengthEntries> lengths, long total, int index, long done,
             long position);
  void layOut();
  int computeFilledWidth() const;
  QRect interior() const;
  int digitHeight() const;

  bool m_fullText = false;
  int m_index = -1;
  std::vector<LengthEntries> m_lengths;  // lengths with entries, in visiting order
  long m_total = 0;
  long m_done = 0;  // entries of the lengths already passed
  long m_position = 0;

  QRect m_bar;
  int m_tickTop = 0;
  int m_tickBottom = 0;
  int m_baseline = 0;
  std::vector<Segment> m_segments;
  std::vector<Label> m_labels;
  int m_filledWidth = 0;
};

}  // namespace qel
