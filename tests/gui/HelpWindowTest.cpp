// The help: every context the program asks for leads to a page and a section that exist, no link of
// any page is dead, every page can be reached and is compiled into the program, the examples find
// what the pages say they find, the help window opens at the section asked for and stays usable
// from a modal dialog, and Online Help writes pages that a web browser can follow.
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrlQuery>
#include <QWindow>
#include <sstream>

#include "app/HelpContexts.h"
#include "cli/Cli.h"
#include "common/qt/HelpWindow.h"

namespace qel {
namespace {

const QString kPages = QStringLiteral(":/help/");

QString pageHtml(const QString& page) {
  QFile file(kPages + page);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList pageNames() { return QDir(kPages).entryList({QStringLiteral("*.html")}, QDir::Files); }

// The sections Qt's rich text finds in a page: where the help window can scroll to.
QSet<QString> anchorsOf(const QString& html) {
  QTextDocument document;
  document.setHtml(html);
  QSet<QString> names;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      for (const QString& name : it.fragment().charFormat().anchorNames()) names.insert(name);
    }
  }
  return names;
}

QStringList linksOf(const QString& html) {
  static const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
  QStringList links;
  for (auto it = link.globalMatch(html); it.hasNext();) links << it.next().captured(1);
  return links;
}

// What is wrong with a link of `page` (empty when it leads somewhere).
QString deadLink(const QString& page, const QString& link) {
  const QUrl url(link);
  if (url.scheme() == QLatin1String("mailto"))
    return url == supportMailUrl() ? QString() : QStringLiteral("an unknown mail address");
  if (!url.scheme().isEmpty()) return QStringLiteral("an address outside the help");
  const QString target = url.path().isEmpty() ? page : url.path();
  if (!QFile::exists(kPages + target)) return QStringLiteral("no page ") + target;
  if (url.hasFragment() && !anchorsOf(pageHtml(target)).contains(url.fragment()))
    return QStringLiteral("no section ") + url.fragment();
  return {};
}

QString defaultDictionary() {
  const QString path =
      QCoreApplication::applicationDirPath() + QStringLiteral("/../Dictionaries/Devuduvodi.qcd");
  return QFileInfo::exists(path) ? path : QString();
}

struct Example {
  QString page;
  QString pattern;
  bool fullText = false;
  QStringList finds;  // each as a result line or as an entry alone
};

// Every pattern set in the pattern style, with the words the page says it finds.
QList<Example> examples() {
  static const QRegularExpression code(
      QStringLiteral("<code class=\"pattern\"([^>]*)>(.*?)</code>"),
      QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression attribute(QStringLiteral("(data-[a-z]+)=\"([^\"]*)\""));
  QList<Example> found;
  for (const QString& page : pageNames()) {
    for (auto it = code.globalMatch(pageHtml(page)); it.hasNext();) {
      const QRegularExpressionMatch match = it.next();
      Example example;
      example.page = page;
      QTextDocument text;
      text.setHtml(match.captured(2));
      example.pattern = text.toPlainText();
      for (auto a = attribute.globalMatch(match.captured(1)); a.hasNext();) {
        const QRegularExpressionMatch m = a.next();
        if (m.captured(1) == QLatin1String("data-mode"))
          example.fullText = m.captured(2) == QLatin1String("fulltext");
        if (m.captured(1) == QLatin1String("data-finds")) {
          text.setHtml(m.captured(2));
          example.finds = text.toPlainText().split(QLatin1Char('|'));
        }
      }
      found << example;
    }
  }
  return found;
}

struct CliResult {
  int status;
  QStringList lines;
  QString errors;
};

CliResult runCli(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = cli::run(args, out, err);
  return {status, QString::fromStdString(out.str()).split(QLatin1Char('\n')),
          QString::fromStdString(err.str())};
}

// The point of the viewport, in the help window's coordinates, over the first link to `href`.
QPoint linkPoint(QTextBrowser* browser, const QString& href) {
  QTextDocument* document = browser->document();
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (fragment.charFormat().anchorHref() != href) continue;
      QTextCursor cursor(document);
      cursor.setPosition(fragment.position() + 1);
      const QPoint inViewport = browser->cursorRect(cursor).center();
      return browser->viewport()->mapTo(browser->window(), inViewport);
    }
  }
  return {-1, -1};
}

}  // namespace

class HelpWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void cleanup() { delete HelpWindow::instance(); }

  void everyContextLeadsToAPageAndSectionThatExist() {
    for (const HelpTopic& topic : helpTopics()) {
      const QUrl url(QString::fromUtf8(topic.topic.data(), topic.topic.size()));
      QVERIFY2(
          QFile::exists(kPages + url.path()),
          qPrintable(QStringLiteral("context %1: no page %2").arg(topic.context).arg(url.path())));
      if (url.hasFragment()) {
        QVERIFY2(anchorsOf(pageHtml(url.path())).contains(url.fragment()),
                 qPrintable(QStringLiteral("context %1: no section %2 in %3")
                                .arg(topic.context)
                                .arg(url.fragment(), url.path())));
      }
    }
  }

  void noLinkOfAnyPageIsDead() {
    QStringList dead;
    for (const QString& page : pageNames()) {
      for (const QString& link : linksOf(pageHtml(page))) {
        const QString problem = deadLink(page, link);
        if (!problem.isEmpty())
          dead << page + QStringLiteral(": ") + link + QStringLiteral(" (") + problem +
                      QLatin1Char(')');
      }
    }
    QVERIFY2(dead.isEmpty(), qPrintable(dead.join(QLatin1Char('\n'))));
  }

  void everyPageCanBeReached() {
    QStringList queue{QString::fromUtf8(kContentsPage.data(), kContentsPage.size())};
    for (const HelpTopic& topic : helpTopics())
      queue << QUrl(QString::fromUtf8(topic.topic.data(), topic.topic.size())).path();
    QSet<QString> reached;
    while (!queue.isEmpty()) {
      const QString page = queue.takeFirst();
      if (reached.contains(page) || !page.endsWith(QLatin1String(".html"))) continue;
      reached.insert(page);
      for (const QString& link : linksOf(pageHtml(page))) {
        const QUrl url(link);
        if (url.scheme().isEmpty() && !url.path().isEmpty()) queue << url.path();
      }
    }
    for (const QString& page : pageNames())
      QVERIFY2(reached.contains(page),
               qPrintable(page + QStringLiteral(" is linked from nowhere")));
  }

  void everyFileOfTheHelpFolderIsInTheProgram() {
    const QString source = qEnvironmentVariable("QEL_TEST_SOURCE_DIR");
    if (source.isEmpty()) QSKIP("QEL_TEST_SOURCE_DIR is not set");
    const QStringList written =
        QDir(source + QStringLiteral("/resources/help")).entryList(QDir::Files);
    QVERIFY(!written.isEmpty());
    for (const QString& file : written)
      QVERIFY2(QFile::exists(kPages + file),
               qPrintable(file + QStringLiteral(" is missing from help.qrc")));
  }

  void theExamplesFindWhatThePagesSay() {
    const QString dictionary = defaultDictionary();
    if (dictionary.isEmpty()) QSKIP("the default dictionary has not been built");
    const QList<Example> all = examples();
    QVERIFY(all.size() > 50);
    for (const Example& example : all) {
      const std::string command = example.fullText ? "fulltext" : "search";
      const CliResult lines =
          runCli({command, example.pattern.toStdString(), dictionary.toStdString()});
      QVERIFY2(lines.status != cli::kError,
               qPrintable(example.page + QStringLiteral(": ") + example.pattern +
                          QStringLiteral(": ") + lines.errors));
      if (example.finds.isEmpty()) continue;
      const CliResult entries = runCli(
          {command, "--entries-only", example.pattern.toStdString(), dictionary.toStdString()});
      for (const QString& word : example.finds) {
        QVERIFY2(lines.lines.contains(word) || entries.lines.contains(word),
                 qPrintable(QStringLiteral("%1: %2 does not find \"%3\"")
                                .arg(example.page, example.pattern, word)));
      }
    }
  }

  void openingAContextShowsItsSection() {
    QWidget main;
    main.resize(400, 300);
    main.show();
    showHelp(help::kProgressBar, &main);
    HelpWindow* window = HelpWindow::instance();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->browser()->source(), QUrl("qrc:/help/searching.html#progress-bar"));
    QVERIFY(window->windowTitle().contains(QLatin1String("Searching")));
    // The section is the last of a long page: showing it scrolls the page down.
    QTRY_VERIFY(window->browser()->verticalScrollBar()->value() > 0);

    showHelp(7550, &main);  // File > Open
    QCOMPARE(HelpWindow::instance(), window);
    QCOMPARE(window->browser()->source(), QUrl("qrc:/help/dictionaries.html#open"));
    QVERIFY(window->backAction()->isEnabled());
    window->backAction()->trigger();
    QCOMPARE(window->browser()->source(), QUrl("qrc:/help/searching.html#progress-bar"));
    window->contentsAction()->trigger();
    QCOMPARE(window->browser()->source(), QUrl("qrc:/help/index.html"));

    showHelp(0, &main);  // a context without a topic of its own
    QCOMPARE(window->browser()->source(), QUrl("qrc:/help/index.html"));
  }

  void theHelpOfAModalDialogCanBeUsed() {
    QWidget main;
    main.resize(400, 300);
    main.show();
    showHelp(help::kMainView, &main);
    QDialog dialog(&main);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    showHelp(help::kDictionaryListDialog, &dialog);
    HelpWindow* window = HelpWindow::instance();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->browser()->source(), QUrl("qrc:/help/dictionary-list.html"));
    const QPoint contents = linkPoint(window->browser(), QStringLiteral("index.html"));
    QVERIFY(contents.x() >= 0);
    // Through the window system, where a modal dialog holds back clicks on other windows.
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, contents);
    QTRY_COMPARE(window->browser()->source(), QUrl("qrc:/help/index.html"));

    // When the dialog is done, help stays open with the main window.
    dialog.accept();
    QCOMPARE(HelpWindow::instance(), window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->parentWidget(), &main);
  }

  void helpFirstOpenedFromADialogOutlivesIt() {
    QWidget main;
    main.show();
    {
      QDialog dialog(&main);
      dialog.show();
      showHelp(help::kDictionaryPropertiesDialog, &dialog);
      dialog.accept();
    }
    HelpWindow* window = HelpWindow::instance();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->parentWidget(), &main);
  }

  void onlineHelpWritesPagesABrowserCanFollow() {
    const QUrl url = onlineHelpUrl();
    QVERIFY(url.isLocalFile());
    QCOMPARE(QFileInfo(url.toLocalFile()).fileName(), QStringLiteral("index.html"));
    const QDir folder = QFileInfo(url.toLocalFile()).dir();
    for (const QString& file : QDir(kPages).entryList(QDir::Files)) {
      QFile written(folder.filePath(file)), compiled(kPages + file);
      QVERIFY2(written.open(QIODevice::ReadOnly), qPrintable(file));
      QVERIFY(compiled.open(QIODevice::ReadOnly));
      QCOMPARE(written.readAll(), compiled.readAll());
    }

    // A copy left by another version is replaced.
    {
      QFile stale(folder.filePath(QStringLiteral("anagrams.html")));
      QVERIFY(stale.open(QIODevice::WriteOnly | QIODevice::Truncate));
      stale.write("<p>an older page</p>");
    }
    const QUrl tutorial = onlineTutorialUrl();
    QCOMPARE(QFileInfo(tutorial.toLocalFile()).fileName(), QStringLiteral("tutorial.html"));
    QCOMPARE(QFileInfo(tutorial.toLocalFile()).dir(), folder);
    QFile replaced(folder.filePath(QStringLiteral("anagrams.html")));
    QVERIFY(replaced.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(replaced.readAll()), pageHtml(QStringLiteral("anagrams.html")));
  }

  void supportMailCarriesTheAddressAndSubject() {
    const QUrl url = supportMailUrl();
    QCOMPARE(url.scheme(), QStringLiteral("mailto"));
    QCOMPARE(url.path(), QString::fromUtf8(kSupportAddress.data(), kSupportAddress.size()));
    QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
             QString::fromUtf8(kSupportSubject.data(), kSupportSubject.size()));
    // Mail programs read "+" in a mailto subject as a plus sign, so spaces must be %20.
    QVERIFY(url.toString(QUrl::FullyEncoded).contains(QLatin1String("QEL%20Support%20Request")));
  }
};

}  // namespace qel

QTEST_MAIN(qel::HelpWindowTest)
#include "HelpWindowTest.moc"
