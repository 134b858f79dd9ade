// The program's file dialogs open wide enough for every column of their detail view, and at the
// size the user last gave one, kept in the settings.
#include <QFileDialog>
#include <QHeaderView>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

#include "common/qt/UserPrompts.h"
#include "support/FreshSettings.h"
#include "support/WindowInput.h"

namespace qel {

class FileDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void theyOpenWideEnoughAndKeepTheSizeGiven() {
    test::FreshSettings fresh;
    UserPrompts::keepFileDialogSizeIn(&fresh.store);
    QSize opened;
    test::whenShown<QFileDialog>([&](QFileDialog* dialog) {
      QVERIFY(QTest::qWaitForWindowExposed(dialog));
      test::WindowInput::click(dialog->findChild<QToolButton*>("detailModeButton"));
      const QHeaderView* header = dialog->findChild<QTreeView*>("treeView")->header();
      for (int column = 0; column < header->count(); ++column) {
        QVERIFY2(header->sectionViewportPosition(column) + header->sectionSize(column) <=
                     header->viewport()->width(),
                 qPrintable(header->model()->headerData(column, Qt::Horizontal).toString()));
      }
      opened = dialog->size();
      dialog->windowHandle()->resize(opened.width() + 40, opened.height() - 20);  // as a user does
      QTRY_COMPARE(dialog->width(), opened.width() + 40);
      test::pressKey(dialog, Qt::Key_Escape);
    });
    UserPrompts::current().openFileIn(nullptr, "Open", "All Files (*)", fresh.folder.path());
    QVERIFY(opened.isValid());

    QSize reopened;
    test::whenShown<QFileDialog>([&](QFileDialog* dialog) {
      reopened = dialog->size();
      test::pressKey(dialog, Qt::Key_Escape);
    });
    UserPrompts::current().saveFile(nullptr, "Save", "All Files (*)", fresh.folder.filePath("x"));
    QCOMPARE(reopened, QSize(opened.width() + 40, opened.height() - 20));
    UserPrompts::keepFileDialogSizeIn(nullptr);
  }
};

}  // namespace qel

QTEST_MAIN(qel::FileDialogsTest)
#include "FileDialogsTest.moc"
