// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The command line of one vorlo-cli command: its options and arguments, read
// as a shell user expects. A negative number ("-5,7,-30") is an argument, not
// a bundle of options; an unknown option is named as it was typed; "--" ends
// the options. Every argument keeps the bytes the system gave, so a file name
// that is not UTF-8 still names its file.

#include <QByteArray>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QHash>
#include <QList>
#include <QString>

namespace vorlo::cli {

struct Argument {
    QByteArray bytes;  // as the system gave it
    QString text;      // as UTF-8 text; bytes that are not UTF-8 become U+FFFD

    static Argument FromBytes(const QByteArray& bytes);
};
using Arguments = QList<Argument>;

// Whether the bytes are UTF-8, so that their text converts back to them.
bool IsUtf8(const QByteArray& bytes);

// A file name as a person reads it: bytes that are not UTF-8 show as \xFF.
QString DisplayName(const QByteArray& bytes);

class CommandLine {
public:
    // `syntax` follows "vorlo-cli COMMAND" in the usage line of the help.
    CommandLine(const QString& command, const QString& syntax, const QString& description);

    void AddOption(const QCommandLineOption& option);
    void AddPositional(const QString& name, const QString& description);

    // Reads the arguments that follow the command's name. False on a usage
    // error, with `error` saying what is wrong.
    bool Parse(const Arguments& arguments, QString* error);

    bool HelpWanted() const { return IsSet(help_); }
    QString HelpText() const;
    bool IsSet(const QCommandLineOption& option) const;
    // The option's last value, or its default.
    Argument Value(const QCommandLineOption& option) const;
    const Arguments& Positional() const { return positional_; }

private:
    const QCommandLineOption* Find(const QString& name) const;

    QString command_;
    QString syntax_;
    QCommandLineParser helpParser_;  // writes the help only
    QCommandLineOption help_;
    QList<QCommandLineOption> options_;
    QHash<QString, Argument> values_;  // by the option's first name
    Arguments positional_;
};

}  // namespace vorlo::cli
