#include "platform/qt/qt_dialog.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>

#include "platform/qt/qt_line_list.h"
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

// How far a label may lie from the field it names: beside it on its row, or just above it.
int LabelDistance(const QRect& label, const QRect& field) {
    const int rowSlack = field.height() / 2;
    if (label.right() <= field.left() + 2 && label.center().y() >= field.top() - rowSlack &&
        label.center().y() <= field.bottom() + rowSlack) {
        return field.left() - label.right();
    }
    const bool overlapsColumn = label.left() < field.right() && label.right() > field.left();
    if (overlapsColumn && label.bottom() <= field.top() + 2 &&
        field.top() - label.bottom() <= 2 * label.height()) {
        return field.top() - label.bottom();
    }
    return -1;
}

}  // namespace

// Each field takes the nearest label beside or above it as its buddy and its accessible name,
// so a screen reader names it and a mnemonic in the label would reach it; a field without a
// label is named by the dialog's title.
void TieLabelsToFields(QWidget& dialog) {
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    for (QWidget* field : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const bool named = qobject_cast<QLineEdit*>(field) != nullptr ||
                           qobject_cast<QComboBox*>(field) != nullptr ||
                           qobject_cast<LineListView*>(field) != nullptr;
        if (!named) {
            continue;
        }
        QLabel* nearest = nullptr;
        int best = 0;
        for (QLabel* label : labels) {
            const int distance = LabelDistance(label->geometry(), field->geometry());
            if (distance >= 0 && label->buddy() == nullptr && !label->text().trimmed().isEmpty() &&
                (nearest == nullptr || distance < best)) {
                nearest = label;
                best = distance;
            }
        }
        if (nearest != nullptr) {
            nearest->setBuddy(field);
            field->setAccessibleName(QString(nearest->text()).remove(QLatin1Char('&')));
        } else {
            // A field without a label (the overview's list) is what its dialog is about.
            field->setAccessibleName(dialog.windowTitle());
        }
    }
}

TemplateDialog::TemplateDialog(Dialog& dialog, QWidget* owner) : QDialog(owner), dialog_(&dialog) {
    const DialogTemplate& dialogTemplate = dialog.Template();
    QFont font(QString::fromStdString(dialogTemplate.fontName), dialogTemplate.fontPoints);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    base_ = BaseUnitsOf(font);
    setWindowTitle(FromUtf8(dialogTemplate.caption));
    Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
    if (dialogTemplate.contextHelp) {
        flags |= Qt::WindowContextHelpButtonHint;
    }
    setWindowFlags(flags);
    const QRect frame = ToPixels(dialogTemplate.rect, base_);
    if (dialogTemplate.resizable) {
        setWindowFlags(windowFlags() & ~Qt::MSWindowsFixedSizeDialogHint);
        setMinimumSize(frame.size());
        resize(frame.size());
        setSizeGripEnabled(true);
    } else {
        setFixedSize(frame.size());
    }
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

void TemplateDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const DialogTemplate& dialogTemplate = dialog_->Template();
    WindowPeer* peer = dialog_->Peer();
    if (!dialogTemplate.resizable || peer == nullptr) {
        return;
    }
    const QSize first = ToPixels(dialogTemplate.rect, base_).size();
    const int wider = width() - first.width();
    const int taller = height() - first.height();
    for (const ControlTemplate& control : dialogTemplate.controls) {
        if (control.anchors != 0 && control.id != kNoControlId) {
            const QRect pixels = ToPixels(control.rect, base_);
            peer->Move(control.id,
                       Anchored({pixels.x(), pixels.y(), pixels.width(), pixels.height()},
                                control.anchors, wider, taller));
        }
    }
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
    TieLabelsToFields(peer->DialogWidget());
    // The dialog's own keys. An edit with the focus claims the keys it uses on its text before
    // a shortcut sees them (Qt's shortcut override), as `EditUsesKey` says.
    for (const DialogKey& key : dialogTemplate.keys) {
        QWidget* scope = key.control != 0 ? peer->Widget(key.control) : &peer->DialogWidget();
        if (scope == nullptr) {
            continue;
        }
        auto* shortcut = new QShortcut(QKeySequence(QString::fromStdString(key.shortcut)), scope);
        shortcut->setContext(key.control != 0 ? Qt::WidgetShortcut : Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, scope,
                         [&dialog, command = key.command] { dialog.Dispatch(command); });
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
