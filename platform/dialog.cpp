#include "platform/dialog.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <utility>

#include "platform/backend.h"

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

namespace {

std::string SizeKey(const DialogTemplate& dialogTemplate) {
    return "dialogSize" + std::to_string(dialogTemplate.id);
}

// "width height" in pixels, as `Execute` keeps a resizable dialog's size; nothing for a text
// that is not two sizes a window can have.
std::optional<std::pair<int, int>> ParseSize(std::string_view text) {
    constexpr int kLargest = 1 << 15;
    int width = 0;
    int height = 0;
    const char* end = text.data() + text.size();
    auto [afterWidth, widthError] = std::from_chars(text.data(), end, width);
    if (widthError != std::errc() || afterWidth == end || *afterWidth != ' ') {
        return std::nullopt;
    }
    auto [afterHeight, heightError] = std::from_chars(afterWidth + 1, end, height);
    if (heightError != std::errc() || afterHeight != end || width <= 0 || height <= 0 ||
        width > kLargest || height > kLargest) {
        return std::nullopt;
    }
    return std::pair{width, height};
}

}  // namespace

DialogResult Dialog::Execute() {
    peer_ = GetBackend().CreateDialogPeer(*this);
    AttachPeer(peer_.get());
    SetupWindow();
    // A resizable dialog opens at the size it was closed at.
    if (template_->resizable) {
        if (const auto size = ParseSize(GetBackend().ReadSetting(SizeKey(*template_)))) {
            peer_->ResizeClient(size->first, size->second);
        }
    }
    const DialogResult result = GetBackend().RunModal(*this);
    if (template_->resizable) {
        const Rect size = peer_->ClientSize();
        GetBackend().WriteSetting(SizeKey(*template_),
                                  std::to_string(size.width) + " " + std::to_string(size.height));
    }
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
