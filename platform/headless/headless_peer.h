#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/backend.h"
#include "platform/control_template.h"

namespace tallyfold::platform::headless {

/// One control as plain state.
struct HeadlessControl {
    ControlTemplate definition;
    std::string text;
    bool enabled = true;
    Rect rect;
    /// The face and size the text is drawn in (`SetTextFont`), and its name for screen readers.
    TextFont font;
    std::string accessibleName;
    std::vector<std::string> lines;
    /// Lines given by their owner (`SetLines`), in place of `lines`; a table's rows (`SetRows`).
    LineSource source;
    CellSource cells;
    int sourceCount = 0;
    std::vector<bool> selected;
    int LineCount() const { return source || cells ? sourceCount : static_cast<int>(lines.size()); }
    /// A table's columns, the header clicked last, and the sort its headers show.
    std::vector<TableColumn> columns;
    int clickedColumn = -1;
    int sortColumn = -1;
    bool sortDescending = false;
    bool checked = false;
    int editSelectionStart = 0;
    int editSelectionEnd = 0;
    /// What the edit takes at most (`LimitText`); 0 for no limit.
    std::size_t characterLimit = 0;
    std::size_t byteLimit = 0;
    bool visible = true;
    /// A marked text's runs, as the program gave them.
    std::vector<MarkedRun> runs;
    /// A picture's shapes, as the program gave them.
    Picture picture;
};

/// The controls of a window, in memory.
class HeadlessWindowPeer : public WindowPeer {
  public:
    HeadlessWindowPeer() = default;
    /// The controls of a dialog template, at their template rectangles.
    explicit HeadlessWindowPeer(const DialogTemplate& dialogTemplate);

    void AddControl(const ControlTemplate& control) override;
    void SetText(int id, std::string_view text) override;
    std::string Text(int id) const override;
    void SetEnabled(int id, bool enabled) override;
    bool IsEnabled(int id) const override;
    void Move(int id, const Rect& rect) override;
    Rect Position(int id) const override;
    void SetFocus(int id) override { focus_ = id; }
    void SelectText(int id, int start, int end) override;
    void LimitText(int id, std::size_t characters, std::size_t bytes) override;
    void SetTextFont(int id, const TextFont& font) override;
    void SetAccessibleName(int id, std::string_view name) override;
    void SetVisible(int id, bool visible) override;
    bool IsVisible(int id) const override;
    void SetMarkedText(int id, std::span<const MarkedRun> runs) override;
    void SetPicture(int id, const Picture& picture) override;
    void ClearLines(int id) override;
    void AddLine(int id, std::string_view text) override;
    void SetLines(int id, int count, LineSource source) override;
    int LineCount(int id) const override;
    std::string LineText(int id, int line) const override;
    void Select(int id, int line) override;
    int Selected(int id) const override;
    std::vector<int> SelectedLines(int id) const override;
    void SetColumns(int id, std::span<const TableColumn> columns) override;
    void SetRows(int id, int count, CellSource source) override;
    std::vector<int> ColumnWidths(int id) const override;
    void SetSortIndicator(int id, int column, bool descending) override;
    int ClickedColumn(int id) const override;
    void SelectRows(int id, std::span<const int> rows) override;
    void SetChecked(int id, bool checked) override;
    bool IsChecked(int id) const override;
    Rect ClientSize() const override { return {0, 0, width_, height_}; }
    void ResizeClient(int width, int height) override;
    void EndModal(DialogResult result) override;
    void Invalidate() override { ++invalidations_; }

    /// The control with this id, or nullptr.
    HeadlessControl* Find(int id);
    const HeadlessControl* Find(int id) const;
    const std::vector<HeadlessControl>& Controls() const { return controls_; }
    /// Selects exactly `lines` of a list (several only with extended selection).
    void SetSelectedLines(int id, std::span<const int> lines);
    /// A table's cell as it is shown.
    std::string Cell(int id, int row, int column) const;
    /// The user drags a column's border.
    void SetColumnWidth(int id, int column, int width);
    int Focus() const { return focus_; }
    bool Ended() const { return ended_; }
    DialogResult Result() const { return result_; }
    int Invalidations() const { return invalidations_; }

  private:
    void MoveFocusOnFrom(int id);

    std::vector<HeadlessControl> controls_;
    // A dialog's template, for the size it starts at and the anchors of its controls; its
    // controls lie at their template rectangles, a dialog unit taken as a pixel.
    const DialogTemplate* template_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int focus_ = kNoControlId;
    bool ended_ = false;
    DialogResult result_ = DialogResult::Cancel;
    int invalidations_ = 0;
};

}  // namespace tallyfold::platform::headless
