// The main window at start and around its dictionaries: the remembered ones (a missing one left
// out), the caption, closing the active last pane, and what is stored at exit.
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/WindowSettings.h"
#include "app/qt/QELFrameWindow.h"
#include "app/qt/SettingsStore.h"
#include "search/qt/QELViewWindows.h"
#include "support/TestDictionaries.h"

namespace qel {

class QELFrameWindowTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir m_dir;
  std::string m_first, m_second, m_third;

 private slots:
  void initTestCase() {
    m_first = m_dir.file("first.qcd");
    m_second = m_dir.file("second.qcd");
    m_third = m_dir.file("third.qcd");
    for (const std::string& path : {m_first, m_second, m_third})
      QVERIFY(test::buildTestDictionary(path, {"electron", "tail"}));
  }

  void aMissingRememberedDictionaryIsLeftOut() {
    QTemporaryDir folder;
    QSettings settings(folder.filePath("settings.ini"), QSettings::IniFormat);
    SettingsStore store(settings);
    writeOpenDictionaries(store, {m_dir.file("gone.qcd"), m_second});
    QELFrameWindow window(store, folder.path(), {});
    QCOMPARE(window.dictionaries().count(), 1);
    QCOMPARE(window.view()->paneCount(), 1);
    QCOMPARE(window.windowTitle(), QString("second - QEL"));
  }

  void closingTheActiveLastPaneActivatesThePaneBefore() {
    QTemporaryDir folder;
    QSettings settings(folder.filePath("settings.ini"), QSettings::IniFormat);
    SettingsStore store(settings);
    QELFrameWindow window(store, folder.path(),
                          {QString::fromStdString(m_first), QString::fromStdString(m_second),
                           QString::fromStdString(m_third)});
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

  void theOpenDictionariesAreRememberedAtExit() {
    QTemporaryDir folder;
    QSettings settings(folder.filePath("settings.ini"), QSettings::IniFormat);
    SettingsStore store(settings);
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
