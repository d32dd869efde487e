#pragma once

#include <memory>

#include "platform/control_template.h"
#include "platform/window.h"

namespace tallyfold::platform {

/// A modal dialog built from a template. `kOkCommand` (the default button, Enter) and
/// `kCancelCommand` (Escape, the close box) end it with Ok and Cancel unless the subclass answers
/// them itself.
class Dialog : public Window {
  public:
    Dialog(Window& parent, const DialogTemplate& dialogTemplate)
        : Window(parent), template_(&dialogTemplate) {}
    ~Dialog() override;

    /// Creates the dialog, sets it up, runs it modally and destroys it; returns its result.
    [[nodiscard]] DialogResult Execute();
    /// Ends the modal run with `result`.
    void EndDialog(DialogResult result);
    const DialogTemplate& Template() const { return *template_; }

  protected:
    virtual void CmOk() { EndDialog(DialogResult::Ok); }
    virtual void CmCancel() { EndDialog(DialogResult::Cancel); }
    bool DefaultCommand(int id) override;

  private:
    const DialogTemplate* template_;
    std::unique_ptr<WindowPeer> peer_;
};

}  // namespace tallyfold::platform
