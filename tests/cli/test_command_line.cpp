// SPDX-License-Identifier: GPL-3.0-or-later
// How vorlo-cli reads a command's options and arguments, and how it shows
// names and texts on a terminal.

#include <QtTest>

#include "command_line.h"
#include "output.h"

using namespace vorlo::cli;

namespace {

Arguments FromStrings(const QStringList& strings) {
    Arguments arguments;
    for (const QString& s : strings) {
        arguments.append(Argument::FromBytes(s.toUtf8()));
    }
    return arguments;
}

}  // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void parse_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("output");  // -o's value, "(unset)" when not given
        QTest::addColumn<QStringList>("positional");
        QTest::addColumn<QString>("error");

        const QString unset = QStringLiteral("(unset)");
        QTest::newRow("negative numbers are arguments")
            << QStringList{"-o", "a.vrl", "-5,7,-30", "1,-2,3"} << "a.vrl"
            << QStringList{"-5,7,-30", "1,-2,3"} << "";
        QTest::newRow("- is the value of -o")
            << QStringList{"-o", "-", "1,2,3"} << "-" << QStringList{"1,2,3"} << "";
        QTest::newRow("- alone is an argument")
            << QStringList{"-"} << unset << QStringList{"-"} << "";
        QTest::newRow("value joined to a short option")
            << QStringList{"-oa.vrl"} << "a.vrl" << QStringList{} << "";
        QTest::newRow("long option with =")
            << QStringList{"--output=-x.vrl"} << "-x.vrl" << QStringList{} << "";
        QTest::newRow("a value may start with -")
            << QStringList{"--output", "--json"} << "--json" << QStringList{} << "";
        QTest::newRow("the last value counts")
            << QStringList{"-o", "a", "-o", "b"} << "b" << QStringList{} << "";
        QTest::newRow("-- ends the options")
            << QStringList{"--", "-o", "--json"} << unset << QStringList{"-o", "--json"} << "";
        QTest::newRow("unknown short options are named whole")
            << QStringList{"-xyz"} << unset << QStringList{} << "unknown option '-xyz'";
        QTest::newRow("a flag with letters after it")
            << QStringList{"-hx"} << unset << QStringList{} << "unknown option '-hx'";
        QTest::newRow("unknown long option")
            << QStringList{"--colour=red"} << unset << QStringList{} << "unknown option '--colour'";
        QTest::newRow("one dash and a long name")
            << QStringList{"-json"} << unset << QStringList{} << "unknown option '-json'";
        QTest::newRow("missing value") << QStringList{"1,2,3", "-o"} << unset << QStringList{}
                                       << "option '-o' wants a value (FILE)";
        QTest::newRow("flag with a value") << QStringList{"--json=yes"} << unset << QStringList{}
                                           << "option '--json' takes no value";
    }
    void parse() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, output);
        QFETCH(QStringList, positional);
        QFETCH(QString, error);

        CommandLine commandLine(QStringLiteral("test"), QString(), QString());
        const QCommandLineOption out({QStringLiteral("o"), QStringLiteral("output")},
                                     QStringLiteral("out"), QStringLiteral("FILE"));
        const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("json"));
        commandLine.AddOption(out);
        commandLine.AddOption(json);
        QString actualError;
        const bool parsed = commandLine.Parse(FromStrings(arguments), &actualError);
        QCOMPARE(actualError, error);
        QCOMPARE(parsed, error.isEmpty());
        if (!parsed) {
            return;
        }
        QCOMPARE(commandLine.IsSet(out) ? commandLine.Value(out).text : QStringLiteral("(unset)"),
                 output);
        QStringList actualPositional;
        for (const Argument& a : commandLine.Positional()) {
            actualPositional << a.text;
        }
        QCOMPARE(actualPositional, positional);
    }

    void bytesSurvive() {
        // A name in Latin-1 keeps its bytes through parsing.
        CommandLine commandLine(QStringLiteral("test"), QString(), QString());
        const QCommandLineOption out(QStringLiteral("o"), QStringLiteral("out"),
                                     QStringLiteral("FILE"));
        commandLine.AddOption(out);
        const Arguments arguments{Argument::FromBytes("-o\xe9.vrl"),
                                  Argument::FromBytes("caf\xe9.vrl")};
        QString error;
        QVERIFY(commandLine.Parse(arguments, &error));
        QCOMPARE(commandLine.Value(out).bytes, QByteArray("\xe9.vrl"));
        QCOMPARE(commandLine.Positional().constFirst().bytes, QByteArray("caf\xe9.vrl"));
    }

    void helpNamesTheCommand() {
        CommandLine commandLine(QStringLiteral("info"), QStringLiteral("[--json] FILE..."),
                                QStringLiteral("Prints riddles."));
        const QString help = commandLine.HelpText();
        QVERIFY2(help.startsWith(QStringLiteral("Usage: vorlo-cli info [--json] FILE...\n")),
                 qPrintable(help));
        QVERIFY(help.endsWith(u'\n'));
    }

    void displayName_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("UTF-8") << QByteArray("קפה.vrl") << QStringLiteral("קפה.vrl");
        QTest::newRow("Latin-1") << QByteArray("caf\xe9.vrl") << QStringLiteral("caf\\xE9.vrl");
        QTest::newRow("UTF-8 beside a stray byte")
            << QByteArray("\xd7\xa7\xff") << QStringLiteral("ק\\xFF");
        QTest::newRow("truncated sequence") << QByteArray("a\xd7") << QStringLiteral("a\\xD7");
    }
    void displayName() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QCOMPARE(DisplayName(bytes), shown);
        QCOMPARE(IsUtf8(bytes), !shown.contains(QStringLiteral("\\x")));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
