// The Options dialog opened from the main window's Tools menu, end to end: what is changed in it
// changes the next search, it is disabled while a search runs, and it closes with the window.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/qt/QELFrameWindow.h"
#include "app/qt/QELPropertiesViewWindows.h"
#include "app/qt/SettingsStore.h"
#include "search/qt/QELViewWindows.h"
#include "support/RecordingPrompts.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

struct FreshSettings {
  QTemporaryDir folder;
  QSettings settings{folder.filePath("settings.ini"), QSettings::IniFormat};
  SettingsStore store{settings};
};

QStringList texts(const ResultList& results) {
  QStringList out;
  for (long i = 0; i < results.count(); ++i) {
    const std::string_view text = results.record(i)->text();
    out << QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  }
  return out;
}

}  // namespace

class MainWindowOptionsTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir m_dir;
  QString m_words;

  // Types `pattern` into the pattern box, searches, and waits for the results.
  static QStringList search(QELFrameWindow& window, const QString& pattern) {
    QLineEdit* box = window.view()->patternBox()->lineEdit();
    box->selectAll();
    QTest::keyClicks(box, pattern);
    QTest::keyClick(box, Qt::Key_Return);
    if (!QTest::qWaitFor([&] { return window.view()->state() != SearchState::Searching; }, 20000))
      return {"(still searching)"};
    return texts(window.view()->session()->pane(0).results);
  }
  // The Options dialog, opened from the Tools menu at `page`.
  static QELPropertiesViewWindows* openOptions(QELFrameWindow& window, int page) {
    window.updateCommands();
    window.action(Command::kOptions)->trigger();
    auto* dialog = window.findChild<QELPropertiesViewWindows*>();
    if (dialog == nullptr || !QTest::qWaitForWindowExposed(dialog)) return nullptr;
    QTabBar* tabs = dialog->pages()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
    return dialog;
  }

 private slots:
  void initTestCase() {
    m_words = QString::fromStdString(m_dir.file("words.qcd"));
    QVERIFY(test::buildTestDictionary(
        m_words.toStdString(),
        {"cat", "cot", "cxt", "cyt", "tail", "tailed", "tail end", "tail-end", "Tailor"}));
  }

  void turningOffPhrasesRemovesThemFromTheNextSearch() {
    FreshSettings fresh;
    QELFrameWindow window(fresh.store, fresh.folder.path(), {m_words});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(search(window, "tail*").contains("tail end"));
    QELPropertiesViewWindows* options = openOptions(window, QELPropertiesViewWindows::kResultPage);
    QVERIFY(options);
    auto* phrases = options->findChild<QAbstractButton*>("outputWhitespace");
    QTest::mouseClick(phrases, Qt::LeftButton, {}, QPoint(6, phrases->height() / 2));
    QVERIFY(!phrases->isChecked());
    const QStringList found = search(window, "tail*");
    QVERIFY(!found.contains("tail end"));
    QVERIFY(found.contains("tail-end"));
    QVERIFY(found.contains("Tailor"));
    // Not saved: the next start has phrases again.
    fresh.settings.sync();
    QVERIFY(!fresh.settings.contains("OutputWhitespace"));
  }

  // "@" stands for what the Pattern page says as soon as it is typed; the pattern in the box is
  // checked again at once.
  void theAtMacroFollowsThePatternPage() {
    FreshSettings fresh;
    QELFrameWindow window(fresh.store, fresh.folder.path(), {m_words});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(search(window, "c@t"), QStringList({"cat", "cot"}));
    QELPropertiesViewWindows* options = openOptions(window, QELPropertiesViewWindows::kPatternPage);
    QVERIFY(options);
    auto* at = options->findChild<QLineEdit*>("expansionAt");
    at->selectAll();
    QTest::keyClicks(at, "[xyz");  // unfinished: the pattern is wrong until "]" is typed
    QCOMPARE(window.view()->state(), SearchState::NoPattern);
    QTest::keyClicks(at, "]");
    QCOMPARE(window.view()->state(), SearchState::Ready);
    QCOMPARE(search(window, "c@t"), QStringList({"cxt", "cyt"}));
  }

  // The dialog is one window, disabled while a search runs; the main window closes it as it
  // closes, and its place is kept.
  void theDialogIsDisabledWhileSearchingAndClosesWithTheWindow() {
    FreshSettings fresh;
    QELFrameWindow window(fresh.store, fresh.folder.path(), {m_words});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QPointer<QELPropertiesViewWindows> options =
        openOptions(window, QELPropertiesViewWindows::kSortingPage);
    QVERIFY(options);
    QCOMPARE(openOptions(window, 0), options.data());  // the same dialog again
    QCOMPARE(window.findChildren<QELPropertiesViewWindows*>().size(), 1);

    QLineEdit* box = window.view()->patternBox()->lineEdit();
    QTest::keyClicks(box, "*");
    window.view()->onSearchButton();
    QCOMPARE(window.view()->state(), SearchState::Searching);
    QVERIFY(!options->isEnabled());
    QVERIFY(!window.action(Command::kOptions)->isEnabled());
    QTRY_VERIFY(window.view()->state() != SearchState::Searching);
    QVERIFY(options->isEnabled());

    window.close();
    QTRY_VERIFY(options.isNull());
    fresh.settings.sync();
    QVERIFY(fresh.settings.contains("QELViewPosition"));
  }
};

}  // namespace qel

QTEST_MAIN(qel::MainWindowOptionsTest)
#include "MainWindowOptionsTest.moc"
