#include "document/journal.h"

#include <algorithm>
#include <array>
#include <chrono>

#include "table/little_endian.h"

namespace tallyfold {

namespace {

// Journals of the second version hold card texts in UTF-8; those of the first, written before
// the program held Unicode, in Windows-1252. Both are read.
constexpr std::string_view kMagic = "TFJOURNAL2\n";
constexpr std::string_view kMagicWindows1252 = "TFJOURNAL1\n";
// A snapshot of the largest box comes near this; a longer length is a damaged frame.
constexpr std::uint32_t kEntryLimit = 1U << 30;
constexpr std::size_t kReadBlock = 1U << 16;

std::array<std::uint32_t, 256> CrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 1U) != 0 ? 0xEDB88320U ^ (value >> 1) : value >> 1;
        }
        table[i] = value;
    }
    return table;
}

void PutU32(std::string& out, std::uint32_t value) {
    unsigned char bytes[4];
    WriteLE32(bytes, value);
    out.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

std::uint32_t GetU32(std::string_view bytes, std::size_t at) {
    return ReadLE32(reinterpret_cast<const unsigned char*>(bytes.data() + at));
}

std::string Frame(std::string_view payload) {
    std::string framed;
    PutU32(framed, static_cast<std::uint32_t>(payload.size()));
    PutU32(framed, Crc32(payload));
    framed.append(payload);
    return framed;
}

std::string BaseEntry(const JournalBase& base) {
    JournalEntry entry(0);
    entry.Text(base.file)
        .U8(base.identity.exists ? 1 : 0)
        .U64(base.identity.size)
        .U64(static_cast<std::uint64_t>(base.identity.modified))
        .U64(base.identity.sample)
        .U64(static_cast<std::uint64_t>(base.owner.pid))
        .U64(base.owner.start)
        .U64(static_cast<std::uint64_t>(base.created));
    return entry.Bytes();
}

bool ReadBase(std::string_view payload, JournalBase& base) {
    JournalEntryReader reader(payload);
    if (reader.U8() != 0) {
        return false;
    }
    base.file = std::string(reader.Text());
    base.identity.exists = reader.U8() != 0;
    base.identity.size = reader.U64();
    base.identity.modified = static_cast<std::int64_t>(reader.U64());
    base.identity.sample = reader.U64();
    base.owner.pid = static_cast<long>(reader.U64());
    base.owner.start = reader.U64();
    base.created = static_cast<std::int64_t>(reader.U64());
    return reader.Ok() && reader.AtEnd();
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes) {
    static const std::array<std::uint32_t, 256> table = CrcTable();
    std::uint32_t crc = 0xFFFFFFFFU;
    for (const char c : bytes) {
        crc = table[(crc ^ static_cast<unsigned char>(c)) & 0xFFU] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFU;
}

bool JournalReader::Open(const FilePath& path) {
    *this = JournalReader();
    if (!file_.OpenExisting(path)) {
        return false;
    }
    fromFile_ = true;
    size_ = file_.Size();
    return ReadHeader();
}

bool JournalReader::OpenBytes(std::string_view bytes) {
    *this = JournalReader();
    bytes_ = bytes;
    size_ = bytes.size();
    return ReadHeader();
}

bool JournalReader::ReadHeader() {
    std::string bytes;
    if (!ReadAt(0, kMagic.size(), bytes) || (bytes != kMagic && bytes != kMagicWindows1252)) {
        return false;
    }
    texts_ = bytes == kMagic ? JournalTexts::Utf8 : JournalTexts::Windows1252;
    at_ = kMagic.size();
    return ReadFrame(bytes) && ReadBase(bytes, base_);
}

bool JournalReader::Next(std::string& payload) {
    return ReadFrame(payload);
}

bool JournalReader::ReadFrame(std::string& payload) {
    std::string header;
    if (ended_ || !ReadAt(at_, 8, header)) {
        ended_ = true;
        return false;
    }
    const std::uint32_t length = GetU32(header, 0);
    const std::uint32_t crc = GetU32(header, 4);
    // The length is checked against the file before anything of that size is made.
    if (length > kEntryLimit || length > size_ - at_ - 8 || !ReadAt(at_ + 8, length, payload) ||
        Crc32(payload) != crc) {
        ended_ = true;
        return false;
    }
    at_ += 8 + std::uint64_t{length};
    return true;
}

bool JournalReader::ReadAt(std::uint64_t offset, std::size_t count, std::string& out) {
    if (offset > size_ || count > size_ - offset) {
        return false;
    }
    if (!fromFile_) {
        out.assign(bytes_.substr(static_cast<std::size_t>(offset), count));
        return true;
    }
    // Entries are small and read in order: they come out of a block read ahead, not a read of
    // the system's each.
    const bool buffered = offset >= blockStart_ && offset - blockStart_ <= block_.size() &&
                          count <= block_.size() - (offset - blockStart_);
    if (!buffered && count <= kReadBlock) {
        const auto size =
            static_cast<std::size_t>(std::min<std::uint64_t>(kReadBlock, size_ - offset));
        if (!ReadFile(offset, size, block_)) {
            block_.clear();
            return false;
        }
        blockStart_ = offset;
    } else if (!buffered) {
        return ReadFile(offset, count, out);
    }
    out.assign(block_, static_cast<std::size_t>(offset - blockStart_), count);
    return true;
}

bool JournalReader::ReadFile(std::uint64_t offset, std::size_t count, std::string& out) {
    out.resize(count);
    std::size_t got = 0;
    while (got < count) {
        const std::int64_t read =
            file_.ReadAt(offset + got, std::span<char>(out.data() + got, count - got));
        if (read <= 0) {
            return false;
        }
        got += static_cast<std::size_t>(read);
    }
    return true;
}

JournalWriter::~JournalWriter() {
    Close();
}

bool JournalWriter::Create(const FilePath& path, const JournalBase& base) {
    Close();
    // Whatever stands under the name goes, and the journal is made new: a symbolic link planted
    // there would otherwise lead the write into the file it points to.
    RemoveFile(path);
    File file;
    if (!file.CreateNew(path)) {
        return false;
    }
    std::string header(kMagic);
    header += Frame(BaseEntry(base));
    if (!file.WriteAt(0, {header.data(), header.size()}) || !file.Sync()) {
        file.Close();
        RemoveFile(path);
        return false;
    }
    SyncFolderOf(path);
    file_ = std::move(file);
    path_ = path;
    end_ = header.size();
    failed_ = false;
    StartSyncing();
    return true;
}

bool JournalWriter::Continue(const FilePath& path, std::uint64_t validBytes) {
    Close();
    File file;
    if (!file.OpenExisting(path) || !file.IsWritable() || !file.Truncate(validBytes)) {
        return false;
    }
    file_ = std::move(file);
    path_ = path;
    end_ = validBytes;
    failed_ = false;
    StartSyncing();
    return true;
}

void JournalWriter::Add(std::string_view payload) {
    if (file_.IsOpen()) {
        pending_ += Frame(payload);
        // An import of a million cards is written as it goes, not held whole.
        if (pending_.size() >= (1U << 20)) {
            Write();
        }
    }
}

void JournalWriter::Write() {
    if (pending_.empty() || !file_.IsOpen()) {
        return;
    }
    if (!file_.WriteAt(end_, {pending_.data(), pending_.size()})) {
        // What could not be written is lost to the journal, not to the box; the next save
        // keeps it. Later entries would not fit the earlier ones, so none are written.
        failed_ = true;
        StopSyncing();
        file_.Close();
        pending_.clear();
        return;
    }
    end_ += pending_.size();
    pending_.clear();
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        dirty_ = true;
    }
    wake_.notify_one();
}

void JournalWriter::StartSyncing() {
    stopping_ = false;
    dirty_ = false;
    syncer_ = std::thread([this] { SyncLoop(); });
}

void JournalWriter::StopSyncing() {
    if (!syncer_.joinable()) {
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    syncer_.join();
}

void JournalWriter::SyncLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return dirty_ || stopping_; });
        if (stopping_) {
            return;
        }
        // Changes that come close together are forced to the disk together, at most a
        // second after the first of them.
        wake_.wait_for(lock, std::chrono::milliseconds(500), [this] { return stopping_; });
        dirty_ = false;
        lock.unlock();
        static_cast<void>(file_.SyncBeside());
        lock.lock();
    }
}

void JournalWriter::Close() {
    if (!file_.IsOpen()) {
        StopSyncing();
        return;
    }
    Write();
    StopSyncing();
    if (file_.IsOpen()) {
        static_cast<void>(file_.Sync());
        file_.Close();
    }
}

void JournalWriter::Remove() {
    // What goes need not reach the disk first.
    pending_.clear();
    StopSyncing();
    file_.Close();
    if (!path_.IsEmpty()) {
        RemoveFile(path_);
        path_ = FilePath();
    }
}

JournalEntry& JournalEntry::U8(std::uint8_t value) {
    bytes_.push_back(static_cast<char>(value));
    return *this;
}

JournalEntry& JournalEntry::I32(std::int32_t value) {
    PutU32(bytes_, static_cast<std::uint32_t>(value));
    return *this;
}

JournalEntry& JournalEntry::U64(std::uint64_t value) {
    PutU32(bytes_, static_cast<std::uint32_t>(value & 0xFFFFFFFFU));
    PutU32(bytes_, static_cast<std::uint32_t>(value >> 32));
    return *this;
}

JournalEntry& JournalEntry::Text(std::string_view text) {
    PutU32(bytes_, static_cast<std::uint32_t>(text.size()));
    bytes_.append(text);
    return *this;
}

JournalEntry& JournalEntry::Raw(std::string_view bytes) {
    bytes_.append(bytes);
    return *this;
}

bool JournalEntryReader::Take(std::size_t count) {
    if (!ok_ || bytes_.size() - position_ < count) {
        ok_ = false;
        return false;
    }
    return true;
}

std::uint8_t JournalEntryReader::U8() {
    if (!Take(1)) {
        return 0;
    }
    return static_cast<std::uint8_t>(bytes_[position_++]);
}

std::int32_t JournalEntryReader::I32() {
    if (!Take(4)) {
        return 0;
    }
    const std::uint32_t value = GetU32(bytes_, position_);
    position_ += 4;
    return static_cast<std::int32_t>(value);
}

std::uint64_t JournalEntryReader::U64() {
    if (!Take(8)) {
        return 0;
    }
    const std::uint64_t low = GetU32(bytes_, position_);
    const std::uint64_t high = GetU32(bytes_, position_ + 4);
    position_ += 8;
    return low | (high << 32);
}

std::string_view JournalEntryReader::Text() {
    const auto length = static_cast<std::uint32_t>(I32());
    if (!Take(length)) {
        return {};
    }
    const std::string_view text = bytes_.substr(position_, length);
    position_ += length;
    return text;
}

std::string_view JournalEntryReader::TakeRest() {
    const std::string_view rest = Rest();
    position_ = bytes_.size();
    return rest;
}

}  // namespace tallyfold
