#include "app/text_import.h"

#include <array>
#include <cstring>
#include <functional>

#include "platform/windows1252.h"
#include "resources/resource_ids.h"
#include "table/charset.h"
#include "table/file_io.h"

namespace tallyfold {

namespace {

constexpr char kSeparator = ';';
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view WithoutTrailingBlanks(std::string_view text) {
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// Expands backslash escapes of `text` into `buffer`; the result is never longer.
std::string_view Expanded(std::string_view text, std::string& buffer) {
    buffer.assign(text);
    buffer.push_back('\0');
    const std::size_t length = ExpandEscapesAnsi(buffer);
    return {buffer.data(), length};
}

// True for valid UTF-8 that holds at least one character of two or more bytes.
bool LooksLikeUtf8(std::string_view bytes) {
    bool multiByte = false;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
        } else {
            return false;
        }
        if (i + length > bytes.size()) {
            return false;
        }
        // The exact rules (overlong forms, surrogates) are checked per line on conversion.
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        multiByte = true;
        i += length;
    }
    return multiByte;
}

}  // namespace

int ImportMessageId(int code) {
    switch (code) {
        case kImportSeparatorMissing:
            return ids::kStrSeparatorMissing;
        case kImportQuestionMissing:
            return ids::kStrQuestionMissing;
        case kImportAnswerMissing:
            return ids::kStrAnswerMissing;
        case kImportTextTooLong:
            return ids::kStrTextTooLong;
        case kImportCharacterNotSupported:
            return ids::kStrCharacterNotSupported;
        default:
            return 0;
    }
}

std::size_t ImportTarget::TextHash::operator()(const tVokabel* card) const {
    const std::size_t question = std::hash<std::string_view>{}(card->Question());
    const std::size_t answer = std::hash<std::string_view>{}(card->Answer());
    return question ^ (answer + 0x9E3779B97F4A7C15ULL + (question << 6) + (question >> 2));
}

ImportTarget::ImportTarget(tCardBox& box) : box_(&box) {
    cards_.reserve(static_cast<std::size_t>(box.TotalCards()));
    tVokabel copy;
    for (int number = 1; number <= box.PartitionCount() + 1; ++number) {
        for (const tVokabel* card = box.FirstInPartition(number, copy); card != nullptr;
             card = box.NextInPartition(number, copy)) {
            cards_.insert(card);
        }
    }
}

bool ImportTarget::AddIfNew(const tVokabel& card) {
    if (cards_.count(&card) != 0) {
        return false;
    }
    cards_.insert(box_->AddToInput(card));
    ++added_;
    return true;
}

int ParseImportLine(std::string& line, ImportTarget& target) {
    const std::size_t separator = line.find(kSeparator);
    if (separator == std::string::npos) {
        return kImportSeparatorMissing;
    }
    const std::string_view whole(line);
    const std::string_view question = WithoutTrailingBlanks(whole.substr(0, separator));
    const std::string_view answer = WithoutTrailingBlanks(whole.substr(separator + 1));
    if (question.empty() || answer.empty()) {
        const int code = question.empty() ? kImportQuestionMissing : kImportAnswerMissing;
        line.resize(question.size());
        return code;
    }
    const std::string_view expandedQuestion = Expanded(question, target.QuestionScratch());
    const std::string_view expandedAnswer = Expanded(answer, target.AnswerScratch());
    if (expandedQuestion.size() > kMaxCardText || expandedAnswer.size() > kMaxCardText) {
        return kImportTextTooLong;
    }
    tVokabel card;
    card.SetTexts(expandedQuestion, expandedAnswer);
    target.AddIfNew(card);
    return kImportAccepted;
}

bool ImportFile::Open(const std::string& path) {
    File file;
    if (!file.OpenExisting(path)) {
        return false;
    }
    std::string bytes(file.Size(), '\0');
    const std::int64_t got = file.ReadAt(0, bytes);
    if (got < 0) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(got));
    Assign(std::move(bytes));
    return true;
}

void ImportFile::Assign(std::string bytes) {
    bytes_ = std::move(bytes);
    position_ = 0;
    const std::string_view view(bytes_);
    if (view.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        utf8_ = true;
        position_ = kByteOrderMark.size();
    } else {
        utf8_ = LooksLikeUtf8(view);
    }
}

bool ImportFile::NextLine(std::string& line, bool& convertible) {
    if (position_ >= bytes_.size()) {
        return false;
    }
    const std::size_t end = bytes_.find('\n', position_);
    std::string_view raw(bytes_.data() + position_,
                         (end == std::string::npos ? bytes_.size() : end) - position_);
    position_ = end == std::string::npos ? bytes_.size() : end + 1;
    if (!raw.empty() && raw.back() == '\r') {
        raw.remove_suffix(1);
    }
    convertible = true;
    if (!utf8_) {
        line.assign(raw);
        return true;
    }
    if (std::optional<std::string> converted = platform::Utf8ToWindows1252(raw)) {
        line = std::move(*converted);
    } else {
        line = platform::Utf8ToWindows1252Lossy(raw);
        convertible = false;
    }
    return true;
}

}  // namespace tallyfold
