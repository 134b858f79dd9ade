// The window-message lookup on a real X display: the window found by its exact title receives
// the command number and the sender's window, and the word is on the clipboard; a title that
// matches no window fails and leaves the clipboard alone. Run under xvfb-run.
#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <vector>

#include "lookup/qt/LookupPerformer.h"

namespace qel {
namespace {

constexpr LookupMethodRef kMessage1{LookupKind::kWindowMessage, 0};
constexpr char kTitle[] = "QEL Lookup Target \xc3\xa9";

struct CommandMessage {
  xcb_window_t window;
  uint32_t command;
  uint32_t sender;
};

// Catches the client messages of the lookups' type as they arrive from the X server.
class CommandMessages : public QAbstractNativeEventFilter {
 public:
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
    const auto* client = reinterpret_cast<const xcb_client_message_event_t*>(event);
    if (atomName(client->type) != "_QEL_COMMAND" || client->format != 32) return false;
    received.push_back({client->window, client->data.data32[0], client->data.data32[1]});
    return true;
  }

  std::vector<CommandMessage> received;

 private:
  static QByteArray atomName(xcb_atom_t atom) {
    auto* connection = qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    std::unique_ptr<xcb_get_atom_name_reply_t, decltype(&std::free)> reply(
        xcb_get_atom_name_reply(connection, xcb_get_atom_name(connection, atom), nullptr),
        &std::free);
    if (!reply) return {};
    return QByteArray(xcb_get_atom_name_name(reply.get()),
                      xcb_get_atom_name_name_length(reply.get()));
  }
};

LookupMethodTable messageTo(const char* title, const char* command) {
  LookupMethodTable table;
  table.method(kMessage1) = {true, "&Target", title, command};
  return table;
}

}  // namespace

class LookupWindowMessageTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
    qApp->installNativeEventFilter(&m_messages);
    m_target.setWindowTitle(QString::fromUtf8(kTitle));
    m_target.show();
    m_owner.setWindowTitle("QEL");
    m_owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_target));
    QVERIFY(QTest::qWaitForWindowExposed(&m_owner));
  }

  void theWindowWithTheTitleGetsTheCommandAndTheWordIsOnTheClipboard() {
    LookupMethodTable table = messageTo(kTitle, "2026");
    QVERIFY(performLookup(table, "caf\xe9", externalLookupMethodCommand(0), &m_owner));
    QTRY_COMPARE(m_messages.received.size(), size_t(1));
    const CommandMessage& message = m_messages.received.front();
    QCOMPARE(message.window, xcb_window_t(m_target.winId()));
    QCOMPARE(message.command, 2026u);
    QCOMPARE(message.sender, uint32_t(m_owner.winId()));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8("café"));

    table.method(kMessage1).second = "twenty";  // not a number: command 0
    QVERIFY(performLookup(table, "word", externalLookupMethodCommand(0), &m_owner));
    QTRY_COMPARE(m_messages.received.size(), size_t(2));
    QCOMPARE(m_messages.received.back().command, 0u);
  }

  void aTitleThatNamesNoWindowFailsAndLeavesTheClipboard() {
    QGuiApplication::clipboard()->setText("before");
    for (const char* title : {"QEL Lookup Target", "QEL Lookup Target \xc3\xa9 ", ""}) {
      LookupMethodTable table = messageTo(title, "2026");
      QVERIFY2(!performLookup(table, "word", externalLookupMethodCommand(0), &m_owner), title);
    }
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("before"));
  }

 private:
  CommandMessages m_messages;
  QWidget m_target;
  QWidget m_owner;
};

}  // namespace qel

QTEST_MAIN(qel::LookupWindowMessageTest)
#include "LookupWindowMessageTest.moc"
