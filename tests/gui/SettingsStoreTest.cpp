// The settings store over a real INI file: every kind of value survives a save and a new start,
// a machine with no settings starts with the defaults, stored values that cannot be used are not,
// and windows come back where they were, or stay put when that place is off the screen.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <memory>
#include <type_traits>

#include "app/Options.h"
#include "app/WindowSettings.h"
#include "common/qt/SettingsStore.h"
#include "search/SearchOptions.h"
#include "search/SearchSettings.h"

namespace qel {
namespace {

// Every option away from its default, with texts beyond ASCII where the option holds text.
Options everyOptionChanged() {
  Options options;
  for (const OptionInfo& info : optionTable()) {
    std::visit(
        [&](auto member) {
          auto& value = options.*member;
          using T = std::decay_t<decltype(value)>;
          if constexpr (std::is_same_v<T, bool>) {
            value = !value;
          } else if constexpr (std::is_same_v<T, int32_t>) {
            value = value == info.maximum ? info.minimum : info.maximum;
          } else if constexpr (std::is_same_v<T, std::string>) {
            value =
                info.kind == OptionKind::PatternText ? "[\xE9\xE8]" : "/home/ann/W\xC3\xB6rter.qcd";
          } else if constexpr (std::is_same_v<T, Colour>) {
            value = {12, 34, 56};
          } else {
            value.textColour = {0, 0, 200};
            value.height = -20;
            value.weight = 700;
            value.underline = 1;
            value.faceName = "Noto Sans \xC3\x9C";
          }
        },
        info.field);
  }
  return options;
}

}  // namespace

class SettingsStoreTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    reopen();
  }
  void cleanup() { close(); }

  void machineWithoutSettingsStartsWithTheDefaults() {
    QCOMPARE(readOptions(*m_store), Options());
    // The options' defaults and the search's own agree on everything the options govern.
    const SearchSettings fresh;
    SearchSettings search;
    for (bool* flag : {&search.variablesExclusive, &search.showAnnotations, &search.showBalances,
                       &search.outputLower, &search.outputUpper, &search.outputPunctuation,
                       &search.outputWhitespace, &search.sorting, &search.sortingAscending,
                       &search.lengthGrouping, &search.lengthGroupingAscending}) {
      *flag = !*flag;
    }
    search.multiple = MultipleDictionaries::ActiveOnly;
    search.expansionAt = search.expansionHash = "";
    applyOptions(Options(), search);
    QCOMPARE(search.expansionAt, fresh.expansionAt);
    QCOMPARE(search.expansionHash, fresh.expansionHash);
    QCOMPARE(search.variablesExclusive, fresh.variablesExclusive);
    QCOMPARE(search.showAnnotations, fresh.showAnnotations);
    QCOMPARE(search.showBalances, fresh.showBalances);
    QCOMPARE(search.outputLower, fresh.outputLower);
    QCOMPARE(search.outputUpper, fresh.outputUpper);
    QCOMPARE(search.outputPunctuation, fresh.outputPunctuation);
    QCOMPARE(search.outputWhitespace, fresh.outputWhitespace);
    QCOMPARE(search.sorting, fresh.sorting);
    QCOMPARE(search.sortingAscending, fresh.sortingAscending);
    QCOMPARE(search.lengthGrouping, fresh.lengthGrouping);
    QCOMPARE(search.lengthGroupingAscending, fresh.lengthGroupingAscending);
    QCOMPARE(search.multiple, fresh.multiple);

    const QString beside = QCoreApplication::applicationDirPath() + "/Dictionaries/Devuduvodi.qcd";
    QCOMPARE(readOpenDictionaries(*m_store, programFolder()),
             std::vector<std::string>{beside.toStdString()});
    QCOMPARE(readRangeDefaults(*m_store), RangeDefaults{});
    QCOMPARE(readPaneOrientation(*m_store), kPanesStacked);
    QVERIFY(readShowQuickReference(*m_store));
    QVERIFY(readShowStartupTips(*m_store));
    QVERIFY(readRecentFiles(*m_store, kRecentDictionaries).empty());
    QCOMPARE(readMainWindowPosition(*m_store), Position{});
    QVERIFY(m_settings->allKeys().isEmpty());  // reading wrote nothing
  }

  void everyOptionSurvivesANewStart() {
    const Options changed = everyOptionChanged();
    for (const OptionInfo& info : optionTable()) {
      QVERIFY2(storedText(changed, info.name) != storedText(Options(), info.name),
               info.name.data());
    }
    writeAllOptions(*m_store, changed);
    reopen();
    QCOMPARE(m_settings->allKeys().size(), static_cast<qsizetype>(optionTable().size()));
    QCOMPARE(readOptions(*m_store), changed);
  }

  void savingOnePageWritesOnlyItsOptions() {
    const OptionId sorting[] = {OptionId::kViewSorting, OptionId::kViewSortingAscending};
    writeOptions(*m_store, everyOptionChanged(), sorting);
    reopen();
    QCOMPARE(m_settings->allKeys(), (QStringList{"ViewSorting", "ViewSortingAscending"}));
    const Options read = readOptions(*m_store);
    QVERIFY(read.viewSorting);
    QVERIFY(!read.viewSortingAscending);
    QVERIFY(read.viewLengthGrouping);
  }

  void storedOptionsReadAsTheyCan_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("read");
    QTest::newRow("mode 3") << QByteArray("ViewMultipleDictionaries=3")
                            << "ViewMultipleDictionaries"
                            << "0";
    QTest::newRow("mode -1") << QByteArray("ViewMultipleDictionaries=-1")
                             << "ViewMultipleDictionaries"
                             << "0";
    QTest::newRow("mode 2") << QByteArray("ViewMultipleDictionaries=2")
                            << "ViewMultipleDictionaries"
                            << "2";
    QTest::newRow("double-click 5") << QByteArray("ViewDoubleClick=5") << "ViewDoubleClick"
                                    << "0";
    QTest::newRow("flag not a number")
        << QByteArray("VariablesExclusive=yes") << "VariablesExclusive"
        << "1";
    QTest::newRow("flag 7 is on") << QByteArray("ViewSorting=7") << "ViewSorting"
                                  << "1";
    QTest::newRow("macro outside the code page")
        << QByteArray("ExpansionAt=[\xE2\x88\x9E]") << "ExpansionAt"
        << "[aeiou]";
    QTest::newRow("accented macro") << QByteArray("ExpansionAt=[\xC3\xA9]") << "ExpansionAt"
                                    << "[\u00E9]";
    QTest::newRow("font without quotes")
        << QByteArray("FontPattern=0,0,0,-16,0,0,0,700,0,0,0,0,0,0,0,49,Arial") << "FontPattern"
        << "0,0,0,-16,0,0,0,700,0,0,0,0,0,0,0,49,Arial";
    QTest::newRow("short font") << QByteArray("FontPrinting=\"0,0,0,-20\"") << "FontPrinting"
                                << "0,0,0,-20,0,0,0,0,0,0,0,0,0,0,0,0,";
    QTest::newRow("colour beyond 255")
        << QByteArray("DefinitionBackgroundColor=0,0,300") << "DefinitionBackgroundColor"
        << "0,0,255";
  }
  void storedOptionsReadAsTheyCan() {
    QFETCH(QByteArray, ini);
    QFETCH(QString, name);
    QFETCH(QString, read);
    writeIni("[General]\n" + ini + "\n");
    QCOMPARE(storedText(readOptions(*m_store), name.toStdString()), read);
  }

  void accentedMacroIsHeldInTheCodePage() {
    m_store->writeString("ExpansionHash", "[\xC3\xA9\xC3\xA8]");
    QCOMPARE(readOptions(*m_store).expansionHash, std::string("[\xE9\xE8]"));
  }

  void openDictionariesEndAtTheFirstMissingOne_data() {
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("opened");
    QTest::newRow("gap") << QStringList{"OpenDictionary0=/d/a.qcd", "OpenDictionary1=/d/b.qcd",
                                        "OpenDictionary3=/d/d.qcd"}
                         << QStringList{"/d/a.qcd", "/d/b.qcd"};
    QTest::newRow("empty first") << QStringList{"OpenDictionary0=", "OpenDictionary1=/d/b.qcd"}
                                 << QStringList{};
    QTest::newRow("empty second") << QStringList{"OpenDictionary0=/d/a.qcd",
                                                 "OpenDictionary1=", "OpenDictionary2=/d/c.qcd"}
                                  << QStringList{"/d/a.qcd"};
    QTest::newRow("windows relative") << QStringList{"OpenDictionary0=Dictionaries\\Devuduvodi.qcd"}
                                      << QStringList{"/prog/Dictionaries/Devuduvodi.qcd"};
    QStringList nine;
    QStringList eight;
    for (int i = 0; i < 9; ++i) {
      nine << QString("OpenDictionary%1=/d/%1.qcd").arg(i);
      if (i < 8) eight << QString("/d/%1.qcd").arg(i);
    }
    QTest::newRow("at most eight") << nine << eight;
  }
  void openDictionariesEndAtTheFirstMissingOne() {
    QFETCH(QStringList, stored);
    QFETCH(QStringList, opened);
    for (const QString& value : stored) {
      m_store->writeString(value.section('=', 0, 0).toStdString(),
                           value.section('=', 1).toStdString());
    }
    std::vector<std::string> expected;
    for (const QString& path : opened) expected.push_back(path.toStdString());
    QCOMPARE(readOpenDictionaries(*m_store, "/prog"), expected);
  }

  void fewerOpenDictionariesReplaceMore() {
    writeOpenDictionaries(*m_store, {"/d/a.qcd", "/d/b.qcd", "/d/c.qcd", "/d/d.qcd"});
    writeOpenDictionaries(*m_store, {"/d/x.qcd", "", "/d/y.qcd"});
    reopen();
    QCOMPARE(readOpenDictionaries(*m_store, "/prog"),
             (std::vector<std::string>{"/d/x.qcd", "/d/y.qcd"}));
    writeOpenDictionaries(*m_store, {});
    QVERIFY(readOpenDictionaries(*m_store, "/prog").empty());  // none open, not the default
  }

  void recentFilesForgetWhatALongerListLeft() {
    std::vector<std::string> ten;
    for (int i = 0; i < 12; ++i) ten.push_back("/d/" + std::to_string(i) + ".qcd");
    writeRecentFiles(*m_store, kRecentDictionaries, ten);
    writeRecentFiles(*m_store, kRecentCrosswords, {"/c/puzzle.txt"});
    QCOMPARE(readRecentFiles(*m_store, kRecentDictionaries).size(), size_t{10});
    writeRecentFiles(*m_store, kRecentDictionaries, {"/d/new.qcd", "", "/d/0.qcd"});
    reopen();
    QCOMPARE(readRecentFiles(*m_store, kRecentDictionaries),
             (std::vector<std::string>{"/d/new.qcd", "/d/0.qcd"}));
    QCOMPARE(readRecentFiles(*m_store, kRecentCrosswords),
             std::vector<std::string>{"/c/puzzle.txt"});
    QCOMPARE(m_settings->value("FileDictionary1").toString(), QString("/d/0.qcd"));
    QVERIFY(!m_settings->contains("FileDictionary2"));
  }

  void windowValuesSurviveANewStart() {
    writeMainWindowPosition(*m_store, {-8, 20, 640, 480});
    writeRangeDefaults(*m_store, {4, 40});  // 40 is no length: Longest keeps its stored value
    writePaneOrientation(*m_store, kPanesSideBySide);
    writePanes(*m_store, 2, "400,100,300");
    writeShowQuickReference(*m_store, false);
    writeDialogNumber(*m_store, "Definition", "SplitterPosition", 150);
    writeDialogString(*m_store, "DictionaryList", "DictionaryFolder", "/d");
    writeStringList(*m_store, dialogValueName("QELView", "Dictionary"), {"/d/a.qcd;/d/b.qcd"}, 99);
    reopen();
    QCOMPARE(readMainWindowPosition(*m_store), (Position{-8, 20, 640, 480}));
    QCOMPARE(readRangeDefaults(*m_store), (RangeDefaults{4, 31}));
    QVERIFY(!m_settings->contains("RangeLongest"));
    QCOMPARE(readPaneOrientation(*m_store), kPanesSideBySide);
    QCOMPARE(readPanes(*m_store, 2), std::optional<std::string>("400,100,300"));
    QCOMPARE(readPanes(*m_store, 3), std::optional<std::string>());
    QVERIFY(!readShowQuickReference(*m_store));
    QVERIFY(readShowStartupTips(*m_store));
    QCOMPARE(m_settings->value("DefinitionSplitterPosition").toInt(), 150);
    QCOMPARE(readDialogString(*m_store, "DictionaryList", "DictionaryFolder", "x"),
             std::string("/d"));
    QCOMPARE(readStringList(*m_store, "QELViewDictionary", 99),
             std::vector<std::string>{"/d/a.qcd;/d/b.qcd"});
    QCOMPARE(m_settings->value("QELViewDictionary1").toString(), QString(""));
  }

  void numbersReadOnlyWhenTheyAreNumbers() {
    writeIni("[General]\nPaneOrientation=2\nRangeShortest=4294967295\nViewWindowW=wide\n");
    QCOMPARE(readPaneOrientation(*m_store), kPanesStacked);
    int32_t number = 5;
    QVERIFY(m_store->readNumber("RangeShortest", number));
    QCOMPARE(number, -1);  // stored unsigned
    QVERIFY(!m_store->readNumber("ViewWindowW", number));
    QCOMPARE(number, -1);
  }

  void fontsBecomeQtFonts() {
    const FontSetting arial = parseFont("0,0,0,-16,0,0,0,700,0,0,0,0,0,0,0,49,Arial");
    const QFont font = toQFont(arial);
    QCOMPARE(font.family(), QString("Arial"));
    QCOMPARE(font.pixelSize(), 16);
    QCOMPARE(font.weight(), QFont::Bold);
    QVERIFY(!font.italic());
    QCOMPARE(textColour(arial), QColor(Qt::black));

    const Options defaults;
    const QFont highlight = toQFont(defaults.definitionHighlightFont);
    QVERIFY(highlight.italic());
    QCOMPARE(highlight.styleHint(), QFont::Serif);
    QCOMPARE(textColour(defaults.definitionHighlightFont), QColor(Qt::red));
    QCOMPARE(toQFont(defaults.fontPattern).styleHint(), QFont::Monospace);
    for (const FontSetting& setting :
         {defaults.fontPattern, defaults.fontOutputAnnotation, defaults.definitionHighlightFont}) {
      QCOMPARE(toFontSetting(toQFont(setting), textColour(setting), setting), setting);
    }
    QFont chosen("DejaVu Sans Mono");
    chosen.setFixedPitch(true);
    chosen.setPixelSize(21);
    chosen.setStrikeOut(true);
    const FontSetting stored = toFontSetting(chosen, QColor(1, 2, 3));
    QCOMPARE(formatFont(stored),
             std::string("1,2,3,-21,0,0,0,400,0,0,1,0,0,0,0,49,DejaVu Sans Mono"));
  }

  void windowsComeBackWhereTheyCanBeSeen_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("fixedSize");
    QTest::addColumn<QRect>("placed");
    const int right = QGuiApplication::primaryScreen()->virtualGeometry().right() + 1;
    const QRect unmoved(10, 10, 120, 80);
    QTest::newRow("on screen") << "0,40,50,300,200" << false << QRect(40, 50, 300, 200);
    QTest::newRow("title bar above") << "0,40,-30,300,200" << false << QRect(40, 0, 300, 200);
    QTest::newRow("fixed size") << "0,40,50,300,200" << true << QRect(40, 50, 120, 80);
    QTest::newRow("right of the screen")
        << QString("0,%1,50,300,200").arg(right) << false << unmoved;
    QTest::newRow("no height") << "0,40,50,300,0" << false << unmoved;
    QTest::newRow("not a position") << "left" << false << unmoved;
  }
  void windowsComeBackWhereTheyCanBeSeen() {
    QFETCH(QString, stored);
    QFETCH(bool, fixedSize);
    QFETCH(QRect, placed);
    m_store->writeString("LookupPosition", stored.toStdString());
    QWidget window;
    window.setGeometry(10, 10, 120, 80);
    if (fixedSize) window.setFixedSize(120, 80);
    QCOMPARE(restoreDialogPosition(window, *m_store, "Lookup"), placed != QRect(10, 10, 120, 80));
    QCOMPARE(QRect(window.pos(), window.size()), placed);
  }

  void windowPositionIsItsNormalPlacement() {
    QWidget window;
    window.setGeometry(40, 50, 300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The frame's corner is stored, so that the title bar comes back where it was.
    const QString stored = QString("0,%1,%2,300,200").arg(window.pos().x()).arg(window.pos().y());
    storeDialogPosition(window, *m_store, "ExternalLookup");
    window.showMaximized();
    QTRY_VERIFY(window.isMaximized());
    storeWidgetPosition(window, *m_store, definitionWindowPositionName(2));
    reopen();
    QCOMPARE(m_settings->value("ExternalLookupPosition").toString(), stored);
    QCOMPARE(m_settings->value("Definition2Position").toString(), stored);
    QWidget again;
    QVERIFY(restoreWidgetPosition(again, *m_store, "Definition2Position"));
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QTRY_COMPARE(again.geometry(), QRect(40, 50, 300, 200));
  }

  void installedProgramFindsItsDataUnderShare() {
    const QString bin = m_dir->filePath("prefix/bin");
    QVERIFY(QDir().mkpath(bin));
    QCOMPARE(programFolderFor(bin), bin.toStdString());
    QVERIFY(QDir().mkpath(m_dir->filePath("prefix/share/qel")));
    QCOMPARE(programFolderFor(bin), m_dir->filePath("prefix/share/qel").toStdString());
  }

 private:
  void close() {
    m_store.reset();
    m_settings.reset();
  }
  // A new start: what was written is on disk, and read from there again.
  void reopen() {
    close();
    m_settings = std::make_unique<QSettings>(m_dir->filePath("settings.ini"), QSettings::IniFormat);
    m_store = std::make_unique<SettingsStore>(*m_settings);
  }
  void writeIni(const QByteArray& text) {
    close();
    QFile file(m_dir->filePath("settings.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    reopen();
  }
  // One option as the store writes it.
  QString storedText(const Options& options, std::string_view name) {
    QSettings scratch(m_dir->filePath("scratch.ini"), QSettings::IniFormat);
    SettingsStore store(scratch);
    writeAllOptions(store, options);
    std::string text;
    store.readString(name, text);
    return QString::fromStdString(text);
  }

  std::unique_ptr<QTemporaryDir> m_dir;
  std::unique_ptr<QSettings> m_settings;
  std::unique_ptr<SettingsStore> m_store;
};

}  // namespace qel

QTEST_MAIN(qel::SettingsStoreTest)
#include "SettingsStoreTest.moc"
