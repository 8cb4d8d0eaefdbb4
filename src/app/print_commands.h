// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window's printing (Print, Print Preview, Print Setup, with one
// printer whose settings last for the session) and Export Picture: the
// board, and the task text below it, as PNG, SVG or PDF, written by the
// same code as vorlo-cli render.

#include <QCoreApplication>
#include <QPrinter>
#include <QString>

#include <functional>
#include <memory>

#include "window_prompts.h"

class QPrintPreviewDialog;
class QWidget;
class BoardView;
class RiddleDocument;

class PrintCommands {
    // The texts are the window's: they keep its translations.
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    // `window` parents the dialogs; `showMessage` puts a passing message in
    // the status bar for a number of milliseconds.
    PrintCommands(QWidget* window, RiddleDocument* doc, BoardView* board, WindowPrompts& prompts,
                  std::function<void(const QString& message, int timeout)> showMessage);
    ~PrintCommands();

    void OnFilePrint();
    void OnFilePrintPreview();
    // In a right-to-left preview, swaps the icons of the first and last,
    // previous and next page buttons, so each arrow points where it goes.
    static void PointPageArrowsWithLayout(QPrintPreviewDialog& dialog);
    void OnFilePrintSetup();
    // Prints on `printer` without asking (the command line's --print).
    bool PrintDirect(QPrinter* printer, QString* error);
    // The session's printer, made on first use: making one talks to the print
    // system, which must not delay the window's first paint.
    QPrinter& Printer();

    // Writes a picture of the board, and of the task text below it when
    // `withText`, as PNG, SVG or PDF by the name's extension (PNG for any
    // other name). A text too long for the picture is cut, and the status
    // bar says so.
    bool OnFileExportPicture();
    // `textCut`, when given, tells whether part of the text was left out.
    bool ExportPicture(const QString& path, bool withText, QString* error, bool* textCut = nullptr);

private:
    QString AskExportPictureDefault(bool* withText);

    QWidget* window_;
    RiddleDocument* doc_;
    BoardView* board_;
    WindowPrompts& prompts_;
    std::function<void(const QString& message, int timeout)> showMessage_;
    std::unique_ptr<QPrinter> printer_;
};
