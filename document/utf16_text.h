#pragma once

#include <string>
#include <string_view>

namespace tallyfold {

/// What a text file's first bytes say it is.
enum class TextEncoding { Bytes, Utf16LittleEndian, Utf16BigEndian };

/// The encoding a byte-order mark at the start of `start` names: UTF-16 for FF FE and FE FF
/// (what spreadsheet programs write as "Unicode text"), else plain bytes.
TextEncoding EncodingOfByteOrderMark(std::string_view start);

/// Turns UTF-16 bytes, handed over in pieces of any length, into UTF-8: a code unit or a
/// surrogate pair split between two pieces is joined. An unpaired surrogate, and an odd last
/// byte, become a byte that is no UTF-8: its line is refused, never changed.
class Utf16Decoder {
  public:
    explicit Utf16Decoder(bool bigEndian = false) : bigEndian_(bigEndian) {}

    void Decode(std::string_view bytes, std::string& out);
    /// The end of the text: what is left over is written as a byte that is no UTF-8.
    void Finish(std::string& out);

  private:
    void Unit(char16_t unit, std::string& out);

    bool bigEndian_;
    int pendingByte_ = -1;
    char16_t high_ = 0;
};

}  // namespace tallyfold
