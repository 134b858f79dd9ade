// The Quick Reference window: each example, clicked, runs its search in a real main view and finds
// its word; each feature asks for its own help topic; the window's place and its "show at start"
// box are kept between starts.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/WindowSettings.h"
#include "app/qt/QuickReferenceWindow.h"
#include "common/qt/SettingsStore.h"
#include "search/SearchSession.h"
#include "search/qt/QELViewWindows.h"
#include "support/TestDictionaries.h"

namespace qel {

class QuickReferenceTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir m_dir;
  std::string m_dictionary;
  std::unique_ptr<QTemporaryDir> m_settingsDir;
  std::unique_ptr<QSettings> m_settings;
  std::unique_ptr<SettingsStore> m_store;

  static QStringList entries(const ResultList& results) {
    QStringList out;
    for (long i = 0; i < results.count(); ++i)
      out << QString::fromLatin1(results.record(i)->entry());
    return out;
  }

 private slots:
  void initTestCase() {
    m_dictionary = m_dir.file("reference.qcd");
    // The ten words, and near misses that each example has to pass over.
    QVERIFY(test::buildTestDictionary(
        m_dictionary, {"electron", "election", "obelisk", "maharaja", "mojo", "sardine", "diners",
                       "toboggan", "beriberi", "fly-by-night", "flyby", "tonight", "footing",
                       "imaginative", "readable", "rebel"}));
  }

  void init() {
    m_settingsDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_settingsDir->isValid());
    m_settings =
        std::make_unique<QSettings>(m_settingsDir->filePath("qel.ini"), QSettings::IniFormat);
    m_store = std::make_unique<SettingsStore>(*m_settings);
  }

  void cleanup() {
    m_store.reset();
    m_settings.reset();
    m_settingsDir.reset();
  }

  void everyExampleSearchesAndEveryFeatureOpensItsTopic() {
    const struct {
      const char* feature;
      const char* example;
      const char* finds;
    } expected[] = {
        {"Templates", ".l...r.n", "electron"},
        {"Anagrams", ";lobikes", "obelisk"},
        {"Wildcards", "m*ja", "maharaja"},
        {"Choice lists", ";diners[ai]", "sardine"},
        {"Templates with anagrams", "......*;gdangboot", "toboggan"},
        {"Letter variables", "12341234", "beriberi"},
        {"Punctuation matching", "...-..-.....", "fly-by-night"},
        {"Logical operations", ";..oting & ! *ing", "tonight"},
        {"Macros", "@#@#@#@#@#@", "imaginative"},
        {"Sub-patterns", ";rebel(ada)", "readable"},
    };
    QCDictionaryList list(m_dictionary);
    QELViewWindows view;
    view.setDictionaries(&list);
    view.show();
    QELQuickReferenceViewWindows window(*m_store, &view);
    connect(&window, &QELQuickReferenceViewWindows::exampleChosen, &view,
            &QELViewWindows::setPatternAndSearch);
    window.show();
    QSignalSpy help(&window, &QELQuickReferenceViewWindows::helpRequested);
    QStringList shownTexts;
    for (const QLabel* label : window.findChildren<QLabel*>()) shownTexts << label->text();

    for (int i = 0; i < 10; ++i) {
      const auto& row = expected[i];
      QCOMPARE(window.featureButton(i)->text(), QString(row.feature));
      QVERIFY2(shownTexts.contains(row.finds), row.finds);
      QTest::mouseClick(window.exampleButton(i), Qt::LeftButton);
      QCOMPARE(view.patternBox()->currentText(), QString(row.example));
      QTRY_VERIFY_WITH_TIMEOUT(view.state() == SearchState::Ready, 20000);
      QCOMPARE(entries(view.session()->pane(0).results), QStringList(row.finds));

      QTest::mouseClick(window.featureButton(i), Qt::LeftButton);
      QCOMPARE(help.count(), 1);
      QCOMPARE(help.takeFirst().at(0).toInt(), 11910 + i);
    }
    QCOMPARE(window.exampleButton(10), nullptr);
  }

  void placeAndShowAtStartAreKeptBetweenStarts() {
    QPoint placed;
    {
      QELQuickReferenceViewWindows window(*m_store);
      QVERIFY(window.showAtStartBox()->isChecked());  // nothing stored: shown at start
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      window.move(140, 90);
      placed = window.pos();
      window.showAtStartBox()->click();
      QVERIFY(!readShowQuickReference(*m_store));
      window.close();
    }
    QVERIFY(m_settings->contains("QELQuickReferencePosition"));
    QELQuickReferenceViewWindows again(*m_store);
    QVERIFY(!again.showAtStartBox()->isChecked());
    QCOMPARE(again.pos(), placed);
    again.showAtStartBox()->click();
    QVERIFY(readShowQuickReference(*m_store));
  }
};

}  // namespace qel

QTEST_MAIN(qel::QuickReferenceTest)
#include "QuickReferenceTest.moc"
