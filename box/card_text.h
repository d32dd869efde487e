#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tallyfold {

/// A side of a card: well-formed UTF-8 without zero bytes, at most `kMaxBytes` bytes, compared
/// byte by byte.
///
/// Every way to make one keeps that true, so code that holds a `CardText` never has to ask
/// which encoding it is in. A card's sides are copied with it into rings, undo records and
/// journal snapshots, and a box may hold millions: a text of up to `kInlineBytes` bytes, which
/// is almost every text in any script, lives in the object's own 64 bytes; only a longer one
/// takes a block of its own on the heap.
class CardText {
  public:
    /// Bytes a text may have at most (63 characters of up to four bytes would be more: the
    /// 63 characters a person counts are checked where texts are typed or imported).
    static constexpr std::size_t kMaxBytes = 254;
    /// Bytes a text may have and still live inside the object.
    static constexpr std::size_t kInlineBytes = 63;

    CardText() = default;
    /// The text of `utf8` up to its first zero byte and at most `kMaxBytes` bytes, cut before
    /// a character that would not fit whole. A byte that begins no well-formed character
    /// becomes U+FFFD: texts from outside are checked before they get here, so this only keeps
    /// the promise of the type.
    explicit CardText(std::string_view utf8);
    /// For readers that found the bytes to be ASCII without zero bytes themselves, in the same
    /// pass that found their length: `length` bytes of `bytes`, at most `kInlineBytes`. Debug
    /// builds check the promise.
    void AssignAscii(const char* bytes, std::size_t length);
    /// For converters whose output is well-formed UTF-8 by their own construction (a table of
    /// the characters of another code page, a text they checked): `utf8`, at most `kMaxBytes`
    /// bytes without a zero byte. Debug builds check the promise.
    void AssignValidUtf8(std::string_view utf8);

    CardText(const CardText& other);
    CardText& operator=(const CardText& other);
    CardText(CardText&& other) noexcept;
    CardText& operator=(CardText&& other) noexcept;
    ~CardText();

    std::string_view View() const;
    std::size_t Size() const { return View().size(); }
    bool Empty() const { return storage_[0] == '\0' && !IsLong(); }
    /// True when the text has a byte of 0x80 or above (a character outside ASCII).
    bool HasNonAscii() const;
    /// For converters that look at many bytes at once: the 64 bytes a text of at most
    /// `kInlineBytes` bytes lives in (the text, a zero byte, then bytes of no meaning), or
    /// nullptr for a longer text.
    const char* InlineBytes() const { return IsLong() ? nullptr : storage_; }

    friend bool operator==(const CardText& a, const CardText& b) { return a.View() == b.View(); }

  private:
    static constexpr std::size_t kStorage = 64;
    // The last byte of the storage says where the text is: 0 inside (zero-terminated), this
    // tag on the heap (the block's address at the start of the storage, its length after it).
    // The tag is no byte of UTF-8, so it is never mistaken for text.
    static constexpr char kLongTag = '\xFF';

    bool IsLong() const { return storage_[kStorage - 1] == kLongTag; }
    const char* LongBytes() const;
    std::uint16_t LongSize() const;
    void AssignValid(std::string_view utf8);
    void Release();

    alignas(8) char storage_[kStorage] = {};
};

}  // namespace tallyfold
