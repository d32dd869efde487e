#include "box/card_text.h"

#include <cassert>
#include <cstring>
#include <string>

#include "text/utf8.h"

namespace tallyfold {

namespace {

[[maybe_unused]] bool IsAsciiWithoutZero(std::string_view text) {
    for (const char c : text) {
        if (c == '\0' || static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

CardText::CardText(std::string_view utf8) {
    utf8 = utf8.substr(0, utf8.find('\0'));
    if (utf8.size() <= kMaxBytes && unicode::IsValidUtf8(utf8)) {
        AssignValid(utf8);
        return;
    }
    std::string kept;
    std::size_t at = 0;
    while (at < utf8.size()) {
        std::string character;
        unicode::AppendUtf8(character, unicode::DecodeNext(utf8, at));
        if (kept.size() + character.size() > kMaxBytes) {
            break;
        }
        kept += character;
    }
    AssignValid(kept);
}

void CardText::AssignAscii(const char* bytes, std::size_t length) {
    assert(length <= kInlineBytes && IsAsciiWithoutZero({bytes, length}));
    Release();
    std::memcpy(storage_, bytes, length);
    storage_[length] = '\0';
}

void CardText::AssignValidUtf8(std::string_view utf8) {
    assert(utf8.size() <= kMaxBytes && utf8.find('\0') == std::string_view::npos &&
           unicode::IsValidUtf8(utf8));
    AssignValid(utf8);
}

CardText::CardText(const CardText& other) {
    std::memcpy(storage_, other.storage_, kStorage);
    if (IsLong()) {
        storage_[kStorage - 1] = '\0';
        AssignValid(other.View());
    }
}

CardText& CardText::operator=(const CardText& other) {
    if (this != &other) {
        if (!IsLong() && !other.IsLong()) {
            std::memcpy(storage_, other.storage_, kStorage);
        } else {
            AssignValid(other.View());
        }
    }
    return *this;
}

CardText::CardText(CardText&& other) noexcept {
    std::memcpy(storage_, other.storage_, kStorage);
    other.storage_[0] = '\0';
    other.storage_[kStorage - 1] = '\0';
}

CardText& CardText::operator=(CardText&& other) noexcept {
    if (this != &other) {
        Release();
        std::memcpy(storage_, other.storage_, kStorage);
        other.storage_[0] = '\0';
        other.storage_[kStorage - 1] = '\0';
    }
    return *this;
}

CardText::~CardText() {
    Release();
}

std::string_view CardText::View() const {
    if (IsLong()) {
        return {LongBytes(), LongSize()};
    }
    return {storage_, std::strlen(storage_)};
}

bool CardText::HasNonAscii() const {
    if (IsLong()) {
        return true;  // more than 63 bytes of at most 63 characters
    }
    for (const char* c = storage_; *c != '\0'; ++c) {
        if (static_cast<unsigned char>(*c) >= 0x80) {
            return true;
        }
    }
    return false;
}

const char* CardText::LongBytes() const {
    const char* bytes = nullptr;
    std::memcpy(&bytes, storage_, sizeof bytes);
    return bytes;
}

std::uint16_t CardText::LongSize() const {
    std::uint16_t size = 0;
    std::memcpy(&size, storage_ + sizeof(char*), sizeof size);
    return size;
}

void CardText::AssignValid(std::string_view utf8) {
    Release();
    if (utf8.size() <= kInlineBytes) {
        std::memcpy(storage_, utf8.data(), utf8.size());
        storage_[utf8.size()] = '\0';
        return;
    }
    char* block = new char[utf8.size()];
    std::memcpy(block, utf8.data(), utf8.size());
    const auto size = static_cast<std::uint16_t>(utf8.size());
    std::memcpy(storage_, &block, sizeof block);
    std::memcpy(storage_ + sizeof block, &size, sizeof size);
    storage_[kStorage - 1] = kLongTag;
}

void CardText::Release() {
    if (IsLong()) {
        delete[] LongBytes();
        storage_[0] = '\0';
        storage_[kStorage - 1] = '\0';
    }
}

}  // namespace tallyfold
