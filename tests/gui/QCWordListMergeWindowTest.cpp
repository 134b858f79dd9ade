// The word-list merge window with real files: a dictionary and text lists merged into a dictionary
// or a source text with their counts, a replaced result keeping its ".bak", Cancel leaving the
// old result, and the big word list merged with the default dictionary into a dictionary that the
// main window opens, holding the union of both by folded letters.
#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "app/qt/QELFrameWindow.h"
#include "dictionary/DefinitionsOfWord.h"
#include "dictionary/QCDictionaryList.h"
#include "maintenance/qt/QCWordListMergeWindow.h"
#include "pattern/FoldedCompare.h"
#include "support/FreshSettings.h"
#include "support/RecordingPrompts.h"
#include "support/TestDictionaries.h"
#include "support/WindowInput.h"

namespace qel {
namespace {

using Texts = std::vector<std::string>;
using test::entryTexts;
using test::folderContents;
using test::FreshSettings;

std::string foldedKey(std::string_view word) {
  std::string key;
  for (char c : word) {
    if (const uint8_t f = folded::fold(static_cast<uint8_t>(c))) key += static_cast<char>(f);
  }
  return key;
}

QString defaultDictionary() {
  const QString path = QCoreApplication::applicationDirPath() + "/../Dictionaries/Devuduvodi.qcd";
  return QFileInfo::exists(path) ? path : QString();
}

QString q(const std::string& path) { return QString::fromStdString(path); }

}  // namespace

class QCWordListMergeWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    m_dir = std::make_unique<test::TempDir>();
    m_settings = std::make_unique<FreshSettings>();
    m_prompts = std::make_unique<test::RecordingPrompts>();
    m_prompts->question = UserPrompts::Answer::kYes;  // replace a file that is there
    m_window = std::make_unique<QCWordListMergeWindow>(m_settings->store);
    m_input = std::make_unique<test::WindowInput>(*m_window);
  }
  void cleanup() {
    m_input.reset();
    m_window.reset();
    m_settings.reset();
    m_prompts.reset();
    m_dir.reset();
  }

  // At its smallest the window still shows every heading of the counts whole.
  void theCountsHeadingsAreNeverCut() {
    m_window->resize(m_window->minimumSizeHint());
    auto* counts = m_window->findChild<QTreeWidget*>("counts");
    QVERIFY(counts);
    QTRY_VERIFY(counts->isVisible());
    const QHeaderView* headings = counts->header();
    for (int column = 0; column < counts->columnCount(); ++column) {
      const QString text = counts->headerItem()->text(column);
      QVERIFY2(headings->sectionSize(column) >= headings->fontMetrics().horizontalAdvance(text),
               qPrintable(text));
    }
  }

  // A dictionary and two text lists, added through Add, merged into a dictionary: one entry per
  // folded word, the first spelling kept, the definitions joined, the counts per input; merged
  // again into the same file it keeps the first result in its ".bak".
  void listsAndADictionaryMergeIntoADictionary() {
    const std::string dictionary = m_dir->file("birds.qcd");
    QVERIFY(test::buildTestDictionary(dictionary, {"wren+noun+|a small bird", "Robin", "owl"}));
    test::writeFile(m_dir->file("a.txt"),
                    "ROBIN|a red-breasted bird\nkite\n\n123\nsnow\xE2\x98\x83\n");
    test::writeFile(m_dir->file("b.txt"), "Kite\nOwl\nemu\n");
    QCOMPARE(test::sharedMnemonics(*m_window), QString());
    // Merge waits for something to merge and a file to write it to.
    QVERIFY(!m_window->mergeButton()->isEnabled());
    useInputs({q(dictionary), q(m_dir->file("a.txt")), q(m_dir->file("b.txt"))});
    QCOMPARE(m_window->inputs().size(), 3);
    QCOMPARE(m_settings->settings.value("MergeInputFolder").toString(), q(m_dir->path()));
    QVERIFY(!m_window->mergeButton()->isEnabled());

    const std::string target = m_dir->file("merged.qcd");
    typeInto('s', q(target));
    QVERIFY(m_window->mergeButton()->isEnabled());
    typeInto('p', "Birds");
    merge();
    QCOMPARE(m_window->countRows(),
             (QStringList{"birds.qcd 3 3 0 0", "a.txt 3 1 1 2", "b.txt 3 1 2 0", "Total 9 5 3 2"}));
    // Skipped lines are listed by reason.
    QVERIFY(m_window->logText().contains("a.txt: 1 skipped - no letter"));
    QVERIFY(m_window->logText().contains(
        "a.txt: 1 skipped - a character that code page 1252 cannot hold"));
    QCOMPARE(entryTexts(target), (Texts{"emu", "owl", "kite", "wren\nnoun", "Robin"}));
    expectDefinition(target, "robin", "a red-breasted bird");
    const std::string first = test::readFile(target);

    m_input->press('e', m_window->keepEveryButton());
    QVERIFY(m_window->keepEveryButton()->isChecked());
    merge();
    QVERIFY(m_prompts->shown.contains("!Save As: " + q(target) +
                                      " already exists.\nDo you want to replace it?"));
    QCOMPARE(entryTexts(target),
             (Texts{"emu", "Owl", "owl", "Kite", "kite", "wren\nnoun", "ROBIN", "Robin"}));
    QCOMPARE(test::readFile(m_dir->file("merged.bak")), first);
  }

  // The result as a source text: UTF-8, sorted, in the line syntax the builder reads; never written
  // over an input.
  void aSourceTextIsWrittenInUtf8() {
    test::writeFile(m_dir->file("a.txt"), "caf\xE9|a coffee house\ntail:tails\n");
    useInputs({q(m_dir->file("a.txt"))});
    chooseEncoding(Qt::Key_Down);                       // code page 1252
    m_input->press('x', m_window->textOutputButton());  // a source text file
    QVERIFY(m_window->textOutputButton()->isChecked());
    QVERIFY(!m_window->descriptionEdit()->isEnabled());
    typeInto('s', q(m_dir->file("out.txt")));
    merge();
    QCOMPARE(test::readFile(m_dir->file("out.txt")),
             std::string("caf\xC3\xA9|a coffee house\ntail\ntails\n"));

    // Never over an input, nor with the old result kept in an input's place.
    test::writeFile(m_dir->file("b.bak"), "emu\n");
    useInputs({q(m_dir->file("a.txt")), q(m_dir->file("b.bak"))});
    for (auto [target, reason] : {std::pair{"a.txt", "one of the inputs"},
                                  std::pair{"b.qcd", "old contents would be kept"}}) {
      typeInto('s', q(m_dir->file(target)));
      merge();
      QVERIFY(m_window->statusText().contains("failed"));
      QVERIFY(m_window->logText().contains(reason));
    }
    QCOMPARE(test::readFile(m_dir->file("a.txt")),
             std::string("caf\xE9|a coffee house\ntail:tails\n"));
    QCOMPARE(test::readFile(m_dir->file("b.bak")), std::string("emu\n"));

    // Code page 1252 read as UTF-8 skips every line: the old result is not replaced by nothing.
    useInputs({q(m_dir->file("a.txt"))});
    test::writeFile(m_dir->file("a.txt"), "caf\xE9\n\xE9lan\n");
    chooseEncoding(Qt::Key_Up);  // UTF-8
    typeInto('s', q(m_dir->file("out.txt")));
    merge();
    QVERIFY(m_window->logText().contains("Nothing to write"));
    QCOMPARE(test::readFile(m_dir->file("out.txt")),
             std::string("caf\xC3\xA9|a coffee house\ntail\ntails\n"));
  }

  // Cancel (Escape) while a long list is read: the old result stays byte for byte, nothing beside
  // it.
  void cancellingKeepsTheOldResult() {
    std::string text;
    for (long i = 0; i < 300000; ++i) text += "w" + std::to_string(i) + "x\n";
    test::writeFile(m_dir->file("long.txt"), text);
    test::writeFile(m_dir->file("out.txt"), "old\n");
    useInputs({q(m_dir->file("long.txt"))});
    m_input->press('x', m_window->textOutputButton());  // a source text file
    typeInto('s', q(m_dir->file("out.txt")));
    // Escape cancels as the Cancel button does, and leaves the window open.
    test::onceTrue([this] { return m_window->running(); },
                   [this] {
                     QCOMPARE(m_window->cancelButton()->text(), QString("&Cancel"));
                     test::pressKey(m_window.get(), Qt::Key_Escape);
                   });
    merge();
    QVERIFY(m_window->isVisible());
    QVERIFY(m_window->statusText().contains("cancelled"));
    QCOMPARE(test::readFile(m_dir->file("out.txt")), std::string("old\n"));
    QCOMPARE(folderContents(m_dir->path()), (Texts{"long.txt", "out.txt"}));
  }

  // The big word list and the default dictionary: every folded word of either, once, counted per
  // input, in a dictionary that the main window opens and that keeps the default definitions.
  void theBigListAndTheDefaultDictionaryMerge() {
    const QString dictionary = defaultDictionary();
    if (dictionary.isEmpty()) QSKIP("the default dictionary has not been built");
    const Texts words = test::systemWordList();
    if (words.empty()) QSKIP("the big word list is not installed");
    std::unordered_set<std::string> expected;
    long listEntries = 0;
    for (const std::string& w : words) {
      const int letters = folded::letterCount(w);
      if (letters > 0 && letters <= 31) expected.insert(foldedKey(w));
      listEntries += !w.empty();
    }
    const size_t fromList = expected.size();
    long dictionaryEntries = 0;
    for (const std::string& t : entryTexts(dictionary.toStdString())) {
      expected.insert(foldedKey(t.substr(0, t.find('\n'))));
      ++dictionaryEntries;
    }

    useInputs({dictionary, "/usr/share/dict/british-english-huge"});
    const std::string target = m_dir->file("union.qcd");
    typeInto('s', q(target));
    merge();
    QVERIFY2(m_window->statusText().contains("entries written"), qPrintable(m_window->logText()));
    const QStringList rows = m_window->countRows();
    QCOMPARE(rows.size(), 3);
    QVERIFY2(rows[0].startsWith(QString("Devuduvodi.qcd %1 ").arg(dictionaryEntries)),
             qPrintable(rows.join(" / ")));
    QVERIFY2(rows[1].startsWith(QString("british-english-huge %1 ").arg(listEntries)),
             qPrintable(rows[1]));
    qInfo() << "counts:" << rows << "union" << expected.size() << "of which list" << fromList;

    std::unordered_set<std::string> merged;
    long entries = 0;
    for (const std::string& t : entryTexts(target)) {
      merged.insert(foldedKey(t.substr(0, t.find('\n'))));
      ++entries;
    }
    QCOMPARE(merged.size(), expected.size());
    QVERIFY(merged == expected);
    QCOMPARE(static_cast<size_t>(entries), expected.size());  // each folded word once

    FreshSettings fresh;
    QELFrameWindow window(fresh.store, fresh.folder.path(), {q(target)});
    QCOMPARE(window.dictionaries().count(), 1);
    QVERIFY(window.dictionaries().dictionary(0).valid());
    expectDefinition(target, "obelisk", "");
  }

 private:
  void merge() { m_input->press('m', m_window->mergeButton(), 600000); }
  QAbstractButton* button(const QString& text) const {
    for (QPushButton* b : m_window->findChildren<QPushButton*>()) {
      if (b->text() == text) return b;
    }
    return nullptr;
  }
  // A field chosen by its label's key and its text typed over, as a person does.
  void typeInto(char mnemonic, const QString& text) {
    m_input->key(Qt::Key_A + (mnemonic - 'a'), Qt::AltModifier);
    m_input->retype(text);
  }
  // The inputs there removed (all selected in the list, then Remove) and these added through Add.
  void useInputs(const QStringList& files) {
    if (!m_window->inputs().isEmpty()) {
      m_input->key(Qt::Key_I, Qt::AltModifier);
      m_input->key(Qt::Key_A, Qt::ControlModifier);
      m_input->press('r', button("&Remove"));
    }
    QVERIFY(m_window->inputs().isEmpty());
    m_prompts->chosenFiles = files;
    m_input->press('a', button("&Add..."));
    QCOMPARE(m_window->inputs(), files);
  }
  // The encoding of text lists, one step up or down its list.
  void chooseEncoding(Qt::Key step) {
    m_input->key(Qt::Key_T, Qt::AltModifier);
    m_input->key(step);
  }
  // The word has a definition in `path` (whose body holds `body`).
  void expectDefinition(const std::string& path, const char* word, const char* body) {
    QCDictionaryList list(std::vector<std::string>{path});
    std::vector<Definition> definitions;
    definitionsOfWord(list, word, definitions);
    QVERIFY2(!definitions.empty(), word);
    QVERIFY2(definitions[0].body.find(body) != std::string::npos, definitions[0].body.c_str());
  }

  std::unique_ptr<test::TempDir> m_dir;
  std::unique_ptr<FreshSettings> m_settings;
  std::unique_ptr<test::RecordingPrompts> m_prompts;
  std::unique_ptr<QCWordListMergeWindow> m_window;
  std::unique_ptr<test::WindowInput> m_input;
};

}  // namespace qel

QTEST_MAIN(qel::QCWordListMergeWindowTest)
#include "QCWordListMergeWindowTest.moc"
