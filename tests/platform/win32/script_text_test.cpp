// Texts of every script in the Windows program's controls (run under Wine): they cross the
// Windows API and come back as they went in, edits count a side's length as a person does,
// text that the window's font cannot show gets a font that can, right-to-left text is drawn
// from the right.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <imm.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/frame_window.h"
#include "platform/win32/script_text.h"
#include "platform/win32/win32_backend.h"
#include "platform/win32/win32_main_frame.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_window_peer.h"
#include "platform/window.h"
#include "tests/support/every_script.h"
#include "text/graphemes.h"

namespace tallyfold::platform::win32 {
namespace {

constexpr int kEdit = 10;
constexpr int kList = 11;
constexpr int kCardText = 12;
constexpr int kStrip = 13;
constexpr int kTable = 14;
constexpr int kStrict = 15;
constexpr int kSearch = 16;
constexpr int kMarks = 17;
constexpr int kPicture = 18;

// The window the controls belong to: it writes down what reaches it.
class Recorder : public Window {
  public:
    explicit Recorder(Backend& backend) : Window(backend) {
        OnNotify(kTable, Notification::ColumnClicked, &Recorder::ColumnClicked);
        OnNotify(kTable, Notification::SelectionChanged, &Recorder::SelectionChanged);
        OnNotify(kTable, Notification::DoubleClicked, &Recorder::Activated);
        OnNotify(kSearch, Notification::TextChanged, &Recorder::SearchChanged);
        OnCommand(kStrict, &Recorder::StrictClicked);
    }
    std::vector<std::string> events;

  private:
    void ColumnClicked() {
        events.push_back("column " + std::to_string(Peer()->ClickedColumn(kTable)));
    }
    void SelectionChanged() { events.push_back("selection"); }
    void Activated() { events.push_back("activated"); }
    void SearchChanged() { events.push_back("search " + ControlText(kSearch)); }
    void StrictClicked() { events.push_back(IsControlChecked(kStrict) ? "strict on" : "off"); }
};

// A hidden window with an edit, a list and a static the program writes to, as a dialog of the
// program has them; the window hands its messages to the peer as the backend's windows do.
class Controls {
  public:
    Controls() : backend_(::GetModuleHandleW(nullptr)), owner_(backend_) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TallyfoldScriptTextTest";
        ::RegisterClassW(&windowClass);
        window_ = ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0,
                                    600, 300, nullptr, nullptr, windowClass.hInstance, this);
        peer_ = std::make_unique<Win32WindowPeer>(window_, owner_);
        owner_.AttachPeer(peer_.get());
        peer_->AddControl({kEdit, ControlKind::Edit, "", {10, 10, 400, 24}, style::kBorder});
        peer_->AddControl({kList, ControlKind::ListBox, "", {10, 40, 400, 100}, 0});
        peer_->AddControl({kCardText, ControlKind::Static, "", {10, 150, 400, 24}, style::kCenter});
        peer_->AddControl(
            {kStrip, ControlKind::Static, "1", {10, 180, 100, 24}, style::kTextBackground});
        peer_->AddControl({kTable,
                           ControlKind::Table,
                           "",
                           {420, 10, 170, 200},
                           style::kExtendedSelection | style::kBorder});
        peer_->AddControl({kStrict, ControlKind::CheckBox, "Strict", {420, 220, 100, 20}, 0});
        peer_->AddControl({kSearch, ControlKind::Edit, "", {420, 250, 100, 20}, style::kNotify});
        peer_->AddControl({kMarks, ControlKind::MarkedText, "", {10, 210, 400, 40}, 0});
        peer_->AddControl({kPicture, ControlKind::Picture, "", {10, 250, 200, 40}, 0});
    }
    ~Controls() {
        owner_.AttachPeer(nullptr);
        peer_.reset();
        ::DestroyWindow(window_);
    }
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    Win32WindowPeer& Peer() { return *peer_; }
    Win32Backend& Backend() { return backend_; }
    std::vector<std::string>& Events() { return owner_.events; }
    HWND Handle() const { return window_; }
    HWND Edit() const { return ::GetDlgItem(window_, kEdit); }

    // Types `text` into the edit as a user would: one message per UTF-16 unit.
    void Type(std::wstring_view text) {
        for (const wchar_t unit : text) {
            ::SendMessageW(Edit(), WM_CHAR, unit, 1);
        }
    }
    // Hands the window the messages posted to it, as the message loop does.
    void Settle() {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    // Puts `text` in at the caret, as a paste or an input method does: all at once.
    void Insert(std::wstring_view text) {
        const std::wstring copy(text);
        ::SendMessageW(Edit(), EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
        ::SendMessageW(Edit(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(copy.c_str()));
    }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(window, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<Controls*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && self->peer_ != nullptr) {
            if (const std::optional<LRESULT> handled =
                    self->peer_->HandleMessage(message, wParam, lParam)) {
                return *handled;
            }
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    Win32Backend backend_;
    Recorder owner_;
    HWND window_ = nullptr;
    std::unique_ptr<Win32WindowPeer> peer_;
};

TEST(Win32Texts, EveryScriptCrossesTheWindowsApiAndComesBack) {
    Controls controls;
    ASSERT_NE(controls.Edit(), nullptr) << ::GetLastError();
    Win32WindowPeer& peer = controls.Peer();
    for (const auto& [question, answer] : testing::CardsOfEveryScript()) {
        peer.SetText(kEdit, question);
        EXPECT_EQ(peer.Text(kEdit), question);
        peer.SetText(kCardText, answer);
        EXPECT_EQ(peer.Text(kCardText), answer);
        peer.AddLine(kList, question + " \xE2\x80\x94 " + answer);
    }
    const auto cards = testing::CardsOfEveryScript();
    ASSERT_EQ(peer.LineCount(kList), static_cast<int>(cards.size()));
    EXPECT_EQ(peer.LineText(kList, 5), cards[5].first + " \xE2\x80\x94 " + cards[5].second);
}

// 63 characters as a person counts them and 254 bytes, however many UTF-16 units they take.
TEST(Win32Texts, EditsCountASideAsAPersonDoes) {
    Controls controls;
    Win32WindowPeer& peer = controls.Peer();
    peer.LimitText(kEdit, 63, 254);
    const auto fill = [&](std::wstring_view character, bool typed) {
        peer.SetText(kEdit, "");
        for (int i = 0; i < 70; ++i) {
            typed ? controls.Type(character) : controls.Insert(character);
        }
        return peer.Text(kEdit);
    };
    EXPECT_EQ(fill(L"a", true), std::string(63, 'a'));
    std::string zhong;
    for (int i = 0; i < 63; ++i) {
        zhong += "\xE4\xB8\xAD";
    }
    EXPECT_EQ(fill(L"\u4E2D", true), zhong);
    // "e" with a combining acute: two units, one character.
    std::string accented;
    for (int i = 0; i < 63; ++i) {
        accented += "e\xCC\x81";
    }
    EXPECT_EQ(fill(L"e\u0301", false), accented);
    // A thumb with its skin tone: four units, eight bytes, one character. The bytes end it
    // first: 31 of them are 248 bytes.
    std::string thumbs;
    for (int i = 0; i < 31; ++i) {
        thumbs += "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD";
    }
    EXPECT_EQ(fill(L"\U0001F44D\U0001F3FD", false), thumbs);
    // What is too long as a whole is not taken in part.
    peer.SetText(kEdit, std::string(60, 'a'));
    controls.Insert(L"bcdef");
    EXPECT_EQ(peer.Text(kEdit), std::string(60, 'a'));
}

TEST(Win32Texts, RightToLeftIsTheFirstStrongCharacters) {
    EXPECT_TRUE(IsRightToLeft(L"\u05E9\u05DC\u05D5\u05DD"));
    EXPECT_TRUE(IsRightToLeft(L"\u0643\u062A\u0627\u0628 book"));
    EXPECT_TRUE(IsRightToLeft(L"12 \u05E9"));
    EXPECT_FALSE(IsRightToLeft(L"book \u0643\u062A\u0627\u0628"));
    EXPECT_FALSE(IsRightToLeft(L"12 34"));
    EXPECT_FALSE(IsRightToLeft(L""));
}

// The faces Wine finds on this system: the tests install a font with Chinese and Japanese.
bool SomeFontHasIdeographs() {
    HDC screen = ::GetDC(nullptr);
    FallbackFonts fonts;
    auto* base = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    HFONT chosen = fonts.For(screen, base, L"\u65E5\u672C\u8A9E");
    ::ReleaseDC(nullptr, screen);
    return chosen != base;
}

TEST(Win32Texts, ATextTheFontLacksGetsAFontThatHasIt) {
    HDC screen = ::GetDC(nullptr);
    FallbackFonts fonts;
    auto* base = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    // A Latin text keeps the window's font.
    EXPECT_EQ(fonts.For(screen, base, L"Stra\u00DFe"), base);
    for (const std::wstring_view text :
         {std::wstring_view(L"\u65E5\u672C\u8A9E"), std::wstring_view(L"\u306B\u307B\u3093"),
          std::wstring_view(L"\uD55C\uAD6D\uC5B4"), std::wstring_view(L"\u4E2D\u6587")}) {
        HGDIOBJ old = ::SelectObject(screen, base);
        const int missingBefore = MissingGlyphs(screen, text);
        ::SelectObject(screen, fonts.For(screen, base, text));
        const int missingAfter = MissingGlyphs(screen, text);
        ::SelectObject(screen, old);
        EXPECT_LE(missingAfter, missingBefore);
        if (missingBefore > 0 && SomeFontHasIdeographs()) {
            EXPECT_EQ(missingAfter, 0) << Narrow(text);
        }
    }
    // The same font each time: made once.
    EXPECT_EQ(fonts.For(screen, base, L"\u4E2D"), fonts.For(screen, base, L"\u6587"));
    ::ReleaseDC(nullptr, screen);
}

TEST(Win32Texts, AnEditGetsAFontForItsScript) {
    if (!SomeFontHasIdeographs()) {
        GTEST_SKIP() << "no font with Chinese characters on this system";
    }
    Controls controls;
    Win32WindowPeer& peer = controls.Peer();
    const auto font = [&] {
        return reinterpret_cast<HFONT>(::SendMessageW(controls.Edit(), WM_GETFONT, 0, 0));
    };
    const HFONT own = font();
    peer.SetText(kEdit, "\xE6\x97\xA5\xE6\x9C\xAC");  // Japanese
    EXPECT_NE(font(), own);
    HDC context = ::GetDC(controls.Edit());
    HGDIOBJ old = ::SelectObject(context, font());
    EXPECT_EQ(MissingGlyphs(context, L"\u65E5\u672C"), 0);
    ::SelectObject(context, old);
    ::ReleaseDC(controls.Edit(), context);
    peer.SetText(kEdit, "Haus");
    EXPECT_EQ(font(), own);
}

bool IsAlignedRight(HWND edit) {
    return (::GetWindowLongPtrW(edit, GWL_STYLE) & ES_RIGHT) != 0;
}

// An edit follows its text: aligned at the right while it starts with a right-to-left letter,
// at the left again when it does not, keeping its text, caret, limit and place among the
// window's controls.
TEST(Win32Texts, AnEditOfARightToLeftTextIsAlignedAtTheRight) {
    Controls controls;
    Win32WindowPeer& peer = controls.Peer();
    peer.LimitText(kEdit, 63, 254);
    EXPECT_FALSE(IsAlignedRight(controls.Edit()));
    controls.Type(L"\u0643\u062A");
    controls.Settle();
    EXPECT_TRUE(IsAlignedRight(controls.Edit()));
    controls.Type(L"\u0627\u0628");  // typing goes on in the new edit, at its caret
    controls.Settle();
    EXPECT_EQ(peer.Text(kEdit), "\xD9\x83\xD8\xAA\xD8\xA7\xD8\xA8");
    EXPECT_EQ(::GetWindow(controls.Edit(), GW_HWNDNEXT), ::GetDlgItem(controls.Handle(), kList));
    // The limit came along.
    for (int i = 0; i < 70; ++i) {
        controls.Type(L"\u0628");
    }
    controls.Settle();
    EXPECT_EQ(unicode::CountGraphemes(peer.Text(kEdit)), 63u);

    // A text the program sets turns it at once.
    peer.SetText(kEdit, "Haus");
    EXPECT_FALSE(IsAlignedRight(controls.Edit()));
    EXPECT_EQ(peer.Text(kEdit), "Haus");
    peer.SetText(kEdit, "\xD7\xA9 Haus");  // Hebrew first
    EXPECT_TRUE(IsAlignedRight(controls.Edit()));
    // Latin typed before it makes it a left-to-right text.
    peer.SelectText(kEdit, 0, 0);
    controls.Type(L"a ");
    controls.Settle();
    EXPECT_FALSE(IsAlignedRight(controls.Edit()));
    EXPECT_EQ(peer.Text(kEdit), "a \xD7\xA9 Haus");
}

// A main window's client with a button, as the learning window has its Look button, and the
// field for a typed answer.
class ButtonClient : public Window {
  public:
    explicit ButtonClient(Backend& backend) : Window(backend) {
        AddControl({20, ControlKind::Button, "Look", {10, 10, 80, 24}, style::kTabStop});
        AddControl({21, ControlKind::Edit, "", {10, 40, 200, 24}, style::kTabStop});
    }
};

// The main window's keys are commands: it has no input method that could take one as the
// confirmation of a candidate, but for the field of a typed answer. The edits of dialogs keep
// theirs.
TEST(Win32Texts, TheMainWindowTakesNoInputMethod) {
    Win32Backend backend(::GetModuleHandleW(nullptr));
    FrameWindow frame(backend, "Tallyfold", std::make_unique<ButtonClient>(backend));
    Win32MainFrame peer(::GetModuleHandleW(nullptr), frame);
    EXPECT_EQ(::ImmGetContext(peer.Handle()), nullptr);
    EXPECT_EQ(::ImmGetContext(peer.ClientHandle()), nullptr);
    HWND button = ::GetDlgItem(peer.ClientHandle(), 20);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(::ImmGetContext(button), nullptr);
    HWND answer = ::GetDlgItem(peer.ClientHandle(), 21);
    if (HIMC context = ::ImmGetContext(answer)) {
        ::ImmReleaseContext(answer, context);
    } else {
        ADD_FAILURE() << "the answer's field has no input method";
    }
    Controls controls;
    if (HIMC context = ::ImmGetContext(controls.Edit())) {
        ::ImmReleaseContext(controls.Edit(), context);
    } else {
        ADD_FAILURE() << "an edit lost its input method";
    }
}

// Where the ink of a drawn text lies, in a bitmap of `width` pixels: the leftmost and the
// rightmost column with a dark pixel.
struct Ink {
    int left = -1;
    int right = -1;
};

Ink Draw(std::wstring_view text, TextPlacement placement, int width = 400) {
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -30;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
    RECT all{0, 0, width, 30};
    ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    FallbackFonts fonts;
    auto* base = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    HGDIOBJ oldFont = ::SelectObject(memory, fonts.For(memory, base, text));
    ::SetTextColor(memory, RGB(0, 0, 0));
    ::SetBkMode(memory, TRANSPARENT);
    DrawScriptText(memory, all, text, placement);
    ::GdiFlush();
    Ink ink;
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((pixels[y * width + x] & 0xFF) < 0x80) {
                ink.left = ink.left < 0 ? x : std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
            }
        }
    }
    ::SelectObject(memory, oldFont);
    ::SelectObject(memory, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return ink;
}

TEST(Win32Texts, TextsAreDrawnWhereTheirDirectionPutsThem) {
    const Ink latin = Draw(L"house", TextPlacement::Start);
    ASSERT_GE(latin.left, 0) << "nothing was drawn";
    EXPECT_LT(latin.right, 200);
    const Ink hebrew = Draw(L"\u05E9\u05DC\u05D5\u05DD", TextPlacement::Start);
    ASSERT_GE(hebrew.left, 0) << "nothing was drawn";
    EXPECT_GT(hebrew.left, 200) << "a right-to-left text starts at the right";
    const Ink centred = Draw(L"\u0643\u062A\u0627\u0628", TextPlacement::Center);
    ASSERT_GE(centred.left, 0) << "nothing was drawn";
    EXPECT_NEAR((centred.left + centred.right) / 2, 200, 20);
    EXPECT_GE(Draw(L"\u65E5\u672C\u8A9E", TextPlacement::Start).left, 0);
    EXPECT_LT(Draw(L"", TextPlacement::Start).left, 0);
}

// What a static of the window shows, drawn as the window draws it into a bitmap of its size:
// the box the ink fills, and the colour of the corner.
struct Drawn {
    RECT ink{-1, -1, -1, -1};
    COLORREF corner = 0;
};

// A control of the window drawn as the window draws it, into a bitmap of `width` by `height`:
// its pixels, row by row, as 0x00RRGGBB.
std::vector<std::uint32_t> PixelsOf(Controls& controls, int id, int width, int height) {
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_STATIC;
    item.CtlID = static_cast<UINT>(id);
    item.hwndItem = ::GetDlgItem(controls.Handle(), id);
    item.hDC = memory;
    item.rcItem = {0, 0, width, height};
    controls.Peer().HandleMessage(WM_DRAWITEM, static_cast<WPARAM>(id),
                                  reinterpret_cast<LPARAM>(&item));
    ::GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(first, first + static_cast<std::ptrdiff_t>(width) * height);
    ::SelectObject(memory, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

Drawn DrawControl(Controls& controls, int id, int width, int height) {
    const std::vector<std::uint32_t> pixels = PixelsOf(controls, id, width, height);
    Drawn drawn;
    const std::uint32_t corner = pixels[0];
    drawn.corner = RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (pixels[static_cast<std::size_t>(y * width + x)] != corner) {
                RECT& ink = drawn.ink;
                ink.left = ink.left < 0 ? x : std::min<LONG>(ink.left, x);
                ink.top = ink.top < 0 ? y : std::min<LONG>(ink.top, y);
                ink.right = std::max<LONG>(ink.right, x);
                ink.bottom = std::max<LONG>(ink.bottom, y);
            }
        }
    }
    return drawn;
}

// A card text in the chosen font, smaller only where it would not fit; a strip on the colours
// of texts; a static's name for screen readers in its window text, the text drawn kept apart.
TEST(Win32Texts, CardTextsTakeTheirFontTheirRoomAndTheirName) {
    Controls controls;
    Win32WindowPeer& peer = controls.Peer();
    peer.Move(kCardText, {10, 150, 400, 80});
    peer.SetText(kCardText, "Haus");
    const Drawn plain = DrawControl(controls, kCardText, 400, 80);
    ASSERT_GE(plain.ink.left, 0) << "nothing was drawn";
    peer.SetTextFont(kCardText, {"DejaVu Sans", 36});
    const Drawn large = DrawControl(controls, kCardText, 400, 80);
    EXPECT_GT(large.ink.bottom - large.ink.top, 2 * (plain.ink.bottom - plain.ink.top));
    EXPECT_GT(large.ink.right - large.ink.left, 2 * (plain.ink.right - plain.ink.left));
    peer.SetText(kCardText, std::string(30, 'W'));
    const Drawn fitted = DrawControl(controls, kCardText, 400, 80);
    EXPECT_GT(fitted.ink.left, 0);
    EXPECT_LT(fitted.ink.right, 399) << "the text is drawn whole";
    EXPECT_GT(fitted.ink.right - fitted.ink.left, 200) << "and no smaller than it needs";

    EXPECT_EQ(DrawControl(controls, kStrip, 100, 24).corner, ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(DrawControl(controls, kCardText, 100, 24).corner, ::GetSysColor(COLOR_BTNFACE));

    peer.SetText(kCardText, "Haus");
    peer.SetAccessibleName(kCardText, "Question: Haus");
    HWND text = ::GetDlgItem(controls.Handle(), kCardText);
    wchar_t name[64] = {};
    ::GetWindowTextW(text, name, 64);
    EXPECT_EQ(std::wstring(name), L"Question: Haus");
    EXPECT_EQ(peer.Text(kCardText), "Haus");
    peer.SetText(kCardText, "Baum");
    EXPECT_EQ(peer.Text(kCardText), "Baum");
    ::GetWindowTextW(text, name, 64);
    EXPECT_EQ(std::wstring(name), L"Question: Haus");
}

// The pixels of a drawn control in a colour far from grey, by the channel that stands out.
struct Tints {
    int red = 0;
    int green = 0;
    int blue = 0;
};

Tints TintsOf(Controls& controls, int id, int width, int height) {
    Tints tints;
    for (const std::uint32_t pixel : PixelsOf(controls, id, width, height)) {
        const int red = (pixel >> 16) & 0xFF;
        const int green = (pixel >> 8) & 0xFF;
        const int blue = pixel & 0xFF;
        tints.red += red > green + 60 && red > blue + 60 ? 1 : 0;
        tints.green += green > red + 40 && green > blue + 20 ? 1 : 0;
        tints.blue += blue > red + 60 && blue > green + 40 ? 1 : 0;
    }
    return tints;
}

// A typed answer marked against the expected one: drawn whole, each part in its mark's colour,
// its text the parts put together, its name for screen readers the comparison in words.
TEST(Win32Texts, AMarkedTextIsDrawnInItsMarksColours) {
    Controls controls;
    Win32WindowPeer& peer = controls.Peer();
    ASSERT_NE(::GetDlgItem(controls.Handle(), kMarks), nullptr);
    peer.SetTextFont(kMarks, {"DejaVu Sans", 20});
    const MarkedRun right[] = {{"house", TextMark::Right}};
    peer.SetMarkedText(kMarks, right);
    const Tints allRight = TintsOf(controls, kMarks, 400, 40);
    EXPECT_GT(allRight.green, 0) << "right letters are green";
    EXPECT_EQ(allRight.red, 0);
    EXPECT_EQ(allRight.blue, 0);

    const MarkedRun marked[] = {
        {"h", TextMark::Wrong}, {"ous", TextMark::Right}, {"e", TextMark::Missing}};
    peer.SetMarkedText(kMarks, marked);
    EXPECT_EQ(peer.Text(kMarks), "house");
    const Tints mixed = TintsOf(controls, kMarks, 400, 40);
    EXPECT_GT(mixed.red, 0) << "a wrong letter is red";
    EXPECT_GT(mixed.green, 0);
    EXPECT_GT(mixed.blue, 0) << "a missing letter is blue";

    peer.SetAccessibleName(kMarks, "typed: hous, expected: house, 1 letter missing");
    EXPECT_EQ(peer.Text(kMarks), "house");
    wchar_t name[64] = {};
    ::GetWindowTextW(::GetDlgItem(controls.Handle(), kMarks), name, 64);
    EXPECT_EQ(std::wstring(name), L"typed: hous, expected: house, 1 letter missing");

    EXPECT_TRUE(peer.IsVisible(kMarks));
    peer.SetVisible(kMarks, false);
    EXPECT_FALSE(peer.IsVisible(kMarks));
    peer.SetVisible(kMarks, true);
    EXPECT_TRUE(peer.IsVisible(kMarks));
}

// A picture's shapes, drawn in the system's colours: a bar exactly in its role's colour, a
// line, a text that leaves ink, the rest the background of texts.
TEST(Win32Texts, APictureIsDrawnFromItsShapes) {
    Controls controls;
    PictureText label;
    label.rect = {60, 0, 120, 40};
    label.text = "12 \u65E5";
    Picture picture{200, 40, {}};
    picture.shapes.emplace_back(PictureRectangle{{10, 10, 30, 20}, PictureColour::Unknown});
    picture.shapes.emplace_back(PictureLine{0, 39, 199, 39, PictureColour::Text});
    picture.shapes.emplace_back(label);
    controls.Peer().SetPicture(kPicture, picture);
    const std::vector<std::uint32_t> pixels = PixelsOf(controls, kPicture, 200, 40);
    const auto at = [&pixels](int x, int y) {
        const std::uint32_t pixel = pixels[static_cast<std::size_t>(y * 200 + x)];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    };
    const COLORREF background = ::GetSysColor(COLOR_WINDOW);
    const PictureColours roles{
        {GetRValue(::GetSysColor(COLOR_WINDOWTEXT)), GetGValue(::GetSysColor(COLOR_WINDOWTEXT)),
         GetBValue(::GetSysColor(COLOR_WINDOWTEXT))},
        {GetRValue(background), GetGValue(background), GetBValue(background)},
        {}};
    const MarkColour unknown = ColourOf(PictureColour::Unknown, 100, roles);
    EXPECT_EQ(at(20, 20), RGB(unknown.red, unknown.green, unknown.blue));
    EXPECT_EQ(at(5, 5), background);
    EXPECT_EQ(at(100, 39), ::GetSysColor(COLOR_WINDOWTEXT));
    int ink = 0;
    for (int x = 60; x < 180; ++x) {
        for (int y = 5; y < 35; ++y) {
            ink += at(x, y) != background ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 20) << "the text is drawn";
}

// The font dialog, titled as asked, gives back the face and size it was opened with when the
// user takes them with OK.
TEST(Win32Texts, TheFontDialogGivesTheFaceAndSizeChosen) {
    Controls controls;
    Window owner(controls.Backend());
    std::thread user([] {
        for (int tries = 0; tries < 200; ++tries) {
            if (HWND dialog = ::FindWindowW(L"#32770", L"Answer font")) {
                ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                return;
            }
            ::Sleep(50);
        }
    });
    TextFont font{"DejaVu Sans", 20};
    const bool chosen = controls.Backend().RunFontDialog(owner, "Answer font", font);
    user.join();
    ASSERT_TRUE(chosen) << "the dialog was not found by its title";
    EXPECT_EQ(font, (TextFont{"DejaVu Sans", 20}));
}

// A table as a list view without rows of its own: the cells are asked of their owner as they
// are read or drawn, in any script; what the user does reaches the owner, what the program
// does does not.
TEST(Win32Table, CellsComeFromTheOwnerAndTheUsersActsAreTold) {
    Controls controls;
    Win32WindowPeer& peer = controls.Peer();
    HWND list = ::GetDlgItem(controls.Handle(), kTable);
    ASSERT_NE(list, nullptr);
    const std::vector<TableColumn> columns = {{"Question", 100}, {"Known", 50, true}};
    peer.SetColumns(kTable, columns);
    peer.SetRows(kTable, 1000000, [](int row, int column) {
        return column == 0 ? "\xD0\xBA\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0 " + std::to_string(row)
                           : std::to_string(row % 7);
    });
    EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1000000);
    wchar_t text[64] = {};
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = 64;
    ::SendMessageW(list, LVM_GETITEMTEXTW, 3, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(text), L"\u043A\u043D\u0438\u0433\u0430 3");
    EXPECT_EQ(peer.LineText(kTable, 12), "\xD0\xBA\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0 12\t5");
    EXPECT_EQ(peer.ColumnWidths(kTable), (std::vector<int>{100, 50}));

    const std::vector<int> rows = {2, 5, 6};
    peer.SelectRows(kTable, rows);
    EXPECT_EQ(peer.SelectedLines(kTable), rows);
    EXPECT_EQ(peer.Selected(kTable), 2);
    peer.SetSortIndicator(kTable, 1, true);
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    HDITEMW column{};
    column.mask = HDI_FORMAT;
    ::SendMessageW(header, HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&column));
    EXPECT_NE(column.fmt & HDF_SORTDOWN, 0);
    peer.SetText(kSearch, "by the program");
    controls.Settle();
    EXPECT_TRUE(controls.Events().empty()) << "what the program does is told to nobody";

    // The user: a click on the second header, Down, Enter, typing, the check box.
    RECT place{};
    ::SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&place));
    const LPARAM point = MAKELPARAM((place.left + place.right) / 2, (place.top + place.bottom) / 2);
    ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(header, WM_LBUTTONUP, 0, point);
    ::SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
    controls.Settle();
    const std::vector<int> afterDown = peer.SelectedLines(kTable);
    ::SendMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
    HWND search = ::GetDlgItem(controls.Handle(), kSearch);
    ::SendMessageW(search, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    ::SendMessageW(search, WM_CHAR, L'k', 1);
    ::SendMessageW(::GetDlgItem(controls.Handle(), kStrict), BM_CLICK, 0, 0);
    controls.Settle();
    EXPECT_EQ(afterDown.size(), 1u);
    const std::vector<std::string>& events = controls.Events();
    EXPECT_NE(std::find(events.begin(), events.end(), "column 1"), events.end());
    EXPECT_EQ(std::count(events.begin(), events.end(), "selection"), 1);
    EXPECT_NE(std::find(events.begin(), events.end(), "activated"), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), "search k"), events.end());
    EXPECT_EQ(events.back(), "strict on");
    EXPECT_TRUE(peer.IsChecked(kStrict));
}

}  // namespace
}  // namespace tallyfold::platform::win32
