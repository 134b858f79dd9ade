// The External Lookup prompt, the Lookup Methods dialog and the External Lookup popup, driven as a
// user drives them: the prompt's texts and its way to the setup dialog, the three-state boxes
// clicked through, labels typed, the test lookup, Browse and saving; the popup's method items.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "common/qt/SettingsStore.h"
#include "lookup/qt/ExternalLookupMenu.h"
#include "lookup/qt/ExternalLookupViewWindows.h"
#include "lookup/qt/LookupPropertiesViewWindows.h"
#include "lookup/qt/LookupService.h"
#include "properties/PVWControls.h"
#include "support/RecordingPrompts.h"
#include "support/WindowInput.h"

namespace qel {
namespace {

constexpr LookupMethodRef kGoogle{LookupKind::kWebSearch, 0};
constexpr LookupMethodRef kOneLook{LookupKind::kWebSearch, 1};
constexpr LookupMethodRef kDde1{LookupKind::kDde, 0};
constexpr LookupMethodRef kExec1{LookupKind::kExecute, 0};

template <typename Control>
Control* control(QWidget& dialog, const char* name) {
  Control* found = dialog.findChild<Control*>(name);
  if (found == nullptr) qFatal("no control %s", name);
  return found;
}

// A click on the box itself: a check box stretched across its cell ignores one beyond its text.
void clickBox(QWidget& dialog, const char* name) {
  auto* box = control<QCheckBox>(dialog, name);
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

Qt::CheckState boxState(QWidget& dialog, const char* name) {
  return control<QCheckBox>(dialog, name)->checkState();
}

// Typed key by key, accented letters too (which QTest::keyClicks takes only in ASCII).
void type(QWidget* widget, const QString& text) {
  for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, c, {});
}

void showAndWait(QWidget& widget) {
  widget.show();
  QVERIFY(QTest::qWaitForWindowExposed(&widget));
}

// Does `act` with the Lookup Methods dialog once it shows modally, then closes it.
void onceSetupShows(std::function<void(QWidget&)> act) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    auto* setup = qobject_cast<LookupPropertiesViewWindows*>(QApplication::activeModalWidget());
    if (setup == nullptr || !setup->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    act(*setup);
    QTest::mouseClick(control<QPushButton>(*setup, "close"), Qt::LeftButton);
  });
  poll->start();
}

// Calls `act` once a modal dialog of type T other than `except` shows, polling for as long as
// `context` lives.
template <typename T>
void whenModal(QObject* context, std::function<void(T&)> act, QWidget* except = nullptr) {
  auto* poll = new QTimer(context);
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, act, except] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (dialog == nullptr || dialog == except || !QTest::qWaitForWindowExposed(dialog)) return;
    poll->stop();
    poll->deleteLater();
    act(*dialog);
  });
  poll->start();
}

// A click on a named button or box of a dialog, through its window.
void clickNamed(QWidget& dialog, const char* name) {
  auto* button = control<QAbstractButton>(dialog, name);
  if (button->isCheckable())
    test::clickIndicator(button);
  else
    test::clickCentre(button);
}

}  // namespace

class LookupDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_settings = std::make_unique<QSettings>(m_dir->filePath("settings.ini"), QSettings::IniFormat);
    m_store = std::make_unique<SettingsStore>(*m_settings);
    m_table = LookupMethodTable();
    m_table.load(*m_store);
    m_tested.clear();
  }
  void cleanup() {
    m_store.reset();
    m_settings.reset();
    m_dir.reset();
  }

  void thePromptAsksInOneOfFourWays_data() {
    QTest::addColumn<bool>("noDefinitions");
    QTest::addColumn<bool>("anyEnabled");
    QTest::addColumn<QString>("start");
    QTest::newRow("asked") << false << true
                           << "Would you like to try an external search for \"tail-end\" now?";
    QTest::newRow("nothing enabled") << false << false
                                     << "No external lookup methods are enabled.\n\nClick on the "
                                        "Setup... button";
    QTest::newRow("no definitions") << true << true
                                    << "No definitions for \"tail-end\" could be found in the QEL "
                                       "dictionaries.\n\nWould you like";
    QTest::newRow("no definitions, nothing enabled")
        << true << false
        << "No definitions for \"tail-end\" could be found in the QEL dictionaries.\n\nClick on";
  }
  void thePromptAsksInOneOfFourWays() {
    QFETCH(bool, noDefinitions);
    QFETCH(bool, anyEnabled);
    QFETCH(QString, start);
    if (!anyEnabled) disableAll();
    ExternalLookupViewWindows prompt(m_table, *m_store, "tail-end", noDefinitions, testLookup());
    QCOMPARE(prompt.windowTitle(), QString("External Lookup - tail-end"));
    QVERIFY2(prompt.message().startsWith(start), qPrintable(prompt.message()));
    QCOMPARE(control<QPushButton>(prompt, "ok")->isEnabled(), anyEnabled);
    QVERIFY(control<QPushButton>(prompt, "cancel")->isEnabled());
  }

  void setupFromThePromptEnablingAMethodTurnsItIntoTheQuestion() {
    disableAll();
    ExternalLookupViewWindows prompt(m_table, *m_store, "caf\xe9", false, testLookup());
    showAndWait(prompt);
    QVERIFY(!control<QPushButton>(prompt, "ok")->isEnabled());
    onceSetupShows([](QWidget& setup) { clickBox(setup, "webBox2"); });
    QTest::mouseClick(control<QPushButton>(prompt, "setup"), Qt::LeftButton);

    QCOMPARE(prompt.message(),
             QString::fromUtf8("Would you like to try an external search for \"café\" now?"));
    QVERIFY(control<QPushButton>(prompt, "ok")->isEnabled());
    QCOMPARE(m_table.defaultLabel(), std::string("&OneLook"));
    QTest::mouseClick(control<QPushButton>(prompt, "ok"), Qt::LeftButton);
    QCOMPARE(prompt.result(), int(QDialog::Accepted));
  }

  void aBoxClickedThroughSwitchesTheMethodAndMovesTheDefault() {
    LookupPropertiesViewWindows dialog(m_table, *m_store, testLookup());
    showAndWait(dialog);
    QCOMPARE(dialog.windowTitle(), QString("Lookup Methods"));
    QCOMPARE(boxState(dialog, "webBox1"), Qt::Checked);
    QCOMPARE(boxState(dialog, "webBox2"), Qt::PartiallyChecked);
    QCOMPARE(boxState(dialog, "ddeBox1"), Qt::Unchecked);

    clickBox(dialog, "ddeBox1");  // clear to checked: enabled and the default
    QCOMPARE(boxState(dialog, "ddeBox1"), Qt::Checked);
    QCOMPARE(boxState(dialog, "webBox1"), Qt::PartiallyChecked);
    QCOMPARE(m_table.defaultLabel(), std::string("&Chambers"));
    QVERIFY(m_table.method(kDde1).enabled);

    clickBox(dialog, "ddeBox1");  // checked to grey: enabled, no longer the default
    QCOMPARE(boxState(dialog, "ddeBox1"), Qt::PartiallyChecked);
    QCOMPARE(m_table.defaultLabel(), std::string());
    QVERIFY(m_table.method(kDde1).enabled);

    clickBox(dialog, "ddeBox1");  // grey to clear
    QCOMPARE(boxState(dialog, "ddeBox1"), Qt::Unchecked);
    QVERIFY(!m_table.method(kDde1).enabled);
    QCOMPARE(m_table.enabledCount(), 2);
  }

  void typingALabelEnablesTheRowAndTheDefaultFollowsIt() {
    LookupPropertiesViewWindows dialog(m_table, *m_store, testLookup());
    showAndWait(dialog);
    auto* label = control<QLineEdit>(dialog, "webLabel3");
    QTest::keyClicks(label, "&Mine");
    QCOMPARE(boxState(dialog, "webBox3"), Qt::PartiallyChecked);
    QCOMPARE(m_table.method({LookupKind::kWebSearch, 2}).label, std::string("&Mine"));
    QTest::keyClicks(control<QLineEdit>(dialog, "webFirst3"), "https://x.example/{entry}");
    QCOMPARE(m_table.method({LookupKind::kWebSearch, 2}).first,
             std::string("https://x.example/{entry}"));
    for (int i = 0; i < 5; ++i) QTest::keyClick(label, Qt::Key_Backspace);
    QCOMPARE(boxState(dialog, "webBox3"), Qt::Unchecked);

    auto* googleLabel = control<QLineEdit>(dialog, "webLabel1");
    QTest::keyClick(googleLabel, Qt::Key_End);
    QTest::keyClicks(googleLabel, "!");
    QCOMPARE(m_table.defaultLabel(), std::string("&Google!"));
    QCOMPARE(boxState(dialog, "webBox1"), Qt::Checked);
  }

  void testLookupResolvesTheDefaultAndLooksUpTheTestWord() {
    m_table.method(kGoogle).enabled = false;  // the default names a disabled method
    LookupPropertiesViewWindows dialog(m_table, *m_store, testLookup());
    showAndWait(dialog);
    auto* word = control<QLineEdit>(dialog, "testWord");
    QCOMPARE(word->text(), QString("example"));
    word->clear();
    type(word, QString::fromUtf8("café"));
    QTest::mouseClick(control<QPushButton>(dialog, "testLookup"), Qt::LeftButton);
    QCOMPARE(m_tested, QStringList{QString::fromUtf8("Lookup Methods: café")});
    QCOMPARE(m_table.defaultLabel(), std::string("&OneLook"));
    QCOMPARE(boxState(dialog, "webBox2"), Qt::Checked);
  }

  // A word beyond the code page is tried as it is with a web search or D-Bus default; with any
  // other default it cannot be, and the dialog says why.
  void aWordBeyondTheCodePageIsTriedWhereTheMethodTakesIt_data() {
    QTest::addColumn<QString>("makeDefault");  // the box clicked to make its method the default
    QTest::addColumn<bool>("tried");
    QTest::newRow("web search") << "" << true;
    QTest::newRow("D-Bus") << "ddeBox1" << true;
    QTest::newRow("program") << "execBox1" << false;
  }
  void aWordBeyondTheCodePageIsTriedWhereTheMethodTakesIt() {
    QFETCH(QString, makeDefault);
    QFETCH(bool, tried);
    m_table.method(kExec1) = {false, "&Run", "/bin/true", "0"};
    LookupPropertiesViewWindows dialog(m_table, *m_store, testLookup());
    showAndWait(dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    if (!makeDefault.isEmpty()) clickNamed(dialog, qPrintable(makeDefault));
    test::clickCentre(control<QLineEdit>(dialog, "testWord"));
    test::pressKey(&dialog, Qt::Key_A, Qt::ControlModifier);
    test::typeText(&dialog, QString::fromUtf8("жук"));
    QCOMPARE(m_table.testWord(), std::string("жук"));
    QCOMPARE(control<QPushButton>(dialog, "testLookup")->isEnabled(), tried);
    QCOMPARE(control<QLabel>(dialog, "testWordWarning")->isVisible(), !tried);
    test::clickCentre(control<QPushButton>(dialog, "testLookup"));
    QCOMPARE(m_tested,
             tried ? QStringList{QString::fromUtf8("Lookup Methods: жук")} : QStringList());
  }

  // The D-Bus rows say where the word goes: the service, and the object path their topic makes.
  // The stored values keep their names.
  void theDBusRowsShowTheObjectPathOfTheirTopic_data() {
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("path");
    QTest::newRow("a name") << "Words"
                            << "object /Words";
    QTest::newRow("a path") << "org/example/Words"
                            << "object /org/example/Words";
    QTest::newRow("other characters") << "Win Word-6"
                                      << "object /Win_Word_6";
  }
  void theDBusRowsShowTheObjectPathOfTheirTopic() {
    QFETCH(QString, topic);
    QFETCH(QString, path);
    LookupPropertiesViewWindows dialog(m_table, *m_store, testLookup());
    showAndWait(dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(control<QLabel>(dialog, "ddePath1")->text(), QString("object /WinWord"));
    test::clickCentre(control<QLineEdit>(dialog, "ddeSecond1"));
    test::pressKey(&dialog, Qt::Key_A, Qt::ControlModifier);
    test::typeText(&dialog, topic);
    QCOMPARE(control<QLabel>(dialog, "ddePath1")->text(), path);
    clickNamed(dialog, "saveAsDefaults");
    m_settings->sync();
    QCOMPARE(m_settings->value("DDETopic1").toString(), topic);
    QCOMPARE(m_settings->value("LookupDDEService1").toString(), QString("CompLex"));
  }

  // Test lookup with nothing enabled prompts, and the prompt offers Setup: that brings back the
  // Lookup Methods dialog already open rather than a second one.
  void setupNeverOpensASecondLookupMethodsDialog() {
    QWidget owner;
    LookupService service(*m_store, &owner);
    QObject script;
    QWidget* first = nullptr;
    int seconds = 0;
    bool promptClosed = false;
    bool sawPrompt = false;
    bool backInFirst = false;
    whenModal<LookupPropertiesViewWindows>(&script, [&](LookupPropertiesViewWindows& setup) {
      first = &setup;
      whenModal<LookupPropertiesViewWindows>(
          &script,
          [&](LookupPropertiesViewWindows& second) {
            ++seconds;
            clickNamed(second, "close");
          },
          first);
      for (const char* box : {"webBox1", "webBox1", "webBox2"}) clickNamed(setup, box);
      whenModal<ExternalLookupViewWindows>(&script, [&](ExternalLookupViewWindows& prompt) {
        sawPrompt = true;
        clickNamed(prompt, "setup");
        promptClosed = !prompt.isVisible();
        if (!promptClosed) clickNamed(prompt, "cancel");
      });
      clickNamed(setup, "testLookup");
      backInFirst = QApplication::activeModalWidget() == first;
      clickNamed(setup, "close");
    });
    service.showLookupSetup(&owner);
    QVERIFY(first);
    QVERIFY(sawPrompt);
    QCOMPARE(seconds, 0);
    QVERIFY(promptClosed);
    QVERIFY(backInFirst);
  }

  void browseAndTheEncodingSetTheProgramRow() {
    test::RecordingPrompts prompts;
    prompts.chosenFiles = {"/opt/words/look up"};
    LookupPropertiesViewWindows dialog(m_table, *m_store, testLookup());
    showAndWait(dialog);
    QTest::mouseClick(control<QPushButton>(dialog, "execBrowse1"), Qt::LeftButton);
    QCOMPARE(prompts.shown, QStringList{"Application File Selection (Application File (*))"});
    QCOMPARE(control<QLineEdit>(dialog, "execFirst1")->text(), QString("/opt/words/look up"));
    QCOMPARE(m_table.method(kExec1).first, std::string("/opt/words/look up"));

    auto* encoding = control<QComboBox>(dialog, "execEncoding1");
    QCOMPARE(encoding->currentText(), QString("No Encoding"));
    encoding->setFocus();
    QTest::keyClick(encoding, Qt::Key_Down);
    QCOMPARE(encoding->currentText(), QString("Hex Encoding"));
    QCOMPARE(m_table.method(kExec1).second, std::string("1"));
  }

  void saveAsDefaultsStoresTheTableForTheNextStart() {
    LookupPropertiesViewWindows dialog(m_table, *m_store, testLookup());
    showAndWait(dialog);
    clickBox(dialog, "webBox2");                       // OneLook off
    QVERIFY(!m_settings->contains("LookupTestWord"));  // changes alone are not stored
    QTest::mouseClick(control<QPushButton>(dialog, "saveAsDefaults"), Qt::LeftButton);
    m_settings->sync();

    LookupMethodTable next;
    next.load(*m_store);
    QCOMPARE(next, m_table);
    QVERIFY(!next.method(kOneLook).enabled);
    QCOMPARE(m_settings->value("LookupWebSearchEnabled2").toInt(), 0);
  }

  void thePopupListsTheEnabledMethodsBeforeSetup() {
    QMenu popup;
    popup.addSeparator();
    QAction* setup = popup.addAction("&Setup...");
    buildExternalLookupMenu(&popup, m_table, true);
    QCOMPARE(texts(popup), (QStringList{"&Google\tCtrl+Alt+Enter", "&OneLook", "", "&Setup..."}));
    QVERIFY(popup.actions()[0]->isChecked());
    QVERIFY(!popup.actions()[1]->isChecked());
    QCOMPARE(popup.actions()[1]->data().value<Command>(), externalLookupMethodCommand(1));
    QVERIFY(popup.actions()[1]->isEnabled());

    // More methods, a new default, and no word: the items follow, greyed.
    m_table.method(kDde1).enabled = true;
    m_table.method(kExec1) = {true, "&Run", "/bin/true", "0"};
    m_table.setDefaultLabel("&Run");
    buildExternalLookupMenu(&popup, m_table, false);
    QCOMPARE(texts(popup), (QStringList{"&Google", "&OneLook", "&Chambers", "&Run\tCtrl+Alt+Enter",
                                        "", "&Setup..."}));
    QVERIFY(popup.actions()[3]->isChecked());
    QCOMPARE(popup.actions()[3]->data().value<Command>(), externalLookupMethodCommand(3));
    QVERIFY(!popup.actions()[0]->isEnabled());

    disableAll();
    buildExternalLookupMenu(&popup, m_table, true);
    QCOMPARE(popup.actions().size(), 2);
    QVERIFY(popup.actions()[0]->isSeparator());
    QCOMPARE(popup.actions()[1], setup);
  }

 private:
  void disableAll() {
    for (LookupMethodRef ref : m_table.enabledMethods()) m_table.method(ref).enabled = false;
  }
  LookupPropertiesViewWindows::TestLookup testLookup() {
    return [this](QWidget* parent, const std::string& wordUtf8) {
      m_tested << parent->windowTitle() + ": " + QString::fromStdString(wordUtf8);
    };
  }
  static QStringList texts(const QMenu& popup) {
    QStringList list;
    for (const QAction* action : popup.actions()) list << action->text();
    return list;
  }

  std::unique_ptr<QTemporaryDir> m_dir;
  std::unique_ptr<QSettings> m_settings;
  std::unique_ptr<SettingsStore> m_store;
  LookupMethodTable m_table;
  QStringList m_tested;
};

}  // namespace qel

QTEST_MAIN(qel::LookupDialogsTest)
#include "LookupDialogsTest.moc"
