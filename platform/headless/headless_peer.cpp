#include "platform/headless/headless_peer.h"

#include <algorithm>

namespace tallyfold::platform::headless {

HeadlessWindowPeer::HeadlessWindowPeer(const DialogTemplate& dialogTemplate)
    : template_(&dialogTemplate),
      width_(dialogTemplate.rect.width),
      height_(dialogTemplate.rect.height) {
    for (const ControlTemplate& control : dialogTemplate.controls) {
        AddControl(control);
    }
    // The window system gives the first control that takes Tab the focus.
    for (const ControlTemplate& control : dialogTemplate.controls) {
        if ((control.style & style::kTabStop) != 0 || control.kind == ControlKind::Edit) {
            focus_ = control.id;
            break;
        }
    }
}

void HeadlessWindowPeer::AddControl(const ControlTemplate& control) {
    HeadlessControl state;
    state.definition = control;
    state.text = control.text;
    state.rect = control.rect;
    controls_.push_back(std::move(state));
}

HeadlessControl* HeadlessWindowPeer::Find(int id) {
    if (id == kNoControlId) {
        return nullptr;
    }
    for (HeadlessControl& control : controls_) {
        if (control.definition.id == id) {
            return &control;
        }
    }
    return nullptr;
}

const HeadlessControl* HeadlessWindowPeer::Find(int id) const {
    return const_cast<HeadlessWindowPeer*>(this)->Find(id);
}

void HeadlessWindowPeer::SetText(int id, std::string_view text) {
    if (HeadlessControl* control = Find(id)) {
        control->text = std::string(text);
        control->editSelectionStart = control->editSelectionEnd = 0;
    }
}

std::string HeadlessWindowPeer::Text(int id) const {
    const HeadlessControl* control = Find(id);
    return control != nullptr ? control->text : std::string();
}

void HeadlessWindowPeer::SetEnabled(int id, bool enabled) {
    HeadlessControl* control = Find(id);
    if (control == nullptr) {
        return;
    }
    control->enabled = enabled;
    if (!enabled && focus_ == id) {
        MoveFocusOnFrom(id);
    }
}

// As a window system moves the focus off a control that is disabled: to the next one that
// takes it, in the order of the controls.
void HeadlessWindowPeer::MoveFocusOnFrom(int id) {
    const auto from =
        std::find_if(controls_.begin(), controls_.end(),
                     [id](const HeadlessControl& c) { return c.definition.id == id; });
    const std::size_t start = static_cast<std::size_t>(from - controls_.begin());
    focus_ = kNoControlId;
    for (std::size_t step = 1; step < controls_.size(); ++step) {
        const HeadlessControl& next = controls_[(start + step) % controls_.size()];
        if (next.enabled && next.visible && next.definition.id != kNoControlId &&
            next.definition.kind != ControlKind::Static) {
            focus_ = next.definition.id;
            return;
        }
    }
}

void HeadlessWindowPeer::SetVisible(int id, bool visible) {
    HeadlessControl* control = Find(id);
    if (control == nullptr) {
        return;
    }
    control->visible = visible;
    if (!visible && focus_ == id) {
        MoveFocusOnFrom(id);
    }
}

bool HeadlessWindowPeer::IsVisible(int id) const {
    const HeadlessControl* control = Find(id);
    return control != nullptr && control->visible;
}

void HeadlessWindowPeer::SetMarkedText(int id, std::span<const MarkedRun> runs) {
    if (HeadlessControl* control = Find(id)) {
        control->runs.assign(runs.begin(), runs.end());
        control->text = TextOf(control->runs);
    }
}

void HeadlessWindowPeer::SetPicture(int id, const Picture& picture) {
    if (HeadlessControl* control = Find(id)) {
        control->picture = picture;
    }
}

bool HeadlessWindowPeer::IsEnabled(int id) const {
    const HeadlessControl* control = Find(id);
    return control != nullptr && control->enabled;
}

void HeadlessWindowPeer::Move(int id, const Rect& rect) {
    if (HeadlessControl* control = Find(id)) {
        control->rect = rect;
    }
}

Rect HeadlessWindowPeer::Position(int id) const {
    const HeadlessControl* control = Find(id);
    return control != nullptr ? control->rect : Rect{};
}

void HeadlessWindowPeer::SelectText(int id, int start, int end) {
    if (HeadlessControl* control = Find(id)) {
        const int length = static_cast<int>(control->text.size());
        control->editSelectionStart = std::min(std::max(start, 0), length);
        control->editSelectionEnd = end < 0 ? length : std::min(end, length);
    }
}

void HeadlessWindowPeer::LimitText(int id, std::size_t characters, std::size_t bytes) {
    if (HeadlessControl* control = Find(id)) {
        control->characterLimit = characters;
        control->byteLimit = bytes;
    }
}

void HeadlessWindowPeer::SetTextFont(int id, const TextFont& font) {
    if (HeadlessControl* control = Find(id)) {
        control->font = font;
    }
}

void HeadlessWindowPeer::SetAccessibleName(int id, std::string_view name) {
    if (HeadlessControl* control = Find(id)) {
        control->accessibleName = name;
    }
}

void HeadlessWindowPeer::ClearLines(int id) {
    if (HeadlessControl* control = Find(id)) {
        control->lines.clear();
        control->source = nullptr;
        control->cells = nullptr;
        control->sourceCount = 0;
        control->selected.clear();
    }
}

void HeadlessWindowPeer::SetLines(int id, int count, LineSource source) {
    if (HeadlessControl* control = Find(id)) {
        control->lines.clear();
        control->source = std::move(source);
        control->sourceCount = control->source ? std::max(count, 0) : 0;
        control->selected.assign(static_cast<std::size_t>(control->LineCount()), false);
    }
}

void HeadlessWindowPeer::AddLine(int id, std::string_view text) {
    if (HeadlessControl* control = Find(id); control != nullptr && !control->source) {
        control->lines.emplace_back(text);
        control->selected.push_back(false);
    }
}

int HeadlessWindowPeer::LineCount(int id) const {
    const HeadlessControl* control = Find(id);
    return control != nullptr ? control->LineCount() : 0;
}

std::string HeadlessWindowPeer::LineText(int id, int line) const {
    const HeadlessControl* control = Find(id);
    if (control == nullptr || line < 0 || line >= control->LineCount()) {
        return {};
    }
    if (control->cells) {
        // A table's row reads as its cells, separated by tabs.
        std::string row;
        for (std::size_t column = 0; column < control->columns.size(); ++column) {
            row += (column == 0 ? "" : "\t") + control->cells(line, static_cast<int>(column));
        }
        return row;
    }
    return control->source ? control->source(line) : control->lines[static_cast<std::size_t>(line)];
}

void HeadlessWindowPeer::SetColumns(int id, std::span<const TableColumn> columns) {
    if (HeadlessControl* control = Find(id)) {
        control->columns.assign(columns.begin(), columns.end());
    }
}

void HeadlessWindowPeer::SetRows(int id, int count, CellSource source) {
    if (HeadlessControl* control = Find(id)) {
        control->cells = std::move(source);
        control->sourceCount = control->cells ? std::max(count, 0) : 0;
        control->selected.assign(static_cast<std::size_t>(control->LineCount()), false);
    }
}

std::string HeadlessWindowPeer::Cell(int id, int row, int column) const {
    const HeadlessControl* control = Find(id);
    if (control == nullptr || !control->cells || row < 0 || row >= control->LineCount() ||
        column < 0 || column >= static_cast<int>(control->columns.size())) {
        return {};
    }
    return control->cells(row, column);
}

std::vector<int> HeadlessWindowPeer::ColumnWidths(int id) const {
    std::vector<int> widths;
    if (const HeadlessControl* control = Find(id)) {
        for (const TableColumn& column : control->columns) {
            widths.push_back(column.width);
        }
    }
    return widths;
}

void HeadlessWindowPeer::SetColumnWidth(int id, int column, int width) {
    HeadlessControl* control = Find(id);
    if (control != nullptr && column >= 0 && column < static_cast<int>(control->columns.size())) {
        control->columns[static_cast<std::size_t>(column)].width = width;
    }
}

void HeadlessWindowPeer::SetSortIndicator(int id, int column, bool descending) {
    if (HeadlessControl* control = Find(id)) {
        control->sortColumn = column;
        control->sortDescending = descending;
    }
}

int HeadlessWindowPeer::ClickedColumn(int id) const {
    const HeadlessControl* control = Find(id);
    return control != nullptr ? control->clickedColumn : -1;
}

void HeadlessWindowPeer::SelectRows(int id, std::span<const int> rows) {
    SetSelectedLines(id, rows);
}

void HeadlessWindowPeer::SetChecked(int id, bool checked) {
    if (HeadlessControl* control = Find(id)) {
        control->checked = checked;
    }
}

bool HeadlessWindowPeer::IsChecked(int id) const {
    const HeadlessControl* control = Find(id);
    return control != nullptr && control->checked;
}

void HeadlessWindowPeer::Select(int id, int line) {
    SetSelectedLines(id, std::span<const int>(&line, 1));
}

void HeadlessWindowPeer::SetSelectedLines(int id, std::span<const int> lines) {
    HeadlessControl* control = Find(id);
    if (control == nullptr) {
        return;
    }
    const auto count = static_cast<std::size_t>(control->LineCount());
    control->selected.assign(count, false);
    const bool several = (control->definition.style & style::kExtendedSelection) != 0;
    for (const int line : lines) {
        if (line >= 0 && static_cast<std::size_t>(line) < count) {
            if (!several) {
                control->selected.assign(count, false);
            }
            control->selected[static_cast<std::size_t>(line)] = true;
        }
    }
}

int HeadlessWindowPeer::Selected(int id) const {
    const std::vector<int> lines = SelectedLines(id);
    return lines.empty() ? -1 : lines.front();
}

std::vector<int> HeadlessWindowPeer::SelectedLines(int id) const {
    std::vector<int> lines;
    if (const HeadlessControl* control = Find(id)) {
        for (std::size_t i = 0; i < control->selected.size(); ++i) {
            if (control->selected[i]) {
                lines.push_back(static_cast<int>(i));
            }
        }
    }
    return lines;
}

void HeadlessWindowPeer::ResizeClient(int width, int height) {
    if (template_ == nullptr || !template_->resizable) {
        return;
    }
    width_ = std::max(width, template_->rect.width);
    height_ = std::max(height, template_->rect.height);
    for (const ControlTemplate& control : template_->controls) {
        if (control.anchors != 0 && control.id != kNoControlId) {
            Move(control.id, Anchored(control.rect, control.anchors, width_ - template_->rect.width,
                                      height_ - template_->rect.height));
        }
    }
}

void HeadlessWindowPeer::EndModal(DialogResult result) {
    ended_ = true;
    result_ = result;
}

}  // namespace tallyfold::platform::headless
