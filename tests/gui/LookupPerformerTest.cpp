// External lookups carried out for real: a web address reaches the desktop's handler, a word
// reaches a D-Bus service in another process on a bus of the test's own, a program is started with
// the word as one argument, and a window message fails cleanly where there is no X11.
#include <sys/prctl.h>

#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <csignal>
#include <memory>

#include "lookup/qt/LookupPerformer.h"
#include "support/MapSettings.h"
#include "support/RecordingPrompts.h"

namespace qel {
namespace {

constexpr LookupMethodRef kWeb1{LookupKind::kWebSearch, 0};
constexpr LookupMethodRef kDde1{LookupKind::kDde, 0};
constexpr LookupMethodRef kMessage1{LookupKind::kWindowMessage, 0};
constexpr LookupMethodRef kExec1{LookupKind::kExecute, 0};
const Command kFirstMethod = externalLookupMethodCommand(0);

// A table with exactly one method, enabled: its command is kFirstMethod.
LookupMethodTable onlyMethod(LookupMethodRef ref, LookupMethod method) {
  LookupMethodTable table;
  method.enabled = true;
  table.method(ref) = std::move(method);
  return table;
}

// The bus and the service end with the test, even one that crashes: left running, they would keep
// whatever the test was given (a lock of the build, say).
void endsWithTheTest(QProcess& process) {
  process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

QString readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

// Receives the addresses the desktop would open.
class UrlCatcher : public QObject {
  Q_OBJECT
 public slots:
  void open(const QUrl& url) { urls << url; }

 public:
  QList<QUrl> urls;
};

class LookupPerformerTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    startPrivateBus();
  }
  void cleanupTestCase() {
    if (m_service.state() != QProcess::NotRunning) {
      m_service.kill();
      m_service.waitForFinished();
    }
    if (m_bus.state() != QProcess::NotRunning) {
      m_bus.kill();
      m_bus.waitForFinished();
    }
  }

  void aWebSearchOpensTheAddressWithTheWordEncoded() {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    LookupMethodTable table;
    table.load(test::MapSettings());  // the first run's Google and OneLook
    QVERIFY(performLookup(table, "tail-end", Command::kExternalLookup, nullptr));
    QVERIFY(performLookup(table, "tail end", externalLookupMethodCommand(1), nullptr));
    table.method(kWeb1).first = "www.example.com/find?q={entry}";  // as typed in a browser
    QVERIFY(performLookup(table, "caf\xe9", kFirstMethod, nullptr));
    QDesktopServices::unsetUrlHandler("https");

    QCOMPARE(catcher.urls.size(), 3);
    // The address's own escapes and the word's arrive; an escaped "-" reads as "-" to any server.
    QCOMPARE(catcher.urls[0], QUrl("https://www.google.com/search?q=%22tail%2dend%22"));
    QCOMPARE(catcher.urls[0].query(QUrl::FullyEncoded), QString("q=%22tail-end%22"));
    QCOMPARE(catcher.urls[1].toEncoded(), QByteArray("https://www.onelook.com/?w=tail%20end&ls=a"));
    QCOMPARE(catcher.urls[2].toEncoded(), QByteArray("https://www.example.com/find?q=caf%C3%A9"));
  }

  void aDBusServiceInAnotherProcessReceivesTheWord() {
    const QString received = m_dir.filePath("dbus-word");
    endsWithTheTest(m_service);
    m_service.setProgram(QEL_DBUS_SERVICE);
    m_service.setArguments({"org.example.QelTest.Words", "/Words/Lookup", received});
    m_service.start();
    QVERIFY(m_service.waitForStarted());
    QByteArray output;
    while (!output.contains("ready") && m_service.waitForReadyRead(10000))
      output += m_service.readAllStandardOutput();
    QVERIFY2(output.contains("ready"), m_service.readAllStandardError().constData());

    LookupMethodTable table =
        onlyMethod(kDde1, {false, "&Words", "org.example.QelTest.Words", "Words/Lookup"});
    QVERIFY(performLookup(table, "caf\xe9 au lait", kFirstMethod, nullptr));
    QCOMPARE(readAll(received), QString::fromUtf8("café au lait"));

    // A service that is not there, and one that has no such object, both fail at once.
    table.method(kDde1).second = "Elsewhere";
    QVERIFY(!performLookup(table, "word", kFirstMethod, nullptr));
    table.method(kDde1) = {true, "&None", "org.example.QelTest.Nobody", "Words/Lookup"};
    QVERIFY(!performLookup(table, "word", kFirstMethod, nullptr));
    table.method(kDde1).first = "NotABusName";  // as an old DDE service would be named
    QVERIFY(!performLookup(table, "word", kFirstMethod, nullptr));
  }

  void aProgramGetsTheWordAsOneArgument_data() {
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("arguments");
    QTest::newRow("word") << QByteArray("word") << "0"
                          << "word\n";
    QTest::newRow("blank") << QByteArray("tail end") << "0"
                           << "tail end\n";
    QTest::newRow("no shell") << QByteArray("a;\"b\" $(c)") << "0"
                              << "a;\"b\" $(c)\n";
    QTest::newRow("accent") << QByteArray("caf\xe9") << "0" << QString::fromUtf8("café\n");
    QTest::newRow("hex") << QByteArray("ab") << "1"
                         << "6162\n";
    QTest::newRow("hex of code page") << QByteArray("caf\xe9") << "1"
                                      << "636166E9\n";
  }
  void aProgramGetsTheWordAsOneArgument() {
    QFETCH(QByteArray, word);
    QFETCH(QString, encoding);
    QFETCH(QString, arguments);
    const QString recorded = m_dir.filePath("arguments");
    QFile::remove(recorded);
    qputenv("QEL_TEST_ARGUMENTS_FILE", QFile::encodeName(recorded));
    LookupMethodTable table =
        onlyMethod(kExec1, {false, "&Run", QEL_ARGUMENT_RECORDER, encoding.toStdString()});
    QVERIFY(performLookup(table, word.toStdString(), kFirstMethod, nullptr));
    QTRY_VERIFY(QFile::exists(recorded));
    QCOMPARE(readAll(recorded), arguments);
  }

  void aProgramThatIsNotThereFails() {
    LookupMethodTable table =
        onlyMethod(kExec1, {false, "&Run", m_dir.filePath("missing").toStdString(), "0"});
    QVERIFY(!performLookup(table, "word", kFirstMethod, nullptr));
    table.method(kExec1).first.clear();
    QVERIFY(!performLookup(table, "word", kFirstMethod, nullptr));
  }

  void aWindowMessageWithoutX11FailsTouchingNothing() {
    QGuiApplication::clipboard()->setText("before");
    LookupMethodTable table = onlyMethod(kMessage1, {false, "&Window", "QEL Lookup Test", "2026"});
    QVERIFY(!performLookup(table, "word", kFirstMethod, nullptr));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("before"));
  }

  void theFailureIsOneInformationBox() {
    test::RecordingPrompts prompts;
    showLookupFailure(nullptr);
    QCOMPARE(prompts.shown,
             QStringList{"Dictionary Lookup Failure: Lookup in the selected external dictionary "
                         "application failed.\n\nApplications using DDE and Message interfaces "
                         "need to be started before lookup is used."});
  }

 private:
  // A session bus of the test's own, so that the lookups reach the test's service and nothing
  // else; the program's session bus is this one from here on.
  void startPrivateBus() {
    const QString config = m_dir.filePath("bus.conf");
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        QString("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/"
                "busconfig.dtd\">\n"
                "<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                "<auth>EXTERNAL</auth><policy context=\"default\">"
                "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                "<allow own=\"*\"/></policy></busconfig>\n")
            .arg(m_dir.path())
            .toUtf8());
    file.close();
    endsWithTheTest(m_bus);
    m_bus.start("dbus-daemon", {"--config-file=" + config, "--nofork", "--print-address"});
    QVERIFY2(m_bus.waitForStarted(), "dbus-daemon is needed (scripts/install-dependencies.sh)");
    QTRY_VERIFY_WITH_TIMEOUT(m_bus.canReadLine(), 10000);
    const QByteArray address = m_bus.readLine().trimmed();
    QVERIFY(!address.isEmpty());
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
  }

  QTemporaryDir m_dir;
  QProcess m_bus;
  QProcess m_service;
};

}  // namespace qel

QTEST_MAIN(qel::LookupPerformerTest)
#include "LookupPerformerTest.moc"
