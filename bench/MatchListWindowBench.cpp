// How long the results list takes to paint a screenful of a 1,000,000-row list after a jump to its
// end (the budget is one frame, 16 ms), with and without every row selected.
// Usage: qel-list-bench [ROWS]   (offscreen unless QT_QPA_PLATFORM says otherwise)
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "search/ResultList.h"
#include "search/qt/MatchListWindows.h"

namespace {

std::string entry(long i) {
  std::string w = "aaaaaa";
  for (size_t k = w.size() - 1; i > 0; --k, i /= 26) w[k] = static_cast<char>('a' + i % 26);
  return w;
}

void key(QWidget* target, Qt::Key code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, code, modifiers);
  QApplication::sendEvent(target, &press);
}

struct Figures {
  double median;
  double worst;
};

// Each round jumps away and back, so that every paint starts by seeking its first record.
template <typename Jump>
Figures time(qel::MatchListWindows& list, int rounds, Jump jump) {
  std::vector<double> ms;
  for (int i = 0; i < rounds; ++i) {
    jump(i);
    QElapsedTimer timer;
    timer.start();
    list.viewport()->repaint();
    ms.push_back(timer.nsecsElapsed() / 1e6);
  }
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms.back()};
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;

  qel::ResultList results;
  results.setOrder(qel::ResultOrder::Discovery, false);
  for (long i = 0; i < rows; ++i) results.add(entry(i), " a note on it", " +ab", 0);
  QWidget window;
  window.resize(800, 700);
  auto* list = new qel::MatchListWindows(results, &window);
  list->setGeometry(0, 0, 800, 700);
  window.show();
  list->setFocus();
  list->updateDisplay();
  QApplication::processEvents();

  constexpr int kRounds = 200;
  const Figures end = time(*list, kRounds, [&](int) {
    key(list, Qt::Key_Home, Qt::ControlModifier);
    key(list, Qt::Key_End);
  });
  const Figures middle = time(*list, kRounds, [&](int i) {
    list->verticalScrollBar()->setValue(static_cast<int>((rows / kRounds) * i));
  });
  key(list, Qt::Key_A, Qt::ControlModifier);
  const Figures selected = time(*list, kRounds, [&](int) {
    key(list, Qt::Key_Home, Qt::ControlModifier);
    key(list, Qt::Key_End, Qt::ControlModifier);
  });
  std::printf("%ld rows, %d rows in view of %d px\n", rows, list->wholeVisibleRows(),
              list->rowHeight());
  std::printf("paint after a jump to the end:   median %.2f ms, worst %.2f ms\n", end.median,
              end.worst);
  std::printf("paint after a scroll-bar jump:   median %.2f ms, worst %.2f ms\n", middle.median,
              middle.worst);
  std::printf("paint with every row selected:   median %.2f ms, worst %.2f ms\n", selected.median,
              selected.worst);
  return 0;
}
