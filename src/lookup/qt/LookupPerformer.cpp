// Performing a lookup method by its kind, and the failure box.
#include "lookup/qt/LookupPerformer.h"

#include <QCoreApplication>
#include <QString>
#include <chrono>
#include <string>

#include "app/Messages.h"
#include "common/qt/UserPrompts.h"
#include "lookup/LookupArguments.h"
#include "lookup/qt/LookupChannels.h"
#include "platform/Cp1252.h"

namespace qel {
namespace {

// As long as the other application may take to answer before the lookup counts as failed.
constexpr std::chrono::milliseconds kDBusTimeout{10000};

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

bool takesAnyCharacter(LookupKind kind) {
  return kind == LookupKind::kWebSearch || kind == LookupKind::kDde;
}

bool performLookup(LookupMethodTable& table, std::string_view wordCp1252, Command command,
                   QWidget* owner) {
  return performLookupUtf8(table, cp1252::toUtf8(wordCp1252), command, owner);
}

bool performLookupUtf8(LookupMethodTable& table, std::string_view wordUtf8, Command command,
                       QWidget* owner) {
  const std::optional<LookupMethodRef> target = table.target(command);
  if (!target) return false;
  const LookupMethod& method = table.method(*target);
  std::string wordCp1252;
  if (!cp1252::fromUtf8(wordUtf8, wordCp1252) && !takesAnyCharacter(target->kind)) return false;
  switch (target->kind) {
    case LookupKind::kWebSearch:
      return openAddress(fromUtf8(webSearchAddress(method.first, wordUtf8)));
    case LookupKind::kDde:
      return callDBusExecute(fromUtf8(method.first), fromUtf8(dbusObjectPath(method.second)),
                             fromUtf8(wordUtf8), kDBusTimeout);
    case LookupKind::kWindowMessage:
      return sendWindowMessage(fromUtf8(method.first), windowMessageCommand(method.second),
                               fromUtf8(wordUtf8), owner);
    case LookupKind::kExecute:
      return startProgram(fromUtf8(method.first),
                          fromUtf8(programArgument(wordCp1252, method.second)));
  }
  return false;
}

void showLookupFailure(QWidget* parent) {
  UserPrompts::current().information(
      parent, QCoreApplication::translate("qel::Lookup", "Dictionary Lookup Failure"),
      fromUtf8(messageText(messageNumber(Message::kLookupFailed))));
}

}  // namespace qel
