#include "platform/win32/win32_table.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/win32_text.h"
#include "platform/win32/win32_window_peer.h"

namespace tallyfold::platform::win32 {

ListViewTable::ListViewTable(HWND control) : control_(control) {
    const DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP;
    ::SendMessageW(control_, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
}

void ListViewTable::SetColumns(std::span<const TableColumn> columns) {
    while (::SendMessageW(control_, LVM_DELETECOLUMN, 0, 0) != FALSE) {
    }
    columns_.assign(columns.begin(), columns.end());
    const int dpi = DpiOf(control_);
    for (std::size_t place = 0; place < columns_.size(); ++place) {
        std::wstring title = Wide(columns_[place].title);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        // The first column of a list view keeps to the left whatever it is asked.
        column.fmt = columns_[place].alignEnd && place > 0 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = ToScreen(columns_[place].width, dpi);
        column.pszText = title.data();
        column.iSubItem = static_cast<int>(place);
        ::SendMessageW(control_, LVM_INSERTCOLUMNW, place, reinterpret_cast<LPARAM>(&column));
    }
}

void ListViewTable::SetRows(int count, CellSource source) {
    quiet_ = true;
    source_ = std::move(source);
    count_ = source_ ? std::max(count, 0) : 0;
    SelectNone();
    ::SendMessageW(control_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count_), 0);
    ::InvalidateRect(control_, nullptr, TRUE);
    quiet_ = false;
    selectionChanged_ = false;
}

std::string ListViewTable::Cell(int row, int column) const {
    if (!source_ || row < 0 || row >= count_ || column < 0 ||
        column >= static_cast<int>(columns_.size())) {
        return {};
    }
    return source_(row, column);
}

std::string ListViewTable::RowText(int row) const {
    std::string text;
    for (std::size_t column = 0; column < columns_.size(); ++column) {
        text += (column == 0 ? "" : "\t") + Cell(row, static_cast<int>(column));
    }
    return text;
}

std::vector<int> ListViewTable::ColumnWidths() const {
    std::vector<int> widths;
    const int dpi = DpiOf(control_);
    for (std::size_t column = 0; column < columns_.size(); ++column) {
        const auto width =
            static_cast<int>(::SendMessageW(control_, LVM_GETCOLUMNWIDTH, column, 0));
        widths.push_back(FromScreen(width, dpi));
    }
    return widths;
}

void ListViewTable::SetSortIndicator(int sorted, bool descending) {
    auto header = reinterpret_cast<HWND>(::SendMessageW(control_, LVM_GETHEADER, 0, 0));
    if (header == nullptr) {
        return;
    }
    for (int column = 0; column < static_cast<int>(columns_.size()); ++column) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        ::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column),
                       reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (column == sorted) {
            item.fmt |= descending ? HDF_SORTDOWN : HDF_SORTUP;
        }
        ::SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(column),
                       reinterpret_cast<LPARAM>(&item));
    }
}

void ListViewTable::SelectRows(std::span<const int> rows) {
    quiet_ = true;
    SelectNone();
    LVITEMW state{};
    // Every row (select all): one message for all of them, then the first focused.
    if (count_ > 0 && static_cast<int>(rows.size()) == count_ && rows.front() == 0 &&
        rows.back() == count_ - 1 && std::is_sorted(rows.begin(), rows.end()) &&
        std::adjacent_find(rows.begin(), rows.end()) == rows.end()) {
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        ::SendMessageW(control_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(&state));
        rows = rows.first(1);
    }
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    bool first = true;
    for (const int row : rows) {
        if (row < 0 || row >= count_) {
            continue;
        }
        state.state = LVIS_SELECTED | (first ? LVIS_FOCUSED : 0u);
        ::SendMessageW(control_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&state));
        if (first) {
            ::SendMessageW(control_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
            ::SendMessageW(control_, LVM_SETSELECTIONMARK, 0, row);
        }
        first = false;
    }
    quiet_ = false;
    selectionChanged_ = false;
}

// Every row at once (-1): nothing selected, nothing focused.
void ListViewTable::SelectNone() {
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(control_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&none));
}

std::vector<int> ListViewTable::SelectedRows() const {
    std::vector<int> rows;
    int row = -1;
    while ((row = static_cast<int>(::SendMessageW(control_, LVM_GETNEXTITEM,
                                                  static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0) {
        rows.push_back(row);
    }
    return rows;
}

std::optional<Notification> ListViewTable::Notify(NMHDR& header, LRESULT& result) {
    result = 0;
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            auto& display = reinterpret_cast<NMLVDISPINFOW&>(header);
            LVITEMW& item = display.item;
            if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
                cell_ = Wide(Cell(item.iItem, item.iSubItem));
                const std::size_t length =
                    std::min(cell_.size(), static_cast<std::size_t>(item.cchTextMax - 1));
                std::copy_n(cell_.begin(), length, item.pszText);
                item.pszText[length] = L'\0';
            }
            return std::nullopt;
        }
        case LVN_COLUMNCLICK:
            clickedColumn_ = reinterpret_cast<const NMLISTVIEW&>(header).iSubItem;
            return Notification::ColumnClicked;
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if (quiet_ || (change.uChanged & LVIF_STATE) == 0 ||
                ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) == 0) {
                return std::nullopt;
            }
            [[fallthrough]];
        }
        case LVN_ODSTATECHANGED:
            if (quiet_ || selectionChanged_) {
                return std::nullopt;
            }
            selectionChanged_ = true;
            return Notification::SelectionChanged;
        case NM_DBLCLK:
        case NM_RETURN:
            return Notification::DoubleClicked;
        default:
            return std::nullopt;
    }
}

bool ListViewTable::TakeSelectionChange() {
    const bool changed = selectionChanged_;
    selectionChanged_ = false;
    return changed;
}

}  // namespace tallyfold::platform::win32
