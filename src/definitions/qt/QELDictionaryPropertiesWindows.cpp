// The dictionary properties dialog.
#include "definitions/qt/QELDictionaryPropertiesWindows.h"

#include <QFile>
#include <QFormLayout>
#include <QPlainTextEdit>

#include "app/HelpContexts.h"
#include "platform/qt/CoreText.h"

namespace qel {

QELDictionaryPropertiesWindows::QELDictionaryPropertiesWindows(QCDictionaryList& list, int index,
                                                               SettingsBackend& settings,
                                                               QWidget* parent)
    : PropertiesDialog(kDialogName, help::kDictionaryPropertiesDialog, Buttons::kOk, settings,
                       parent) {
  const bool valid = list.recheck(index);
  const QCDictionaryList::Statistics statistics = list.statistics(index);
  setWindowTitle(tr("%1 Properties").arg(QFile::decodeName(list.name(index).c_str())));

  auto* form = new QFormLayout;
  const auto addField = [&](const QString& label, const char* name, const QString& text) {
    PVWEdit* field = bind(new PVWEdit(PVWValue<QString>::shown(text)));
    field->setObjectName(name);
    field->setCursorPosition(0);
    form->addRow(label, field);
  };
  addField(tr("&Location:"), "location", QFile::decodeName(list.path(index).c_str()));
  // The date is written in the user's locale, as the system formats it.
  addField(tr("&Date:"), "date", QString::fromLocal8Bit(list.fileDateText(index)));

  // The description, or why the dictionary is not valid.
  auto* description = new QPlainTextEdit(this);
  description->setObjectName("description");
  description->setReadOnly(true);
  description->setPlainText(fromCp1252(list.description(index)));
  description->setFixedHeight(description->fontMetrics().lineSpacing() * 4 +
                              2 * description->frameWidth() + 8);
  form->addRow(tr("De&scription:"), description);

  // An invalid dictionary holds nothing worth counting: its figures stay empty.
  const auto figure = [valid](long number) { return valid ? QString::number(number) : QString(); };
  addField(tr("&Entries:"), "entries", figure(statistics.totalEntries));
  addField(tr("De&finitions:"), "definitions", figure(statistics.totalReferences));
  addField(tr("&Shortest:"), "shortest", figure(statistics.shortest));
  addField(tr("&Longest:"), "longest", figure(statistics.longest));

  // Wide enough for a full path in most folders.
  setMinimumWidth(fontMetrics().averageCharWidth() * 80);
  setUp(form);
}

}  // namespace qel
