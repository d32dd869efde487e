#include "platform/frame_window.h"

namespace tallyfold::platform {

FrameWindow::FrameWindow(Backend& backend, std::string title, std::unique_ptr<Window> client)
    : backend_(&backend), title_(std::move(title)), client_(std::move(client)) {}

FrameWindow::~FrameWindow() {
    if (client_) {
        client_->AttachPeer(nullptr);
    }
}

void FrameWindow::SetInitialSize(int width, int height) {
    initialWidth_ = width;
    initialHeight_ = height;
}

void FrameWindow::Create() {
    peer_ = backend_->CreateFramePeer(*this);
    client_->AttachPeer(&peer_->Client());
    client_->SetupWindow();
}

void FrameWindow::Show() {
    if (peer_) {
        peer_->Show();
        client_->EvShown();
    }
}

bool FrameWindow::TranslateAccelerator(const Key& key, bool inEdit) {
    if (inEdit && !AcceleratorTakesFromEdit(key)) {
        return false;
    }
    const std::optional<int> command = accelerators_.Find(key);
    if (!command) {
        return false;
    }
    // The key of a command is its menu item: what the item's enabler disables, the key does
    // not do either. The key is still taken, as the Windows API takes it.
    Command(*command);
    return true;
}

void FrameWindow::Command(int id) {
    if (QueryCommand(id).enabled) {
        client_->Dispatch(id);
    }
}

bool FrameWindow::Close() {
    if (!peer_ || !CanClose()) {
        return false;
    }
    peer_->Destroy();
    return true;
}

void FrameWindow::SetStatusText(int area, std::string_view text) {
    if (peer_) {
        peer_->SetStatusText(area, text);
    }
}

std::string FrameWindow::StatusText(int area) const {
    return peer_ ? peer_->StatusText(area) : std::string();
}

}  // namespace tallyfold::platform
