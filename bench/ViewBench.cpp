// How the window keeps up: a search of "*" in the main view against the same search through the
// core alone, the longest slice the event loop waited for, and the validation of one keystroke
// with eight dictionaries open. Usage: qel-view-bench DICTIONARY
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>

#include "search/SearchSession.h"
#include "search/qt/QELViewWindows.h"

namespace {

double coreSearchMs(const std::string& path) {
  qel::QCDictionaryList list(path);
  qel::SearchSession session(list);
  QElapsedTimer timer;
  timer.start();
  session.validate("*", {});
  session.start();
  while (session.step()) {
  }
  return timer.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: qel-view-bench DICTIONARY\n");
    return 2;
  }
  const std::string path = argv[1];
  double core = 1e9, window = 1e9;
  qint64 longest = 0;
  for (int round = 0; round < 3; ++round) {
    core = std::min(core, coreSearchMs(path));
    qel::QCDictionaryList list(path);
    qel::QELViewWindows view;
    view.resize(700, 600);
    view.show();
    view.setDictionaries(&list);
    view.patternBox()->setEditText("*");
    QElapsedTimer timer;
    timer.start();
    view.onSearchButton();
    while (view.state() == qel::SearchState::Searching) QApplication::processEvents();
    window = std::min(window, timer.nsecsElapsed() / 1e6);
    longest = std::max(longest, view.longestSlice());
  }
  std::printf("search \"*\": core %.1f ms, window %.1f ms (%.2fx)\n", core, window, window / core);
  std::printf("longest slice: %.2f ms\n", longest / 1e6);

  // Eight copies, so that each is a dictionary of its own.
  QTemporaryDir copies;
  std::string eight;
  for (int i = 0; i < 8; ++i) {
    const QString copy = copies.filePath(QString("copy%1.qcd").arg(i));
    QFile::copy(QString::fromStdString(path), copy);
    eight += (i ? ";" : "") + copy.toStdString();
  }
  qel::QCDictionaryList list(eight);
  qel::QELViewWindows view;
  view.setDictionaries(&list);
  const char* keys[] = {";", ";l", ";lo", ";lob", ";lobi", ";lobik", ";lobike", ";lobikes"};
  double worst = 0;
  for (const char* text : keys) {
    QElapsedTimer timer;
    timer.start();
    view.patternBox()->lineEdit()->setText(text);
    worst = std::max(worst, timer.nsecsElapsed() / 1e6);
  }
  std::printf("validating a keystroke with %d dictionaries: at most %.3f ms\n", list.count(),
              worst);
  return 0;
}
