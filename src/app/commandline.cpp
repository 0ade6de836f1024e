#include "commandline.h"

#include "app/qtoptions.h"
#include "app/questioncheck.h"

#include <QApplication>
#include <QCommandLineParser>
#include <algorithm>
#include <cstdio>

namespace {

const char* const kProgram = "mudracq";

std::string helpText(const QCommandLineParser& parser, const QString& program)
{
    // The parser's own text names the program as it was called.
    QString text = parser.helpText();
    if (text.startsWith(QStringLiteral("Usage: ")))
        text.replace(7, text.indexOf(u' ', 7) - 7, program);
    text += QStringLiteral("\nThe question file format, the data folder and its files are "
                           "described in mudracq(6).\n");
    return text.toStdString();
}

} // namespace

CommandLine readCommandLine(int argc, char** argv)
{
    const QtOptions split = splitQtOptions(argc, argv);
    // Read byte for byte, so that a file name comes back as it was given, in any encoding.
    QStringList arguments;
    for (const std::string& argument : split.rest)
        arguments << QString::fromLatin1(argument);
    const auto shown = [](const QString& read) { return QString::fromLocal8Bit(read.toLatin1()); };

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A quiz of twenty questions in five groups of rising difficulty, in "
                       "Serbian.\nWithout options the game plays its built-in questions."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption questions(
        QStringLiteral("questions"),
        QStringLiteral("Play the questions of FILE instead of the built-in ones."),
        QStringLiteral("FILE"));
    const QCommandLineOption check(
        QStringLiteral("check-questions"),
        QStringLiteral("Check the question file FILE without opening a window: print every "
                       "problem with its line and a summary of each group; exit status 0 when "
                       "the file can be played, 1 when not."),
        QStringLiteral("FILE"));
    parser.addOptions({help, version, questions, check});
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("Play the questions of FILE, as a file manager's \"Open With\" does: "
                       "when they cannot be played, the error box says why and the built-in "
                       "questions are played."),
        QStringLiteral("[FILE]"));

    CommandLine command;
    const QString program = shown(arguments.first());
    const auto mistake = [&](const QString& what) {
        command.action = CommandLine::Action::Mistake;
        command.text = QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                           .arg(QLatin1String(kProgram), what)
                           .toStdString();
        return command;
    };
    const auto plainMistake = [&](const std::string& what) {
        command.action = CommandLine::Action::Mistake;
        command.text = std::string(kProgram) + ": " + what + "\n";
        return command;
    };
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help)) {
        command.action = CommandLine::Action::Help;
        command.text = helpText(parser, program);
        return command;
    }
    if (parser.isSet(version)) {
        command.action = CommandLine::Action::Version;
        command.text = std::string(kProgram) + " " + MUDRACQ_VERSION + "\n";
        return command;
    }
    if (!split.unknownSingleDash.empty())
        return mistake(QStringLiteral("Unknown option '%1'.")
                           .arg(QString::fromLocal8Bit(split.unknownSingleDash)));
    if (!split.missingValue.empty())
        return mistake(QStringLiteral("Missing value after '%1'.")
                           .arg(QString::fromLocal8Bit(split.missingValue)));
    if (!parsed)
        return mistake(shown(parser.errorText()));
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty() && parser.isSet(check))
        return mistake(QStringLiteral("unexpected argument '%1'").arg(shown(files.first())));
    if (parser.isSet(questions) && parser.isSet(check))
        return mistake(QStringLiteral("--questions and --check-questions exclude each other"));
    if (parser.values(questions).size() + files.size() > 1 || parser.values(check).size() > 1)
        return mistake(QStringLiteral("one question file at a time"));
    if (!files.isEmpty()) {
        command.questionFile = files.first().toLatin1().toStdString();
        command.plainArgument = true;
        if (command.questionFile.empty())
            return plainMistake("a question file needs a name, not an empty one");
    }
    const QCommandLineOption& fileOption = parser.isSet(check) ? check : questions;
    if (parser.isSet(fileOption)) {
        command.questionFile = parser.value(fileOption).toLatin1().toStdString();
        if (command.questionFile.empty())
            return plainMistake("--" + fileOption.names().first().toStdString() +
                                " needs a file name, not an empty one");
        if (parser.isSet(check))
            command.action = CommandLine::Action::CheckQuestions;
    }
    command.platform = split.platform;
    command.display = split.display;
    return command;
}

int runWithoutWindow(const CommandLine& command, int argc, char** argv)
{
    switch (command.action) {
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        std::fputs(command.text.c_str(), stdout);
        return 0;
    case CommandLine::Action::Mistake:
        std::fputs(command.text.c_str(), stderr);
        return 1;
    case CommandLine::Action::CheckQuestions: {
        // The texts are measured with the window's fonts on a platform that needs no display,
        // whatever platform the command line names.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        int programOnly = std::min(argc, 1);
        QApplication application(programOnly, argv);
        return printQuestionFileCheck(command.questionFile);
    }
    case CommandLine::Action::Play:
        break;
    }
    return 0;
}
