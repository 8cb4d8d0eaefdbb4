// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's Export Picture: the board, and the task text below it,
// as PNG, SVG or PDF, written by the same code as vorlo-cli render.

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextDocument>

#include "board_render.h"
#include "main_window.h"
#include "riddle_document.h"
#include "shown_name.h"

using namespace vorlo;

namespace {

constexpr int kExportMargin = 10;

}  // namespace

QString MainWindow::AskExportPictureDefault(bool* withText) {
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
    QFileDialog dialog(this, tr("Export Picture"),
                       QDir(folder).filePath(base + QStringLiteral(".png")),
                       QStringList{png, svg, pdf}.join(QStringLiteral(";;")));
    dialog.setObjectName(QStringLiteral("ExportPictureDialog"));
    // The dialog of Qt's own carries the text option below its fields.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
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
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    *withText = textBox->isChecked();
    return dialog.selectedFiles().first();
}

bool MainWindow::OnFileExportPicture() {
    bool withText = true;
    QString path = AskExportPicture(&withText);
    if (path.isEmpty()) {
        return false;
    }
    QString error;
    bool textCut = false;
    if (!ExportPicture(path, withText, &error, &textCut)) {
        ShowError(tr("Cannot export the picture %1:\n%2")
                      .arg(ShownName(QDir::toNativeSeparators(path)), error));
        return false;
    }
    // The picture is written all the same: its size is bounded, and the
    // riddle's whole text stays in the riddle.
    const QString name = ShownName(QFileInfo(path).fileName());
    StatusBar->showMessage(
        textCut ? tr("Exported the picture as %1; the task text was too long and was cut").arg(name)
                : tr("Exported the picture as %1").arg(name),
        textCut ? 15000 : 5000);
    return true;
}

bool MainWindow::ExportPicture(const QString& path, bool withText, QString* error, bool* textCut) {
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
