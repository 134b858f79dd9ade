// The main window at start and around its dictionaries: the remembered ones (a missing one left
// out), the caption, closing the active last pane, and what is stored at exit.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "app/WindowSettings.h"
#include "maintenance/qt/QCDictionarySaveQELDialog.h"
#include "support/MainWindowFixture.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

using test::FreshSettings;
using test::WindowInput;

// Open (Ctrl+O) answers with the files given; what the boxes said is kept without the file
// dialog's own record.
struct Fixture : test::MainWindowFixture {
  using MainWindowFixture::MainWindowFixture;
  void open(const QStringList& files) {
    prompts.chosenFiles = files;
    input.key(Qt::Key_O, Qt::ControlModifier);
    prompts.shown.removeAll("Dictionary File Selection");
  }
};

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
    Fixture f({}, [this](SettingsStore& store) {
      writeOpenDictionaries(store, {m_dir.file("gone.qcd"), m_second});
    });
    QCOMPARE(f.window.dictionaries().count(), 1);
    QCOMPARE(f.view().paneCount(), 1);
    QCOMPARE(f.window.windowTitle(), QString("second - QEL"));
  }

  void closingTheActiveLastPaneActivatesThePaneBefore() {
    Fixture f(threeDictionaries());
    QCOMPARE(f.window.windowTitle(), QString("first, second, third - QEL"));
    WindowInput::click(f.view().pane(2).caption);
    f.input.menu('f', 'c');
    QTRY_COMPARE(f.view().paneCount(), 2);
    QCOMPARE(f.view().activePane(), 1);
    WindowInput::click(f.view().pane(0).caption);
    f.input.menu('f', 'c');
    QTRY_COMPARE(f.view().paneCount(), 1);
    QCOMPARE(f.view().activePane(), 0);
    QCOMPARE(f.window.windowTitle(), QString("second - QEL"));
  }

  void fileMenuTextsNameTheActiveDictionary() {
    Fixture empty({}, [this](SettingsStore& store) {
      writeOpenDictionaries(store, {m_dir.file("none-here.qcd")});
    });
    empty.inMenu('f', [&] {
      QCOMPARE(empty.window.action(Command::kClose)->text(), QString("&Close"));
      QCOMPARE(empty.window.action(Command::kSaveResults)->text(), QString("Save Results &As..."));
      QVERIFY(!empty.window.action(Command::kClose)->isEnabled());
    });
    Fixture f({QString::fromStdString(m_first), QString::fromStdString(m_second)});
    f.inMenu('f', [&] {
      QCOMPARE(f.window.action(Command::kClose)->text(), QString("&Close \"first\""));
      QCOMPARE(f.window.action(Command::kProperties)->text(),
               QString("P&roperties for \"first\"..."));
      QVERIFY(!f.window.action(Command::kPromote)->isEnabled());
      QVERIFY(f.window.action(Command::kDemote)->isEnabled());
    });
  }

  // Opening: an open dictionary only becomes active; an eighth opens, a ninth is refused; a file
  // that is no dictionary is refused and the open ones stay as they were.
  void openingFollowsTheLimitsAndLeavesTheOpenOnesAlone() {
    Fixture f({QString::fromStdString(m_first), QString::fromStdString(m_second)});
    f.open({QString::fromStdString(m_first)});
    QCOMPARE(f.window.dictionaries().count(), 2);
    QCOMPARE(f.view().activePane(), 0);
    const std::string corrupt = m_dir.file("corrupt.qcd");
    test::writeFile(corrupt, "QCD1 but nothing else");
    f.open({QString::fromStdString(corrupt)});
    QCOMPARE(f.window.dictionaries().count(), 2);
    QCOMPARE(f.prompts.shown.size(), 1);
    QVERIFY(f.prompts.shown[0].startsWith("Dictionary Open Failed: "));
    QVERIFY(
        f.prompts.shown[0].endsWith("corrupt.qcd\nis not a valid QEL&Corvanth Dictionary File\n\n"
                                    "Its header is damaged or cut short."));
    QStringList more;
    for (int i = 0; i < 7; ++i) {
      const std::string path = m_dir.file("more" + std::to_string(i) + ".qcd");
      QVERIFY(test::buildTestDictionary(path, {"word"}));
      more << QString::fromStdString(path);
    }
    f.open(more.mid(0, 6));
    QCOMPARE(f.window.dictionaries().count(), 8);
    QCOMPARE(f.view().activePane(), 7);
    f.open(more.mid(6));
    QCOMPARE(f.window.dictionaries().count(), 8);
    QVERIFY(
        f.prompts.shown.last().contains("The number of allowed dictionaries has been reached."));
    // The previously used list: the dictionaries that opened, most recent first.
    QCOMPARE(f.window.recentDictionaries().size(), size_t(8));
    f.open({QString::fromStdString(m_first)});
    QCOMPARE(f.window.recentDictionaries().front(), m_first);
  }

  // A file dropped on the window opens as if chosen with Open; a corrupt one is refused in a box.
  void aCorruptFileDroppedIsRefusedAndTheOthersStay() {
    Fixture f({QString::fromStdString(m_first)});
    const std::string corrupt = m_dir.file("dropped.qcd");
    test::writeFile(corrupt, std::string(4096, 'x'));
    auto drop = [&](const std::string& path) {
      QMimeData data;
      data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
      QDragEnterEvent enter(QPoint(50, 300), Qt::CopyAction, &data, Qt::LeftButton, {});
      QApplication::sendEvent(f.window.view(), &enter);
      QDropEvent dropped(QPointF(50, 300), Qt::CopyAction, &data, Qt::LeftButton, {});
      QApplication::sendEvent(f.window.view(), &dropped);
    };
    drop(corrupt);
    QCOMPARE(f.window.dictionaries().count(), 1);
    QCOMPARE(f.prompts.shown.size(), 1);
    QVERIFY(f.prompts.shown[0].startsWith("Dictionary Open Failed: "));
    drop(m_second);
    QCOMPARE(f.window.dictionaries().count(), 2);
    QCOMPARE(f.window.windowTitle(), QString("first, second - QEL"));
  }

  void promotingAndDemotingMoveTheActivePaneAndTheCaption() {
    Fixture f(threeDictionaries());
    WindowInput::click(f.view().pane(2).caption);
    f.input.menu('f', 'm');
    QTRY_COMPARE(f.window.windowTitle(), QString("first, third, second - QEL"));
    QCOMPARE(f.view().activePane(), 1);
    WindowInput::click(f.view().pane(0).caption);
    f.input.menu('f', 'd');
    QTRY_COMPARE(f.window.windowTitle(), QString("third, first, second - QEL"));
    QCOMPARE(f.view().activePane(), 1);
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

  // Save Results (Ctrl+S, which acts only while the command is enabled): ".txt" added to a bare
  // name; one exclamation prompt before a file is replaced; a folder that does not exist refused;
  // a failed save names the file and the cause; a ".qcd" name chosen under the text filter saves
  // a dictionary.
  void resultsAreSaved() {
    Fixture f({QString::fromStdString(m_first)});
    f.search("*");
    const QString bare = f.fresh.folder.filePath("results");
    QVERIFY(QDir(f.fresh.folder.path()).mkdir("folder.txt"));
    struct Case {
      QString chosen;
      UserPrompts::Answer replace;
      QString said;  // empty: nothing but the file dialog
    };
    const QString exists = "!Save As: " + bare + ".txt already exists.\nDo you want to replace it?";
    const QString folder = f.fresh.folder.filePath("folder.txt");
    for (const Case& c : {
             Case{bare, UserPrompts::Answer::kNo, ""},
             Case{bare, UserPrompts::Answer::kNo, exists},
             Case{f.fresh.folder.filePath("missing/results.txt"), UserPrompts::Answer::kYes,
                  "Save As: The folder " + f.fresh.folder.filePath("missing") +
                      " does not exist.\nChoose another."},
             Case{folder, UserPrompts::Answer::kYes,
                  "Text File Save Error: Results couldn't be saved\n" + folder +
                      " - not a regular file"},
         }) {
      f.prompts.shown.clear();
      f.prompts.question = c.replace;
      f.prompts.chosenSaveNames = {c.chosen};  // then the dialog is cancelled
      f.input.key(Qt::Key_S, Qt::ControlModifier);
      if (c.said.isEmpty()) QCOMPARE(f.prompts.shown, QStringList{"Save Results"});
      QVERIFY2(c.said.isEmpty() || f.prompts.shown.contains(c.said),
               qPrintable(f.prompts.shown.join("|")));
    }
    QCOMPARE(QString::fromStdString(test::readFile((bare + ".txt").toStdString())),
             QString("tail\nelectron\n"));

    const QString dictionary = f.fresh.folder.filePath("results.qcd");
    f.prompts.chosenSaveType = 0;  // the text filter
    f.prompts.chosenSaveNames = {dictionary};
    bool dictionaryDialog = false;
    test::whenShown<QCDictionarySaveQELDialog>([&](QCDictionarySaveQELDialog* dialog) {
      dictionaryDialog = true;
      dialog->reject();
    });
    f.input.key(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(dictionaryDialog);
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
