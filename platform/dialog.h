#pragma once

#include <memory>
#include <string_view>

#include "platform/control_template.h"
#include "platform/window.h"

namespace tallyfold::platform {

/// Whether an edit control takes `shortcut` for its own text (undo, select all, copy, delete).
bool EditUsesKey(std::string_view shortcut);

/// Whether `key` applies while control `focus` has the keyboard focus, `focusEdits` when that
/// control is an edit.
bool KeyApplies(const DialogKey& key, int focus, bool focusEdits);

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
