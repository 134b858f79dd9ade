// The dictionary builder's window with real source files and real dictionaries: bad lines are
// listed by number and the rest is built, a replaced dictionary keeps its ".bak", Cancel during a
// build leaves the old dictionary byte for byte, and the source is never written over.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "maintenance/qt/QCDictionaryBuilderWindow.h"
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

QString q(const std::string& path) { return QString::fromStdString(path); }

}  // namespace

class QCDictionaryBuilderWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    m_dir = std::make_unique<test::TempDir>();
    m_settings = std::make_unique<FreshSettings>();
    m_prompts = std::make_unique<test::RecordingPrompts>();
    m_prompts->question = UserPrompts::Answer::kYes;  // replace a file that is there
    m_window = std::make_unique<QCDictionaryBuilderWindow>(m_settings->store);
    m_input = std::make_unique<test::WindowInput>(*m_window);
  }
  void cleanup() {
    m_input.reset();
    m_window.reset();
    m_settings.reset();
    m_prompts.reset();
    m_dir.reset();
  }

  // A line that code page 1252 cannot hold and an entry no dictionary can hold are listed with
  // their line numbers; every other line is built, with the options and the description chosen.
  void badLinesAreListedAndTheRestIsBuilt() {
    const std::string source = m_dir->file("words.txt");
    test::writeFile(source,
                    "apple|a fruit\n"
                    "snow\xE2\x98\x83man|not a letter of the code page\n"
                    "\xC3\xA9lan+noun+\n" +
                        std::string(40, 'x') +
                        ":pear\n"
                        "to\n"
                        "banana;plantain|yellow\n");
    const std::string target = m_dir->file("fruit.qcd");
    // Build waits for both files.
    QCOMPARE(test::sharedMnemonics(*m_window), QString());
    QVERIFY(!m_window->buildButton()->isEnabled());
    typeInto('i', q(source));
    QVERIFY(!m_window->buildButton()->isEnabled());
    fill(source, target);
    QVERIFY(m_window->buildButton()->isEnabled());
    typeInto('e', QString::fromUtf8("Fruit \xE2\x80\x93 élan"));
    typeInto('s', "3");
    QCOMPARE(m_window->shortestBox()->value(), 3);
    build();

    QCOMPARE(m_window->skippedLines().size(), 2);
    QVERIFY(m_window->skippedLines()[0].startsWith("line 2: "));
    QVERIFY(m_window->skippedLines()[1].startsWith("line 4: "));
    QVERIFY(m_window->logText().contains("letter words handled OK"));
    QVERIFY(m_window->statusText().contains("2 line(s) skipped"));
    QCOMPARE(m_window->progressBar()->value(), m_window->progressBar()->maximum());
    std::string description;
    // "to" is shorter than the shortest kept.
    QCOMPARE(entryTexts(target, &description),
             (Texts{"\xE9lan\nnoun", "pear", "apple", "banana", "plantain"}));
    QCOMPARE(description, std::string("Fruit \x96 \xE9lan"));
    QVERIFY(m_window->buildButton()->isEnabled());
  }

  // Skipped lines cost the log nothing past the first thousand; a source that is nearly all not
  // UTF-8 stops early and names the Encoding to choose.
  void manySkippedLinesAreCountedNotListed() {
    struct Case {
      int good, bad;
      bool built;  // else stopped early
      const char* status;
    };
    for (const Case& c : {Case{1500, 1500, true, "Dictionary built - 1500 line(s) skipped"},
                          Case{0, 30000, false, "Build failed"}}) {
      std::string text;
      for (int i = 0; i < c.bad + c.good; ++i)
        text += (i % 2 == 0 && c.good > 0) || i >= c.bad + c.good ? "word\n" : "caf\xE9\n";
      const std::string source = m_dir->file("many.txt");
      test::writeFile(source, text);
      fill(source, m_dir->file("many.qcd"));
      build();
      QVERIFY2(m_window->statusText().startsWith(c.status), qPrintable(m_window->statusText()));
      QCOMPARE(m_window->skippedLines().size(), 1000);
      QVERIFY(m_window->logText().contains(c.built ? "500 more skipped line(s)"
                                                   : "does not look like UTF-8"));
    }
  }

  // A second build asks, then replaces the dictionary and keeps the first in its ".bak"; a source
  // in code page 1252 reads as such.
  void aReplacedDictionaryKeepsItsBackup() {
    const std::string source = m_dir->file("words.txt");
    const std::string target = m_dir->file("words.qcd");
    test::writeFile(source, "caf\xE9\n");
    m_input->key(Qt::Key_N, Qt::AltModifier);  // Encoding: the next one, code page 1252
    m_input->key(Qt::Key_Down);
    QCOMPARE(m_window->encodingBox()->currentIndex(), 1);
    fill(source, target);
    build();
    const std::string first = test::readFile(target);
    QCOMPARE(entryTexts(target), (Texts{"caf\xE9"}));

    test::writeFile(source, "tea\ncoffee\n");
    // Asked first: No leaves the dictionary alone, Yes builds.
    m_prompts->question = UserPrompts::Answer::kNo;
    build();
    QCOMPARE(test::readFile(target), first);
    QCOMPARE(m_prompts->shown, QStringList{"!Save As: " + q(target) +
                                           " already exists.\nDo you want to replace it?"});
    m_prompts->question = UserPrompts::Answer::kYes;
    build();
    QCOMPARE(entryTexts(target), (Texts{"tea", "coffee"}));
    QCOMPARE(test::readFile(m_dir->file("words.bak")), first);
    QCOMPARE(folderContents(m_dir->path()), (Texts{"words.bak", "words.qcd", "words.txt"}));
  }

  // Cancel while a long build runs: the build stops, the old dictionary stays byte for byte and
  // nothing is left beside it; the window stays open and builds again afterwards. While it runs,
  // nothing of what the build reads can be changed.
  void cancellingKeepsTheOldDictionary() {
    const std::string target = m_dir->file("big.qcd");
    QVERIFY(test::buildTestDictionary(target, {"old", "words"}));
    const std::string before = test::readFile(target);
    const std::string source = m_dir->file("big.txt");
    std::string lines;
    for (long i = 0; i < 400000; ++i) {
      lines += "w" + std::to_string(i * 7919) + "x|definition number " + std::to_string(i) + "\n";
    }
    test::writeFile(source, lines);
    fill(source, target);
    test::onceTrue(
        [this] { return m_window->running(); },
        [this] {
          QCOMPARE(m_window->cancelButton()->text(), QString("&Cancel"));
          for (QWidget* w : m_window->findChildren<QWidget*>()) {
            const bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w) ||
                               qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QComboBox*>(w);
            const bool inner = qobject_cast<QAbstractSpinBox*>(w->parentWidget()) ||
                               qobject_cast<QComboBox*>(w->parentWidget());
            // Help, and Cancel, change nothing that the build reads.
            if (input && !inner && w != m_window->cancelButton() && w->objectName() != "help")
              QVERIFY2(!w->isEnabled(),
                       qPrintable(w->objectName() + " " + w->metaObject()->className()));
          }
          QVERIFY(!m_window->descriptionEdit()->isEnabled());
          test::WindowInput::click(m_window->cancelButton());
        });
    build();
    QVERIFY(m_window->isVisible());
    QVERIFY(m_window->logText().contains("Dictionary creation abandoned"));
    QVERIFY(m_window->statusText().contains("cancelled"));
    QCOMPARE(test::readFile(target), before);
    QCOMPARE(folderContents(m_dir->path()), (Texts{"big.qcd", "big.txt"}));

    test::writeFile(source, "new\n");
    build();
    QCOMPARE(entryTexts(target), (Texts{"new"}));
  }

  // The source chosen as the target or as the target's backup, or a missing source: nothing is
  // written, the log says why.
  void theSourceIsNeverWrittenOver() {
    const std::string source = m_dir->file("words.txt");
    test::writeFile(source, "apple\n");
    fill(source, source);
    build();
    QCOMPARE(test::readFile(source), std::string("apple\n"));
    QVERIFY(m_window->logText().contains("is the source file"));

    fill(m_dir->file("missing.txt"), m_dir->file("out.qcd"));
    build();
    QVERIFY(m_window->logText().contains("missing.txt"));
    QCOMPARE(folderContents(m_dir->path()), (Texts{"words.txt"}));

    // "words.bak" is where "words.qcd" keeps its old contents.
    const std::string backupSource = m_dir->file("words.bak");
    test::writeFile(backupSource, "pear\n");
    QVERIFY(test::buildTestDictionary(m_dir->file("words.qcd"), {"old"}));
    fill(backupSource, m_dir->file("words.qcd"));
    build();
    QVERIFY(m_window->logText().contains("old contents would be kept"));
    QCOMPARE(test::readFile(backupSource), std::string("pear\n"));
    QCOMPARE(entryTexts(m_dir->file("words.qcd")), (Texts{"old"}));
  }

  // Browse and Change remember their folders in the shared settings and suggest a dictionary
  // name from the source.
  void fileChoicesAreRemembered() {
    m_prompts->chosenFiles = {q(m_dir->file("list.txt"))};
    m_input->press('w', browseButton());
    QCOMPARE(m_window->sourceEdit()->text(), q(m_dir->file("list.txt")));
    QCOMPARE(m_window->outputEdit()->text(), q(m_dir->file("list.qcd")));
    QCOMPARE(m_settings->settings.value("BuilderSourceFolder").toString(), q(m_dir->path()));
  }

 private:
  QAbstractButton* browseButton() const {
    for (QPushButton* b : m_window->findChildren<QPushButton*>()) {
      if (b->text() == "Bro&wse...") return b;
    }
    return nullptr;
  }
  // A field chosen by its label's key and its text typed over, as a person does.
  void typeInto(char mnemonic, const QString& text) {
    m_input->key(Qt::Key_A + (mnemonic - 'a'), Qt::AltModifier);
    m_input->retype(text);
  }
  void fill(const std::string& source, const std::string& target) {
    typeInto('i', q(source));
    typeInto('d', q(target));
  }
  void build() { m_input->press('b', m_window->buildButton()); }

  std::unique_ptr<test::TempDir> m_dir;
  std::unique_ptr<FreshSettings> m_settings;
  std::unique_ptr<test::RecordingPrompts> m_prompts;
  std::unique_ptr<QCDictionaryBuilderWindow> m_window;
  std::unique_ptr<test::WindowInput> m_input;
};

}  // namespace qel

QTEST_MAIN(qel::QCDictionaryBuilderWindowTest)
#include "QCDictionaryBuilderWindowTest.moc"
