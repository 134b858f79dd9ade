// The main window at start and around its dictionaries: the remembered ones (a missing one left
// out), the caption, closing the active last pane, and what is stored at exit.
#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "app/WindowSettings.h"
#include "app/qt/QELFrameWindow.h"
#include "app/qt/SettingsStore.h"
#include "search/qt/QELViewWindows.h"
#include "support/FreshSettings.h"
#include "support/RecordingPrompts.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

using test::FreshSettings;

}  // namespace

class QELFrameWindowTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir m_dir;
  std::string m_first, m_second, m_third;

  QStringList threeDictionaries() const {
    return {QString::fromStdString(m_first), QString::fromStdString(m_second),
            QString::fromStdString(m_third)};
  }

 private slots:
  void initTestCase() {
    m_first = m_dir.file("first.qcd");
    m_second = m_dir.file("second.qcd");
    m_third = m_dir.file("third.qcd");
    for (const std::string& path : {m_first, m_second, m_third})
      QVERIFY(test::buildTestDictionary(path, {"electron", "tail"}));
  }

  void aMissingRememberedDictionaryIsLeftOut() {
    FreshSettings fresh;
    SettingsStore& store = fresh.store;
    const QTemporaryDir& folder = fresh.folder;
    writeOpenDictionaries(store, {m_dir.file("gone.qcd"), m_second});
    QELFrameWindow window(store, folder.path(), {});
    QCOMPARE(window.dictionaries().count(), 1);
    QCOMPARE(window.view()->paneCount(), 1);
    QCOMPARE(window.windowTitle(), QString("second - QEL"));
  }

  void closingTheActiveLastPaneActivatesThePaneBefore() {
    FreshSettings fresh;
    SettingsStore& store = fresh.store;
    const QTemporaryDir& folder = fresh.folder;
    QELFrameWindow window(store, folder.path(), threeDictionaries());
    QCOMPARE(window.windowTitle(), QString("first, second, third - QEL"));
    window.view()->setActivePane(2);
    window.closeActiveDictionary();
    QCOMPARE(window.view()->paneCount(), 2);
    QCOMPARE(window.view()->activePane(), 1);
    window.view()->setActivePane(0);
    window.closeActiveDictionary();
    QCOMPARE(window.view()->activePane(), 0);
    QCOMPARE(window.windowTitle(), QString("second - QEL"));
  }

  void fileMenuTextsNameTheActiveDictionary() {
    FreshSettings fresh;
    SettingsStore& store = fresh.store;
    const QTemporaryDir& folder = fresh.folder;
    writeOpenDictionaries(store, {m_dir.file("none-here.qcd")});
    QELFrameWindow empty(store, folder.path(), {});
    empty.updateCommands();
    QCOMPARE(empty.action(Command::kClose)->text(), QString("&Close"));
    QCOMPARE(empty.action(Command::kSaveResults)->text(), QString("Save Results &As..."));
    QVERIFY(!empty.action(Command::kClose)->isEnabled());
    QELFrameWindow window(store, folder.path(),
                          {QString::fromStdString(m_first), QString::fromStdString(m_second)});
    window.updateCommands();
    QCOMPARE(window.action(Command::kClose)->text(), QString("&Close \"first\""));
    QCOMPARE(window.action(Command::kProperties)->text(), QString("P&roperties for \"first\"..."));
    QVERIFY(!window.action(Command::kPromote)->isEnabled());
    QVERIFY(window.action(Command::kDemote)->isEnabled());
  }

  // Opening: an open dictionary only becomes active; an eighth opens, a ninth is refused; a file
  // that is no dictionary is refused and the open ones stay as they were.
  void openingFollowsTheLimitsAndLeavesTheOpenOnesAlone() {
    FreshSettings fresh;
    SettingsStore& store = fresh.store;
    const QTemporaryDir& folder = fresh.folder;
    test::RecordingPrompts prompts;
    QELFrameWindow window(store, folder.path(),
                          {QString::fromStdString(m_first), QString::fromStdString(m_second)});
    window.openDictionaries({QString::fromStdString(m_first)});
    QCOMPARE(window.dictionaries().count(), 2);
    QCOMPARE(window.view()->activePane(), 0);
    const std::string corrupt = m_dir.file("corrupt.qcd");
    test::writeFile(corrupt, "QCD1 but nothing else");
    window.openDictionaries({QString::fromStdString(corrupt)});
    QCOMPARE(window.dictionaries().count(), 2);
    QCOMPARE(prompts.shown.size(), 1);
    QVERIFY(prompts.shown[0].startsWith("Dictionary Open Failed: "));
    QVERIFY(prompts.shown[0].endsWith("corrupt.qcd\nis not a valid QEL&Corvanth Dictionary File\n\n"
                                      "Its contents are not those of a dictionary."));
    QStringList more;
    for (int i = 0; i < 7; ++i) {
      const std::string path = m_dir.file("more" + std::to_string(i) + ".qcd");
      QVERIFY(test::buildTestDictionary(path, {"word"}));
      more << QString::fromStdString(path);
    }
    window.openDictionaries(more.mid(0, 6));
    QCOMPARE(window.dictionaries().count(), 8);
    QCOMPARE(window.view()->activePane(), 7);
    window.openDictionaries(more.mid(6));
    QCOMPARE(window.dictionaries().count(), 8);
    QVERIFY(prompts.shown.last().contains("The number of allowed dictionaries has been reached."));
    // The previously used list: the dictionaries that opened, most recent first.
    QCOMPARE(window.recentDictionaries().size(), size_t(8));
    window.openDictionaries({QString::fromStdString(m_first)});
    QCOMPARE(window.recentDictionaries().front(), m_first);
  }

  // A file dropped on the window opens as if chosen with Open; a corrupt one is refused in a box.
  void aCorruptFileDroppedIsRefusedAndTheOthersStay() {
    FreshSettings fresh;
    SettingsStore& store = fresh.store;
    const QTemporaryDir& folder = fresh.folder;
    test::RecordingPrompts prompts;
    QELFrameWindow window(store, folder.path(), {QString::fromStdString(m_first)});
    window.show();
    const std::string corrupt = m_dir.file("dropped.qcd");
    test::writeFile(corrupt, std::string(4096, 'x'));
    auto drop = [&](const std::string& path) {
      QMimeData data;
      data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
      QDragEnterEvent enter(QPoint(50, 300), Qt::CopyAction, &data, Qt::LeftButton, {});
      QApplication::sendEvent(window.view(), &enter);
      QDropEvent dropped(QPointF(50, 300), Qt::CopyAction, &data, Qt::LeftButton, {});
      QApplication::sendEvent(window.view(), &dropped);
    };
    drop(corrupt);
    QCOMPARE(window.dictionaries().count(), 1);
    QCOMPARE(prompts.shown.size(), 1);
    QVERIFY(prompts.shown[0].startsWith("Dictionary Open Failed: "));
    drop(m_second);
    QCOMPARE(window.dictionaries().count(), 2);
    QCOMPARE(window.windowTitle(), QString("first, second - QEL"));
  }

  void promotingAndDemotingMoveTheActivePaneAndTheCaption() {
    FreshSettings fresh;
    SettingsStore& store = fresh.store;
    const QTemporaryDir& folder = fresh.folder;
    QELFrameWindow window(store, folder.path(), threeDictionaries());
    window.view()->setActivePane(2);
    window.promoteActiveDictionary();
    QCOMPARE(window.windowTitle(), QString("first, third, second - QEL"));
    QCOMPARE(window.view()->activePane(), 1);
    window.view()->setActivePane(0);
    window.demoteActiveDictionary();
    QCOMPARE(window.windowTitle(), QString("third, first, second - QEL"));
    QCOMPARE(window.view()->activePane(), 1);
  }

  // Changed Shortest and Longest become the defaults only when the user says Yes.
  void theRangeQuestionStoresOnlyOnYes() {
    for (const auto answer : {UserPrompts::Answer::kNo, UserPrompts::Answer::kYes}) {
      FreshSettings fresh;
      SettingsStore& store = fresh.store;
      const QTemporaryDir& folder = fresh.folder;
      test::RecordingPrompts prompts;
      prompts.question = answer;
      {
        QELFrameWindow window(store, folder.path(), {QString::fromStdString(m_first)});
        window.show();
        window.view()->setShortestLongest(4, 9);
        QVERIFY(window.close());
      }
      QCOMPARE(prompts.shown.size(), 1);
      QVERIFY(prompts.shown[0].startsWith("Range Settings Updated: "));
      const RangeDefaults stored = readRangeDefaults(store);
      QCOMPARE(stored == (RangeDefaults{4, 9}), answer == UserPrompts::Answer::kYes);
    }
  }

  // Results saved as text: ".txt" added to a bare name, a file that exists asked about, a failed
  // save said so.
  void resultsAreSavedAsText() {
    FreshSettings fresh;
    test::RecordingPrompts prompts;
    QELFrameWindow window(fresh.store, fresh.folder.path(), {QString::fromStdString(m_first)});
    window.view()->setPatternAndSearch("*");
    QTRY_VERIFY(window.view()->state() == SearchState::Ready);
    window.updateCommands();
    QVERIFY(window.action(Command::kSaveResults)->isEnabled());
    const QString bare = fresh.folder.filePath("results");
    prompts.chosenSaveNames = {bare};
    window.saveResults();
    QCOMPARE(QString::fromStdString(test::readFile((bare + ".txt").toStdString())),
             QString("tail\nelectron\n"));
    prompts.chosenSaveNames = {bare};  // again: it exists, and No keeps it
    window.saveResults();
    QVERIFY(prompts.shown.join("|").contains("Save As: " + bare + ".txt already exists."));
    prompts.chosenSaveNames = {fresh.folder.filePath("missing/results.txt")};
    window.saveResults();
    QCOMPARE(prompts.shown.last(), QString("Text File Save Error: Results couldn't be saved"));
  }

  void theOpenDictionariesAreRememberedAtExit() {
    FreshSettings fresh;
    SettingsStore& store = fresh.store;
    const QTemporaryDir& folder = fresh.folder;
    {
      QELFrameWindow window(store, folder.path(),
                            {QString::fromStdString(m_first), QString::fromStdString(m_third)});
      window.show();
      QVERIFY(window.close());
    }
    QCOMPARE(readOpenDictionaries(store, folder.path().toStdString()),
             (std::vector<std::string>{m_first, m_third}));
    QELFrameWindow again(store, folder.path(), {});
    QCOMPARE(again.dictionaries().count(), 2);
  }
};

}  // namespace qel

QTEST_MAIN(qel::QELFrameWindowTest)
#include "QELFrameWindowTest.moc"
