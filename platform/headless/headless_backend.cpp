#include "platform/headless/headless_backend.h"

#include <cstdio>
#include <cstdlib>

#include "text/graphemes.h"

namespace tallyfold::platform::headless {

namespace {

const HeadlessControl* DefaultButton(const HeadlessWindowPeer& peer) {
    for (const HeadlessControl& control : peer.Controls()) {
        if (control.definition.kind == ControlKind::Button &&
            (control.definition.style & style::kDefaultButton) != 0) {
            return &control;
        }
    }
    return nullptr;
}

bool IsButton(const HeadlessWindowPeer& peer, int id) {
    const HeadlessControl* control = peer.Find(id);
    return control != nullptr && control->definition.kind == ControlKind::Button;
}

}  // namespace

bool HeadlessDialog::Click(int id) {
    if (!peer_->IsEnabled(id) || peer_->Ended()) {
        return false;
    }
    dialog_->Dispatch(id, Notification::Clicked);
    return true;
}

bool HeadlessDialog::Type(int id, std::string_view text) {
    if (peer_->Find(id) == nullptr || !peer_->IsEnabled(id) || peer_->Ended()) {
        return false;
    }
    peer_->SetFocus(id);
    // A limited edit takes the characters typed as long as they fit, as a real one does.
    const HeadlessControl& control = *peer_->Find(id);
    if (control.characterLimit > 0) {
        text =
            text.substr(0, unicode::BytesWithin(text, control.characterLimit, control.byteLimit));
    }
    peer_->SetText(id, text);
    if (control.definition.kind == ControlKind::Edit &&
        (control.definition.style & style::kNotify) != 0) {
        dialog_->Dispatch(id, Notification::TextChanged);
    }
    return true;
}

void HeadlessDialog::PressEnter() {
    const int focused = peer_->Focus();
    if (IsButton(*peer_, focused)) {
        Click(focused);
    } else if (const HeadlessControl* button = DefaultButton(*peer_)) {
        Click(button->definition.id);
    } else {
        dialog_->Dispatch(kOkCommand);
    }
}

void HeadlessDialog::PressEscape() {
    dialog_->Dispatch(kCancelCommand);
}

bool HeadlessDialog::PressShortcut(std::string_view shortcut) {
    const int focus = peer_->Focus();
    const HeadlessControl* focused = peer_->Find(focus);
    const bool focusEdits = focused != nullptr && focused->definition.kind == ControlKind::Edit;
    for (const DialogKey& key : dialog_->Template().keys) {
        if (key.shortcut == shortcut && KeyApplies(key, focus, focusEdits)) {
            if (peer_->Ended()) {
                return false;
            }
            dialog_->Dispatch(key.command);
            return true;
        }
    }
    return false;
}

bool HeadlessDialog::PressHelpKey() {
    const int help = dialog_->Template().helpButton;
    return help != 0 && Click(help);
}

void HeadlessDialog::Select(int id, int line) {
    SelectLines(id, {line});
}

void HeadlessDialog::SelectLines(int id, const std::vector<int>& lines) {
    peer_->SetFocus(id);
    peer_->SetSelectedLines(id, lines);
    dialog_->Dispatch(id, Notification::SelectionChanged);
}

void HeadlessDialog::DoubleClick(int id, int line) {
    Select(id, line);
    dialog_->Dispatch(id, Notification::DoubleClicked);
}

void HeadlessDialog::ClickColumn(int id, int column) {
    if (HeadlessControl* control = peer_->Find(id)) {
        control->clickedColumn = column;
        dialog_->Dispatch(id, Notification::ColumnClicked);
    }
}

bool HeadlessDialog::Toggle(int id) {
    if (!peer_->IsEnabled(id) || peer_->Ended()) {
        return false;
    }
    peer_->SetChecked(id, !peer_->IsChecked(id));
    dialog_->Dispatch(id, Notification::Clicked);
    return true;
}

std::vector<std::string> HeadlessDialog::Lines(int id) const {
    std::vector<std::string> lines;
    const int count = peer_->LineCount(id);
    lines.reserve(static_cast<std::size_t>(count));
    for (int line = 0; line < count; ++line) {
        lines.push_back(peer_->LineText(id, line));
    }
    return lines;
}

std::pair<int, int> HeadlessDialog::EditSelection(int id) const {
    const HeadlessControl* control = peer_->Find(id);
    return control != nullptr
               ? std::pair<int, int>{control->editSelectionStart, control->editSelectionEnd}
               : std::pair<int, int>{0, 0};
}

std::string HeadlessFramePeer::StatusText(int area) const {
    auto found = status_.find(area);
    return found != status_.end() ? found->second : std::string();
}

namespace {

// A character typed into an edit, at its end, as far as its limit lets it.
void TypeInto(HeadlessWindowPeer& peer, int id, std::string_view character) {
    const HeadlessControl* control = peer.Find(id);
    if (control == nullptr || !control->enabled || !control->visible) {
        return;
    }
    const std::string text = control->text + std::string(character);
    if (control->characterLimit > 0 &&
        unicode::BytesWithin(text, control->characterLimit, control->byteLimit) < text.size()) {
        return;
    }
    peer.SetText(id, text);
}

bool IsEdit(const HeadlessWindowPeer& peer, int id) {
    const HeadlessControl* control = peer.Find(id);
    return control != nullptr && control->definition.kind == ControlKind::Edit;
}

}  // namespace

void HeadlessFrame::TypeText(std::string_view text) {
    HeadlessWindowPeer& client = peer_->ClientPeer();
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t length = 1;
        while (at + length < text.size() &&
               (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80) {
            ++length;
        }
        if (length == 1) {
            PressKey(Key::Character(text[at]));
        } else if (IsEdit(client, client.Focus())) {
            TypeInto(client, client.Focus(), text.substr(at, length));
        }
        at += length;
    }
}

void HeadlessFrame::PressKey(const Key& key) {
    HeadlessWindowPeer& client = peer_->ClientPeer();
    const bool inEdit = IsEdit(client, client.Focus());
    if (frame_->TranslateAccelerator(key, inEdit)) {
        return;
    }
    if (inEdit && key.kind == Key::Kind::Character) {
        TypeInto(client, client.Focus(), std::string(1, static_cast<char>(key.code)));
        return;
    }
    const int focused = peer_->ClientPeer().Focus();
    if ((key == Key::Virtual(kVkReturn) || key == Key::Character(' ')) &&
        IsButton(peer_->ClientPeer(), focused)) {
        Click(focused);
    }
}

bool HeadlessFrame::Click(int id) {
    if (!peer_->ClientPeer().IsEnabled(id) || !peer_->ClientPeer().IsVisible(id)) {
        return false;
    }
    frame_->Client().Dispatch(id, Notification::Clicked);
    return true;
}

bool HeadlessFrame::ChooseMenu(int command) {
    if (!frame_->QueryCommand(command).enabled) {
        return false;
    }
    frame_->Command(command);
    return true;
}

bool HeadlessFrame::PressShortcut(std::string_view shortcut) {
    for (const MenuItem& popup : frame_->Menu().popups) {
        for (const MenuItem& item : popup.items) {
            for (const std::string& key : item.Keys()) {
                if (key == shortcut) {
                    return ChooseMenu(item.command);
                }
            }
        }
    }
    return false;
}

void HeadlessFrame::Resize(int width, int height) {
    frame_->Client().EvSize(width, height);
}

HeadlessBackend::HeadlessBackend()
    : onFailure_([](const std::string& message) {
          std::fprintf(stderr, "headless window system: %s\n", message.c_str());
          std::abort();
      }) {}

HeadlessBackend::~HeadlessBackend() = default;

void HeadlessBackend::Fail(const std::string& message) const {
    onFailure_(message);
}

void HeadlessBackend::ExpectDialog(int templateId, DialogScript script) {
    dialogScripts_[templateId].push_back(std::move(script));
}

void HeadlessBackend::AnswerMessageBox(DialogResult answer) {
    messageBoxAnswers_.push_back(answer);
}

void HeadlessBackend::AnswerFileDialog(FilePath path, int filterIndex) {
    fileDialogAnswers_.emplace_back(std::move(path), filterIndex);
}

void HeadlessBackend::VerifyAllUsed() {
    for (const auto& [templateId, scripts] : dialogScripts_) {
        if (!scripts.empty()) {
            Fail("dialog " + std::to_string(templateId) + " was expected but never opened");
        }
    }
    if (!messageBoxAnswers_.empty()) {
        Fail(std::to_string(messageBoxAnswers_.size()) + " message box answer(s) never used");
    }
    if (!fileDialogAnswers_.empty()) {
        Fail(std::to_string(fileDialogAnswers_.size()) + " file dialog answer(s) never used");
    }
    if (!fontDialogAnswers_.empty()) {
        Fail(std::to_string(fontDialogAnswers_.size()) + " font dialog answer(s) never used");
    }
    dialogScripts_.clear();
    messageBoxAnswers_.clear();
    fileDialogAnswers_.clear();
    fontDialogAnswers_.clear();
}

std::unique_ptr<WindowPeer> HeadlessBackend::CreateDialogPeer(Dialog& dialog) {
    return std::make_unique<HeadlessWindowPeer>(dialog.Template());
}

DialogResult HeadlessBackend::RunModal(Dialog& dialog) {
    auto* peer = dynamic_cast<HeadlessWindowPeer*>(dialog.Peer());
    const DialogTemplate& dialogTemplate = dialog.Template();
    dialogsRun_.push_back(dialogTemplate.id);
    const std::string name =
        "dialog " + std::to_string(dialogTemplate.id) + " \"" + dialogTemplate.caption + "\"";
    auto scripts = dialogScripts_.find(dialogTemplate.id);
    if (peer == nullptr || scripts == dialogScripts_.end() || scripts->second.empty()) {
        Fail("no script for " + name);
        return DialogResult::Cancel;
    }
    const DialogScript script = std::move(scripts->second.front());
    scripts->second.pop_front();
    HeadlessDialog handle(dialog, *peer);
    script(handle);
    if (!peer->Ended()) {
        Fail("the script for " + name + " left it open");
        return DialogResult::Cancel;
    }
    return peer->Result();
}

std::unique_ptr<FramePeer> HeadlessBackend::CreateFramePeer(FrameWindow& frame) {
    auto peer = std::make_unique<HeadlessFramePeer>();
    for (const ControlTemplate& control : frame.Client().OwnControls()) {
        peer->ClientPeer().AddControl(control);
    }
    mainWindow_ = std::make_unique<HeadlessFrame>(frame, *peer);
    return peer;
}

int HeadlessBackend::RunMessageLoop() {
    return quitCode_.value_or(0);
}

DialogResult HeadlessBackend::ShowMessageBox(Window& owner, const MessageBoxRequest& request) {
    messageBoxes_.push_back({request, &owner, mainWindow_ != nullptr && mainWindow_->Shown()});
    if (acknowledgeReports_ && request.buttons == MessageButtons::Ok) {
        return DialogResult::Ok;
    }
    if (messageBoxAnswers_.empty()) {
        Fail("no answer for the message box \"" + request.text + "\" (caption \"" +
             request.caption + "\")");
        return DialogResult::Cancel;
    }
    const DialogResult answer = messageBoxAnswers_.front();
    messageBoxAnswers_.pop_front();
    return answer;
}

bool HeadlessBackend::RunFileDialog(Window& /*owner*/, FileDialogKind kind, FileDialogData& data) {
    fileDialogs_.push_back({kind, data});
    if (fileDialogAnswers_.empty()) {
        Fail(std::string("no answer for the ") + (kind == FileDialogKind::Open ? "open" : "save") +
             " file dialog \"" + data.title + "\"");
        return false;
    }
    auto [answer, filterIndex] = std::move(fileDialogAnswers_.front());
    fileDialogAnswers_.pop_front();
    if (answer.IsEmpty()) {
        return false;
    }
    data.fileName = std::move(answer);
    if (filterIndex > 0) {
        data.filterIndex = filterIndex;
    }
    return true;
}

void HeadlessBackend::Help(Window& /*owner*/, const HelpRequest& request) {
    helpRequests_.push_back(request);
}

bool HeadlessBackend::RunFontDialog(Window& /*owner*/, std::string_view title, TextFont& font) {
    fontDialogs_.push_back({std::string(title), font});
    if (fontDialogAnswers_.empty()) {
        Fail("no answer for the font dialog \"" + std::string(title) + "\"");
        return false;
    }
    const std::optional<TextFont> answer = std::move(fontDialogAnswers_.front());
    fontDialogAnswers_.pop_front();
    if (!answer) {
        return false;
    }
    font = *answer;
    return true;
}

std::string HeadlessBackend::ReadSetting(std::string_view key) const {
    const auto found = settings_.find(key);
    return found == settings_.end() ? std::string() : found->second;
}

}  // namespace tallyfold::platform::headless
