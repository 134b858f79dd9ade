// qel-screenshots: renders the main window and the dialogs into PNG files, with settings of its own
// (never the user's). Usage: qel-screenshots OUTPUT_FOLDER DICTIONARY...
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "app/Messages.h"
#include "app/Options.h"
#include "app/qt/QELFrameWindow.h"
#include "app/qt/QELPropertiesViewWindows.h"
#include "app/qt/QuickReferenceWindow.h"
#include "app/qt/StartupTipsWindow.h"
#include "common/qt/HelpWindow.h"
#include "common/qt/SettingsStore.h"
#include "definitions/qt/DefinitionViewFrame.h"
#include "definitions/qt/DictionaryListViewWindows.h"
#include "definitions/qt/QELDictionaryPropertiesWindows.h"
#include "lookup/qt/ExternalLookupViewWindows.h"
#include "lookup/qt/LookupPropertiesViewWindows.h"
#include "lookup/qt/LookupService.h"
#include "maintenance/qt/QCDictionaryBuilderWindow.h"
#include "maintenance/qt/QCDictionarySaveQELDialog.h"
#include "maintenance/qt/QCWordListMergeWindow.h"
#include "pattern/MatchEngineSet.h"
#include "properties/FontChooserDialog.h"
#include "search/qt/QELPrintPreview.h"
#include "search/qt/QELViewWindows.h"

namespace {

// Searches `pattern` in the view and waits until the search ends (at most 30 s).
void search(qel::QELViewWindows& view, const QString& pattern) {
  view.patternBox()->setEditText(pattern);
  view.onSearchButton();
  QElapsedTimer waited;
  waited.start();
  while (view.state() == qel::SearchState::Searching && waited.elapsed() < 30000)
    QApplication::processEvents(QEventLoop::AllEvents, 50);
}

bool save(QWidget& window, const QString& path) {
  QApplication::processEvents();
  const bool saved = window.grab().save(path);
  std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments().mid(1);
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: qel-screenshots OUTPUT_FOLDER DICTIONARY...\n");
    return 2;
  }
  const QDir out(args[0]);
  QTemporaryDir settingsFolder;
  QSettings settings(settingsFolder.filePath("settings.ini"), QSettings::IniFormat);
  qel::SettingsStore store(settings);
  // Settings of its own: no window is shown at start, and the tips come from the build folder.
  qel::QELFrameWindow window(store, QDir::currentPath(), args.mid(1));
  window.resize(760, 620);
  window.show();
  qel::QELViewWindows& view = *window.view();
  search(view, ".l...r.n");
  bool ok = save(window, out.filePath("main-window-stacked.png"));
  view.setOrientation(1);
  ok = save(window, out.filePath("main-window-side-by-side.png")) && ok;
  view.setOrientation(0);

  // The File menu, opened over the window.
  QMenu* file = window.menuBar()->actions().first()->menu();
  file->popup(window.mapToGlobal(QPoint(0, window.menuBar()->height())));
  QApplication::processEvents();
  ok = save(*file, out.filePath("file-menu.png")) && ok;
  file->hide();

  qel::QELQuickReferenceViewWindows quickReference(store);
  quickReference.show();
  ok = save(quickReference, out.filePath("quick-reference.png")) && ok;
  qel::QELStartupTipsViewWindows tips(store, QDir::currentPath());
  tips.show();
  ok = save(tips, out.filePath("startup-tips.png")) && ok;
  qel::QCDictionaryList list(std::vector<std::string>{QFile::encodeName(args[1]).toStdString()});
  qel::QELDictionaryPropertiesWindows properties(list, 0, store);
  properties.show();
  ok = save(properties, out.filePath("dictionary-properties.png")) && ok;
  properties.hide();

  // The Lookup Methods dialog and the External Lookup prompt, as a first run finds them.
  qel::LookupMethodTable lookupMethods;
  lookupMethods.load(store);
  qel::LookupPropertiesViewWindows lookupSetup(lookupMethods, store, {});
  lookupSetup.show();
  ok = save(lookupSetup, out.filePath("lookup-methods.png")) && ok;
  lookupSetup.hide();
  qel::ExternalLookupViewWindows prompt(lookupMethods, store, "tail-end", true, {});
  prompt.show();
  ok = save(prompt, out.filePath("external-lookup.png")) && ok;
  prompt.hide();
  // The print preview of a page of long phrases, in two columns.
  view.setShortestLongest(24, 31);
  search(view, "*");
  window.printPreview();
  if (qel::QELPrintPreview* preview = window.printPreviewWindow()) {
    preview->resize(preview->width(), 820);  // its own width: the whole tool bar shows
    QApplication::processEvents();
    ok = save(*preview, out.filePath("print-preview.png")) && ok;
    preview->close();
  }

  // The dictionary save dialog part of the way through a build, its log filling.
  view.setShortestLongest(4, 6);
  search(view, "*");
  QTemporaryDir saveFolder;
  qel::QCDictionarySaveDialog::Request request;
  request.results = &view.session()->pane(0).results;
  request.dictionaries = &list;
  request.dictionary = 0;
  request.path = saveFolder.filePath("Short words.qcd");
  request.description = "Words of 4 to 6 letters";
  request.shortest = 4;
  request.longest = 6;
  qel::QCDictionarySaveQELDialog saveDialog(request, store);
  saveDialog.show();
  QTimer grab;
  QObject::connect(&grab, &QTimer::timeout, &saveDialog, [&] {
    if (!saveDialog.logText().contains("5 letter words")) return;
    grab.stop();
    ok = save(saveDialog, out.filePath("dictionary-save.png")) && ok;
  });
  grab.start(0);
  QTest::mouseClick(saveDialog.saveButton(), Qt::LeftButton);
  saveDialog.hide();

  // Every page of the Options dialog, on options of its own.
  qel::Options options = qel::readOptions(store);
  qel::QELPropertiesViewWindows optionsDialog(options, store, QDir::currentPath());
  optionsDialog.show();
  const char* pages[] = {"pattern", "result", "sorting", "dictionary", "appearance"};
  for (int page = 0; page < qel::QELPropertiesViewWindows::kPages; ++page) {
    optionsDialog.pages()->setCurrentIndex(page);
    ok = save(optionsDialog, out.filePath(QString("options-%1.png").arg(pages[page]))) && ok;
  }
  optionsDialog.hide();
  // The Dictionary List with the first dictionary selected and the others of its folder beside.
  qel::DictionaryListViewWindows dictionaryList(QFileInfo(args[1]).absoluteFilePath(), store,
                                                QDir::currentPath());
  dictionaryList.show();
  ok = save(dictionaryList, out.filePath("dictionary-list.png")) && ok;
  dictionaryList.hide();
  qel::FontChooserDialog fontChooser("Results Font", qel::toQFont(options.fontOutput),
                                     qel::textColour(options.fontOutput));
  fontChooser.show();
  ok = save(fontChooser, out.filePath("font-chooser.png")) && ok;
  fontChooser.hide();

  // The help at the pattern box's topic.
  qel::showHelp(4270, &window);
  if (qel::HelpWindow* help = qel::HelpWindow::instance()) {
    help->resize(720, 560);
    ok = save(*help, out.filePath("help.png")) && ok;
  }
  // Definition windows: a word looked up (plain text, the word highlighted), and a rich-text body
  // with what a full-text search matched highlighted.
  qel::LookupService& lookup = window.lookup();
  lookup.lookup(&window, qel::Command::kLookup, "obelisk");
  if (!lookup.windows().frames().empty()) {
    qel::DefinitionViewFrame& plain = *lookup.windows().frames()[0];
    plain.resize(640, 340);
    ok = save(plain, out.filePath("definition-plain.png")) && ok;
  }
  const std::string path = QFile::encodeName(args[1]).toStdString();
  qel::DefinitionsFound rich;
  rich.dictionaries = std::make_shared<qel::QCDictionaryList>(std::vector<std::string>{path});
  qel::Definition electron;
  electron.dictionaryPath = path;
  electron.firstTexts = {"electron"};
  electron.secondTexts = {" (noun 1)"};
  electron.body =
      "{\\rtf1\\ansi{\\fonttbl{\\f0 DejaVu Serif;}{\\f1 DejaVu Sans Mono;}}"
      "{\\colortbl;\\red0\\green0\\blue160;\\red0\\green110\\blue0;}"
      "{\\b\\fs28 electron} {\\i noun}\\par "
      "an elementary {\\cf1 particle} with a negative {\\ul electric charge}, found in every atom"
      "\\par {\\cf2\\f1 e\\'96} \\tab symbol; see also {\\ul proton} and www.example.org/electron}";
  rich.definitions = {electron};
  qel::MatchEngineSet patterns;
  patterns.parse(rich.dictionaries->alphabet(0), "particle | charge", 1, 31);
  const qel::FullTextMatch match{rich.dictionaries->alphabet(0), patterns};
  lookup.showDefinition(true, rich, "electron", match);
  if (lookup.windows().frames().size() > 1) {
    qel::DefinitionViewFrame& formatted = *lookup.windows().frames()[1];
    formatted.resize(640, 300);
    ok = save(formatted, out.filePath("definition-rich.png")) && ok;
  }
  // The companion programs: the builder after a build with two bad lines, the merge after merging
  // the dictionaries given.
  {
    QTemporaryDir folder;
    QFile source(folder.filePath("Birds.txt"));
    source.open(QIODevice::WriteOnly);
    source.write(
        "wren+noun+|a small brown songbird\nrobin:redbreast|a bird with a red breast\n"
        "snow\xE2\x98\x83"
        "bird|not a letter\nowl|a bird of the night\n" +
        QByteArray(40, 'k') + ":kite\n");
    source.close();
    qel::QCDictionaryBuilderWindow builder(store);
    builder.sourceEdit()->setText(source.fileName());
    builder.outputEdit()->setText(folder.filePath("Birds.qcd"));
    builder.descriptionEdit()->setPlainText("Birds of the garden");
    builder.shortestBox()->setValue(3);
    builder.resize(720, 600);
    builder.show();
    QTest::mouseClick(builder.buildButton(), Qt::LeftButton);
    ok = save(builder, out.filePath("dictionary-builder.png")) && ok;
    builder.hide();

    qel::QCWordListMergeWindow merger(store);
    merger.setInputs(args.mid(1));
    merger.outputEdit()->setText(folder.filePath("Merged.qcd"));
    merger.descriptionEdit()->setText("Both dictionaries merged");
    merger.resize(720, 640);
    merger.show();
    QTest::mouseClick(merger.mergeButton(), Qt::LeftButton);
    ok = save(merger, out.filePath("word-list-merge.png")) && ok;
  }

  // Most common first, the rarer words lighter: the first dictionary alone, with its ranks.
  {
    QTemporaryDir rankedFolder;
    QSettings rankedSettings(rankedFolder.filePath("settings.ini"), QSettings::IniFormat);
    qel::SettingsStore rankedStore(rankedSettings);
    rankedStore.writeNumber(qel::optionInfo(qel::OptionId::kViewCommonFirst).name, 1);
    qel::QELFrameWindow ranked(rankedStore, QDir::currentPath(), args.mid(1, 1));
    ranked.resize(760, 620);
    ranked.show();
    qel::QELViewWindows& rankedView = *ranked.view();
    search(rankedView, "tr...e");
    ok = save(ranked, out.filePath("main-window-common-first.png")) && ok;

    // Phrase anagrams of "dormitory" in the same window.
    rankedView.setPhraseAnagram();
    rankedView.shortestBox()->setValue(3);  // words of three letters or more
    search(rankedView, "dormitory");
    ok = save(ranked, out.filePath("main-window-phrase-anagrams.png")) && ok;
  }

  // The status texts of a search that stops before its end, at the main window's default width
  // (a third of a 1280-pixel screen): each must be read whole.
  {
    QTemporaryDir statusFolder;
    QSettings statusSettings(statusFolder.filePath("settings.ini"), QSettings::IniFormat);
    qel::SettingsStore statusStore(statusSettings);
    qel::QELFrameWindow window(statusStore, QDir::currentPath(), args.mid(1, 1));
    window.resize(426, 600);
    window.show();
    qel::QELViewWindows& view = *window.view();
    view.setPhraseAnagram();
    search(view, "planetary orbits");  // more than 100000 combinations
    ok = save(window, out.filePath("status-phrase-anagram-limit.png")) && ok;
    window.statusBar()->showMessage(QString::fromLatin1(
        qel::messageText(qel::messageNumber(qel::Message::kSearchTooMuchWork))));
    ok = save(window, out.filePath("status-too-much-work.png")) && ok;
  }
  return ok ? 0 : 1;
}
