// The main window driven only as a person drives it: keys to the window, clicks at points of it,
// menus opened from the keyboard. What is checked is what the person would see.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "app/StartWindowPlacement.h"
#include "app/qt/QELFrameWindow.h"
#include "app/qt/QuickReferenceWindow.h"
#include "app/qt/StartupTipsWindow.h"
#include "app/qt/StatusText.h"
#include "common/qt/HelpWindow.h"
#include "common/qt/WindowPosition.h"
#include "definitions/qt/QELDictionaryPropertiesWindows.h"
#include "search/qt/MatchListLabelWindows.h"
#include "search/qt/MatchListWindows.h"
#include "search/qt/QELProgressBar.h"
#include "search/qt/QELViewWindows.h"
#include "support/FreshSettings.h"
#include "support/MainWindowFixture.h"
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

  struct Fixture : test::MainWindowFixture {
    using MainWindowFixture::MainWindowFixture;
    void clickFirstResult(int pane) {
      clickResult(pane, 0);
      QVERIFY(view().pane(pane).list->isFocused());
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

  // Alt+A reaches the pattern box from wherever the focus is, Shortest and Longest included.
  void altAAlwaysReachesThePatternBox() {
    Fixture f({m_first});
    for (QWidget* from : {static_cast<QWidget*>(f.view().shortestBox()),
                          static_cast<QWidget*>(f.view().longestBox()),
                          static_cast<QWidget*>(f.view().patternBox())}) {
      WindowInput::click(from);
      f.input.key(Qt::Key_A, Qt::AltModifier);
      QTRY_VERIFY(f.view().patternBox()->isAncestorOf(QApplication::focusWidget()) ||
                  QApplication::focusWidget() == f.view().patternBox());
    }
  }

  // Ctrl+G makes the search a Phrase Anagram of the active dictionary: each combination is one
  // row, Lookup takes its first word, and Ctrl+W goes back to Word Search.
  void phraseAnagramsFromTheKeyboard() {
    const QString path = QString::fromStdString(m_dir.file("anagrams.qcd"));
    QVERIFY(test::buildTestDictionary(
        path.toStdString(), {"dirty", "room", "dormitory", "dory", "trim", "or", "tidy"}));
    Fixture f({path});
    WindowInput::click(f.view().patternBox());
    f.input.key(Qt::Key_G, Qt::ControlModifier);
    QVERIFY(f.view().phraseAnagram());
    f.input.retype("dormitory");
    f.input.key(Qt::Key_Return);
    QTRY_COMPARE(f.results(0), QStringList({"dormitory", "dirty room"}));
    f.clickResult(0, 1);
    QCOMPARE(f.view().lookupSubject()->word, std::string("dirty"));
    WindowInput::click(f.view().patternBox());
    f.input.key(Qt::Key_W, Qt::ControlModifier);
    QVERIFY(!f.view().phraseAnagram());
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

  // The ruler follows the lengths the pattern allows, also while the state stays Ready, and a
  // paused search shows the active dictionary's ruler without progress.
  void theRulerFollowsThePattern() {
    Fixture f({m_first});
    WindowInput::click(f.view().patternBox());
    f.input.type(".");
    QCOMPARE(f.view().progressBar()->hasRuler(), false);  // no one-letter words
    f.input.retype("....");
    QCOMPARE(f.view().progressBar()->firstLength(), 4);
    QCOMPARE(f.view().progressBar()->lastLength(), 4);
    f.input.retype("*");
    QCOMPARE(f.view().progressBar()->firstLength(), 4);
    QCOMPARE(f.view().progressBar()->lastLength(), 8);
  }

  // Lookup follows the pattern box and the selection when the Edit menu is opened from the
  // keyboard, whose menu bar takes the focus.
  void lookupIsEnabledInTheEditMenuFromTheKeyboard() {
    Fixture f({m_first});
    QAction* lookup = f.window.action(Command::kLookup);
    WindowInput::click(f.view().patternBox());
    f.input.type("tail");
    f.input.key(Qt::Key_E, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QVERIFY(lookup->isEnabled());
    QCOMPARE(lookup->text(), QString("&Lookup...\tCtrl+Enter"));
    f.input.key(Qt::Key_Escape);
    f.input.key(Qt::Key_Escape);
    f.input.key(Qt::Key_Return);
    QTRY_COMPARE(f.results(0).size(), 1);
    f.clickFirstResult(0);
    f.input.key(Qt::Key_E, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QVERIFY(lookup->isEnabled());
    f.input.key(Qt::Key_Escape);
  }

  // A new search clears every searched pane's count at its start.
  void captionCountsGoToZeroWhenASearchStarts() {
    Fixture f({m_first, m_second});
    f.search("t*");
    QVERIFY(f.view().pane(0).caption->text().contains("(2)"));
    QStringList atStart;
    f.input.retype("ta*");
    QTimer::singleShot(0, &f.window, [&] {
      for (int i = 0; i < 2; ++i) atStart << f.view().pane(i).caption->text();
    });
    f.input.key(Qt::Key_Return);
    QTRY_COMPARE(atStart.size(), 2);
    for (const QString& caption : atStart) QVERIFY2(!caption.contains('('), qPrintable(caption));
  }

  // A double-click on a caption opens the dictionary's properties.
  void doubleClickingACaptionShowsTheProperties() {
    Fixture f({m_first, m_second});
    QString shown;
    test::whenShown<QELDictionaryPropertiesWindows>([&](QELDictionaryPropertiesWindows* dialog) {
      shown = dialog->windowTitle();
      dialog->reject();
    });
    WindowInput::doubleClick(f.view().pane(1).caption);
    QTRY_COMPARE(shown, QString("second Properties"));
    QCOMPARE(f.view().activePane(), 1);
  }

  // F5 brings the window used last forward; F6, pressed again in the window it brought forward,
  // goes round them all, the main window among them; F1 in the Quick Reference opens the help.
  void functionKeysReachTheOtherWindows() {
    Fixture f({m_first});
    f.input.menu('h', 'q');
    QTRY_VERIFY(f.window.findChild<QELQuickReferenceViewWindows*>());
    f.window.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &f.window);
    f.input.menu('h', 's');
    QTRY_VERIFY(f.window.findChild<QELStartupTipsViewWindows*>());
    QWidget* tips = f.window.findChild<QELStartupTipsViewWindows*>();
    QWidget* reference = f.window.findChild<QELQuickReferenceViewWindows*>();
    QTRY_COMPARE(QApplication::activeWindow(), tips);
    f.window.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &f.window);
    f.input.key(Qt::Key_F5);
    QTRY_COMPARE(QApplication::activeWindow(), tips);
    f.window.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &f.window);
    for (QWidget* next : {tips, reference, static_cast<QWidget*>(&f.window), tips, reference}) {
      test::pressKey(QApplication::activeWindow(), Qt::Key_F6);
      QTRY_COMPARE(QApplication::activeWindow(), next);
    }
    f.input.key(Qt::Key_F1);
    QTRY_VERIFY(HelpWindow::instance() && HelpWindow::instance()->isVisible());
    QVERIFY(!f.window.windowIcon().isNull());
    QVERIFY(!reference->windowIcon().isNull());
  }

  // At the first start the Quick Reference and the Startup Tips stand clear of the main window
  // and of each other.
  void startWindowsDoNotCoverEachOther() {
    Fixture f({m_first});
    f.window.resize(400, 700);
    f.window.move(0, 0);
    f.window.showStartWindows();
    QWidget* reference = f.window.findChild<QELQuickReferenceViewWindows*>();
    QWidget* tips = f.window.findChild<QELStartupTipsViewWindows*>();
    QVERIFY(reference && tips);
    QTRY_VERIFY(reference->isVisible() && tips->isVisible());
    // Placed as the placement rule says for this screen (beside, or cascaded on a small one).
    const std::vector<Position> places = startWindowPlaces(
        {0, 0, f.window.frameGeometry().width(), f.window.frameGeometry().height()},
        screenArea(f.window),
        {{reference->frameGeometry().width(), reference->frameGeometry().height()},
         {tips->frameGeometry().width(), tips->frameGeometry().height()}});
    QCOMPARE(reference->pos(), QPoint(places[0].left, places[0].top));
    QCOMPARE(tips->pos(), QPoint(places[1].left, places[1].top));
  }

  // The window cannot be made so narrow that the pattern controls are cut; a status text cut
  // short has its whole text as the tooltip.
  void aNarrowWindowCutsNothing() {
    const QString longName = path(m_dir, "a-dictionary-whose-name-is-longer-than-the-window.qcd");
    QVERIFY(test::buildTestDictionary(longName.toStdString(), {"word"}));
    Fixture f({longName});
    f.window.resize(200, 200);
    QTRY_VERIFY(f.window.width() >=
                f.view().patternBox()->parentWidget()->minimumSizeHint().width());
    auto* status = f.window.findChild<StatusText*>();
    QVERIFY(status);
    WindowInput::click(f.view().patternBox());
    f.input.type("abc]");
    QVERIFY(status->text() != status->fullText());
    QCOMPARE(status->toolTip(), status->fullText());
  }

  // Greyed items and the shortcut menus' items name what they do in the status bar.
  void menuItemsUnderThePointerShowTheirHints() {
    Fixture f({m_first});
    f.input.key(Qt::Key_F, Qt::AltModifier);
    QMenu* file = nullptr;
    QTRY_VERIFY((file = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
    QAction* save = f.window.action(Command::kSaveResults);
    QVERIFY(!save->isEnabled());
    QTest::mouseMove(file->windowHandle(), file->actionGeometry(save).center());
    QTRY_COMPARE(f.window.statusBar()->currentMessage(), save->statusTip());
    f.input.key(Qt::Key_Escape);
    f.input.key(Qt::Key_Escape);
  }

  // File > Open starts where the last dictionary was; files named on the command line that are
  // no dictionaries are refused with their cause and not remembered, and with nothing usable the
  // default dictionary opens.
  void openingStartsInTheLastFolderAndRefusesBadFiles() {
    test::FreshSettings settings;
    test::RecordingPrompts prompts;
    const QString folder = settings.folder.path();
    QDir(folder).mkpath("Dictionaries");
    QVERIFY(test::buildTestDictionary((folder + "/Dictionaries/Devuduvodi.qcd").toStdString(),
                                      {"word"}));
    const QString empty = path(m_dir, "empty.qcd");
    test::writeFile(empty.toStdString(), "");
    QELFrameWindow window(settings.store, folder,
                          {path(m_dir, "missing.qcd"), m_dir.path().c_str(), empty});
    QCOMPARE(prompts.shown.size(), 3);
    const char* causes[] = {"The file does not exist.", "It is a folder, not a file.",
                            "The file is empty."};
    for (int i = 0; i < 3; ++i) {
      QVERIFY2(prompts.shown[i].startsWith("Dictionary Open Failed: "),
               qPrintable(prompts.shown[i]));
      QVERIFY2(prompts.shown[i].endsWith(causes[i]), qPrintable(prompts.shown[i]));
    }
    QCOMPARE(window.windowTitle(), QString("Devuduvodi - QEL"));
    QVERIFY(window.recentDictionaries().empty());
    WindowInput input(window);
    input.key(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(prompts.offeredFolder, folder + "/Dictionaries");
    prompts.chosenFiles = {m_second};
    input.key(Qt::Key_O, Qt::ControlModifier);
    QTRY_COMPARE(window.view()->paneCount(), 2);
    prompts.chosenFiles.clear();
    input.key(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(prompts.offeredFolder, QString::fromStdString(m_dir.path()));
  }

  // A dictionary dropped on the pattern box opens; its address is not pasted into the box.
  void aDictionaryDroppedOnThePatternBoxOpens() {
    Fixture f({m_first});
    QLineEdit* box = f.view().patternBox()->lineEdit();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(m_second)});
    data.setText(QUrl::fromLocalFile(m_second).toString());
    // Delivered to the widget under the drop point, as the drag manager does.
    const QPoint at = box->rect().center();
    QWidget* target = box->window()->childAt(box->mapTo(box->window(), at));
    QCOMPARE(target, box);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
    QCOMPARE(f.window.windowTitle(), QString("first, second - QEL"));
    QCOMPARE(f.view().patternBox()->currentText(), QString());
  }
};

}  // namespace qel

QTEST_MAIN(qel::MainWindowInputTest)
#include "MainWindowInputTest.moc"
