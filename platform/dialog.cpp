#include "platform/dialog.h"

namespace tallyfold::platform {

Dialog::~Dialog() {
    AttachPeer(nullptr);
}

int Dialog::Execute() {
    peer_ = GetBackend().CreateDialogPeer(*this);
    AttachPeer(peer_.get());
    SetupWindow();
    const int result = GetBackend().RunModal(*this);
    AttachPeer(nullptr);
    peer_.reset();
    return result;
}

void Dialog::EndDialog(int result) {
    if (Peer() != nullptr) {
        Peer()->EndModal(result);
    }
}

bool Dialog::DefaultCommand(int id) {
    if (id == kIdOk) {
        CmOk();
        return true;
    }
    if (id == kIdCancel) {
        CmCancel();
        return true;
    }
    return false;
}

}  // namespace tallyfold::platform
