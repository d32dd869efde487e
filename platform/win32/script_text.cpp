#include "platform/win32/script_text.h"

#include <usp10.h>

#include <algorithm>
#include <initializer_list>
#include <span>
#include <vector>

namespace tallyfold::platform::win32 {

namespace {

// Units that no font draws a glyph for and no reader misses: controls, the marks of direction
// and joining, variation selectors, and the halves of a surrogate pair (which
// GetGlyphIndicesW cannot look up).
bool NeedsNoGlyph(wchar_t unit) {
    return unit < 0x20 || (unit >= 0x200B && unit <= 0x200F) ||
           (unit >= 0x202A && unit <= 0x202E) || (unit >= 0x2060 && unit <= 0x206F) ||
           (unit >= 0xFE00 && unit <= 0xFE0F) || (unit >= 0xD800 && unit <= 0xDFFF);
}

bool HasAny(std::wstring_view text, std::initializer_list<std::pair<wchar_t, wchar_t>> ranges) {
    return std::any_of(text.begin(), text.end(), [&ranges](wchar_t unit) {
        return std::any_of(ranges.begin(), ranges.end(), [unit](const auto& range) {
            return unit >= range.first && unit <= range.second;
        });
    });
}

constexpr const wchar_t* kJapaneseFaces[] = {L"Yu Gothic UI", L"Meiryo UI", L"MS UI Gothic"};
constexpr const wchar_t* kKoreanFaces[] = {L"Malgun Gothic", L"Gulim"};
constexpr const wchar_t* kChineseFaces[] = {L"Microsoft YaHei UI", L"Microsoft JhengHei UI",
                                            L"SimSun"};
constexpr const wchar_t* kFreeFaces[] = {
    L"Noto Sans CJK JP",    L"Noto Sans CJK SC",  L"Noto Sans CJK KR",   L"Source Han Sans",
    L"WenQuanYi Micro Hei", L"WenQuanYi Zen Hei", L"Droid Sans Fallback"};

// The faces to try for a text, the likeliest first: those Windows ships for the script the text
// is most likely in (kana are Japanese, hangul Korean, other ideographs Chinese), then those of
// the other two, then the faces free systems have, which Wine finds.
std::vector<std::wstring_view> FacesFor(std::wstring_view text) {
    std::span<const wchar_t* const> first = kChineseFaces;
    std::span<const wchar_t* const> second = kJapaneseFaces;
    std::span<const wchar_t* const> third = kKoreanFaces;
    if (HasAny(text, {{0x3040, 0x30FF}, {0x31F0, 0x31FF}, {0xFF66, 0xFF9F}})) {
        first = kJapaneseFaces;
        second = kChineseFaces;
    } else if (HasAny(text, {{0x1100, 0x11FF}, {0x3130, 0x318F}, {0xAC00, 0xD7AF}})) {
        first = kKoreanFaces;
        third = kJapaneseFaces;
    }
    std::vector<std::wstring_view> faces;
    for (const std::span<const wchar_t* const> group :
         {first, second, third, std::span<const wchar_t* const>(kFreeFaces)}) {
        for (const wchar_t* face : group) {
            faces.emplace_back(face);
        }
    }
    return faces;
}

// The face the font selected into `context` really has: GDI gives another font for a face
// that is not installed, without a word.
std::wstring SelectedFace(HDC context) {
    wchar_t face[LF_FACESIZE] = {};
    const int length = ::GetTextFaceW(context, LF_FACESIZE, face);
    return std::wstring(face, length > 0 ? static_cast<std::size_t>(length - 1) : 0);
}

bool SameFace(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

bool IsRightToLeft(std::wstring_view text) {
    if (text.empty()) {
        return false;
    }
    std::vector<WORD> types(text.size());
    if (!::GetStringTypeW(CT_CTYPE2, text.data(), static_cast<int>(text.size()), types.data())) {
        return false;
    }
    for (const WORD type : types) {
        if (type == C2_LEFTTORIGHT) {
            return false;
        }
        if (type == C2_RIGHTTOLEFT) {
            return true;
        }
    }
    return false;
}

int MissingGlyphs(HDC context, std::wstring_view text) {
    if (text.empty()) {
        return 0;
    }
    std::vector<WORD> glyphs(text.size());
    if (::GetGlyphIndicesW(context, text.data(), static_cast<int>(text.size()), glyphs.data(),
                           GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
        return 0;
    }
    int missing = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        missing += glyphs[i] == 0xFFFF && !NeedsNoGlyph(text[i]) ? 1 : 0;
    }
    return missing;
}

namespace {

// A text shaped by Uniscribe and placed in its rectangle; no analysis where it could not be
// shaped (the text is then drawn as GDI draws it).
struct PlacedText {
    SCRIPT_STRING_ANALYSIS analysis = nullptr;
    bool rightToLeft = false;
    int x = 0;
    int y = 0;

    PlacedText() = default;
    PlacedText(const PlacedText&) = delete;
    PlacedText& operator=(const PlacedText&) = delete;
    ~PlacedText() {
        if (analysis != nullptr) {
            ::ScriptStringFree(&analysis);
        }
    }
};

void Place(HDC context, const RECT& rect, std::wstring_view text, TextPlacement placement,
           PlacedText& placed) {
    placed.rightToLeft = IsRightToLeft(text);
    const int length = static_cast<int>(text.size());
    // Room for the glyphs as Uniscribe's documentation advises: one and a half a character.
    const HRESULT analysed = ::ScriptStringAnalyse(
        context, text.data(), length, length * 3 / 2 + 16, -1,
        SSA_GLYPHS | SSA_FALLBACK | SSA_LINK | (placed.rightToLeft ? SSA_RTL : 0), 0, nullptr,
        nullptr, nullptr, nullptr, nullptr, &placed.analysis);
    if (FAILED(analysed)) {
        placed.analysis = nullptr;
        return;
    }
    const SIZE* size = ::ScriptString_pSize(placed.analysis);
    const int width = size != nullptr ? size->cx : 0;
    const int height = size != nullptr ? size->cy : rect.bottom - rect.top;
    const int room = rect.right - rect.left;
    if (width > room) {
        // A text wider than its room keeps its start in view.
        placed.x = placed.rightToLeft ? rect.right - width : rect.left;
    } else if (placement == TextPlacement::Center) {
        placed.x = rect.left + (room - width) / 2;
    } else {
        placed.x = (placement == TextPlacement::End) != placed.rightToLeft ? rect.right - width
                                                                           : rect.left;
    }
    placed.y = rect.top + (rect.bottom - rect.top - height) / 2;
}

void DrawLine(HDC context, int left, int right, int y, COLORREF colour, MarkLine line) {
    const int style = line == MarkLine::Dotted   ? PS_DOT
                      : line == MarkLine::Dashed ? PS_DASH
                                                 : PS_SOLID;
    HPEN pen = ::CreatePen(style, 1, colour);
    HGDIOBJ old = ::SelectObject(context, pen);
    // A dotted or dashed pen draws its gaps in the background colour unless told otherwise.
    const int mode = ::SetBkMode(context, TRANSPARENT);
    ::MoveToEx(context, left, y, nullptr);
    ::LineTo(context, right, y);
    if (line == MarkLine::Solid) {
        // A solid underline twice as thick: it must not pass for the text's own underline.
        ::MoveToEx(context, left, y + 1, nullptr);
        ::LineTo(context, right, y + 1);
    }
    ::SetBkMode(context, mode);
    ::SelectObject(context, old);
    ::DeleteObject(pen);
}

}  // namespace

void DrawMarkedScriptText(HDC context, const RECT& rect, std::wstring_view text,
                          std::span<const TextSpan> spans, TextPlacement placement) {
    if (text.empty()) {
        return;
    }
    PlacedText placed;
    Place(context, rect, text, placement, placed);
    if (placed.analysis == nullptr) {
        DrawScriptText(context, rect, text, placement);
        return;
    }
    const int x = placed.x;
    const int y = placed.y;
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(context, &metrics);
    const int length = static_cast<int>(text.size());
    for (const TextSpan& span : spans) {
        if (span.start < 0 || span.end > length || span.start >= span.end) {
            continue;
        }
        // The span's glyphs lie between its first character's edge and its last one's; drawn
        // by clipping the whole shaped text to them, in the span's colour.
        int first = 0;
        int last = 0;
        ::ScriptStringCPtoX(placed.analysis, span.start, FALSE, &first);
        ::ScriptStringCPtoX(placed.analysis, span.end - 1, TRUE, &last);
        RECT clip{x + std::min(first, last), rect.top, x + std::max(first, last), rect.bottom};
        if (!::IntersectRect(&clip, &clip, &rect)) {
            continue;
        }
        // A clipping region, not ScriptStringOut's own rectangle, which Wine does not keep to.
        const int saved = ::SaveDC(context);
        ::IntersectClipRect(context, clip.left, clip.top, clip.right, clip.bottom);
        ::SetTextColor(context, span.colour);
        ::ScriptStringOut(placed.analysis, x, y, 0, nullptr, 0, 0, FALSE);
        ::RestoreDC(context, saved);
        if (span.line == MarkLine::Through) {
            DrawLine(context, clip.left, clip.right, y + static_cast<int>(metrics.tmAscent) * 2 / 3,
                     span.colour, span.line);
        } else if (span.line != MarkLine::None) {
            DrawLine(context, clip.left, clip.right,
                     std::min(y + static_cast<int>(metrics.tmAscent) + 2,
                              static_cast<int>(rect.bottom) - 2),
                     span.colour, span.line);
        }
    }
}

void DrawScriptText(HDC context, const RECT& rect, std::wstring_view text,
                    TextPlacement placement) {
    if (text.empty()) {
        return;
    }
    PlacedText placed;
    Place(context, rect, text, placement, placed);
    if (placed.analysis == nullptr) {
        RECT box = rect;
        const bool rightToLeft = placed.rightToLeft;
        UINT align = placement == TextPlacement::Center                 ? DT_CENTER
                     : (placement == TextPlacement::End) != rightToLeft ? DT_RIGHT
                                                                        : DT_LEFT;
        ::DrawTextW(
            context, text.data(), static_cast<int>(text.size()), &box,
            align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | (rightToLeft ? DT_RTLREADING : 0));
        return;
    }
    ::ScriptStringOut(placed.analysis, placed.x, placed.y, ETO_CLIPPED, &rect, 0, 0, FALSE);
}

FallbackFonts::~FallbackFonts() {
    for (auto& [key, font] : made_) {
        ::DeleteObject(font);
    }
}

HFONT FallbackFonts::For(HDC context, HFONT base, std::wstring_view text) {
    HGDIOBJ old = ::SelectObject(context, base);
    int fewest = MissingGlyphs(context, text);
    HFONT best = base;
    LOGFONTW shape{};
    if (fewest == 0 || ::GetObjectW(base, sizeof shape, &shape) == 0) {
        ::SelectObject(context, old);
        return base;
    }
    for (const std::wstring_view face : FacesFor(text)) {
        std::wstring key = std::wstring(face) + L'/' + std::to_wstring(shape.lfHeight) + L'/' +
                           std::to_wstring(shape.lfWeight) + L'/' + std::to_wstring(shape.lfItalic);
        HFONT& font = made_[key];
        if (font == nullptr) {
            LOGFONTW wanted = shape;
            wanted.lfCharSet = DEFAULT_CHARSET;
            const std::size_t length = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
            std::copy_n(face.data(), length, wanted.lfFaceName);
            wanted.lfFaceName[length] = L'\0';
            font = ::CreateFontIndirectW(&wanted);
        }
        if (font == nullptr) {
            continue;
        }
        ::SelectObject(context, font);
        if (!SameFace(SelectedFace(context), face)) {
            continue;  // not installed: GDI chose another face
        }
        const int missing = MissingGlyphs(context, text);
        if (missing < fewest) {
            fewest = missing;
            best = font;
        }
        if (fewest == 0) {
            break;
        }
    }
    ::SelectObject(context, old);
    return best;
}

}  // namespace tallyfold::platform::win32
