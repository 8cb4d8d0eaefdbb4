// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_commands.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <optional>

#include "play_session.h"
#include "riddle_address.h"
#include "riddle_document.h"
#include "riddle_file_filter.h"
#include "riddle_io.h"
#include "sentence_path.h"
#include "settings_store.h"
#include "shown_name.h"
#include "solution_files.h"

using namespace vorlo;

namespace {

// A riddle among the files of a drag: the first file URL whose name ends in
// ".vrl" (another computer's too, to be refused with a reason), with
// `error` set when it cannot be opened. Empty when the drag carries none.
struct DroppedRiddle {
    QString path;
    QString error;
    bool Found() const { return !path.isEmpty() || !error.isEmpty(); }
};
DroppedRiddle DroppedRiddleFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return {};
    }
    for (const QUrl& url : data->urls()) {
        if (url.scheme().compare(u"file", Qt::CaseInsensitive) != 0 ||
            !url.path().endsWith(QLatin1String(".vrl"), Qt::CaseInsensitive)) {
            continue;
        }
        DroppedRiddle riddle;
        riddle.path = RiddlePathFromFileUrl(url, url.toDisplayString(), &riddle.error);
        // A relative file URL names no file anyone can find.
        if (riddle.error.isEmpty() && !QDir::isAbsolutePath(riddle.path)) {
            continue;
        }
        return riddle;
    }
    return {};
}

// The Open dialog's new folder while its write waits. Kept for the whole
// program, as the folder is, so the next dialog starts there at once.
std::optional<QString> pendingOpenFolder;

// How long the settings of an open or a save wait before they are written:
// the writes of a few opens in a row go out together, and the one at start
// after the first paint.
constexpr int kSettingsWriteDelayMs = 500;

}  // namespace

FileCommands::FileCommands(QWidget* window, RiddleDocument* doc, WindowPrompts& prompts,
                           std::function<QAction*(CommandId)> action)
    : window_(window), doc_(doc), prompts_(prompts), action_(std::move(action)) {
    prompts_.SavePrompt = [this](const QString& question) {
        const std::unique_ptr<QMessageBox> box = MakeSaveQuestion(window_, question);
        return static_cast<QMessageBox::StandardButton>(box->exec());
    };
    prompts_.AskFileName = [this](bool forSave, const QString& suggestion) {
        const std::unique_ptr<QFileDialog> dialog = MakeFileDialog(window_, forSave, suggestion);
        return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
    };
    prompts_.ConfirmReplace = [this](const QString& path) {
        return QMessageBox::question(
                   window_, tr("vorlo"),
                   tr("%1 already exists.\nDo you want to replace it?").arg(SentencePath(path)),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    };
    prompts_.ConfirmRevert = [this](const QString& question) {
        return QMessageBox::question(window_, tr("vorlo"), question,
                                     QMessageBox::Yes | QMessageBox::Cancel,
                                     QMessageBox::Cancel) == QMessageBox::Yes;
    };

    settingsTimer_ = new QTimer(this);
    settingsTimer_->setSingleShot(true);
    settingsTimer_->setInterval(kSettingsWriteDelayMs);
    connect(settingsTimer_, &QTimer::timeout, this, [this] { FlushSettings(); });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { FlushSettings(); });
}

std::unique_ptr<QMessageBox> FileCommands::MakeSaveQuestion(QWidget* parent,
                                                            const QString& question) {
    auto box = std::make_unique<QMessageBox>(
        QMessageBox::Question, tr("vorlo"), question,
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box->setDefaultButton(QMessageBox::Save);
    // Said by the program itself: the toolkit's Hebrew word for the button
    // means "forgot".
    box->button(QMessageBox::Discard)->setText(tr("Discard"));
    return box;
}

FileCommands::~FileCommands() {
    FlushSettings();
}

void FileCommands::SetRecentFilePlaceholder(QAction* placeholder) {
    recentPlaceholder_ = placeholder;
    LoadRecentFiles();
}

void FileCommands::OpenRecentFile(int index) {
    if (index < recentFiles_.size()) {
        OpenDocumentFile(recentFiles_.at(index));
    }
}

bool FileCommands::OpenSampleRiddle(const QString& fileName) {
    const QString folder = SamplesFolder();
    if (folder.isEmpty()) {
        return false;
    }
    // The folder ends with its separator; the name goes straight after it.
    return OpenDocumentFile(folder + fileName, PlayChoice::Always);
}

bool FileCommands::SaveModified() {
    if (!doc_->isModified()) {
        return true;
    }
    const QString name =
        doc_->pathName().isEmpty() ? doc_->title() : QDir::toNativeSeparators(doc_->pathName());
    switch (prompts_.SavePrompt(tr("Save changes to %1?").arg(SentencePath(name)))) {
        case QMessageBox::Save:
            return OnFileSave();
        case QMessageBox::Discard:
        case QMessageBox::No:
            return true;
        default:
            return false;
    }
}

bool FileCommands::OnFileNew() {
    if (!SaveModified()) {
        return false;
    }
    doc_->newRiddle();
    return true;
}

bool FileCommands::OnFileOpen() {
    const QString path = prompts_.AskFileName(false, OpenDialogFolder());
    if (path.isEmpty()) {
        return false;
    }
    return OpenDocumentFile(path);
}

QString FileCommands::OpenDialogFolder() {
    // The Open dialog starts among the sample riddles until the user has
    // opened a riddle somewhere else; from then on, where that one was.
    const QString elsewhere = pendingOpenFolder ? *pendingOpenFolder : SettingsStore().OpenFolder();
    if (!elsewhere.isEmpty() && QFileInfo(elsewhere).isDir()) {
        return elsewhere;
    }
    return SamplesFolder();
}

QString FileCommands::SamplesFolder() {
    return SettingsStore().InstallationFolder();
}

void FileCommands::RememberOpenFolder(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    const QString samples = SamplesFolder();
    if (!samples.isEmpty() &&
        QFileInfo(samples).canonicalFilePath() == QFileInfo(folder).canonicalFilePath()) {
        return;
    }
    pendingOpenFolder = folder;
}

bool FileCommands::OpenDocumentFile(const QString& path, PlayChoice play) {
    if (!SaveModified()) {
        return false;
    }
    QString error;
    if (!doc_->open(path, &error)) {
        prompts_.ShowError(tr("Cannot open the riddle %1:\n%2").arg(SentencePath(path), error));
        RemoveRecentFile(QFileInfo(path).absoluteFilePath());
        return false;
    }
    AddRecentFile(doc_->pathName());
    RememberOpenFolder(doc_->pathName());
    ScheduleSettingsWrite();
    if (play == PlayChoice::Always ||
        (play == PlayChoice::WhenSolutions &&
         !SolutionPaths(QFile::encodeName(doc_->pathName()).toStdString()).empty())) {
        doc_->play()->start();
    }
    return true;
}

bool FileCommands::StartPlaying() {
    if (doc_->isPlaying()) {
        return true;
    }
    const bool wasModified = doc_->isModified();
    if (!SaveModified()) {
        return false;
    }
    const QString path = doc_->pathName();
    if (path.isEmpty()) {
        prompts_.ShowNotice(tr("Save the riddle to play it."));
        return false;
    }
    // Edits the user chose not to save are not played: the riddle is played
    // as its file holds it.
    if (wasModified && doc_->isModified()) {
        QString error;
        if (!doc_->open(path, &error)) {
            prompts_.ShowError(tr("Cannot open the riddle %1:\n%2").arg(SentencePath(path), error));
            return false;
        }
    }
    doc_->play()->start();
    return true;
}

std::unique_ptr<QFileDialog> FileCommands::MakeFileDialog(QWidget* parent, bool forSave,
                                                          const QString& suggestion) {
    auto dialog = std::make_unique<QFileDialog>(parent, forSave ? tr("Save As") : tr("Open"),
                                                suggestion, tr("Vorlo riddle(*.vrl)"));
    if (forSave) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        // The dialog adds the suffix to a bare name before its own check for
        // an existing file, so "precious" is asked about when precious.vrl exists.
        dialog->setDefaultSuffix(QStringLiteral("vrl"));
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
        // The dialog lists riddles, not the solutions beside them; only
        // the dialog of Qt's own takes a filter on its file list.
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setProxyModel(new RiddleFileFilter(dialog.get()));
    }
    return dialog;
}

bool FileCommands::OnFileSave() {
    // A game is never written over its riddle.
    if (doc_->isPlaying()) {
        return false;
    }
    // A riddle that cannot be written where it came from (an installed
    // sample, a read-only file or folder) is saved elsewhere: the user is
    // asked where, and Cancel there cancels whatever wanted the save.
    const QString path = doc_->pathName();
    if (!path.isEmpty() && !vorlo::CanReplaceFile(path)) {
        return DoSave(QString());
    }
    return DoSave(path);
}

bool FileCommands::OnFileSaveAs() {
    if (doc_->isPlaying()) {
        return false;
    }
    return DoSave(QString());
}

bool FileCommands::DoSave(QString path) {
    if (path.isEmpty()) {
        path = prompts_.AskFileName(true, SaveAsSuggestion());
        if (path.isEmpty()) {
            return false;
        }
        // A dialog that left the suffix off had no chance to ask about the
        // file the completed name replaces.
        if (QFileInfo(path).suffix().isEmpty()) {
            path += QStringLiteral(".vrl");
            if (QFileInfo::exists(path) && !prompts_.ConfirmReplace(path)) {
                return false;
            }
        }
    }
    QString error;
    if (!doc_->save(path, &error)) {
        prompts_.ShowError(tr("Cannot save the riddle %1:\n%2").arg(SentencePath(path), error));
        return false;
    }
    if (Saved) {
        Saved();
    }
    AddRecentFile(doc_->pathName());
    return true;
}

QString FileCommands::SaveAsSuggestion() const {
    const QString path = doc_->pathName();
    if (path.isEmpty()) {
        return doc_->title() + QStringLiteral(".vrl");
    }
    if (vorlo::CanReplaceFile(path)) {
        return path;
    }
    // Not in the samples' folder or wherever the file could not be written:
    // among the user's documents, under the same name.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::homePath();
    }
    return QDir(folder).filePath(QFileInfo(path).fileName());
}

bool FileCommands::CarriesRiddle(const QMimeData* data) {
    // Only a riddle file is taken; other files and remote addresses are
    // refused, so the pointer says so before the drop.
    return DroppedRiddleFile(data).Found();
}

bool FileCommands::TakeAsCopy(QDropEvent* event) {
    // A riddle is only read, never moved: taken as a move, a file manager
    // may delete the file once the drop is over. A drag that offers no copy
    // is refused.
    if (!(event->possibleActions() & Qt::CopyAction)) {
        event->ignore();
        return false;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

void FileCommands::Drop(QDropEvent* event) {
    const DroppedRiddle riddle = DroppedRiddleFile(event->mimeData());
    if (!riddle.Found()) {
        event->ignore();
        return;
    }
    // Another computer's file is refused as on the command line, with its
    // message; taking it as a local path would open some other file.
    if (!riddle.error.isEmpty()) {
        event->ignore();
        QTimer::singleShot(0, this, [this, error = riddle.error] { prompts_.ShowError(error); });
        return;
    }
    if (!TakeAsCopy(event)) {
        return;
    }
    // Opened once the drop is over: the save prompt must not hold up the
    // program the file came from, which waits for the drop to end.
    QTimer::singleShot(0, this, [this, path = riddle.path] { OpenDocumentFile(path); });
}

void FileCommands::FlushSettingsAtClose() {
    recentFilesPending_ = true;
    FlushSettings();
}

// ----- recent files -----

void FileCommands::LoadRecentFiles() {
    recentFiles_ = SettingsStore().RecentFiles(kRecentFileCount);
    UpdateRecentFileMenu();
}

void FileCommands::SaveRecentFiles() const {
    SettingsStore().SetRecentFiles(recentFiles_, kRecentFileCount);
}

void FileCommands::AddRecentFile(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    recentFiles_.removeAll(path);
    recentFiles_.prepend(path);
    while (recentFiles_.size() > kRecentFileCount) {
        recentFiles_.removeLast();
    }
    recentFilesPending_ = true;
    ScheduleSettingsWrite();
    UpdateRecentFileMenu();
}

void FileCommands::RemoveRecentFile(const QString& path) {
    if (recentFiles_.removeAll(path) > 0) {
        recentFilesPending_ = true;
        ScheduleSettingsWrite();
        UpdateRecentFileMenu();
    }
}

void FileCommands::ScheduleSettingsWrite() {
    // Every write syncs the settings file to the disk: a few changes in a row
    // share one, and none delays the window's first paint.
    if (SettingsPending() && !settingsTimer_->isActive()) {
        settingsTimer_->start();
    }
}

bool FileCommands::SettingsPending() const {
    return recentFilesPending_ || pendingOpenFolder.has_value();
}

void FileCommands::FlushSettings() {
    settingsTimer_->stop();
    if (recentFilesPending_) {
        recentFilesPending_ = false;
        SaveRecentFiles();
    }
    std::optional<QString> folder;
    folder.swap(pendingOpenFolder);
    if (folder) {
        SettingsStore().SetOpenFolder(*folder);
    }
}

void FileCommands::UpdateRecentFileMenu() {
    recentPlaceholder_->setVisible(recentFiles_.isEmpty());
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* action = action_(RecentFileCommand(i));
        if (i < recentFiles_.size()) {
            const QString name = ShownName(QFileInfo(recentFiles_.at(i)).fileName());
            // A "&" in a file name is shown, not taken as a mnemonic.
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(
                QString(name).replace(QLatin1Char('&'), QStringLiteral("&&"))));
            action->setToolTip(SentencePath(recentFiles_.at(i)));
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
}

bool FileCommands::OnFileRevert() {
    const QString path = doc_->pathName();
    if (path.isEmpty()) {
        return false;
    }
    if (doc_->isModified() &&
        !prompts_.ConfirmRevert(
            tr("Revert to the riddle as saved in %1?\nThe changes made since are lost.")
                .arg(SentencePath(path)))) {
        return false;
    }
    // The riddle comes back as it was being used: played or edited.
    const bool playing = doc_->isPlaying();
    QString error;
    if (!doc_->open(path, &error)) {
        prompts_.ShowError(tr("Cannot open the riddle %1:\n%2").arg(SentencePath(path), error));
        return false;
    }
    if (playing) {
        doc_->play()->start();
    }
    return true;
}

bool FileCommands::OnFileSaveSolution() {
    if (doc_->pathName().isEmpty() || doc_->isPlaying()) {
        return false;
    }
    const QString path = QFile::decodeName(QByteArray::fromStdString(
        NextSolutionPath(QFile::encodeName(doc_->pathName()).toStdString())));
    QString error;
    if (!SaveRiddleFile(path, doc_->MatchList, doc_->plainText(), &error)) {
        prompts_.ShowError(tr("Cannot save the solution %1:\n%2").arg(SentencePath(path), error));
        return false;
    }
    if (SolutionSaved) {
        SolutionSaved(path);
    }
    return true;
}
