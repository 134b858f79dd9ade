// The conversation with another dictionary application: an Execute call on the session bus, the
// counterpart of a DDE execute transaction.
#include <QDBusConnection>
#include <QDBusMessage>

#include "lookup/LookupArguments.h"
#include "lookup/qt/LookupChannels.h"

namespace qel {

bool callDBusExecute(const QString& service, const QString& objectPath, const QString& word,
                     std::chrono::milliseconds timeout) {
  // The D-Bus library aborts the program on a call to a malformed name, so none is made.
  if (!isValidDBusBusName(service.toStdString())) return false;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  // No interface: the service answers Execute in whichever interface it offers it.
  QDBusMessage call = QDBusMessage::createMethodCall(service, objectPath, QString(), "Execute");
  call << word;
  const QDBusMessage reply = bus.call(call, QDBus::Block, static_cast<int>(timeout.count()));
  return reply.type() == QDBusMessage::ReplyMessage;
}

}  // namespace qel
