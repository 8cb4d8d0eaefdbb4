// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <optional>

namespace vorlo::cli {

namespace {

// "-5", "-5,7,-30": numbers, which a riddle's coordinates may well be.
bool LooksNegativeNumber(const QString& argument) {
    return argument.size() >= 2 && argument[0] == u'-' && argument[1].isDigit();
}

}  // namespace

Argument Argument::FromBytes(const QByteArray& bytes) {
    return {bytes, QString::fromUtf8(bytes)};
}

bool IsUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    const QString text = decoder(bytes);
    return !decoder.hasError();
}

QString DisplayName(const QByteArray& bytes) {
    if (IsUtf8(bytes)) {
        return QString::fromUtf8(bytes);
    }
    // Byte by byte: a UTF-8 sequence stays a letter, anything else shows as
    // its value.
    QString name;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<uint8_t>(bytes[i]);
        const qsizetype length = lead < 0x80   ? 1
                                 : lead < 0xC2 ? 0
                                 : lead < 0xE0 ? 2
                                 : lead < 0xF0 ? 3
                                 : lead < 0xF5 ? 4
                                               : 0;
        const QByteArray sequence = length > 0 ? bytes.mid(i, length) : QByteArray();
        if (length > 0 && sequence.size() == length && IsUtf8(sequence)) {
            name += QString::fromUtf8(sequence);
            i += length;
        } else {
            name +=
                QStringLiteral("\\x") + QString::number(lead, 16).toUpper().rightJustified(2, u'0');
            ++i;
        }
    }
    return name;
}

CommandLine::CommandLine(const QString& command, const QString& syntax, const QString& description)
    : command_(command),
      syntax_(syntax),
      help_({QStringLiteral("h"), QStringLiteral("help")},
            QCoreApplication::translate("vorlo-cli", "Show this help.")) {
    helpParser_.setApplicationDescription(description);
    AddOption(help_);
}

void CommandLine::AddOption(const QCommandLineOption& option) {
    options_.append(option);
    helpParser_.addOption(option);
}

void CommandLine::AddPositional(const QString& name, const QString& description) {
    helpParser_.addPositionalArgument(name, description);
}

const QCommandLineOption* CommandLine::Find(const QString& name) const {
    for (const QCommandLineOption& option : options_) {
        if (option.names().contains(name)) {
            return &option;
        }
    }
    return nullptr;
}

bool CommandLine::Parse(const Arguments& arguments, QString* error) {
    const auto unknown = [&](const QString& option) {
        *error = QCoreApplication::translate("vorlo-cli", "unknown option '%1'").arg(option);
        return false;
    };
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const Argument& argument = arguments[i];
        const QString& text = argument.text;
        if (optionsEnded || !text.startsWith(u'-') || text == u"-" || LooksNegativeNumber(text)) {
            positional_.append(argument);
            continue;
        }
        if (text == u"--") {
            optionsEnded = true;
            continue;
        }
        const QCommandLineOption* option = nullptr;
        QString typed;  // the option as typed, for messages
        std::optional<Argument> value;
        if (text.startsWith(u"--")) {
            const qsizetype equals = text.indexOf(u'=');
            typed = equals < 0 ? text : text.left(equals);
            const QString name = typed.mid(2);
            option = name.size() > 1 ? Find(name) : nullptr;
            if (!option) {
                return unknown(typed);
            }
            if (equals >= 0) {
                const qsizetype byteEquals = argument.bytes.indexOf('=');
                value = Argument{argument.bytes.mid(byteEquals + 1), text.mid(equals + 1)};
            }
        } else {
            // A short option: "-o FILE" or "-oFILE"; a flag stands alone.
            typed = text.left(2);
            option = Find(text.mid(1, 1));
            if (!option || (option->valueName().isEmpty() && text.size() > 2)) {
                return unknown(text);
            }
            if (text.size() > 2) {
                value = Argument{argument.bytes.mid(2), text.mid(2)};
            }
        }
        const bool takesValue = !option->valueName().isEmpty();
        if (!takesValue && value) {
            *error =
                QCoreApplication::translate("vorlo-cli", "option '%1' takes no value").arg(typed);
            return false;
        }
        if (takesValue && !value) {
            if (i + 1 >= arguments.size()) {
                *error = QCoreApplication::translate("vorlo-cli", "option '%1' wants a value (%2)")
                             .arg(typed, option->valueName());
                return false;
            }
            value = arguments[++i];
        }
        values_.insert(option->names().constFirst(), value.value_or(Argument()));
    }
    return true;
}

QString CommandLine::HelpText() const {
    // Qt's usage line names the program by its path; a command is run as
    // "vorlo-cli COMMAND".
    QString text = helpParser_.helpText();
    const qsizetype lineEnd = text.indexOf(u'\n');
    text.replace(
        0, lineEnd,
        QCoreApplication::translate("vorlo-cli", "Usage: vorlo-cli %1 %2").arg(command_, syntax_));
    if (!text.endsWith(u'\n')) {
        text += u'\n';
    }
    return text;
}

bool CommandLine::IsSet(const QCommandLineOption& option) const {
    return values_.contains(option.names().constFirst());
}

Argument CommandLine::Value(const QCommandLineOption& option) const {
    const auto it = values_.constFind(option.names().constFirst());
    if (it != values_.constEnd()) {
        return *it;
    }
    const QStringList defaults = option.defaultValues();
    return defaults.isEmpty() ? Argument() : Argument::FromBytes(defaults.constLast().toUtf8());
}

}  // namespace vorlo::cli
