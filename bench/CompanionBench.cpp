// How the two companion windows hold up on one input file: the time from Build (or Merge) to the
// end, the longest the window went without a turn of its event loop, and the program's peak
// memory. For inputs such as a binary file or a file without line ends.
//
// Usage: qel-companion-bench builder|merger INPUT
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "common/qt/SettingsStore.h"
#include "maintenance/qt/QCDictionaryBuilderWindow.h"
#include "maintenance/qt/QCWordListMergeWindow.h"

int main(int argc, char** argv) {
  if (argc != 3 || (std::string(argv[1]) != "builder" && std::string(argv[1]) != "merger")) {
    std::fprintf(stderr, "usage: qel-companion-bench builder|merger INPUT\n");
    return 2;
  }
  QApplication app(argc, argv);
  QTemporaryDir scratch;
  QSettings settings(scratch.filePath("settings.ini"), QSettings::IniFormat);
  qel::SettingsStore store(settings);
  const bool builder = std::string(argv[1]) == "builder";
  const QString input = QString::fromLocal8Bit(argv[2]);
  const QString output = scratch.filePath("out.qcd");

  std::unique_ptr<qel::PropertiesDialog> window;
  QPushButton* start = nullptr;
  std::function<QString()> status, log;
  if (builder) {
    auto* w = new qel::QCDictionaryBuilderWindow(store);
    w->sourceEdit()->setText(input);
    w->outputEdit()->setText(output);
    start = w->buildButton();
    status = [w] { return w->statusText(); };
    log = [w] { return w->logText(); };
    window.reset(w);
  } else {
    auto* w = new qel::QCWordListMergeWindow(store);
    w->setInputs({input});
    w->dictionaryOutputButton()->setChecked(true);
    w->outputEdit()->setText(output);
    start = w->mergeButton();
    status = [w] { return w->statusText(); };
    log = [w] { return w->logText(); };
    window.reset(w);
  }
  window->show();

  // A timer due every 5 ms fires at each turn of the event loop; the gaps between its firings are
  // the times the window could not answer.
  QElapsedTimer clock, sinceTurn;
  qint64 longestGap = 0;
  QTimer beat;
  beat.setInterval(5);
  QObject::connect(&beat, &QTimer::timeout, [&] {
    longestGap = std::max(longestGap, sinceTurn.nsecsElapsed());
    sinceTurn.restart();
  });
  QTimer::singleShot(200, [&] {
    clock.start();
    sinceTurn.start();
    beat.start();
    start->click();  // returns when the work is done
    const double seconds = clock.nsecsElapsed() / 1e9;
    beat.stop();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s: %.2f s, longest gap between turns %.0f ms, peak memory %ld MB\n", argv[1],
                seconds, longestGap / 1e6, usage.ru_maxrss / 1024);
    std::printf("  %s\n", qPrintable(status()));
    if (std::getenv("QEL_BENCH_LOG")) std::printf("%s\n", qPrintable(log()));
    app.quit();
  });
  return app.exec();
}
