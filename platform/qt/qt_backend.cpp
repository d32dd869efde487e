#include "platform/qt/qt_backend.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "platform/qt/qt_dialog.h"
#include "platform/qt/qt_line_list.h"
#include "platform/qt/qt_main_frame.h"
#include "platform/qt/qt_text.h"

namespace tallyfold::platform::qt {

namespace {

// Qt's name filter for one "description|pattern" pair: the description, then the pattern Qt
// filters by in parentheses, which the dialog keeps out of sight (`HideNameFilterDetails`), so
// the description shows as it stands. "*.*" means every file, names without a dot included.
QString NameFilter(const FileFilter& filter) {
    QString pattern = FromUtf8(filter.pattern).trimmed();
    if (pattern == QLatin1String("*.*")) {
        pattern = QStringLiteral("*");
    }
    QString description = FromUtf8(filter.description).trimmed();
    return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

// The place of the dialog's chosen file type among `filters` (made by `NameFilter` from
// `descriptions`), counted from 1; 0 for none. Under `HideNameFilterDetails` Qt 6.4 gives the
// type as the dialog shows it, its last parenthesised pattern taken off: "Tab-separated
// (*.tsv)" for "Tab-separated (*.tsv) (*.tsv)". Other versions give it as it was set.
int FilterIndexOf(const QStringList& filters, const QStringList& descriptions,
                  const QString& chosen) {
    qsizetype found = filters.indexOf(chosen);
    if (found < 0) {
        found = descriptions.indexOf(chosen.trimmed());
    }
    return static_cast<int>(found) + 1;
}

// Qt would take Escape or the close button of a Yes/No box for No; a question like "Save
// existing changes?" must be answered with a button, so without Cancel they do nothing.
class MessageBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;
    bool cancellable = true;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (!cancellable && event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (!cancellable && result() == 0) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};

}  // namespace

QWidget* WidgetOf(const Window& window) {
    auto* peer = dynamic_cast<QtWindowPeer*>(window.Peer());
    return peer != nullptr ? peer->Container().window() : nullptr;
}

QtBackend::QtBackend() {
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
    InstallLineListAccessibility();
}

QtBackend::~QtBackend() = default;

namespace {

// A modal window blocks the window it belongs to (and that one's owners), not the help
// window: help asked for from a dialog can be read, scrolled and searched beside it.
void BlockOwnerOnly(QDialog& dialog) {
    if (dialog.parentWidget() != nullptr) {
        dialog.setWindowModality(Qt::WindowModal);
    }
}

// When a modal window closes, the window it belongs to is active again, its focus where it was,
// as on Windows: a window manager may leave that to the program, and offscreen nothing does it.
void ActivateOwner(const QDialog& dialog) {
    if (QWidget* owner = dialog.parentWidget(); owner != nullptr) {
        owner->window()->activateWindow();
    }
}

}  // namespace

std::unique_ptr<WindowPeer> QtBackend::CreateDialogPeer(Dialog& dialog) {
    QWidget* owner = dialog.Parent() != nullptr ? WidgetOf(*dialog.Parent()) : nullptr;
    return CreateTemplateDialog(dialog, owner);
}

DialogResult QtBackend::RunModal(Dialog& dialog) {
    auto* peer = dynamic_cast<QtDialogPeer*>(dialog.Peer());
    if (peer == nullptr) {
        return DialogResult::Cancel;
    }
    TemplateDialog& widget = peer->DialogWidget();
    BlockOwnerOnly(widget);
    widget.activateWindow();
    widget.exec();
    ActivateOwner(widget);
    return peer->Result();
}

std::unique_ptr<FramePeer> QtBackend::CreateFramePeer(FrameWindow& frame) {
    auto peer = std::make_unique<MainFrame>(frame, *this);
    frame_ = peer.get();
    return peer;
}

int QtBackend::RunMessageLoop() {
    return QApplication::exec();
}

void QtBackend::PostQuit(int exitCode) {
    QCoreApplication::exit(exitCode);
}

DialogResult QtBackend::ShowMessageBox(Window& owner, const MessageBoxRequest& request) {
    MessageBox box(WidgetOf(owner));
    box.setWindowTitle(FromUtf8(request.caption));
    // What a message says can be selected and copied: line numbers, file names.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QString text = FromUtf8(request.text);
    if (!request.file.IsEmpty()) {
        text += QLatin1Char('\n') + FromPath(request.file);
    }
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(request.icon == MessageIcon::Question ? QMessageBox::Question
                                                      : QMessageBox::NoIcon);
    switch (request.buttons) {
        case MessageButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.cancellable = false;
            break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::SaveCancel:
            box.setStandardButtons(QMessageBox::Save | QMessageBox::Cancel);
            break;
    }
    BlockOwnerOnly(box);
    const int answer = box.exec();
    ActivateOwner(box);
    switch (answer) {
        case QMessageBox::Ok:
        case QMessageBox::Save:
            return DialogResult::Ok;
        case QMessageBox::Yes:
            return DialogResult::Yes;
        case QMessageBox::No:
            return DialogResult::No;
        default:
            return DialogResult::Cancel;
    }
}

bool QtBackend::RunFileDialog(Window& owner, FileDialogKind kind, FileDialogData& data) {
    QFileDialog dialog(WidgetOf(owner));
    dialog.setOption(QFileDialog::DontUseNativeDialog, false);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    if (!data.title.empty()) {
        dialog.setWindowTitle(FromUtf8(data.title));
    }
    QStringList filters;
    QStringList descriptions;
    for (const FileFilter& filter : ParseFileFilter(data.filter)) {
        filters << NameFilter(filter);
        descriptions << FromUtf8(filter.description).trimmed();
    }
    if (filters.isEmpty()) {
        filters << QStringLiteral("All files (*)");
        descriptions << QStringLiteral("All files");
    }
    dialog.setNameFilters(filters);
    if (data.filterIndex > 0 && data.filterIndex <= filters.size()) {
        dialog.selectNameFilter(filters[data.filterIndex - 1]);
    }
    if (kind == FileDialogKind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode((data.flags & kOfnFileMustExist) != 0 ? QFileDialog::ExistingFile
                                                                 : QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite,
                         (data.flags & kOfnOverwritePrompt) == 0);
    }
    if (!data.defaultExt.empty()) {
        dialog.setDefaultSuffix(QString::fromStdString(data.defaultExt));
    }
    if (!data.initialDir.IsEmpty()) {
        dialog.setDirectory(FromPath(data.initialDir));
    }
    // A name with wildcards is a filter, as the user typed it, not a file to propose.
    if (!data.fileName.IsEmpty() && !HasWildcard(data.fileName)) {
        dialog.selectFile(FromPath(data.fileName));
    }
    BlockOwnerOnly(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    const QString chosen = dialog.selectedFiles().front();
    data.fileName = ToPath(chosen);
    data.initialDir = ToPath(QFileInfo(chosen).absolutePath());
    data.filterIndex = FilterIndexOf(filters, descriptions, dialog.selectedNameFilter());
    return true;
}

bool QtBackend::RunFontDialog(Window& owner, std::string_view title, TextFont& font) {
    QWidget* parent = WidgetOf(owner);
    QFont initial = parent != nullptr ? parent->font() : QApplication::font();
    if (!font.family.empty()) {
        initial.setFamily(FromUtf8(font.family));
    }
    if (font.points > 0) {
        initial.setPointSize(font.points);
    }
    bool chosen = false;
    const QFont picked = QFontDialog::getFont(&chosen, initial, parent, FromUtf8(title));
    if (!chosen) {
        return false;
    }
    font.family = ToUtf8(picked.family());
    font.points = std::max(1, static_cast<int>(picked.pointSizeF() + 0.5));
    return true;
}

void QtBackend::Help(Window& /*owner*/, const HelpRequest& request) {
    if (request.command == HelpCommand::Quit) {
        if (help_) {
            help_->Serve(request);
        }
        return;
    }
    if (!help_) {
        help_ = std::make_unique<HelpWindow>();
    }
    help_->Serve(request);
}

// The settings file is read only when it is a regular file or not there yet: anything else
// under its name (a FIFO would hold the start in open() for ever, a folder cannot be read) is
// left alone, and the run goes on with the defaults.
QSettings* QtBackend::Settings() const {
    if (!settingsChecked_) {
        settingsChecked_ = true;
        const QString file =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/Tallyfold/Tallyfold.conf");
        std::error_code error;
        const std::filesystem::file_type type =
            std::filesystem::status(QFile::encodeName(file).toStdString(), error).type();
        if (type == std::filesystem::file_type::regular ||
            type == std::filesystem::file_type::not_found) {
            settings_ = std::make_unique<QSettings>(QStringLiteral("Tallyfold"),
                                                    QStringLiteral("Tallyfold"));
        }
    }
    return settings_.get();
}

// Values are kept as bytes: a file name need not be valid text.
std::string QtBackend::ReadSetting(std::string_view key) const {
    QSettings* settings = Settings();
    if (settings == nullptr) {
        const auto found = unsaved_.find(key);
        return found != unsaved_.end() ? found->second : std::string();
    }
    return settings->value(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())))
        .toByteArray()
        .toStdString();
}

void QtBackend::WriteSetting(std::string_view key, std::string_view value) {
    QSettings* settings = Settings();
    if (settings == nullptr) {
        unsaved_[std::string(key)] = std::string(value);
        return;
    }
    settings->setValue(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())),
                       QByteArray(value.data(), static_cast<qsizetype>(value.size())));
}

}  // namespace tallyfold::platform::qt
