// A dictionary application for the lookup tests: serves Execute(word) on the session bus under the
// service name and object path it is given, writing each word it receives to a file.
// Usage: DBusLookupService SERVICE PATH OUTPUT. Prints "ready" once it can be called.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QFile>
#include <QObject>
#include <cstdio>

class LookupService : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.example.QelTest.Lookup")

 public:
  explicit LookupService(QString output) : m_output(std::move(output)) {}

 public slots:
  void Execute(const QString& word) {
    QFile partial(m_output + ".partial");
    if (!partial.open(QIODevice::WriteOnly)) return;
    partial.write(word.toUtf8());
    partial.close();
    QFile::remove(m_output);
    partial.rename(m_output);
  }

 private:
  QString m_output;
};

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 4) return 2;
  QDBusConnection bus = QDBusConnection::sessionBus();
  LookupService service(QString::fromLocal8Bit(argv[3]));
  if (!bus.registerObject(QString::fromUtf8(argv[2]), &service, QDBusConnection::ExportAllSlots) ||
      !bus.registerService(QString::fromUtf8(argv[1]))) {
    std::fprintf(stderr, "cannot serve: %s\n", qPrintable(bus.lastError().message()));
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  return app.exec();
}

#include "DBusLookupService.moc"
