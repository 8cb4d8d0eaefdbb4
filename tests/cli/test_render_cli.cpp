// SPDX-License-Identifier: GPL-3.0-or-later
// vorlo-cli render and thumbnail, run as a program: the files they write, and
// how they fail.

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include "board_render.h"
#include "riddle_file.h"

extern char** environ;

namespace {

struct Run {
    int exitCode = -1;
    QString err;
};

// Only a hang guard: a run that is merely slow on a loaded machine passes.
constexpr int kHangGuardMs = 5 * 60 * 1000;

Run RunCli(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(VORLO_CLI), arguments);
    if (!process.waitForFinished(kHangGuardMs)) {
        process.kill();
        process.waitForFinished();
        return {-2, QStringLiteral("hung")};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

QByteArray Int32(qint32 value) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = char((quint32(value) >> (8 * i)) & 0xff);
    }
    return bytes;
}

QByteArray RiddleBytes(const QList<qint32>& coordinates, qint32 count = -1) {
    QByteArray bytes = Int32(count >= 0 ? count : qint32(coordinates.size() / 3));
    for (qint32 v : coordinates) {
        bytes += Int32(v);
    }
    return bytes;
}

// The file format's worked example, 118 bytes.
const QString kSample = QStringLiteral(VORLO_SOURCE_DIR "/tests/data/worked_example.vrl");

}  // namespace

class TestRenderCli : public QObject {
    Q_OBJECT

private slots:
    void init();
    void rendersEachFormat();
    void failures_data();
    void failures();
    void emptyRiddleIsASmallBoard();
    void riddleAtTheLimitsFinishes();
    void thumbnailIsBounded();
    void thumbnailRefusesDamagedFiles();
    void svgOfTheWorkedExampleIsPinned();
    void streamedSvgIsTheWholeDocument_data();
    void streamedSvgIsTheWholeDocument();
    void svgMemoryIsBounded();

private:
    QString Write(const QString& name, const QByteArray& bytes);
    QTemporaryDir dir_;
};

void TestRenderCli::init() {
    QVERIFY(dir_.isValid());
}

QString TestRenderCli::Write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        return {};
    }
    return path;
}

void TestRenderCli::rendersEachFormat() {
    const QString png = dir_.filePath(QStringLiteral("cup.png"));
    const QString svg = dir_.filePath(QStringLiteral("cup.SVG"));  // extensions in any case
    const QString pdf = dir_.filePath(QStringLiteral("cup.pdf"));
    QCOMPARE(RunCli({QStringLiteral("render"), kSample, QStringLiteral("-o"), png,
                     QStringLiteral("--selected"), QStringLiteral("2")})
                 .exitCode,
             0);
    QCOMPARE(RunCli({QStringLiteral("render"), kSample, QStringLiteral("-o"), svg}).exitCode, 0);
    QCOMPARE(RunCli({QStringLiteral("render"), QStringLiteral("--size"), QStringLiteral("300x300"),
                     kSample, QStringLiteral("--output"), pdf})
                 .exitCode,
             0);

    const QImage image(png);
    QCOMPARE(image.size(), QSize(136, 219));
    QCOMPARE(QColor(image.pixel(309 - 189, 100 - 40)), QColor(255, 200, 0));
    QCOMPARE(QColor(image.pixel(309 - 189, 60 - 40)), QColor(255, 0, 0));
    QCOMPARE(QColor(image.pixel(209 - 189, 60 - 40)), QColor(0, 0, 255));  // match 2 of the file

    QFile svgFile(svg);
    QVERIFY(svgFile.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svgFile);
    int polygons = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"polygon") {
            ++polygons;
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(polygons, 8);

    QFile pdfFile(pdf);
    QVERIFY(pdfFile.open(QIODevice::ReadOnly));
    QVERIFY(pdfFile.read(5) == "%PDF-");
    const QString qpdf = QStandardPaths::findExecutable(QStringLiteral("qpdf"));
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (qpdf.isEmpty() && pdftoppm.isEmpty()) {
        QSKIP("neither qpdf nor pdftoppm is installed");
    }
    if (!qpdf.isEmpty()) {
        QProcess check;
        check.start(qpdf, {QStringLiteral("--check"), pdf});
        QVERIFY(check.waitForFinished(kHangGuardMs));
        QCOMPARE(check.exitCode(), 0);
    }
    if (!pdftoppm.isEmpty()) {
        QProcess raster;
        raster.start(pdftoppm, {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("72"),
                                QStringLiteral("-singlefile"), pdf, dir_.filePath("page")});
        QVERIFY(raster.waitForFinished(kHangGuardMs));
        QCOMPARE(raster.exitCode(), 0);
        const QImage page(dir_.filePath(QStringLiteral("page.png")));
        QCOMPARE(page.size(), QSize(186, 300));  // 136 x 219 fitted into 300 x 300 points
        // The right upright's stick, at board (309, 100).
        const double scale = 300.0 / 219.0;
        const QColor stick(page.pixel(int((309.5 - 189) * scale), int((100.5 - 40) * scale)));
        QCOMPARE(stick, QColor(255, 200, 0));
    }
}

// Where the failing commands are told to write: a folder of the test's own,
// which must stay empty.
QString NeverWritten() {
    static QTemporaryDir scratch;
    return scratch.filePath(QStringLiteral("never-written.png"));
}

void TestRenderCli::failures_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const QString out = NeverWritten();
    const QString missing = QStringLiteral("/nonexistent/riddle.vrl");
    QTest::newRow("missing file") << QStringList{"render", missing, "-o", out} << 1
                                  << QStringLiteral("vorlo-cli: %1: ").arg(missing);
    QTest::newRow("unwritable output")
        << QStringList{"render", kSample, "-o", "/nonexistent/dir/out.png"} << 1
        << QStringLiteral("vorlo-cli: /nonexistent/dir/out.png: ");
    QTest::newRow("no output") << QStringList{"render", kSample} << 2 << QStringLiteral("-o");
    QTest::newRow("unknown format") << QStringList{"render", kSample, "-o", "out.gif"} << 2
                                    << QStringLiteral(".png, .svg or .pdf");
    QTest::newRow("bad size") << QStringList{"render", kSample, "-o", out, "--size", "100"} << 2
                              << QStringLiteral("--size");
    QTest::newRow("size too large")
        << QStringList{"render", kSample, "-o", out, "--size", "9000x10"} << 2
        << QStringLiteral("--size");
    QTest::newRow("negative margin") << QStringList{"render", kSample, "-o", out, "--margin", "-1"}
                                     << 2 << QStringLiteral("--margin");
    QTest::newRow("selected beyond the riddle")
        << QStringList{"render", kSample, "-o", out, "--selected", "5"} << 2
        << QStringLiteral("holds 4 matches");
    QTest::newRow("unknown option")
        << QStringList{"render", kSample, "-o", out, "--colour"} << 2 << QStringLiteral("colour");
    QTest::newRow("thumbnail: missing size")
        << QStringList{"thumbnail", kSample, out} << 2 << QStringLiteral("IN OUT SIZE");
    QTest::newRow("thumbnail: zero size")
        << QStringList{"thumbnail", kSample, out, "0"} << 2 << QStringLiteral("SIZE");
    QTest::newRow("thumbnail: a directory")
        << QStringList{"thumbnail", "/tmp", out, "64"} << 1
        << QStringLiteral("vorlo-cli: /tmp: not a regular file");
}

void TestRenderCli::failures() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const Run run = RunCli(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(!QFile::exists(NeverWritten()));
}

void TestRenderCli::emptyRiddleIsASmallBoard() {
    const QString empty = Write(QStringLiteral("empty.vrl"), RiddleBytes({}));
    const QString png = dir_.filePath(QStringLiteral("empty.png"));
    QCOMPARE(RunCli({"render", empty, "-o", png}).exitCode, 0);
    const QImage image(png);
    QCOMPARE(image.size(), QSize(84, 84));
    QCOMPARE(image.pixel(42, 42), qRgb(255, 255, 255));
}

void TestRenderCli::riddleAtTheLimitsFinishes() {
    const QString limits = Write(QStringLiteral("limits.vrl"),
                                 RiddleBytes({INT32_MIN, INT32_MIN, 0, INT32_MAX, INT32_MAX,
                                              INT32_MIN, INT32_MAX - 5, 0, 45}));
    for (const char* name : {"limits.png", "limits.svg", "limits.pdf"}) {
        const Run run = RunCli({"render", limits, "-o", dir_.filePath(name)});
        QVERIFY2(run.exitCode == 0, qPrintable(QStringLiteral("%1: %2").arg(name, run.err)));
    }
    QCOMPARE(QImageReader(dir_.filePath(QStringLiteral("limits.png"))).size(), QSize(8192, 8192));
}

void TestRenderCli::thumbnailIsBounded() {
    const QString png = dir_.filePath(QStringLiteral("thumb.png"));
    QCOMPARE(RunCli({"thumbnail", kSample, png, "128"}).exitCode, 0);
    QCOMPARE(QImage(png).size(), QSize(79, 128));

    // Sizes beyond 1024 are drawn at 1024.
    QCOMPARE(RunCli({"thumbnail", kSample, png, "100000"}).exitCode, 0);
    QCOMPARE(QImage(png).size(), QSize(636, 1024));

    // A million matches: only the first 200000 are read and drawn. The text
    // behind them is longer than a riddle's text may be, which a reader that
    // went on to the end would refuse; it lies in a hole of the file, so it
    // takes no room on the disk.
    QList<qint32> many;
    many.reserve(3 * 1000000);
    for (int i = 0; i < 1000000; ++i) {
        many << (i % 1000) * 7 << (i / 1000) * 7 << i;
    }
    const QString huge = Write(QStringLiteral("huge.vrl"), RiddleBytes(many));
    QFile tooLong(huge);
    QVERIFY(tooLong.resize(tooLong.size() + qint64(vorlo::kMaxTextBytes) + 1));
    const Run run = RunCli({"thumbnail", huge, png, "256"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    const QImage thumb(png);
    QCOMPARE(thumb.width(), 256);
    QVERIFY(thumb.height() < 256 / 4);  // 200 rows of matches, not 1000
}

void TestRenderCli::thumbnailRefusesDamagedFiles() {
    // Declares two thousand million matches but holds one.
    const QString liar = Write(QStringLiteral("liar.vrl"), RiddleBytes({1, 2, 3}, INT32_MAX));
    const QString png = dir_.filePath(QStringLiteral("liar.png"));
    const Run run = RunCli({"thumbnail", liar, png, "64"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(QStringLiteral("vorlo-cli: %1: declares").arg(liar)),
             qPrintable(run.err));
    QVERIFY(!QFile::exists(png));
    // A negative count is an empty riddle, as the program reads it.
    const QString negative = Write(QStringLiteral("negative.vrl"), RiddleBytes({}, -5));
    QCOMPARE(RunCli({"thumbnail", negative, png, "64"}).exitCode, 0);
}

// Matches on a loose grid with every angle, enough of them for a document of
// many write pieces.
QByteArray SpreadRiddle(int count) {
    QList<qint32> coordinates;
    coordinates.reserve(3 * count);
    for (int i = 0; i < count; ++i) {
        coordinates << (i % 1000) * 37 - 5000 << (i / 1000) * 53 - 700 << (i * 7) % 360;
    }
    return RiddleBytes(coordinates);
}

void TestRenderCli::streamedSvgIsTheWholeDocument_data() {
    QTest::addColumn<QByteArray>("riddle");
    QTest::addColumn<int>("selected");
    QTest::newRow("empty") << RiddleBytes({}) << 0;
    QTest::newRow("one") << RiddleBytes({-5, 7, 30}) << 1;
    QTest::newRow("limits") << RiddleBytes({INT32_MIN, INT32_MIN, 0, INT32_MAX, INT32_MAX, 90})
                            << 2;
    QTest::newRow("5000 matches") << SpreadRiddle(5000) << 4321;
}

// The SVG written piece by piece, to a file and to standard output, is the
// document made whole in memory, byte for byte.
void TestRenderCli::streamedSvgIsTheWholeDocument() {
    QFETCH(QByteArray, riddle);
    QFETCH(int, selected);
    const QString in = Write(QStringLiteral("in.vrl"), riddle);
    QVERIFY(!in.isEmpty());
    const vorlo::RiddleReadResult read = vorlo::ReadRiddleFile(QFile::encodeName(in).toStdString());
    QVERIFY(read.ok);
    vorlo::MatchList::Ref selectedRef;
    int number = 0;
    for (auto it = read.riddle.matches.begin(); it != read.riddle.matches.end(); ++it) {
        if (++number == selected) {
            selectedRef = it.ref();
        }
    }
    const QByteArray whole = vorlo::SvgDocument(read.riddle.matches, selectedRef,
                                                vorlo::FramePicture(read.riddle.matches, 10));

    const QString out = dir_.filePath(QStringLiteral("out.svg"));
    const QString selectedText = QString::number(selected);
    const Run run = RunCli({QStringLiteral("render"), in, QStringLiteral("-o"), out,
                            QStringLiteral("--selected"), selectedText});
    QCOMPARE(run.exitCode, 0);
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == whole);

    QProcess process;
    process.start(QStringLiteral(VORLO_CLI),
                  {QStringLiteral("render"), in, QStringLiteral("-o"), QStringLiteral("-"),
                   QStringLiteral("--format"), QStringLiteral("svg"), QStringLiteral("--selected"),
                   selectedText});
    QVERIFY(process.waitForFinished(kHangGuardMs));
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(process.readAllStandardOutput() == whole);
}

// A large riddle's SVG is written as it is made: the program's peak memory
// stays far below the document's size (about 140 MB here).
void TestRenderCli::svgMemoryIsBounded() {
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer's shadow memory and quarantine inflate the peak");
#else
    constexpr int kMatches = 300000;
    constexpr long kBoundKiB = 64 * 1024;
    const QString in = Write(QStringLiteral("large.vrl"), SpreadRiddle(kMatches));
    QVERIFY(!in.isEmpty());
    QByteArray program(VORLO_CLI);
    const QByteArray inPath = QFile::encodeName(in);
    const QByteArray outPath = QFile::encodeName(dir_.filePath(QStringLiteral("large.svg")));
    QByteArray render = "render";
    QByteArray dashO = "-o";
    char* argv[] = {program.data(),
                    render.data(),
                    const_cast<char*>(inPath.constData()),
                    dashO.data(),
                    const_cast<char*>(outPath.constData()),
                    nullptr};
    pid_t child = 0;
    QCOMPARE(posix_spawn(&child, program.constData(), nullptr, nullptr, argv, environ), 0);
    int status = 0;
    struct rusage usage {};
    // The child's own usage, not that of every child this test has run.
    QCOMPARE(wait4(child, &status, 0, &usage), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY(QFileInfo(QString::fromLocal8Bit(outPath)).size() > 100 * 1024 * 1024);
    QVERIFY2(usage.ru_maxrss < kBoundKiB,
             qPrintable(QStringLiteral("peak %1 KiB").arg(usage.ru_maxrss)));
#endif
}

// The worked example's SVG with match 4 selected, byte for byte: scripts
// that compare pictures rely on it not changing with how it is written.
void TestRenderCli::svgOfTheWorkedExampleIsPinned() {
    const QByteArray expected = R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="136" height="219" viewBox="189 40 136 219">
    <rect x="189" y="40" width="136" height="219" fill="#ffffff"/>
    <polygon points="312,126 306,126 306,61 312,61" fill="#ffc800" stroke="#000000" stroke-width="1"/>
    <polygon points="304,58 304,56 305,53 307,50 310,50 313,53 314,56 314,58 314,60 314,62 314,64 314,66 313,69 311,72 308,72 305,69 304,66 304,64 304,62 304,60" fill="#ff0000" stroke="#000000" stroke-width="1"/>
    <polygon points="212,126 206,126 206,61 212,61" fill="#ffc800" stroke="#000000" stroke-width="1"/>
    <polygon points="204,58 204,56 205,53 207,50 210,50 213,53 214,56 214,58 214,60 214,62 214,64 214,66 213,69 211,72 208,72 205,69 204,66 204,64 204,62 204,60" fill="#ff0000" stroke="#000000" stroke-width="1"/>
    <polygon points="199,140 199,134 264,134 264,140" fill="#ffc800" stroke="#000000" stroke-width="1"/>
    <polygon points="267,132 269,132 272,133 275,135 275,138 272,141 269,142 267,142 265,142 263,142 261,142 259,142 256,141 253,139 253,136 256,133 259,132 261,132 263,132 265,132" fill="#ff0000" stroke="#000000" stroke-width="1"/>
    <polygon points="261,248 255,248 255,183 261,183" fill="#ffc800" stroke="#000000" stroke-width="1"/>
    <polygon points="253,180 253,178 254,175 256,172 259,172 262,175 263,178 263,180 263,182 263,184 263,186 263,188 262,191 260,194 257,194 254,191 253,188 253,186 253,184 253,182" fill="#0000ff" stroke="#000000" stroke-width="1"/>
</svg>
)svg";
    const QString out = dir_.filePath(QStringLiteral("cup.svg"));
    QCOMPARE(RunCli({QStringLiteral("render"), kSample, QStringLiteral("--selected"),
                     QStringLiteral("4"), QStringLiteral("-o"), out})
                 .exitCode,
             0);
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), expected);
}

QTEST_MAIN(TestRenderCli)
#include "test_render_cli.moc"
