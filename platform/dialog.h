#pragma once

#include <memory>

#include "platform/control_template.h"
#include "platform/window.h"

namespace tallyfold::platform {

/// A modal dialog built from a template. Command 1 (Ok, the default button, Enter) and command
/// 2 (Cancel, Escape, the close box) end it with results 1 and 2 unless the subclass answers
/// them itself.
class Dialog : public Window {
  public:
    Dialog(Window& parent, const DialogTemplate& dialogTemplate)
        : Window(parent), template_(&dialogTemplate) {}
    ~Dialog() override;

    /// Creates the dialog, sets it up, runs it modally and destroys it; returns its result.
    int Execute();
    /// Ends the modal run with `result`.
    void EndDialog(int result);
    const DialogTemplate& Template() const { return *template_; }

  protected:
    virtual void CmOk() { EndDialog(kIdOk); }
    virtual void CmCancel() { EndDialog(kIdCancel); }
    bool DefaultCommand(int id) override;

  private:
    const DialogTemplate* template_;
    std::unique_ptr<WindowPeer> peer_;
};

}  // namespace tallyfold::platform
