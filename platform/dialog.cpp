#include "platform/dialog.h"

namespace tallyfold::platform {

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
