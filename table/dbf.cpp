#include "table/dbf.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

#include "table/dbf_layout.h"
#include "table/little_endian.h"

namespace tallyfold {

namespace {

constexpr char kBlank = ' ';
constexpr char kDeletedFlag = '*';
constexpr char kEndOfFile = static_cast<char>(dbf_layout::kEndOfFile);
constexpr std::size_t kHeaderCopySize = 16;
// The file header, and no descriptor: a table without fields.
constexpr std::uint16_t kMinHeaderLength = dbf_layout::kHeaderSize + 1;
// Large enough that a sequential read or a bulk append costs a system call per few hundred
// records, small enough to stay in cache.
constexpr std::size_t kWindowSize = 64 * 1024;
constexpr std::size_t kPendingLimit = 1024 * 1024;

std::span<const char> AsChars(const unsigned char* bytes, std::size_t size) {
    return {reinterpret_cast<const char*>(bytes), size};
}

// The length of `bytes` without its trailing blanks (fields are mostly padding, so blanks are
// passed over eight at a time).
std::size_t LengthWithoutTrailingBlanks(std::span<const char> bytes) {
    constexpr std::uint64_t kEightBlanks = 0x2020202020202020ULL;
    std::size_t length = bytes.size();
    std::uint64_t word = 0;
    while (length >= 8 &&
           (std::memcpy(&word, bytes.data() + length - 8, 8), word == kEightBlanks)) {
        length -= 8;
    }
    while (length > 0 && bytes[length - 1] == kBlank) {
        --length;
    }
    return length;
}

}  // namespace

tDBF::~tDBF() {
    destroying_ = true;
    Close();
}

void tDBF::Report(DbfError code) {
    lastError_ = code;
    writeFailed_ = writeFailed_ || code == DbfError::WriteFailed;
    if (!destroying_) {
        OnError(code);
    }
}

bool tDBF::Open(const FilePath& path) {
    Close();
    path_ = path;
    writeFailed_ = false;
    if (!file_.OpenExisting(path)) {
        Release();
        Report(DbfError::CannotOpen);
        return false;
    }
    if (file_.ReadAt(0, {reinterpret_cast<char*>(header_.data()), header_.size()}) !=
        static_cast<std::int64_t>(kHeaderCopySize)) {
        Release();
        Report(DbfError::HeaderUnreadable);
        return false;
    }
    if (!ReadHeaderAndFields()) {
        Release();
        Report(DbfError::InconsistentHeader);
        return false;
    }
    record_.assign(RecordLength(), kBlank);
    dirty_ = false;
    recNo_ = 0;
    return true;
}

bool tDBF::OpenSame(const tDBF& other) {
    Close();
    writeFailed_ = false;
    if (!file_.OpenSame(other.file_)) {
        Release();
        Report(DbfError::CannotOpen);
        return false;
    }
    path_ = other.path_;
    header_ = other.header_;
    headerCount_ = other.headerCount_;
    languageDriver_ = other.languageDriver_;
    fields_ = other.fields_;
    record_.assign(RecordLength(), kBlank);
    dirty_ = false;
    recNo_ = 0;
    return true;
}

// Checks every number of the header against the others and against the file's size before
// anything is sized by it, and fills the field table.
bool tDBF::ReadHeaderAndFields() {
    const std::uint64_t fileSize = file_.Size();
    const std::uint16_t headerLength = HeaderLength();
    const std::uint16_t recordLength = RecordLength();
    if (headerLength < kMinHeaderLength || headerLength > fileSize || recordLength == 0) {
        return false;
    }
    std::vector<unsigned char> header(headerLength);
    if (file_.ReadAt(0, {reinterpret_cast<char*>(header.data()), header.size()}) !=
        static_cast<std::int64_t>(header.size())) {
        return false;
    }
    // The descriptors end at the terminator, or where the header ends: other tools leave zero
    // bytes after the terminator. Every descriptor read lies inside the header.
    languageDriver_ = header[dbf_layout::kLanguageDriver];
    const std::size_t room = headerLength / dbf_layout::kDescriptorSize - 1;
    fields_.clear();
    fields_.reserve(room);
    std::uint32_t offset = 1;
    for (std::size_t i = 0; i < room; ++i) {
        const unsigned char* descriptor =
            header.data() + dbf_layout::kHeaderSize + dbf_layout::kDescriptorSize * i;
        if (descriptor[0] == dbf_layout::kHeaderTerminator) {
            break;
        }
        FieldInfo& field = fields_.emplace_back();
        const unsigned char* name = descriptor + dbf_layout::kFieldName;
        std::size_t nameLength = 0;
        while (nameLength < dbf_layout::kFieldNameLength && name[nameLength] != 0) {
            field.name[nameLength] = static_cast<char>(name[nameLength]);
            ++nameLength;
        }
        field.type = static_cast<char>(descriptor[dbf_layout::kFieldType]);
        field.length = descriptor[dbf_layout::kFieldLength];
        field.decimals = descriptor[dbf_layout::kFieldDecimals];
        field.offset = static_cast<std::uint16_t>(offset);  // at most the record length
        if (field.length == 0) {
            return false;
        }
        offset += field.length;
        if (offset > recordLength) {
            return false;
        }
    }
    return CountRecordsInFile(fileSize);
}

// The records are the whole records that lie in the file, whatever the header counts: an
// interrupted append leaves its record before the count, a damaged count claims records that
// are not there. Where the count and the file's size agree (with or without the end marker)
// nothing is read; otherwise every record is checked for its deletion flag, and the first
// that has none (the end marker, or what follows it) ends the table.
bool tDBF::CountRecordsInFile(std::uint64_t fileSize) {
    const std::uint16_t headerLength = HeaderLength();
    const std::uint16_t recordLength = RecordLength();
    const std::uint64_t available = fileSize - headerLength;
    const std::uint64_t counted = RecordCount();
    headerCount_ = static_cast<std::uint32_t>(counted);
    const std::uint64_t expected = counted * recordLength;
    if (available == expected) {
        return true;
    }
    char last = 0;
    if (available == expected + 1 && file_.ReadAt(fileSize - 1, {&last, 1}) == 1 &&
        last == kEndOfFile) {
        return true;
    }
    const std::uint64_t whole = std::min<std::uint64_t>(available / recordLength,
                                                        std::numeric_limits<std::uint32_t>::max());
    // Within a count that the file holds, the records are trusted; beyond it, or within a
    // count too large, each must show a deletion flag.
    std::uint64_t records = counted <= whole ? counted : 0;
    // The records are read in blocks of at most a megabyte, whatever their length.
    std::vector<char> block;
    const std::uint64_t blockRecords = std::max<std::uint64_t>(1, (1u << 20) / recordLength);
    while (records < whole) {
        const std::uint64_t chunk = std::min(blockRecords, whole - records);
        block.resize(static_cast<std::size_t>(chunk * recordLength));
        if (file_.ReadAt(RecordOffset(records), block) != static_cast<std::int64_t>(block.size())) {
            return false;
        }
        std::uint64_t flagged = 0;
        while (flagged < chunk) {
            const char flag = block[static_cast<std::size_t>(flagged * recordLength)];
            if (flag != kBlank && flag != kDeletedFlag) {
                break;
            }
            ++flagged;
        }
        records += flagged;
        if (flagged < chunk) {
            break;
        }
    }
    SetRecordCount(static_cast<std::uint32_t>(records));
    return true;
}

void tDBF::Release() {
    writer_.reset();
    file_.Close();
    path_ = FilePath();
    record_.clear();
    record_.shrink_to_fit();
    fields_.clear();
    header_.fill(0);
    headerCount_ = 0;
    languageDriver_ = 0;
    dirty_ = false;
    recNo_ = 0;
    window_.clear();
    windowValid_ = 0;
    writeBehind_ = false;
    headerPending_ = false;
    pending_.clear();
}

void tDBF::Close() {
    if (!IsOpen()) {
        return;
    }
    Flush();
    const bool pendingWritten = WritePending();
    const bool closed = file_.Close();
    Release();
    if (!pendingWritten || !closed) {
        Report(DbfError::WriteFailed);
    }
}

void tDBF::Flush() {
    if (!IsOpen()) {
        dirty_ = false;
        return;
    }
    if (!dirty_) {
        return;
    }
    if (!WriteAt(RecordOffset(recNo_), record_)) {
        Report(DbfError::WriteFailed);
        return;
    }
    dirty_ = false;
}

bool tDBF::GoTo(std::uint32_t index) {
    if (!IsOpen()) {
        return false;
    }
    if (dirty_) {
        Flush();
    }
    recNo_ = index;
    if (index > RecordCount()) {
        Report(DbfError::RecordOutOfRange);
        return false;
    }
    if (index < RecordCount() && !ReadRecord(RecordOffset(index))) {
        Report(DbfError::RecordUnreadable);
        return false;
    }
    return true;
}

bool tDBF::FillWindow(std::uint64_t offset) {
    const std::size_t length = record_.size();
    if (writeBehind_ && (!pending_.empty() || writer_)) {
        if (!WritePending()) {
            Report(DbfError::WriteFailed);
        }
    }
    const bool inWindow =
        offset >= windowOffset_ && offset + length <= windowOffset_ + windowValid_;
    if (!inWindow) {
        window_.resize(std::max(kWindowSize, length));
        const std::int64_t got = file_.ReadAt(offset, window_);
        windowOffset_ = offset;
        windowValid_ = got > 0 ? static_cast<std::uint64_t>(got) : 0;
        if (got < 0) {
            return false;
        }
    }
    return true;
}

void tDBF::CopyFromWindow(std::uint64_t offset, std::span<char> out) const {
    // What the file does not hold of the record reads as blanks.
    const std::uint64_t start = offset - windowOffset_;
    const std::size_t present =
        start < windowValid_
            ? static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), windowValid_ - start))
            : 0;
    if (present > 0) {
        std::copy_n(window_.data() + start, present, out.data());
    }
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(present), out.end(), kBlank);
}

bool tDBF::ReadRecord(std::uint64_t offset) {
    if (!FillWindow(offset)) {
        // A record that could not be read is no record of blanks: the caller learns it.
        std::fill(record_.begin(), record_.end(), kBlank);
        return false;
    }
    CopyFromWindow(offset, record_);
    return true;
}

std::span<const char> tDBF::PeekRecord(std::uint32_t index) {
    if (!IsOpen()) {
        return {};
    }
    if (index >= RecordCount()) {
        Report(DbfError::RecordOutOfRange);
        return {};
    }
    // A changed current record is written first, so the window holds it as changed.
    if (dirty_) {
        Flush();
    }
    const std::uint64_t offset = RecordOffset(index);
    if (!FillWindow(offset)) {
        Report(DbfError::RecordUnreadable);
        return {};
    }
    const std::uint64_t start = offset - windowOffset_;
    if (start + record_.size() <= windowValid_) {
        return {window_.data() + start, record_.size()};
    }
    // The file ends within the record (it shrank after it was opened): a copy, blank filled.
    peeked_.resize(record_.size());
    CopyFromWindow(offset, peeked_);
    return peeked_;
}

bool tDBF::Eof() const {
    return recNo_ >= RecordCount();
}

bool tDBF::AppendBlank() {
    if (!IsOpen()) {
        return false;
    }
    if (dirty_) {
        Flush();
        if (dirty_) {
            return false;  // the record before could not be written
        }
    }
    const std::uint32_t count = RecordCount();
    if (count == std::numeric_limits<std::uint32_t>::max()) {
        Report(DbfError::WriteFailed);
        return false;
    }
    std::fill(record_.begin(), record_.end(), kBlank);
    const std::uint64_t offset = RecordOffset(count);
    if (writeBehind_) {
        // The record goes out with the next flush, fields and all; the end marker goes after
        // the last record when the pending bytes are written.
        recNo_ = count;
        dirty_ = true;
        SetRecordCount(count + 1);
        headerPending_ = true;
        return true;
    }
    if (!WriteAt(offset, record_)) {
        Report(DbfError::WriteFailed);
        return false;
    }
    // A lost end marker is harmless: the record count says where the records end.
    const char marker = kEndOfFile;
    WriteAt(offset + record_.size(), {&marker, 1});
    recNo_ = count;
    SetRecordCount(count + 1);
    if (!WriteHeader()) {
        Report(DbfError::WriteFailed);
    }
    return true;
}

std::uint32_t tDBF::RecordCount() const {
    return ReadLE32(header_.data() + dbf_layout::kRecordCount);
}
std::uint16_t tDBF::HeaderLength() const {
    return ReadLE16(header_.data() + dbf_layout::kHeaderLength);
}
std::uint16_t tDBF::RecordLength() const {
    return ReadLE16(header_.data() + dbf_layout::kRecordLength);
}

int tDBF::FieldCount() const {
    return IsOpen() ? static_cast<int>(fields_.size()) : 0;
}

void tDBF::SetRecordCount(std::uint32_t count) {
    WriteLE32(header_.data() + dbf_layout::kRecordCount, count);
}

std::uint64_t tDBF::RecordOffset(std::uint64_t index) const {
    return HeaderLength() + index * RecordLength();
}

bool tDBF::ValidField(int index) const {
    return IsOpen() && index >= 0 && static_cast<std::size_t>(index) < fields_.size();
}

bool tDBF::HasCurrentRecord() const {
    return IsOpen() && recNo_ < RecordCount();
}

int tDBF::FieldIndex(std::string_view name) {
    if (!IsOpen()) {
        return -1;
    }
    for (int i = static_cast<int>(fields_.size()) - 1; i >= 0; --i) {
        if (FieldName(i) == name) {
            return i;
        }
    }
    if (lastError_ == DbfError::None) {
        Report(DbfError::NoSuchField);
    }
    return -1;
}

std::string_view tDBF::FieldName(int index) const {
    if (!ValidField(index)) {
        return {};
    }
    return fields_[static_cast<std::size_t>(index)].name.data();
}

char tDBF::FieldType(int index) const {
    return ValidField(index) ? fields_[static_cast<std::size_t>(index)].type : 'U';
}

int tDBF::FieldLength(int index) const {
    return ValidField(index) ? fields_[static_cast<std::size_t>(index)].length : 0;
}

int tDBF::FieldDecimals(int index) const {
    return ValidField(index) ? fields_[static_cast<std::size_t>(index)].decimals : 0;
}

int tDBF::GetField(int index, std::span<char> out) {
    if (!out.empty()) {
        out[0] = '\0';
    }
    if (!IsOpen()) {
        return 0;
    }
    if (!ValidField(index) || !HasCurrentRecord()) {
        Report(DbfError::NoCurrentField);
        return 0;
    }
    if (out.empty()) {
        return 0;
    }
    const FieldInfo& field = fields_[static_cast<std::size_t>(index)];
    const char* bytes = record_.data() + field.offset;
    std::size_t length = LengthWithoutTrailingBlanks({bytes, field.length});
    length = std::min(length, out.size() - 1);
    std::copy_n(bytes, length, out.data());
    out[length] = '\0';
    return static_cast<int>(length);
}

std::span<const char> tDBF::RecordBytes() const {
    return HasCurrentRecord() ? std::span<const char>(record_) : std::span<const char>();
}

int tDBF::FieldOffset(int index) const {
    return ValidField(index) ? fields_[static_cast<std::size_t>(index)].offset : 0;
}

std::span<char> tDBF::AppendBlankRecord() {
    if (!AppendBlank()) {
        return {};
    }
    dirty_ = true;
    return record_;
}

int tDBF::PutField(int index, std::string_view text) {
    if (!ValidField(index) || !HasCurrentRecord()) {
        return 0;
    }
    const FieldInfo& field = fields_[static_cast<std::size_t>(index)];
    const std::size_t length =
        std::min({text.size(), text.find('\0'), static_cast<std::size_t>(field.length)});
    char* bytes = record_.data() + field.offset;
    std::copy_n(text.data(), length, bytes);
    std::fill(bytes + length, bytes + field.length, kBlank);
    dirty_ = true;
    return field.length;
}

void tDBF::Delete() {
    if (HasCurrentRecord() && record_[0] != kDeletedFlag) {
        record_[0] = kDeletedFlag;
        dirty_ = true;
    }
}

void tDBF::Recall() {
    if (HasCurrentRecord() && record_[0] != kBlank) {
        record_[0] = kBlank;
        dirty_ = true;
    }
}

bool tDBF::Deleted() const {
    return HasCurrentRecord() && record_[0] != kBlank;
}

bool tDBF::Pack() {
    if (!IsOpen()) {
        return false;
    }
    Flush();
    if (!WritePending()) {
        Report(DbfError::WriteFailed);
        return false;
    }
    std::vector<char> header(HeaderLength());
    if (file_.ReadAt(0, header) != static_cast<std::int64_t>(header.size())) {
        Report(DbfError::HeaderReadFailed);
        return false;
    }
    // The packed file is the path with its last character made "_"; for a path that ends in
    // "_" already, that would be the table itself, so one more "_" is added instead.
    std::string packedName = path_.Bytes();
    if (packedName.back() == '_') {
        packedName += '_';
    } else {
        packedName.back() = '_';
    }
    const FilePath packedPath(packedName);
    File packed;
    if (!packed.Create(packedPath)) {
        Report(DbfError::CannotOpen);
        return false;
    }
    if (const auto permissions = PermissionsOf(path_)) {
        // Best effort: a packed table that could not take the old permissions is still whole.
        static_cast<void>(packed.SetPermissions(*permissions));
    }
    std::uint32_t kept = 0;
    unsigned char count[4];
    const char marker = kEndOfFile;
    bool written = packed.WriteAt(0, header) && CopyLiveRecords(packed, kept);
    WriteLE32(count, kept);
    written = written && packed.WriteAt(RecordOffset(kept), {&marker, 1}) &&
              packed.WriteAt(4, AsChars(count, sizeof count)) && packed.Sync();
    written = packed.Close() && written;
    if (!written) {
        Report(DbfError::WriteFailed);
        return false;
    }
    const FilePath path = path_;
    Close();
    if (!RenameFile(packedPath, path)) {
        RemoveFile(packedPath);
        // The old table is still whole: open it again so the caller can go on with it.
        static_cast<void>(Open(path));
        Report(DbfError::WriteFailed);
        return false;
    }
    return Open(path);
}

// Copies every live record, in order, to `target` in blocks; `kept` receives their number.
bool tDBF::CopyLiveRecords(File& target, std::uint32_t& kept) {
    const std::uint32_t total = RecordCount();
    std::vector<char> block;
    block.reserve(kWindowSize + record_.size());
    std::uint64_t blockOffset = HeaderLength();
    for (std::uint32_t index = 0; index < total; ++index) {
        if (!GoTo(index)) {
            return false;
        }
        if (Deleted()) {
            continue;
        }
        block.insert(block.end(), record_.begin(), record_.end());
        ++kept;
        if (block.size() >= kWindowSize) {
            if (!target.WriteAt(blockOffset, block)) {
                return false;
            }
            blockOffset += block.size();
            block.clear();
        }
    }
    return target.WriteAt(blockOffset, block);
}

void tDBF::SetWriteBehind(bool on) {
    if (!on && !WritePending()) {
        Report(DbfError::WriteFailed);
    }
    if (!on) {
        writer_.reset();
    }
    writeBehind_ = on && IsOpen();
}

bool tDBF::Sync() {
    if (!IsOpen()) {
        return false;
    }
    Flush();
    if (dirty_ || !WritePending() || !file_.Sync()) {
        Report(DbfError::WriteFailed);
        return false;
    }
    // A write that failed before, even one that a later write made good, may have left the
    // file short of what it was given.
    return !writeFailed_;
}

bool tDBF::WriteHeader() {
    if (writeBehind_) {
        headerPending_ = true;
        return true;
    }
    return WriteThrough(0, AsChars(header_.data(), header_.size()));
}

bool tDBF::WriteAt(std::uint64_t offset, std::span<const char> data) {
    if (!writeBehind_) {
        return WriteThrough(offset, data);
    }
    const std::uint64_t pendingEnd = pendingOffset_ + pending_.size();
    if (pending_.empty()) {
        pendingOffset_ = offset;
    } else if (offset < pendingOffset_ || offset > pendingEnd) {
        return WritePending() && WriteThrough(offset, data);
    }
    const std::size_t start = static_cast<std::size_t>(offset - pendingOffset_);
    if (pending_.capacity() == 0) {
        pending_.reserve(kPendingLimit + data.size());
    }
    if (start == pending_.size()) {
        pending_.insert(pending_.end(), data.begin(), data.end());  // the usual case: appending
    } else {
        if (start + data.size() > pending_.size()) {
            pending_.resize(start + data.size());
        }
        std::copy_n(data.data(), data.size(), pending_.data() + start);
    }
    return pending_.size() < kPendingLimit || SubmitPendingRecords();
}

// A full buffer goes out alone, written by the block writer while the next one fills; the
// header and the end marker wait for the last records.
bool tDBF::SubmitPendingRecords() {
    if (!writer_) {
        writer_ = BlockWriter::Start(file_);
        if (!writer_) {
            return WritePendingRecords();  // no thread to be had: the table writes itself
        }
    }
    KeepWindowInStep(pendingOffset_, pending_);
    const std::uint64_t offset = pendingOffset_;
    pendingOffset_ += pending_.size();
    return writer_->Submit(offset, pending_);
}

bool tDBF::WaitForWriter() {
    return !writer_ || writer_->Wait();
}

bool tDBF::WritePendingRecords() {
    const bool earlier = WaitForWriter();
    if (pending_.empty()) {
        return earlier;
    }
    const bool written = WriteThrough(pendingOffset_, pending_);
    if (written) {
        // The file is only being filled: its finished part may go to the disk now, which
        // leaves little for the final sync.
        file_.StartWriteback(pendingOffset_, pending_.size());
    }
    pending_.clear();
    return earlier && written;
}

bool tDBF::WritePending() {
    const bool headerPending = std::exchange(headerPending_, false);
    if (headerPending && writeBehind_) {
        // Appends wrote no end marker of their own: it goes out with the last records, so a
        // file filled behind is complete only when the marker is written too.
        const std::uint64_t marker = RecordOffset(RecordCount());
        if (!pending_.empty() && pendingOffset_ + pending_.size() != marker &&
            !WritePendingRecords()) {
            return false;
        }
        if (pending_.empty()) {
            pendingOffset_ = marker;
        }
        pending_.push_back(kEndOfFile);
    }
    if (!WritePendingRecords()) {
        return false;
    }
    return !headerPending || WriteThrough(0, AsChars(header_.data(), header_.size()));
}

// With the block writer, the only place bytes reach the file; it keeps the read-ahead window in
// step with them.
bool tDBF::WriteThrough(std::uint64_t offset, std::span<const char> data) {
    if (!WaitForWriter()) {
        return false;
    }
    if (!file_.WriteAt(offset, data)) {
        return false;
    }
    KeepWindowInStep(offset, data);
    return true;
}

void tDBF::KeepWindowInStep(std::uint64_t offset, std::span<const char> data) {
    const std::uint64_t windowEnd = windowOffset_ + windowValid_;
    const std::uint64_t end = offset + data.size();
    if (offset < windowEnd && end > windowOffset_) {
        const std::uint64_t from = std::max(offset, windowOffset_);
        const std::uint64_t to = std::min(end, windowEnd);
        std::copy_n(data.data() + (from - offset), static_cast<std::size_t>(to - from),
                    window_.data() + (from - windowOffset_));
    }
}

}  // namespace tallyfold
