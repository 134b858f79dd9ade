// The Startup Tips window over a real tips file and INI settings: the stored next index wraps and
// is stored on closing, "More on this topic" asks for the tip's own topic, a missing or empty file
// is said so without a crash, and the "show at start" box and the place are kept.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/WindowSettings.h"
#include "app/qt/StartupTipsWindow.h"
#include "common/qt/SettingsStore.h"

namespace qel {

class StartupTipsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> m_dir;  // the program's folder and the settings file
  std::unique_ptr<QSettings> m_settings;
  std::unique_ptr<SettingsStore> m_store;

  void writeTips(const QByteArray& contents) {
    QFile file(m_dir->filePath("Tips.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(contents), contents.size());
  }

  static constexpr char kFiveTips[] =
      "4270 Tip zero\n"
      "4280 Tip one\n"
      "Tip two has no topic\n"
      "12770 Tip three\n"
      "7500 Tip four\n";

  int32_t storedNextIndex() const {
    return readDialogNumber(*m_store, "QELStartupTips", "NextIndex", -100);
  }

 private slots:
  void init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_settings = std::make_unique<QSettings>(m_dir->filePath("qel.ini"), QSettings::IniFormat);
    m_store = std::make_unique<SettingsStore>(*m_settings);
  }

  void cleanup() {
    m_store.reset();
    m_settings.reset();
    m_dir.reset();
  }

  // Five tips with the next index 4: tip 4 shows and closing stores 0, so the next start shows
  // the first tip again; Next Tip carries on from there.
  void nextIndexWrapsAndIsStoredOnClosing() {
    writeTips(kFiveTips);
    writeDialogNumber(*m_store, "QELStartupTips", "NextIndex", 4);
    {
      QELStartupTipsViewWindows window(*m_store, m_dir->path());
      window.show();
      QCOMPARE(window.tipCount(), 5);
      QCOMPARE(window.text(), QString("Tip four"));
      QCOMPARE(storedNextIndex(), 4);  // nothing is stored before closing
      window.close();
    }
    QCOMPARE(storedNextIndex(), 0);
    {
      QELStartupTipsViewWindows window(*m_store, m_dir->path());
      window.show();
      QCOMPARE(window.text(), QString("Tip zero"));
      for (const char* next :
           {"Tip one", "Tip two has no topic", "Tip three", "Tip four", "Tip zero", "Tip one"}) {
        QTest::mouseClick(window.nextButton(), Qt::LeftButton);
        QCOMPARE(window.text(), QString(next));
      }
      window.close();
    }
    QCOMPARE(storedNextIndex(), 2);
    // An index stored for a longer file still lands on a tip of this one.
    writeDialogNumber(*m_store, "QELStartupTips", "NextIndex", 7);
    QELStartupTipsViewWindows window(*m_store, m_dir->path());
    QCOMPARE(window.text(), QString("Tip two has no topic"));
  }

  void moreOnThisTopicAsksForTheTipsOwnTopic() {
    writeTips(kFiveTips);
    writeDialogNumber(*m_store, "QELStartupTips", "NextIndex", 1);
    QELStartupTipsViewWindows window(*m_store, m_dir->path());
    window.show();
    QSignalSpy help(&window, &QELStartupTipsViewWindows::helpRequested);
    QTest::mouseClick(window.moreButton(), Qt::LeftButton);
    QCOMPARE(help.count(), 1);
    QCOMPARE(help.takeFirst().at(0).toInt(), 4280);
    // A tip without a number has no topic to open.
    QTest::mouseClick(window.nextButton(), Qt::LeftButton);
    QCOMPARE(window.helpContext(), 0);
    QVERIFY(!window.moreButton()->isEnabled());
    QTest::mouseClick(window.nextButton(), Qt::LeftButton);
    QVERIFY(window.moreButton()->isEnabled());
    QTest::mouseClick(window.moreButton(), Qt::LeftButton);
    QCOMPARE(help.takeFirst().at(0).toInt(), 12770);
  }

  // No file, an empty one, or a folder in its place: the window says why it has no tip, offers
  // nothing to click, and leaves the stored index for a file that has tips again.
  void missingOrEmptyTipsFileIsSaidSo() {
    writeDialogNumber(*m_store, "QELStartupTips", "NextIndex", 3);
    const struct {
      const char* name;
      std::function<void()> make;
      const char* says;
    } cases[] = {
        {"missing", [] {}, "No such file or directory"},
        {"empty", [this] { writeTips(""); }, "holds no tips"},
        {"blank lines", [this] { writeTips("\r\n   \r\n4270\r\n"); }, "holds no tips"},
        {"folder",
         [this] {
           QFile::remove(m_dir->filePath("Tips.txt"));
           QVERIFY(QDir(m_dir->path()).mkdir("Tips.txt"));
         },
         "not a regular file"},
    };
    for (const auto& c : cases) {
      c.make();
      QELStartupTipsViewWindows window(*m_store, m_dir->path());
      window.show();
      QVERIFY2(window.text().contains("Tips.txt"), c.name);
      QVERIFY2(window.text().contains(c.says), qPrintable(window.text()));
      QCOMPARE(window.tipCount(), 0);
      QCOMPARE(window.currentTip(), -1);
      QVERIFY(!window.nextButton()->isEnabled());
      QVERIFY(!window.moreButton()->isEnabled());
      window.showNextTip();
      QCOMPARE(window.currentTip(), -1);
      window.close();
      QCOMPARE(storedNextIndex(), 3);
    }
  }

  void showAtStartAndPlaceAreKeptBetweenStarts() {
    writeTips(kFiveTips);
    QPoint placed;
    {
      QELStartupTipsViewWindows window(*m_store, m_dir->path());
      QVERIFY(window.showAtStartBox()->isChecked());  // nothing stored: shown at start
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      window.move(160, 70);
      placed = window.pos();
      window.showAtStartBox()->click();
      QVERIFY(!readShowStartupTips(*m_store));
      window.close();
    }
    QVERIFY(m_settings->contains("QELStartupTipsPosition"));
    QELStartupTipsViewWindows again(*m_store, m_dir->path());
    QVERIFY(!again.showAtStartBox()->isChecked());
    QCOMPARE(again.pos(), placed);
    again.showAtStartBox()->click();
    QVERIFY(readShowStartupTips(*m_store));
  }
};

}  // namespace qel

QTEST_MAIN(qel::StartupTipsTest)
#include "StartupTipsTest.moc"
