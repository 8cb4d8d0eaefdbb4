// SPDX-License-Identifier: GPL-3.0-or-later
// Cases about what a file's mode stops can only be seen by a user whom the
// mode stops, and root ignores modes. Started as root (as CI runs the tests),
// such a case runs again in a child copy of the test program as the user
// nobody, with temporary, home, configuration and data folders of its own that
// this process makes and hands over; the child's verdict is the case's.
//
//     void unreadableFile() {
//         VORLO_RUN_AS_NOBODY_WHEN_ROOT();
//         ...  // the case, as a user whom modes stop
//     }
//
// The child knows it is one by VORLO_TEST_AS_NOBODY in its environment.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace vorlo::testing {

struct NobodyRun {
    enum Outcome { Passed, Failed, Skipped, CannotRun };
    Outcome outcome = CannotRun;
    QString detail;  // the child's output, the skip's reason, or why it could not run
};

inline bool IsNobodyChild() {
    return qEnvironmentVariableIsSet("VORLO_TEST_AS_NOBODY");
}

// Runs the current test function and data row in a child copy of this program
// as nobody.
inline NobodyRun RunCurrentCaseAsNobody() {
    NobodyRun run;
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    const passwd* nobody = ::getpwnam("nobody");
    if (setpriv.isEmpty() || nobody == nullptr) {
        run.detail = setpriv.isEmpty() ? QStringLiteral("no setpriv to change the user")
                                       : QStringLiteral("no user nobody");
        return run;
    }
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;

    // Folders of the child's own, which it owns; the runtime folder must be
    // private to it.
    QTemporaryDir base(QDir::tempPath() + QStringLiteral("/vorlo-nobody-XXXXXX"));
    if (!base.isValid()) {
        run.detail = QStringLiteral("no temporary folder: ") + base.errorString();
        return run;
    }
    base.setAutoRemove(true);
    const QStringList names{QStringLiteral("tmp"),    QStringLiteral("home"),
                            QStringLiteral("config"), QStringLiteral("data"),
                            QStringLiteral("cache"),  QStringLiteral("runtime")};
    if (::chown(QFile::encodeName(base.path()).constData(), uid, gid) != 0) {
        run.detail = QStringLiteral("cannot hand the temporary folder to nobody");
        return run;
    }
    for (const QString& name : names) {
        const QByteArray path = QFile::encodeName(base.filePath(name));
        if (!QDir().mkdir(base.filePath(name)) || ::chown(path.constData(), uid, gid) != 0 ||
            ::chmod(path.constData(), 0700) != 0) {
            run.detail = QStringLiteral("cannot prepare ") + base.filePath(name);
            return run;
        }
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VORLO_TEST_AS_NOBODY"), QStringLiteral("1"));
    env.insert(QStringLiteral("TMPDIR"), base.filePath(QStringLiteral("tmp")));
    env.insert(QStringLiteral("HOME"), base.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), base.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), base.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), base.filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), base.filePath(QStringLiteral("runtime")));
    const QStringList asNobody{QStringLiteral("--reuid=%1").arg(uid),
                               QStringLiteral("--regid=%1").arg(gid),
                               QStringLiteral("--clear-groups"), QStringLiteral("--")};
    const auto runAsNobody = [&](const QStringList& command, QByteArray* output) {
        QProcess child;
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(setpriv, asNobody + command);
        const bool ended = child.waitForFinished(120000);
        *output = child.readAll();
        if (!ended) {
            child.kill();
            child.waitForFinished();
            output->append("\n(still running after 120 s; ended)");
            return false;
        }
        return child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    };

    // nobody must reach its folders through their parents, and run this
    // program from the build tree.
    const QString program = QCoreApplication::applicationFilePath();
    QByteArray output;
    if (!runAsNobody(
            {QStringLiteral("test"), QStringLiteral("-w"), base.filePath(QStringLiteral("tmp")),
             QStringLiteral("-a"), QStringLiteral("-x"), program},
            &output)) {
        run.detail = QStringLiteral("nobody cannot write to %1 or run %2 %3")
                         .arg(base.filePath(QStringLiteral("tmp")), program,
                              QString::fromLocal8Bit(output).trimmed());
        return run;
    }

    const QString function = QString::fromLatin1(QTest::currentTestFunction());
    const QString tag = QString::fromLocal8Bit(QTest::currentDataTag());
    const QString which = tag.isEmpty() ? function : function + u':' + tag;
    const bool exited0 = runAsNobody({program, which}, &output);
    run.detail = QString::fromLocal8Bit(output);
    // QtTest's plain-text report: "PASS   : Class::function(tag)", likewise
    // SKIP and FAIL!, a skip's reason after the name.
    const QString name = tag.isEmpty() ? function : function + u'(' + tag + u')';
    const QRegularExpression verdict(
        QStringLiteral("^(PASS|SKIP|FAIL!) *: \\w+::%1(.*)$").arg(QRegularExpression::escape(name)),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch found = verdict.match(run.detail);
    if (!found.hasMatch()) {
        run.outcome = NobodyRun::Failed;  // it did not get as far as the case
    } else if (found.captured(1) == QStringLiteral("SKIP")) {
        run.outcome = NobodyRun::Skipped;
        run.detail = QStringLiteral("as nobody: ") + found.captured(2).trimmed();
    } else {
        run.outcome = found.captured(1) == QStringLiteral("PASS") && exited0 ? NobodyRun::Passed
                                                                             : NobodyRun::Failed;
    }
    return run;
}

}  // namespace vorlo::testing

// As root, runs the rest of the current case as nobody and returns with its
// verdict; otherwise does nothing and the case goes on. A case that cannot be
// handed to nobody skips, saying why.
#define VORLO_RUN_AS_NOBODY_WHEN_ROOT()                                                            \
    do {                                                                                           \
        if (::geteuid() == 0) {                                                                    \
            const vorlo::testing::NobodyRun nobodyRun = vorlo::testing::RunCurrentCaseAsNobody();  \
            switch (nobodyRun.outcome) {                                                           \
                case vorlo::testing::NobodyRun::Passed:                                            \
                    qInfo("passed as the user nobody");                                            \
                    return;                                                                        \
                case vorlo::testing::NobodyRun::Skipped:                                           \
                    QSKIP(qPrintable(nobodyRun.detail));                                           \
                case vorlo::testing::NobodyRun::CannotRun:                                         \
                    QSKIP(qPrintable(QStringLiteral("root, and the case cannot run as nobody: ") + \
                                     nobodyRun.detail));                                           \
                case vorlo::testing::NobodyRun::Failed:                                            \
                    QFAIL(qPrintable(QStringLiteral("as nobody:\n") + nobodyRun.detail));          \
            }                                                                                      \
        }                                                                                          \
    } while (false)
