// The Dictionary List dialog over real dictionaries in a folder of their own: what each list shows
// at opening (a missing dictionary and files that are no dictionaries left out), Add, Remove,
// Promote and Demote with the selection and enabled states they leave, Browse, and the list text
// that OK returns.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "definitions/qt/DictionaryListViewWindows.h"
#include "definitions/qt/QELDictionaryPropertiesWindows.h"
#include "support/FreshSettings.h"
#include "support/RecordingPrompts.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

QStringList texts(const QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

int selectedRow(const QListWidget* list) {
  const QList<QListWidgetItem*> items = list->selectedItems();
  return items.isEmpty() ? -1 : list->row(items.first());
}

// The enabled buttons, by name, in a fixed order.
QStringList enabledButtons(const QDialog& dialog) {
  QStringList enabled;
  for (const char* name : {"promote", "demote", "add", "remove", "properties", "ok"}) {
    if (dialog.findChild<QPushButton*>(name)->isEnabled()) enabled << name;
  }
  return enabled;
}

void clickRow(QListWidget* list, int row) {
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(row)).center());
}

// As the system delivers a double-click: a click, then the second press as a double-click.
void doubleClickRow(QListWidget* list, int row) {
  clickRow(list, row);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                     list->visualItemRect(list->item(row)).center());
}

}  // namespace

class DictionaryListTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir m_files;
  QString m_folder;  // the other dictionaries' folder
  QString m_outside;
  std::unique_ptr<test::FreshSettings> m_fresh;  // the folder doubles as the program's

  QString inFolder(const QString& file) const { return m_folder + "/" + file; }

  std::unique_ptr<DictionaryListViewWindows> openDialog(const QString& listText) {
    auto dialog = std::make_unique<DictionaryListViewWindows>(listText, m_fresh->store,
                                                              m_fresh->folder.path());
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get())) return nullptr;
    return dialog;
  }
  static QPushButton* button(QDialog& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(name);
  }

 private slots:
  void initTestCase() {
    m_folder = QString::fromStdString(m_files.file("words"));
    QVERIFY(QDir().mkpath(m_folder));
    for (const char* name : {"apple", "Banana", "cherry.v2"})
      QVERIFY(test::buildTestDictionary(inFolder(name).toStdString() + ".qcd", {"tail"}));
    test::writeFile(inFolder("notes.txt").toStdString(), "not a dictionary\n");
    test::writeFile(inFolder("empty.qcd").toStdString(), "");
    QVERIFY(QDir().mkpath(inFolder("sub.qcd")));
    m_outside = QString::fromStdString(m_files.file("outside.qcd"));
    QVERIFY(test::buildTestDictionary(m_outside.toStdString(), {"tail"}));
  }
  void init() {
    m_fresh = std::make_unique<test::FreshSettings>();
    writeDialogString(m_fresh->store, "DictionaryList", "DictionaryFolder", m_folder.toStdString());
  }
  void cleanup() { m_fresh.reset(); }

  // A dictionary of the list text that no longer exists is left out; the folder's valid
  // dictionaries that are not selected are listed by name in order of name, whatever their case.
  void openingShowsTheValidDictionariesOnly() {
    auto dialog = openDialog(inFolder("apple.qcd") + ";" + inFolder("gone.qcd") + ";" + m_outside);
    QVERIFY(dialog);
    QCOMPARE(texts(dialog->selectedList()), QStringList({"apple", "outside"}));
    QCOMPARE(texts(dialog->otherList()), QStringList({"Banana", "cherry.v2"}));
    QCOMPARE(dialog->findChild<QLineEdit*>("folder")->text(), QDir::toNativeSeparators(m_folder));
    QCOMPARE(enabledButtons(*dialog), QStringList({"ok"}));
    QTest::mouseClick(button(*dialog, "ok"), Qt::LeftButton);
    QCOMPARE(dialog->resultText(), inFolder("apple.qcd") + ";" + m_outside);
  }

  // A relative folder lies in the program's folder; none stored means its "Dictionaries".
  void theFolderIsTakenFromTheProgramsFolder() {
    m_fresh->settings.remove("DictionaryListDictionaryFolder");
    auto dialog = openDialog(QString());
    QVERIFY(dialog);
    QCOMPARE(dialog->folder(), QDir(m_fresh->folder.path()).filePath("Dictionaries"));
    QCOMPARE(dialog->otherList()->count(), 0);
    QCOMPARE(enabledButtons(*dialog), QStringList());  // no OK without a dictionary
  }

  // Removing returns a dictionary of the folder to the other list in its place by name, but not
  // one from elsewhere; the selection stays at its index, or the last item.
  void removingReturnsOnlyTheFoldersDictionaries() {
    auto dialog = openDialog(m_outside + ";" + inFolder("Banana.qcd"));
    QVERIFY(dialog);
    QListWidget* selected = dialog->selectedList();
    clickRow(selected, 0);
    QTest::mouseClick(button(*dialog, "remove"), Qt::LeftButton);
    QCOMPARE(texts(selected), QStringList({"Banana"}));
    QCOMPARE(texts(dialog->otherList()), QStringList({"apple", "cherry.v2"}));
    QCOMPARE(selectedRow(selected), 0);
    QCOMPARE(enabledButtons(*dialog), QStringList({"remove", "properties", "ok"}));

    // A double-click removes too; with none left, OK cannot be pressed.
    doubleClickRow(selected, 0);
    QCOMPARE(selected->count(), 0);
    QCOMPARE(texts(dialog->otherList()), QStringList({"apple", "Banana", "cherry.v2"}));
    QCOMPARE(enabledButtons(*dialog), QStringList());
  }

  // Add takes the other list's selection to the end and selects the next name; Promote and Demote
  // move the selected dictionary and keep it selected; a selection in one list clears the other's.
  void composingAListInOrder() {
    auto dialog = openDialog(inFolder("cherry.v2.qcd"));
    QVERIFY(dialog);
    QListWidget* selected = dialog->selectedList();
    QListWidget* other = dialog->otherList();
    clickRow(selected, 0);
    QCOMPARE(enabledButtons(*dialog), QStringList({"remove", "properties", "ok"}));
    clickRow(other, 0);
    QCOMPARE(selectedRow(selected), -1);
    QCOMPARE(enabledButtons(*dialog), QStringList({"add", "properties", "ok"}));
    QTest::mouseClick(button(*dialog, "add"), Qt::LeftButton);
    QCOMPARE(texts(selected), QStringList({"cherry.v2", "apple"}));
    QCOMPARE(texts(other), QStringList({"Banana"}));
    QCOMPARE(selectedRow(other), 0);
    doubleClickRow(other, 0);
    QCOMPARE(texts(selected), QStringList({"cherry.v2", "apple", "Banana"}));
    QCOMPARE(other->count(), 0);
    QCOMPARE(enabledButtons(*dialog), QStringList({"ok"}));

    clickRow(selected, 2);
    QCOMPARE(enabledButtons(*dialog), QStringList({"promote", "remove", "properties", "ok"}));
    QTest::mouseClick(button(*dialog, "promote"), Qt::LeftButton);
    QTest::mouseClick(button(*dialog, "promote"), Qt::LeftButton);
    QCOMPARE(texts(selected), QStringList({"Banana", "cherry.v2", "apple"}));
    QCOMPARE(selectedRow(selected), 0);
    QCOMPARE(enabledButtons(*dialog), QStringList({"demote", "remove", "properties", "ok"}));
    QTest::mouseClick(button(*dialog, "demote"), Qt::LeftButton);
    QCOMPARE(texts(selected), QStringList({"cherry.v2", "Banana", "apple"}));
    QCOMPARE(selectedRow(selected), 1);
    QCOMPARE(enabledButtons(*dialog),
             QStringList({"promote", "demote", "remove", "properties", "ok"}));

    QTest::mouseClick(button(*dialog, "ok"), Qt::LeftButton);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(dialog->resultText(), inFolder("cherry.v2.qcd") + ";" + inFolder("Banana.qcd") + ";" +
                                       inFolder("apple.qcd"));
  }

  // One selected dictionary can move neither way.
  void aSingleDictionaryCanNeitherBePromotedNorDemoted() {
    auto dialog = openDialog(inFolder("apple.qcd"));
    QVERIFY(dialog);
    clickRow(dialog->selectedList(), 0);
    QCOMPARE(enabledButtons(*dialog), QStringList({"remove", "properties", "ok"}));
  }

  // Browse fills the other list from the folder chosen and keeps the folder; cancelled, nothing
  // changes.
  void browsingChoosesTheFolder() {
    test::RecordingPrompts prompts;
    auto dialog = openDialog(inFolder("apple.qcd"));
    QVERIFY(dialog);
    QTest::mouseClick(button(*dialog, "browse"), Qt::LeftButton);
    QCOMPARE(prompts.shown.last(), QString("Select the folder where your dictionaries are stored"));
    QCOMPARE(dialog->otherList()->count(), 2);

    prompts.chosenFolder = QString::fromStdString(m_files.path());
    QTest::mouseClick(button(*dialog, "browse"), Qt::LeftButton);
    QCOMPARE(texts(dialog->otherList()), QStringList({"outside"}));
    m_fresh->settings.sync();
    QCOMPARE(m_fresh->settings.value("DictionaryListDictionaryFolder").toString(),
             prompts.chosenFolder);
    // Removed now, apple is not of this folder.
    clickRow(dialog->selectedList(), 0);
    QTest::mouseClick(button(*dialog, "remove"), Qt::LeftButton);
    QCOMPARE(texts(dialog->otherList()), QStringList({"outside"}));
  }

  // Properties shows the selected dictionary, or the other list's when none is selected.
  void propertiesShowTheDictionarySelected() {
    auto dialog = openDialog(inFolder("apple.qcd"));
    QVERIFY(dialog);
    QStringList titles;
    const auto closeProperties = [&titles] {
      QWidget* shown = QApplication::activeModalWidget();
      if (auto* properties = qobject_cast<QELDictionaryPropertiesWindows*>(shown)) {
        titles << properties->windowTitle();
        properties->accept();
      }
    };
    clickRow(dialog->selectedList(), 0);
    QTimer::singleShot(0, this, closeProperties);
    QTest::mouseClick(button(*dialog, "properties"), Qt::LeftButton);
    clickRow(dialog->otherList(), 0);
    QTimer::singleShot(0, this, closeProperties);
    QTest::mouseClick(button(*dialog, "properties"), Qt::LeftButton);
    QCOMPARE(titles, QStringList({"apple Properties", "Banana Properties"}));
  }
};

}  // namespace qel

QTEST_MAIN(qel::DictionaryListTest)
#include "DictionaryListTest.moc"
