#include "common/qt/ProgramCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdlib>

#include "platform/Version.h"

namespace qel {
namespace {

void describe(QCommandLineParser& parser, const ProgramDescription& program) {
  QCoreApplication::setApplicationVersion(qel::kVersion);
  parser.setApplicationDescription(QString::fromUtf8(program.description));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument("files", QString::fromUtf8(program.argumentHelp),
                               QString::fromUtf8(program.arguments));
}

// The help text names the program, not the path it was started from.
QString helpText(const QCommandLineParser& parser, const ProgramDescription& program) {
  QString text = parser.helpText();
  const QString started = QCoreApplication::arguments().value(0);
  if (!started.isEmpty()) text.replace("Usage: " + started, QString("Usage: ") + program.name);
  return text;
}

}  // namespace

bool answersInformation(int argc, char** argv, const ProgramDescription& program) {
  bool asks = false;
  for (int i = 1; i < argc && !asks; ++i) {
    const QByteArray arg(argv[i]);
    if (arg == "--") break;
    asks =
        arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" || arg == "--version";
  }
  if (!asks) return false;
  QCoreApplication core(argc, argv);
  QCommandLineParser parser;
  describe(parser, program);
  parser.parse(QCoreApplication::arguments());
  QTextStream out(stdout);
  if (parser.isSet("version")) {
    out << program.name << " " << QCoreApplication::applicationVersion() << "\n";
  } else {
    out << helpText(parser, program);
  }
  return true;
}

QStringList fileArguments(const ProgramDescription& program) {
  QCommandLineParser parser;
  describe(parser, program);
  if (!parser.parse(QCoreApplication::arguments())) {
    QTextStream err(stderr);
    err << program.name << ": " << parser.errorText() << "\n" << helpText(parser, program);
    err.flush();
    std::exit(2);
  }
  return parser.positionalArguments();
}

}  // namespace qel
