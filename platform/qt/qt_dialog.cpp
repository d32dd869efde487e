#include "platform/qt/qt_dialog.h"

#include <QKeyEvent>
#include <QPushButton>

#include "platform/qt/qt_text.h"

namespace tallyfold::platform::qt {

namespace {

bool HasDefaultButton(const DialogTemplate& dialogTemplate) {
    for (const ControlTemplate& control : dialogTemplate.controls) {
        if (control.kind == ControlKind::Button && (control.style & style::kDefaultButton) != 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

TemplateDialog::TemplateDialog(Dialog& dialog, QWidget* owner) : QDialog(owner), dialog_(&dialog) {
    const DialogTemplate& dialogTemplate = dialog.Template();
    QFont font(QString::fromStdString(dialogTemplate.fontName), dialogTemplate.fontPoints);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    base_ = BaseUnitsOf(font);
    setWindowTitle(FromWindows1252(dialogTemplate.caption));
    Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
    if (dialogTemplate.contextHelp) {
        flags |= Qt::WindowContextHelpButtonHint;
    }
    setWindowFlags(flags);
    const QRect frame = ToPixels(dialogTemplate.rect, base_);
    setFixedSize(frame.size());
    if (owner != nullptr) {
        move(owner->mapToGlobal(frame.topLeft()));
    }
}

void TemplateDialog::reject() {
    dialog_->Dispatch(kCancelCommand);
}

void TemplateDialog::keyPressEvent(QKeyEvent* event) {
    const int help = dialog_->Template().helpButton;
    if (help != 0 && event->matches(QKeySequence::HelpContents)) {
        dialog_->Dispatch(help, Notification::Clicked);
        return;
    }
    QDialog::keyPressEvent(event);
}

QtDialogPeer::QtDialogPeer(std::unique_ptr<TemplateDialog> dialog, Dialog& window)
    : QtWindowPeer(*dialog, window), dialog_(std::move(dialog)) {}

std::unique_ptr<QtDialogPeer> CreateTemplateDialog(Dialog& dialog, QWidget* owner) {
    auto widget = std::make_unique<TemplateDialog>(dialog, owner);
    const DialogBaseUnits base = widget->BaseUnits();
    auto peer = std::make_unique<QtDialogPeer>(std::move(widget), dialog);
    const DialogTemplate& dialogTemplate = dialog.Template();
    for (ControlTemplate control : dialogTemplate.controls) {
        const QRect pixels = ToPixels(control.rect, base);
        control.rect = {pixels.x(), pixels.y(), pixels.width(), pixels.height()};
        // Enter ends a dialog with command 1 when no button is marked as the default.
        if (control.id == kOkCommand && control.kind == ControlKind::Button &&
            !HasDefaultButton(dialogTemplate)) {
            control.style |= style::kDefaultButton;
        }
        peer->AddControl(control);
    }
    // The first control that takes the keyboard starts with the focus.
    for (const ControlTemplate& control : dialogTemplate.controls) {
        if (control.kind != ControlKind::Static && control.id != kNoControlId) {
            peer->SetFocus(control.id);
            break;
        }
    }
    return peer;
}

}  // namespace tallyfold::platform::qt
