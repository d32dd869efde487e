#include "platform/window.h"

#include <algorithm>
#include <cassert>

namespace tallyfold::platform {

std::string CommandState::FileInMenu() const {
    std::string shown;
    for (const char c : file.Bytes()) {
        shown += c;
        if (c == '&') {
            shown += '&';
        }
    }
    return shown;
}

void Window::EvSize(int /*width*/, int /*height*/) {}

bool Window::Dispatch(int id, Notification notification) {
    auto found = responses_.find({id, notification});
    if (found != responses_.end()) {
        // The handler may change the table's owner state; keep a copy of the function alive.
        const std::function<void()> handler = found->second;
        handler();
        return true;
    }
    return notification == Notification::Clicked && DefaultCommand(id);
}

CommandState Window::QueryCommand(int id) {
    CommandState state;
    auto found = enablers_.find(id);
    if (found != enablers_.end()) {
        found->second(state);
    }
    return state;
}

void Window::AddControl(ControlTemplate control) {
    ownControls_.push_back(std::move(control));
}

WindowPeer& Window::RequirePeer() const {
    assert(peer_ != nullptr && "control used before the window system created the window");
    return *peer_;
}

void Window::SetControlText(int id, std::string_view text) {
    RequirePeer().SetText(id, text);
}

std::string Window::ControlText(int id) const {
    return RequirePeer().Text(id);
}

int Window::GetControlText(int id, std::span<char> buffer) const {
    if (buffer.empty()) {
        return 0;
    }
    const std::string text = ControlText(id);
    const std::size_t length = std::min(text.size(), buffer.size() - 1);
    std::copy_n(text.data(), length, buffer.data());
    buffer[length] = '\0';
    return static_cast<int>(length);
}

void Window::EnableControl(int id, bool enabled) {
    RequirePeer().SetEnabled(id, enabled);
}

bool Window::IsControlEnabled(int id) const {
    return RequirePeer().IsEnabled(id);
}

void Window::MoveControl(int id, const Rect& rect) {
    RequirePeer().Move(id, rect);
}

Rect Window::ControlPosition(int id) const {
    return RequirePeer().Position(id);
}

void Window::FocusControl(int id) {
    RequirePeer().SetFocus(id);
}

void Window::SelectEditText(int id, int start, int end) {
    RequirePeer().SelectText(id, start, end);
}

void Window::LimitEditText(int id, std::size_t characters, std::size_t bytes) {
    RequirePeer().LimitText(id, characters, bytes);
}

void Window::SetControlFont(int id, const TextFont& font) {
    RequirePeer().SetTextFont(id, font);
}

void Window::SetControlAccessibleName(int id, std::string_view name) {
    RequirePeer().SetAccessibleName(id, name);
}

void Window::ClearLines(int id) {
    RequirePeer().ClearLines(id);
}

int Window::AddLine(int id, std::string_view text) {
    RequirePeer().AddLine(id, text);
    return LineCount(id) - 1;
}

void Window::SetLines(int id, int count, LineSource source) {
    RequirePeer().SetLines(id, count, std::move(source));
}

int Window::LineCount(int id) const {
    return RequirePeer().LineCount(id);
}

std::string Window::LineText(int id, int line) const {
    return RequirePeer().LineText(id, line);
}

void Window::SelectLine(int id, int line) {
    RequirePeer().Select(id, line);
}

int Window::SelectedLine(int id) const {
    return RequirePeer().Selected(id);
}

std::vector<int> Window::SelectedLines(int id) const {
    return RequirePeer().SelectedLines(id);
}

void Window::SetTableColumns(int id, std::span<const TableColumn> columns) {
    RequirePeer().SetColumns(id, columns);
}

void Window::SetTableRows(int id, int count, CellSource source) {
    RequirePeer().SetRows(id, count, std::move(source));
}

std::vector<int> Window::TableColumnWidths(int id) const {
    return RequirePeer().ColumnWidths(id);
}

void Window::SetTableSortIndicator(int id, int column, bool descending) {
    RequirePeer().SetSortIndicator(id, column, descending);
}

int Window::ClickedTableColumn(int id) const {
    return RequirePeer().ClickedColumn(id);
}

void Window::SelectTableRows(int id, std::span<const int> rows) {
    RequirePeer().SelectRows(id, rows);
}

void Window::SetControlChecked(int id, bool checked) {
    RequirePeer().SetChecked(id, checked);
}

bool Window::IsControlChecked(int id) const {
    return RequirePeer().IsChecked(id);
}

DialogResult Window::MessageBox(std::string_view text, std::string_view caption,
                                MessageButtons buttons, MessageIcon icon) {
    return backend_->ShowMessageBox(
        *this,
        MessageBoxRequest{std::string(text), std::string(caption), buttons, icon, FilePath()});
}

DialogResult Window::MessageBoxAbout(std::string_view text, const FilePath& file) {
    MessageBoxRequest request{std::string(text), std::string(), MessageButtons::Ok,
                              MessageIcon::None, file};
    return backend_->ShowMessageBox(*this, request);
}

bool Window::RunFileDialog(FileDialogKind kind, FileDialogData& data) {
    return backend_->RunFileDialog(*this, kind, data);
}

void Window::Help(const HelpRequest& request) {
    backend_->Help(*this, request);
}

bool Window::RunFontDialog(std::string_view title, TextFont& font) {
    return backend_->RunFontDialog(*this, title, font);
}

void Window::ShowControl(int id, bool visible) {
    RequirePeer().SetVisible(id, visible);
}

bool Window::IsControlVisible(int id) const {
    return RequirePeer().IsVisible(id);
}

void Window::SetControlMarkedText(int id, std::span<const MarkedRun> runs) {
    RequirePeer().SetMarkedText(id, runs);
}

void Window::SetControlPicture(int id, const Picture& picture) {
    RequirePeer().SetPicture(id, picture);
}

}  // namespace tallyfold::platform
