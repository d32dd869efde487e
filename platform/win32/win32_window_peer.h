#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/win32/script_text.h"
#include "platform/win32/win32_table.h"
#include "platform/window.h"

namespace tallyfold::platform::win32 {

/// The controls of one native window (the main window's client area or a dialog), by id.
///
/// Every list box is owner-drawn without data of its own (LBS_NODATA): its lines live here,
/// added one by one or given by a line source, so a list of half a million lines costs what
/// the screen shows. The program places controls in pixels at 96 dpi, as Qt's device-
/// independent pixels: the peer scales them to the screen's dpi, so the window is as large
/// and as sharp at 150 % and 200 % as at 100 %. The window that holds the controls hands its
/// WM_COMMAND, WM_DRAWITEM, WM_MEASUREITEM and WM_CTLCOLOR... messages to `HandleMessage`.
///
/// Texts of any script: list lines and the statics the program writes to (card texts, counts)
/// are drawn here with Uniscribe (`DrawScriptText`), and every text the system draws itself
/// (edits) gets a font that has its characters (`FallbackFonts`); a right-to-left text is
/// drawn right to left, and an edit whose text reads right to left is aligned at the right.
class Win32WindowPeer : public WindowPeer {
  public:
    Win32WindowPeer(HWND window, Window& owner);
    ~Win32WindowPeer() override;
    Win32WindowPeer(const Win32WindowPeer&) = delete;
    Win32WindowPeer& operator=(const Win32WindowPeer&) = delete;

    HWND Handle() const { return window_; }
    /// Adopts the controls a dialog template created.
    void AdoptControls(const DialogTemplate& dialogTemplate);
    /// Answers a message of the window that concerns its controls; nothing when it does not.
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    /// Set by `EndModal`: the modal loop ends with it.
    std::optional<DialogResult> Ended() const { return ended_; }

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
    Rect ClientSize() const override;
    void ResizeClient(int width, int height) override;
    void EndModal(DialogResult result) override;
    void Invalidate() override;

  private:
    struct Lines {
        std::vector<std::string> added;
        int count = 0;
        LineSource source;
        bool extended = false;
    };
    // A static the window draws. Its window text is what screen readers read: its accessible
    // name where it has one, the text drawn kept here then.
    struct StaticText {
        TextPlacement placement = TextPlacement::Start;
        bool textBackground = false;
        bool fitted = false;   ///< a chosen font, drawn smaller where the text needs it
        HFONT font = nullptr;  ///< the chosen font at the screen's dpi; owned
        std::optional<std::wstring> shown;
        /// A marked text's runs; its `shown` text is theirs, put together.
        std::optional<std::vector<MarkedRun>> runs;
        /// A picture's shapes.
        std::optional<Picture> picture;
    };

    HWND Control(int id) const;
    ListViewTable* TableOf(int id) const;
    bool IsDialog() const;
    bool IsList(int id) const { return lines_.count(id) != 0; }
    bool IsCombo(int id) const;
    void Register(int id, HWND control, const ControlTemplate& control_template);
    void ShowCount(int id);
    LRESULT DrawLine(const DRAWITEMSTRUCT& item);
    LRESULT DrawStatic(const DRAWITEMSTRUCT& item);
    /// Draws a picture's shapes, scaled to the screen.
    void DrawPicture(const DRAWITEMSTRUCT& item, const Picture& picture);
    /// A font of the control's face and size with `font`'s face and size where it names them.
    HFONT MakeFont(HWND control, const TextFont& font) const;
    /// Gives an edit a font that has its text's characters.
    void FitEditToText(int id);
    /// Aligns an edit at the side its text starts from.
    void FitEditToDirection(int id);
    HFONT BaseFont(HWND control) const;

    HWND window_;
    Window* owner_;
    HFONT font_ = nullptr;
    std::map<int, HWND> controls_;
    std::map<int, Lines> lines_;
    std::map<int, StaticText> statics_;
    std::map<int, std::unique_ptr<ListViewTable>> tables_;
    // Edits whose owner is told of the user's changes; none while the program writes one.
    std::set<int> notifyingEdits_;
    bool settingText_ = false;
    std::map<int, HFONT> editFonts_;
    // The fonts chosen for edits (`SetTextFont`); owned.
    std::map<int, HFONT> chosenEditFonts_;
    // The limits `LimitText` gave the edits, as their filter keeps them.
    std::map<int, DWORD_PTR> editLimits_;
    // Fonts for texts the window's own font lacks characters of; made once, kept while the
    // window lives. Mutable: drawing a line picks a font without changing what the peer holds.
    mutable FallbackFonts fallbackFonts_;
    std::optional<DialogResult> ended_;
    // The control `SetFocus` chose last, for a window that is not a dialog.
    int focusWanted_ = kNoControlId;
};

/// The native window of a window's peer, or nullptr.
HWND WindowHandleOf(const Window& window);

/// The dots per inch of the screen `window` is on (96 at 100 %); of the main screen when
/// `window` is nullptr.
int DpiOf(HWND window);
/// `pixels` at 96 dpi as pixels at `dpi`, and back.
int ToScreen(int pixels, int dpi);
int FromScreen(int pixels, int dpi);

}  // namespace tallyfold::platform::win32
