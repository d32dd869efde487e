#pragma once

#include <QFont>
#include <QRect>
#include <QWidget>
#include <map>
#include <vector>

#include "platform/backend.h"
#include "platform/window.h"

namespace tallyfold::platform::qt {

/// The base units that turn dialog units into pixels for a font: the average character width
/// and the line height. x pixels = x units × width / 4, y pixels = y units × height / 8.
struct DialogBaseUnits {
    int width = 0;
    int height = 0;
};
DialogBaseUnits BaseUnitsOf(const QFont& font);
QRect ToPixels(const Rect& units, const DialogBaseUnits& base);

/// The controls of one window as Qt widgets inside a container widget. Clicks and list
/// notifications go to the window's response table; changes made by the program send none.
class QtWindowPeer : public WindowPeer {
  public:
    QtWindowPeer(QWidget& container, Window& window) : container_(&container), window_(&window) {}

    QWidget& Container() const { return *container_; }
    /// The widget of control `id`, or nullptr.
    QWidget* Widget(int id) const;

    void AddControl(const ControlTemplate& control) override;
    void SetText(int id, std::string_view text) override;
    std::string Text(int id) const override;
    void SetEnabled(int id, bool enabled) override;
    bool IsEnabled(int id) const override;
    void Move(int id, const Rect& rect) override;
    Rect Position(int id) const override;
    void SetFocus(int id) override;
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
    Rect ClientSize() const override { return {0, 0, container_->width(), container_->height()}; }
    // A dialog keeps to its minimum size and lays its controls out as it is resized.
    void ResizeClient(int width, int height) override { container_->resize(width, height); }
    void EndModal(DialogResult result) override;
    /// How the dialog was ended; Cancel until `EndModal`.
    DialogResult Result() const { return result_; }
    void Invalidate() override { container_->update(); }

  private:
    struct Entry {
        ControlKind kind;
        unsigned style;
        QWidget* widget;
    };
    const Entry* Find(int id) const;
    QWidget* CreateWidget(const ControlTemplate& control);
    /// Gives a label with a chosen font that font, at a size at which its text fits.
    void FitFont(int id);

    QWidget* container_;
    Window* window_;
    std::map<int, Entry> controls_;
    std::map<int, TextFont> fonts_;
    std::vector<QWidget*> labels_;
    DialogResult result_ = DialogResult::Cancel;
};

}  // namespace tallyfold::platform::qt
