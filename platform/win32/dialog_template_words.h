#pragma once

// A dialog template as the Windows dialog manager reads it from memory (DLGTEMPLATEEX and its
// DLGITEMTEMPLATEEX items), built from the program's own templates. Plain data: it is made and
// checked on every system, and only the Windows backend hands it to the dialog manager.

#include <cstdint>
#include <vector>

#include "platform/control_template.h"

namespace tallyfold::platform::win32 {

/// The window styles and classes the template gives a control, as Windows numbers them.
struct ControlStyle {
    std::uint32_t style = 0;
    std::uint32_t extendedStyle = 0;
    /// The predefined class's ordinal: 0x80 button, 0x81 edit, 0x82 static, 0x83 list box,
    /// 0x85 combo box.
    std::uint16_t classOrdinal = 0;
    /// The class by name where no ordinal serves (the list view of a table); else nullptr.
    const char* className = nullptr;
};

ControlStyle StyleOf(const ControlTemplate& control);

/// The style of the dialog itself: a modal frame with caption and close box, the font of the
/// template, and the question-mark button where the template asks for context help.
std::uint32_t DialogStyle(const DialogTemplate& dialog);

/// The whole template in 16-bit words, DWORD-aligned where the format needs it: ready for
/// DialogBoxIndirectParamW once the buffer itself is DWORD-aligned (a vector's is). Texts
/// (UTF-8) become UTF-16; a control without an id gets 0xFFFF, as resource compilers
/// give labels.
std::vector<std::uint16_t> DialogTemplateWords(const DialogTemplate& dialog);

}  // namespace tallyfold::platform::win32
