// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_commands.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QIcon>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QStandardPaths>
#include <QTextDocument>

#include <utility>

#include "board_render.h"
#include "board_view.h"
#include "riddle_document.h"
#include "riddle_printer.h"
#include "sentence_path.h"
#include "shown_name.h"

using namespace vorlo;

namespace {

constexpr int kExportMargin = 10;

}  // namespace

PrintCommands::PrintCommands(QWidget* window, RiddleDocument* doc, BoardView* board,
                             WindowPrompts& prompts,
                             std::function<void(const QString& message, int timeout)> showMessage)
    : window_(window),
      doc_(doc),
      board_(board),
      prompts_(prompts),
      showMessage_(std::move(showMessage)) {
    prompts_.AskExportPicture = [this](bool* withText) {
        return AskExportPictureDefault(withText);
    };
}

PrintCommands::~PrintCommands() = default;

QPrinter& PrintCommands::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>();
    }
    return *printer_;
}

bool PrintCommands::PrintDirect(QPrinter* printer, QString* error) {
    const bool printed = PrintRiddle(printer, *doc_, board_->VisibleBoardRect(), error);
    board_->OnEndPrinting();
    return printed;
}

void PrintCommands::OnFilePrint() {
    QPrintDialog dialog(&Printer(), window_);
    if (prompts_.RunModal(dialog) != QDialog::Accepted) {
        return;
    }
    QString error;
    if (!PrintDirect(&Printer(), &error)) {
        prompts_.ShowError(error);
    }
}

void PrintCommands::PointPageArrowsWithLayout(QPrintPreviewDialog& dialog) {
    if (!dialog.isRightToLeft()) {
        return;
    }
    // Right to left, the first page's button stands at the right: the
    // toolkit's arrows, drawn for left to right, would point away from it.
    auto find = [&dialog](const char* text) -> QAction* {
        const QString name = QCoreApplication::translate("QPrintPreviewDialog", text);
        for (QAction* action : dialog.findChildren<QAction*>()) {
            if (action->text() == name) {
                return action;
            }
        }
        return nullptr;
    };
    const std::pair<const char*, const char*> pairs[] = {{"First page", "Last page"},
                                                         {"Previous page", "Next page"}};
    for (const auto& [one, other] : pairs) {
        QAction* a = find(one);
        QAction* b = find(other);
        if (a && b) {
            const QIcon icon = a->icon();
            a->setIcon(b->icon());
            b->setIcon(icon);
        }
    }
}

void PrintCommands::OnFilePrintPreview() {
    QPrintPreviewDialog dialog(&Printer(), window_);
    PointPageArrowsWithLayout(dialog);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, window_,
                     [this](QPrinter* printer) {
                         QString error;
                         PrintDirect(printer, &error);
                     });
    prompts_.RunModal(dialog);
    board_->OnEndPrinting();
}

void PrintCommands::OnFilePrintSetup() {
    QPageSetupDialog dialog(&Printer(), window_);
    prompts_.RunModal(dialog);
}

QString PrintCommands::AskExportPictureDefault(bool* withText) {
    const QString png = tr("PNG picture (*.png)");
    const QString svg = tr("SVG drawing (*.svg)");
    const QString pdf = tr("PDF document (*.pdf)");
    QString folder =
        doc_->pathName().isEmpty() ? QString() : QFileInfo(doc_->pathName()).absolutePath();
    if (folder.isEmpty() || !QFileInfo(folder).isWritable()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    }
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::homePath();
    }
    const QString base = QFileInfo(doc_->title()).completeBaseName();
    QFileDialog dialog(window_, tr("Export Picture"),
                       QDir(folder).filePath(base + QStringLiteral(".png")),
                       QStringList{png, svg, pdf}.join(QStringLiteral(";;")));
    dialog.setObjectName(QStringLiteral("ExportPictureDialog"));
    // The dialog of Qt's own carries the text option below its fields.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        const QString suffix = filter == svg   ? QStringLiteral("svg")
                               : filter == pdf ? QStringLiteral("pdf")
                                               : QStringLiteral("png");
        dialog.setDefaultSuffix(suffix);
        const QStringList chosen = dialog.selectedFiles();
        if (!chosen.isEmpty()) {
            dialog.selectFile(QFileInfo(chosen.first()).completeBaseName() + u'.' + suffix);
        }
    });
    auto* textBox = new QCheckBox(tr("Include the task text below the picture"), &dialog);
    textBox->setChecked(true);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        grid->addWidget(textBox, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (prompts_.RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    *withText = textBox->isChecked();
    return dialog.selectedFiles().first();
}

bool PrintCommands::OnFileExportPicture() {
    bool withText = true;
    QString path = prompts_.AskExportPicture(&withText);
    if (path.isEmpty()) {
        return false;
    }
    QString error;
    bool textCut = false;
    if (!ExportPicture(path, withText, &error, &textCut)) {
        prompts_.ShowError(tr("Cannot export the picture %1:\n%2").arg(SentencePath(path), error));
        return false;
    }
    // The picture is written all the same: its size is bounded, and the
    // riddle's whole text stays in the riddle.
    const QString name = SentencePath(QFileInfo(path).fileName());
    showMessage_(
        textCut ? tr("Exported the picture as %1; the task text was too long and was cut").arg(name)
                : tr("Exported the picture as %1").arg(name),
        textCut ? 15000 : 5000);
    return true;
}

bool PrintCommands::ExportPicture(const QString& path, bool withText, QString* error,
                                  bool* textCut) {
    // The format follows the name; a name without a known one is a PNG.
    const PictureFormat format =
        PictureFormatNamed(QFileInfo(path).suffix()).value_or(PictureFormat::Png);
    const PictureFrame frame = FramePicture(doc_->MatchList, kExportMargin);
    const PictureText text{doc_->plainText(), doc_->textDocument()->defaultFont()};
    const bool written = WritePictureFile(path, format, doc_->MatchList, {}, frame,
                                          withText ? &text : nullptr, error);
    if (textCut) {
        *textCut = withText && text.cut;
    }
    return written;
}
