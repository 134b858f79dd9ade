// The dialogs' common base and the dictionary properties dialog: positions kept under the dialog's
// name (and ignored off the screen), bound controls read and written back only when they should
// be, Help asking for the dialog's context, and a real dictionary's properties as its file is now.
#include <QFormLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/HelpContexts.h"
#include "common/qt/SettingsStore.h"
#include "definitions/qt/QELDictionaryPropertiesWindows.h"
#include "properties/FontChooserDialog.h"
#include "properties/PropertiesDialog.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

constexpr int kSampleHelp = 1234;

struct Values {
  QString name = "ann";
  bool exclusive = true;
  int longest = 12;
  int mode = 2;      // radio buttons
  int encoding = 1;  // drop-down list
  bool operator==(const Values&) const = default;
};

char* toString(const Values& v) {
  return QTest::toString(QString("{%1, %2, %3, %4, %5}")
                             .arg(v.name)
                             .arg(v.exclusive)
                             .arg(v.longest)
                             .arg(v.mode)
                             .arg(v.encoding));
}

// One control of every kind, bound to `values`.
class SampleDialog : public PropertiesDialog {
 public:
  SampleDialog(Values& values, Buttons buttons, SettingsBackend& settings,
               Sizing sizing = Sizing::kResizable)
      : PropertiesDialog("Sample", kSampleHelp, buttons, settings) {
    auto* form = new QFormLayout;
    form->addRow("&Name:", named(bind(new PVWEdit(PVWValue<QString>::of(values.name))), "name"));
    form->addRow(named(bind(new PVWCheckBox("E&xclusive", PVWValue<bool>::of(values.exclusive))),
                       "exclusive"));
    form->addRow("&Longest:",
                 named(bind(new PVWUpDown(1, 31, PVWValue<int>::of(values.longest))), "longest"));
    form->addRow(named(
        bind(new PVWRadioGroup("Mode", {{"&Independent", 1}, {"&Suppress", 0}, {"&Active only", 2}},
                               PVWValue<int>::of(values.mode))),
        "mode"));
    form->addRow("&Encoding:", named(bind(new PVWCombo({{"No Encoding", 0}, {"Hex Encoding", 1}},
                                                       PVWValue<int>::of(values.encoding))),
                                     "encoding"));
    setUp(form, sizing);
  }

  template <typename Control>
  Control* control(const char* name) {
    Control* found = findChild<Control*>(name);
    if (found == nullptr) qFatal("no control %s", name);
    return found;
  }
  QRadioButton* modeButton(int value) {
    return static_cast<QRadioButton*>(control<PVWRadioGroup>("mode")->button(value));
  }

 private:
  template <typename Control>
  static Control* named(Control* control, const char* name) {
    control->setObjectName(name);
    return control;
  }
};

QPushButton* button(QDialog& dialog, const char* name) {
  return dialog.findChild<QPushButton*>(name);
}

// A click on the box or the circle itself: a check box or radio button stretched across its row
// ignores a click in the blank space beyond its text.
void clickIndicator(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

void showAndWait(QWidget& widget) {
  widget.show();
  QVERIFY(QTest::qWaitForWindowExposed(&widget));
}

}  // namespace

class PropertiesDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    reopenSettings();
  }
  void cleanup() {
    m_store.reset();
    m_settings.reset();
    m_dir.reset();
  }

  void positionIsStoredOnCloseAndRestoredOnTheNextOpen_data() {
    QTest::addColumn<QString>("closing");
    QTest::newRow("OK") << "ok";
    QTest::newRow("Cancel") << "cancel";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("window closed") << "close";
    QTest::newRow("destroyed while showing") << "destroy";
  }
  void positionIsStoredOnCloseAndRestoredOnTheNextOpen() {
    QFETCH(QString, closing);
    Values values;
    QString stored;
    {
      SampleDialog dialog(values, PropertiesDialog::Buttons::kOkCancel, *m_store);
      showAndWait(dialog);
      dialog.move(60, 70);
      dialog.resize(330, 420);
      QTRY_COMPARE(dialog.size(), QSize(330, 420));
      stored = QString("0,%1,%2,330,420").arg(dialog.pos().x()).arg(dialog.pos().y());
      QVERIFY(!m_settings->contains("SamplePosition"));  // nothing before it closes
      if (closing == "ok") {
        QTest::mouseClick(button(dialog, "ok"), Qt::LeftButton);
      } else if (closing == "cancel") {
        QTest::mouseClick(button(dialog, "cancel"), Qt::LeftButton);
      } else if (closing == "escape") {
        QTest::keyClick(&dialog, Qt::Key_Escape);
      } else if (closing == "close") {
        dialog.close();
      }
      if (closing != "destroy") QVERIFY(!dialog.isVisible());
    }
    reopenSettings();
    QCOMPARE(m_settings->value("SamplePosition").toString(), stored);

    SampleDialog again(values, PropertiesDialog::Buttons::kOkCancel, *m_store);
    showAndWait(again);
    QTRY_COMPARE(
        QRect(again.pos(), again.size()),
        QRect(stored.section(',', 1, 1).toInt(), stored.section(',', 2, 2).toInt(), 330, 420));
  }

  void aDialogOfFixedSizeKeepsItsOwnSize() {
    m_store->writeString("SamplePosition", "0,40,50,900,700");
    Values values;
    SampleDialog dialog(values, PropertiesDialog::Buttons::kOkCancel, *m_store,
                        PropertiesDialog::Sizing::kFixed);
    QCOMPARE(dialog.pos(), QPoint(40, 50));
    QVERIFY(dialog.size() != QSize(900, 700));
    QCOMPARE(dialog.size(), dialog.sizeHint());
  }

  void aPositionOffTheScreenIsIgnored() {
    const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
    m_store->writeString("SamplePosition",
                         QString("0,%1,50,300,200").arg(desktop.right() + 1).toStdString());
    Values values;
    SampleDialog dialog(values, PropertiesDialog::Buttons::kOkCancel, *m_store);
    QVERIFY(!dialog.testAttribute(Qt::WA_Moved));
    QVERIFY(!dialog.testAttribute(Qt::WA_Resized));
    showAndWait(dialog);
    QVERIFY(desktop.contains(dialog.geometry().topLeft()));
    dialog.reject();
    // Where it showed instead replaces the place that could not be used.
    QCOMPARE(m_settings->value("SamplePosition").toString(), QString("0,%1,%2,%3,%4")
                                                                 .arg(dialog.pos().x())
                                                                 .arg(dialog.pos().y())
                                                                 .arg(dialog.width())
                                                                 .arg(dialog.height()));
  }

  void okWritesTheControlsBackAndCancelWritesNothing_data() {
    QTest::addColumn<QString>("closing");
    QTest::addColumn<bool>("written");
    QTest::newRow("OK") << "ok" << true;
    QTest::newRow("Cancel") << "cancel" << false;
    QTest::newRow("Escape") << "escape" << false;
  }
  void okWritesTheControlsBackAndCancelWritesNothing() {
    QFETCH(QString, closing);
    QFETCH(bool, written);
    Values values;
    const Values before = values;
    SampleDialog dialog(values, PropertiesDialog::Buttons::kOkCancel, *m_store);
    showAndWait(dialog);

    // Bound controls show their values from the start.
    QCOMPARE(dialog.control<PVWEdit>("name")->text(), QString("ann"));
    QVERIFY(dialog.control<PVWCheckBox>("exclusive")->isChecked());
    QCOMPARE(dialog.control<PVWUpDown>("longest")->value(), 12);
    QVERIFY(dialog.modeButton(2)->isChecked());
    QCOMPARE(dialog.control<PVWCombo>("encoding")->currentText(), QString("Hex Encoding"));

    // The user changes every one of them; nothing is written while the dialog is open.
    PVWEdit* name = dialog.control<PVWEdit>("name");
    name->selectAll();
    QTest::keyClicks(name, "bob");
    clickIndicator(dialog.control<PVWCheckBox>("exclusive"));
    PVWUpDown* longest = dialog.control<PVWUpDown>("longest");
    longest->selectAll();
    QTest::keyClicks(longest, "20");
    clickIndicator(dialog.modeButton(0));
    QTest::keyClick(dialog.control<PVWCombo>("encoding"), Qt::Key_Up);
    QCOMPARE(values, before);

    if (closing == "ok") {
      QTest::mouseClick(button(dialog, "ok"), Qt::LeftButton);
    } else if (closing == "cancel") {
      QTest::mouseClick(button(dialog, "cancel"), Qt::LeftButton);
    } else {
      QTest::keyClick(&dialog, Qt::Key_Escape);
    }
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), written ? QDialog::Accepted : QDialog::Rejected);
    const Values changed{"bob", false, 20, 0, 0};
    QCOMPARE(values, written ? changed : before);
  }

  void withCloseEachChangeIsWrittenAtOnce() {
    Values values;
    SampleDialog dialog(values, PropertiesDialog::Buttons::kClose, *m_store);
    QVERIFY(button(dialog, "ok") == nullptr);
    QVERIFY(button(dialog, "cancel") == nullptr);
    QSignalSpy changed(&dialog, &PropertiesDialog::valueChanged);
    showAndWait(dialog);

    PVWEdit* name = dialog.control<PVWEdit>("name");
    name->selectAll();
    QTest::keyClicks(name, "cy");
    QCOMPARE(values.name, QString("cy"));
    QTest::keyClick(dialog.control<PVWUpDown>("longest"), Qt::Key_Up);
    QCOMPARE(values.longest, 13);
    clickIndicator(dialog.modeButton(1));
    QCOMPARE(values.mode, 1);
    QTest::keyClick(dialog.control<PVWCombo>("encoding"), Qt::Key_Up);
    QCOMPARE(values.encoding, 0);
    QCOMPARE(changed.size(), 5);  // "c", "y", the arrow, the button, the list
    QCOMPARE(changed.last().at(0).value<QWidget*>(), dialog.control<PVWCombo>("encoding"));

    QTest::mouseClick(button(dialog, "close"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(values, (Values{"cy", true, 13, 1, 0}));
  }

  void aValueThatIsNoChoiceStaysUntilTheUserChooses() {
    Values values;
    values.mode = 7;
    values.encoding = -1;
    SampleDialog dialog(values, PropertiesDialog::Buttons::kOkCancel, *m_store);
    for (int mode : {0, 1, 2}) QVERIFY(!dialog.modeButton(mode)->isChecked());
    QCOMPARE(dialog.control<PVWCombo>("encoding")->currentIndex(), -1);
    dialog.control<PVWEdit>("name")->setText("eve");
    dialog.writeValues();
    QCOMPARE(values, (Values{"eve", true, 12, 7, -1}));
  }

  void helpAsksForTheDialogsContext() {
    Values values;
    SampleDialog dialog(values, PropertiesDialog::Buttons::kOkCancel, *m_store);
    QSignalSpy help(&dialog, &PropertiesDialog::helpRequested);
    showAndWait(dialog);
    dialog.control<PVWEdit>("name")->setText("fay");
    QTest::mouseClick(button(dialog, "help"), Qt::LeftButton);
    QTest::keyClick(dialog.control<PVWEdit>("name"), Qt::Key_F1);
    QCOMPARE(help.size(), 2);
    QCOMPARE(help.at(0).at(0).toInt(), kSampleHelp);
    QCOMPARE(help.at(1).at(0).toInt(), kSampleHelp);
    // Help neither closes the dialog nor applies it.
    QVERIFY(dialog.isVisible());
    QCOMPARE(values.name, QString("ann"));
  }

  // The font chooser works in points and knows only the faces installed: OK without a change
  // gives back the stored font's size in pixels, weight, style and colour, whatever the face.
  void fontChooserLeftAloneGivesBackTheFont_data() {
    QTest::addColumn<QString>("fontText");
    QTest::newRow("a face that is missing") << "0,0,255,-16,0,0,0,400,0,0,0,0,0,0,0,49,Courier New";
    QTest::newRow("bold italic") << "255,0,0,-20,0,0,0,700,255,0,0,0,3,2,1,18,DejaVu Serif";
  }
  void fontChooserLeftAloneGivesBackTheFont() {
    QFETCH(QString, fontText);
    const FontSetting stored = parseFont(fontText.toStdString());
    FontChooserDialog chooser("Font", toQFont(stored), textColour(stored));
    showAndWait(chooser);
    // Return where the focus is: in the font dialog inside the chooser.
    QWidget* focus = chooser.focusWidget();
    QVERIFY(focus != nullptr && focus != &chooser);
    QTest::keyClick(focus, Qt::Key_Return);
    QCOMPARE(chooser.result(), int(QDialog::Accepted));
    const FontSetting chosen = toFontSetting(chooser.font(), chooser.colour(), stored);
    QCOMPARE(chosen.height, stored.height);
    QCOMPARE(chosen.weight, stored.weight);
    QCOMPARE(chosen.italic != 0, stored.italic != 0);
    QCOMPARE(chosen.textColour, stored.textColour);
  }

  void dictionaryPropertiesShowTheDictionaryAsItIs() {
    test::TempDir dir;
    const std::string path = dir.file("words.qcd");
    test::BuildOptions options;
    options.description = "Caf\xE9 words";  // code page 1252
    QVERIFY(test::buildTestDictionary(
        path, {"electron", "tail|the end", "fly-by-night|one who leaves by night", "ox"}, options));
    QCDictionaryList list(path);

    QELDictionaryPropertiesWindows dialog(list, 0, *m_store);
    QCOMPARE(dialog.windowTitle(), QString("words Properties"));
    QCOMPARE(fields(dialog),
             (QStringList{QString::fromStdString(path), "Caf\u00E9 words", "4", "2", "2", "10"}));
    QVERIFY(!field(dialog, "date").isEmpty());
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) QVERIFY(edit->isReadOnly());
    QVERIFY(dialog.findChild<QPlainTextEdit*>("description")->isReadOnly());
    QVERIFY(button(dialog, "cancel") == nullptr);

    QSignalSpy help(&dialog, &PropertiesDialog::helpRequested);
    showAndWait(dialog);
    QTest::mouseClick(button(dialog, "help"), Qt::LeftButton);
    QCOMPARE(help.size(), 1);
    QCOMPARE(help.at(0).at(0).toInt(), help::kDictionaryPropertiesDialog);
    QTest::mouseClick(button(dialog, "ok"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QVERIFY(m_settings->contains("DictionaryPropertiesPosition"));

    // The file rebuilt behind the open list: the dialog reads it again.
    QVERIFY(test::buildTestDictionary(path, {"ox", "yak", "gnu", "platypus|a mammal"}, options));
    QELDictionaryPropertiesWindows rebuilt(list, 0, *m_store);
    QCOMPARE(fields(rebuilt).mid(2), (QStringList{"4", "1", "2", "8"}));
  }

  void invalidDictionariesShowWhyAndNoFigures_data() {
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("description");
    QTest::newRow("missing") << false << "-- DICTIONARY FILE NOT FOUND --";
    QTest::newRow("not a dictionary") << true << "-- INVALID DICTIONARY FILE --";
  }
  void invalidDictionariesShowWhyAndNoFigures() {
    QFETCH(bool, exists);
    QFETCH(QString, description);
    test::TempDir dir;
    const std::string path = dir.file("broken.qcd");
    if (exists) test::writeFile(path, std::string(4000, 'x'));
    QCDictionaryList list(path);
    QELDictionaryPropertiesWindows dialog(list, 0, *m_store);
    QCOMPARE(dialog.windowTitle(), QString("broken Properties"));
    QCOMPARE(fields(dialog),
             (QStringList{QString::fromStdString(path), description, "", "", "", ""}));
    QCOMPARE(field(dialog, "date").isEmpty(), !exists);
  }

 private:
  void reopenSettings() {
    m_store.reset();
    m_settings = std::make_unique<QSettings>(m_dir->filePath("settings.ini"), QSettings::IniFormat);
    m_store = std::make_unique<SettingsStore>(*m_settings);
  }
  static QString field(QDialog& dialog, const char* name) {
    if (auto* edit = dialog.findChild<QLineEdit*>(name)) return edit->text();
    if (auto* text = dialog.findChild<QPlainTextEdit*>(name)) return text->toPlainText();
    return "(no field)";
  }
  // Location, description, entries, definitions, shortest, longest.
  static QStringList fields(QDialog& dialog) {
    QStringList texts;
    for (const char* name :
         {"location", "description", "entries", "definitions", "shortest", "longest"}) {
      texts << field(dialog, name);
    }
    return texts;
  }

  std::unique_ptr<QTemporaryDir> m_dir;
  std::unique_ptr<QSettings> m_settings;
  std::unique_ptr<SettingsStore> m_store;
};

}  // namespace qel

QTEST_MAIN(qel::PropertiesDialogTest)
#include "PropertiesDialogTest.moc"
