#include "platform/dialog.h"

#include <algorithm>
#include <array>

namespace tallyfold::platform {

bool EditUsesKey(std::string_view shortcut) {
    static constexpr std::array<std::string_view, 11> kEditKeys = {
        "Ctrl+Z", "Ctrl+Y", "Ctrl+Shift+Z", "Ctrl+A",    "Ctrl+C",  "Ctrl+X",
        "Ctrl+V", "Del",    "Delete",       "Backspace", "Ctrl+Del"};
    return std::find(kEditKeys.begin(), kEditKeys.end(), shortcut) != kEditKeys.end();
}

bool KeyApplies(const DialogKey& key, int focus, bool focusEdits) {
    if (key.control != 0) {
        return key.control == focus;
    }
    return !(focusEdits && EditUsesKey(key.shortcut));
}

Dialog::~Dialog() {
    AttachPeer(nullptr);
}

DialogResult Dialog::Execute() {
    peer_ = GetBackend().CreateDialogPeer(*this);
    AttachPeer(peer_.get());
    SetupWindow();
    const DialogResult result = GetBackend().RunModal(*this);
    AttachPeer(nullptr);
    peer_.reset();
    return result;
}

void Dialog::EndDialog(DialogResult result) {
    if (Peer() != nullptr) {
        Peer()->EndModal(result);
    }
}

bool Dialog::DefaultCommand(int id) {
    if (id == kOkCommand) {
        CmOk();
        return true;
    }
    if (id == kCancelCommand) {
        CmCancel();
        return true;
    }
    return false;
}

}  // namespace tallyfold::platform
