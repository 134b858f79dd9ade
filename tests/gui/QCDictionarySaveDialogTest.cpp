// The dictionary save dialog with real results and real dictionary files: a new file, a replaced
// one with its ".bak", Cancel during a build, the multiple mode, and failures (a full disk, a
// folder that cannot be written) that leave the old dictionary byte for byte and show the log.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <filesystem>

#include "common/qt/SettingsStore.h"
#include "dictionary/QCDictionaryList.h"
#include "maintenance/qt/QCDictionarySaveQELDialog.h"
#include "search/ResultList.h"
#include "support/FreshSettings.h"
#include "support/RecordingPrompts.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

using Texts = std::vector<std::string>;

using test::folderContents;

// The entries of a dictionary file ("word" or "word\nannotation"), shortest first.
using test::entryTexts;

using test::FreshSettings;

}  // namespace

class QCDictionarySaveDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::TempDir> m_dir;
  std::string m_source;
  ResultList m_few;   // three results with annotations and balances
  ResultList m_many;  // enough for a build that gives the window several turns

  QCDictionarySaveDialog::Request request(const ResultList& results, QCDictionaryList& list,
                                          const std::string& target) const {
    QCDictionarySaveDialog::Request r;
    r.results = &results;
    r.dictionaries = &list;
    r.dictionary = 0;
    r.path = QString::fromStdString(target);
    r.description = "saved results";
    return r;
  }

 private slots:
  void init() {
    m_dir = std::make_unique<test::TempDir>();
    m_source = m_dir->file("source.qcd");
    QVERIFY(test::buildTestDictionary(m_source, {"source"}));
  }
  void initTestCase() {
    m_few.add("dotting", " (verb)", " +dt", 0);
    m_few.add("tail", "", " +x", 0);
    m_few.add("Hi-fi", " stereo", "", 0);
    for (int i = 0; i < 30000; ++i) m_many.add("entry" + std::to_string(i), " note", "", 0);
  }

  void aNewTargetIsCreatedAndAReplacedOneKeepsItsOldContents_data() {
    QTest::addColumn<bool>("targetExists");
    QTest::newRow("new file") << false;
    QTest::newRow("replaced") << true;
  }
  void aNewTargetIsCreatedAndAReplacedOneKeepsItsOldContents() {
    QFETCH(bool, targetExists);
    FreshSettings fresh;
    test::RecordingPrompts prompts;
    const std::string target = m_dir->file("target.qcd");
    std::string old;
    if (targetExists) {
      QVERIFY(test::buildTestDictionary(target, {"older"}));
      old = test::readFile(target);
    }
    QCDictionaryList list(std::vector<std::string>{m_source});
    QCDictionarySaveQELDialog dialog(request(m_few, list, target), fresh.store);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QString("Save QEL&Corvanth Dictionary"));
    QCOMPARE(dialog.statusText(), QString("Use Save to continue with the current settings"));
    QVERIFY(!dialog.dictionaryList()->isVisible());
    QTest::mouseClick(dialog.saveButton(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int{QDialog::Accepted});
    QVERIFY(!dialog.isVisible());
    QCOMPARE(prompts.shown, QStringList());
    std::string description;
    QCOMPARE(entryTexts(target, &description), (Texts{"Hi-fi\nstereo", "tail", "dotting\n(verb)"}));
    QCOMPARE(description, std::string("saved results"));
    QVERIFY(dialog.logText().contains("4 letter words handled OK"));
    Texts expected = {"source.qcd", "target.qcd"};
    if (targetExists) expected.insert(expected.begin() + 1, "target.bak");
    QCOMPARE(folderContents(m_dir->path()), expected);
    if (targetExists) QCOMPARE(test::readFile(m_dir->file("target.bak")), old);
  }

  // Cancel while the build runs: the build stops, the target keeps its bytes, nothing is left
  // beside it, the log says why and the dialog stays for another try.
  void cancelDuringASaveLeavesTheTargetUntouched() {
    FreshSettings fresh;
    test::RecordingPrompts prompts;
    const std::string target = m_dir->file("target.qcd");
    QVERIFY(test::buildTestDictionary(target, {"older"}));
    const std::string old = test::readFile(target);
    QCDictionaryList list(std::vector<std::string>{m_source});
    QCDictionarySaveQELDialog dialog(request(m_many, list, target), fresh.store);
    dialog.show();
    // The click lands at the first turn of the event loop once the build runs.
    QTimer cancel;
    connect(&cancel, &QTimer::timeout, &dialog, [&dialog, &cancel] {
      if (dialog.state() != DictionaryMaintainer::State::kSaving) return;
      cancel.stop();
      QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    });
    cancel.start(0);
    QTest::mouseClick(dialog.saveButton(), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QCOMPARE(test::readFile(target), old);
    QCOMPARE(folderContents(m_dir->path()), (Texts{"source.qcd", "target.qcd"}));
    QCOMPARE(prompts.shown.size(), 1);
    QVERIFY(prompts.shown[0].startsWith("Dictionary Save Failed: "));
    QVERIFY(prompts.shown[0].endsWith("Dictionary creation abandoned"));
    QVERIFY(dialog.logText().endsWith("Dictionary creation abandoned"));
    QVERIFY(dialog.saveButton()->isEnabled());
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int{QDialog::Rejected});
  }

  // Rebuilding the selected dictionaries: nothing selected, Save does nothing; the one selected is
  // rebuilt with its own description, the other stays as it was.
  void theMultipleModeRebuildsOnlyTheSelectedDictionaries() {
    FreshSettings fresh;
    test::RecordingPrompts prompts;
    const std::string other = m_dir->file("other.qcd");
    QVERIFY(test::buildTestDictionary(other, {"other"}, {.description = "the other one"}));
    const std::string sourceBefore = test::readFile(m_source);
    const std::string otherBefore = test::readFile(other);
    QCDictionaryList list(std::vector<std::string>{m_source, other});
    QCDictionarySaveDialog::Request r = request(m_few, list, "");
    r.dictionary = -1;
    QCDictionarySaveQELDialog dialog(r, fresh.store);
    dialog.show();
    QVERIFY(dialog.dictionaryList()->isVisible());
    QVERIFY(!dialog.fileEdit()->isVisible());
    QCOMPARE(dialog.statusText(), QString("Select the dictionaries to be rebuilt"));
    QTest::mouseClick(dialog.saveButton(), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.statusText(), QString("Select the dictionaries to be rebuilt"));
    QCOMPARE(folderContents(m_dir->path()), (Texts{"other.qcd", "source.qcd"}));

    QListWidget* dictionaries = dialog.dictionaryList();
    QTest::mouseClick(dictionaries->viewport(), Qt::LeftButton, {},
                      dictionaries->visualItemRect(dictionaries->item(1)).center());
    QCOMPARE(dialog.statusText(), QString("Use Save to continue with the current settings"));
    QTest::mouseClick(dialog.saveButton(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    std::string description;
    QCOMPARE(entryTexts(other, &description), (Texts{"Hi-fi\nstereo", "tail", "dotting\n(verb)"}));
    QCOMPARE(description, std::string("the other one"));
    QCOMPARE(test::readFile(m_dir->file("other.bak")), otherBefore);
    QCOMPARE(test::readFile(m_source), sourceBefore);
    QCOMPARE(prompts.shown, QStringList());
  }

  // Writes that stop at a file size limit, as on a full disk.
  void aFullDiskFailsWithTheLogAndKeepsTheOldDictionary() {
    FreshSettings fresh;
    test::RecordingPrompts prompts;
    const std::string target = m_dir->file("target.qcd");
    QVERIFY(test::buildTestDictionary(target, {"older"}));
    const std::string old = test::readFile(target);
    QCDictionaryList list(std::vector<std::string>{m_source});
    QCDictionarySaveQELDialog dialog(request(m_many, list, target), fresh.store);
    dialog.show();

    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    QTest::mouseClick(dialog.saveButton(), Qt::LeftButton);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);

    QVERIFY(dialog.isVisible());
    QCOMPARE(test::readFile(target), old);
    QCOMPARE(folderContents(m_dir->path()), (Texts{"source.qcd", "target.qcd"}));
    const QString failure =
        "Couldn't output \"" + QString::fromStdString(target) + "\" - out of disk space?";
    QCOMPARE(prompts.shown.size(), 1);
    QVERIFY(prompts.shown[0].startsWith("Dictionary Save Failed: "));
    QVERIFY(prompts.shown[0].endsWith(failure));
    QVERIFY(dialog.logText().endsWith(failure));
    QCOMPARE(dialog.statusText(), QString("Use Save to continue with the current settings"));
  }

  void aFolderWithoutWritePermissionFailsWithTheLog() {
    if (geteuid() == 0) QSKIP("running as root, which may write into any folder");
    FreshSettings fresh;
    test::RecordingPrompts prompts;
    const std::string locked = m_dir->file("locked");
    std::filesystem::create_directory(locked);
    const std::string target = locked + "/target.qcd";
    QVERIFY(test::buildTestDictionary(target, {"older"}));
    const std::string old = test::readFile(target);
    QCOMPARE(chmod(locked.c_str(), 0555), 0);
    QCDictionaryList list(std::vector<std::string>{m_source});
    QCDictionarySaveQELDialog dialog(request(m_few, list, target), fresh.store);
    dialog.show();
    QTest::mouseClick(dialog.saveButton(), Qt::LeftButton);
    chmod(locked.c_str(), 0755);
    QVERIFY(dialog.isVisible());
    QCOMPARE(test::readFile(target), old);
    QCOMPARE(folderContents(locked), Texts{"target.qcd"});
    const QString failure =
        "Couldn't open \"" + QString::fromStdString(target) + "\" - Permission denied";
    QCOMPARE(prompts.shown.size(), 1);
    QVERIFY(prompts.shown[0].startsWith("Dictionary Save Failed: "));
    QVERIFY(prompts.shown[0].endsWith(failure));
    QVERIFY(dialog.logText().endsWith(failure));
  }

  // Change... offers the dictionary type and gives a bare name its extension.
  void changeChoosesTheTargetWithTheDictionaryExtension() {
    FreshSettings fresh;
    test::RecordingPrompts prompts;
    QCDictionaryList list(std::vector<std::string>{m_source});
    QCDictionarySaveQELDialog dialog(request(m_few, list, m_dir->file("first.qcd")), fresh.store);
    dialog.show();
    prompts.chosenSaveNames = {QString::fromStdString(m_dir->file("chosen"))};
    QTest::mouseClick(dialog.findChild<QPushButton*>("change"), Qt::LeftButton);
    QCOMPARE(prompts.shown, QStringList{"Create Expurgated Dictionary"});
    QCOMPARE(dialog.fileEdit()->text(), QString::fromStdString(m_dir->file("chosen.qcd")));
  }
};

}  // namespace qel

QTEST_MAIN(qel::QCDictionarySaveDialogTest)
#include "QCDictionarySaveDialogTest.moc"
