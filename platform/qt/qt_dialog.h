#pragma once

#include <QDialog>
#include <memory>

#include "platform/dialog.h"
#include "platform/qt/qt_window_peer.h"

namespace tallyfold::platform::qt {

/// A dialog template realised as a QDialog. Escape and the close box become command 2 and go
/// through the dialog's response table like a click on Cancel.
class TemplateDialog : public QDialog {
  public:
    TemplateDialog(Dialog& dialog, QWidget* owner);

    const DialogBaseUnits& BaseUnits() const { return base_; }

  protected:
    void reject() override;
    /// F1 presses the dialog's help button.
    void keyPressEvent(QKeyEvent* event) override;
    /// A resizable dialog's controls follow its size by their anchors.
    void resizeEvent(QResizeEvent* event) override;

  private:
    Dialog* dialog_;
    DialogBaseUnits base_;
};

/// The peer that owns a TemplateDialog: destroying it destroys the dialog's widgets.
class QtDialogPeer : public QtWindowPeer {
  public:
    explicit QtDialogPeer(std::unique_ptr<TemplateDialog> dialog, Dialog& window);
    TemplateDialog& DialogWidget() { return *dialog_; }

  private:
    std::unique_ptr<TemplateDialog> dialog_;
};

/// Gives every edit, list and combo box of `dialog` the nearest label beside or above it as
/// its buddy and accessible name (without one, the dialog's title names it).
void TieLabelsToFields(QWidget& dialog);

/// Builds the Qt dialog of `dialog`'s template, owned by `owner` (may be null).
std::unique_ptr<QtDialogPeer> CreateTemplateDialog(Dialog& dialog, QWidget* owner);

}  // namespace tallyfold::platform::qt
