#pragma once

// Texts of any script on the screen: drawn with Uniscribe, which shapes them, reads them right
// to left where they are written so, and takes glyphs a font lacks from a fallback font, as
// the system's own edit control does (plain DrawTextW shows boxes for them under Wine); and a
// font for the characters that no fallback reaches where the system's font links point at
// fonts that are not there (Chinese, Japanese and Korean under Wine).

#include <windows.h>

#include <map>
#include <span>
#include <string>
#include <string_view>

#include "platform/marked_text.h"

namespace tallyfold::platform::win32 {

/// Where a text sits across its rectangle. Start and end follow the text's direction: a
/// right-to-left text starts at the right.
enum class TextPlacement { Start, Center, End };

/// True when the first character of `text` with a direction of its own reads right to left
/// (Hebrew, Arabic...): the direction a paragraph of it takes. A text without any (digits,
/// blanks) reads left to right.
bool IsRightToLeft(std::wstring_view text);

/// Draws `text` on one line in `rect`, centred from top to bottom, with the font and text colour
/// selected into `context` and a transparent background; cut at the rectangle.
void DrawScriptText(HDC context, const RECT& rect, std::wstring_view text, TextPlacement placement);

/// A part of a text drawn in its own colour, with a line under or through it.
struct TextSpan {
    int start = 0;  ///< in UTF-16 units
    int end = 0;
    COLORREF colour = 0;
    MarkLine line = MarkLine::None;
};

/// Draws `text` as `DrawScriptText` does, shaped whole (letters that join in their script stay
/// joined across spans), each span in its colour and with its line.
void DrawMarkedScriptText(HDC context, const RECT& rect, std::wstring_view text,
                          std::span<const TextSpan> spans, TextPlacement placement);

/// Fonts like a window's own for texts that font cannot show. Owns the fonts it made.
class FallbackFonts {
  public:
    FallbackFonts() = default;
    ~FallbackFonts();
    FallbackFonts(const FallbackFonts&) = delete;
    FallbackFonts& operator=(const FallbackFonts&) = delete;

    /// `base` when it has a glyph for every character of `text` (or when no font at hand has
    /// more of them); else a font of the same size and weight whose face has them: for
    /// Chinese, Japanese and Korean the faces Windows ships for each, then the faces of
    /// free systems that Wine finds. `context` is a device context to measure with.
    HFONT For(HDC context, HFONT base, std::wstring_view text);

  private:
    std::map<std::wstring, HFONT> made_;
};

/// The characters of `text` that the font selected into `context` has no glyph for (of the
/// basic plane; a pair of surrogates is never counted).
int MissingGlyphs(HDC context, std::wstring_view text);

}  // namespace tallyfold::platform::win32
