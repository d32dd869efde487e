#include "table/file_io.h"

// The file layer on Windows: handles from CreateFileW, positioned ReadFile and WriteFile,
// FlushFileBuffers, and MoveFileExW for the step that puts a finished file in place. Paths
// are UTF-8 inside the program and UTF-16 here.

#include <windows.h>

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "table/fault_hook.h"
#include "table/wide_text.h"

namespace tallyfold {

namespace {

HANDLE Native(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::intptr_t Held(HANDLE handle) {
    return reinterpret_cast<std::intptr_t>(handle);
}

bool Refused(FileOperation operation) {
    if (HookRefuses(operation)) {
        ::SetLastError(ERROR_WRITE_FAULT);
        return true;
    }
    return false;
}

// Others may read and write the file meanwhile, as on POSIX systems, and may rename or delete
// it: a save replaces the very file the program holds open.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE OpenWide(const FilePath& path, DWORD access, DWORD disposition) {
    const std::wstring wide = WidePath(path);
    if (wide.empty()) {
        ::SetLastError(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    return ::CreateFileW(wide.c_str(), access, kShareAll, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

// How long a rename waits for a file that someone holds open for a moment.
constexpr int kRenameAttempts = 20;
constexpr DWORD kRenamePauseMs = 50;

// One ReadFile or WriteFile moves at most a DWORD's worth; a gigabyte keeps clear of it.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xffffffffULL);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

std::optional<BY_HANDLE_FILE_INFORMATION> InformationOf(const FilePath& path) {
    const std::wstring wide = WidePath(path);
    if (wide.empty()) {
        return std::nullopt;
    }
    // Backup semantics let the handle name a folder as well; no access is asked for.
    const HANDLE handle = ::CreateFileW(wide.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = ::GetFileInformationByHandle(handle, &information) != 0;
    ::CloseHandle(handle);
    if (!known) {
        return std::nullopt;
    }
    return information;
}

// FILETIME counts 100 ns from 1601; the program counts nanoseconds from 1970.
std::int64_t NanosecondsSince1970(const FILETIME& time) {
    constexpr std::int64_t kUnitsFrom1601To1970 = 116444736000000000LL;
    const auto units = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    return (units - kUnitsFrom1601To1970) * 100;
}

}  // namespace

bool File::OpenExisting(const FilePath& path) {
    Close();
    if (Refused(FileOperation::Open)) {
        return false;
    }
    HANDLE handle = OpenWide(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    bool writable = true;
    // A read-only file, or one the user may only read, is still opened for reading.
    if (handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED) {
        handle = OpenWide(path, GENERIC_READ, OPEN_EXISTING);
        writable = false;
    }
    return Adopt(Held(handle), writable);
}

bool File::OpenSame(const File& other) {
    Close();
    if (!other.IsOpen() || Refused(FileOperation::Open)) {
        return false;
    }
    // A file object of its own on the same file: a duplicated handle would share the other's
    // file object, and with it one lock that lets its reads through one at a time.
    const HANDLE handle = ::ReOpenFile(Native(other.handle_), GENERIC_READ, kShareAll, 0);
    return Adopt(Held(handle), false);
}

bool File::Create(const FilePath& path) {
    Close();
    if (Refused(FileOperation::Create)) {
        return false;
    }
    // Opened, then emptied: CREATE_ALWAYS refuses a file that is hidden or a system file
    // unless it is asked to give the new one the same attributes.
    if (!Adopt(Held(OpenWide(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS)), true)) {
        return false;
    }
    FILE_END_OF_FILE_INFO empty{};
    if (!::SetFileInformationByHandle(Native(handle_), FileEndOfFileInfo, &empty, sizeof empty)) {
        Close();
        return false;
    }
    return true;
}

bool File::CreateNew(const FilePath& path) {
    Close();
    if (Refused(FileOperation::Create)) {
        return false;
    }
    return Adopt(Held(OpenWide(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW)), true);
}

// Takes an opened handle if it is a file on a disk; consoles, pipes and devices are no tables
// (a folder cannot be opened without backup semantics at all).
bool File::Adopt(std::intptr_t handle, bool writable) {
    const HANDLE native = Native(handle);
    if (native == INVALID_HANDLE_VALUE || native == nullptr) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (::GetFileType(native) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandle(native, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ::CloseHandle(native);
        return false;
    }
    handle_ = handle;
    writable_ = writable;
    return true;
}

// Windows files carry no permission bits: who may do what is the access list, which a new
// file inherits from its folder. What a file keeps of its own are its attributes, and those a
// user sets (hidden, system, not indexed) are what a replacement carries over. Read-only is
// left out: the replacement is still to be written.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool File::SetPermissions(unsigned mode) {
    if (!IsOpen()) {
        return false;
    }
    FILE_BASIC_INFO basic{};
    if (!::GetFileInformationByHandleEx(Native(handle_), FileBasicInfo, &basic, sizeof basic)) {
        return false;
    }
    const DWORD kept = static_cast<DWORD>(mode) & kKeptAttributes;
    const DWORD attributes = (basic.FileAttributes & ~kKeptAttributes) | kept;
    if (attributes == basic.FileAttributes) {
        return true;
    }
    basic.FileAttributes = attributes;
    // Zero times leave the file's times as they are.
    basic.CreationTime.QuadPart = 0;
    basic.LastAccessTime.QuadPart = 0;
    basic.LastWriteTime.QuadPart = 0;
    basic.ChangeTime.QuadPart = 0;
    return ::SetFileInformationByHandle(Native(handle_), FileBasicInfo, &basic, sizeof basic) != 0;
}

bool File::SetOwnerOf(const FilePath& /*other*/) {
    return IsOpen();
}

std::uint64_t File::Size() const {
    LARGE_INTEGER size{};
    if (!IsOpen() || !::GetFileSizeEx(Native(handle_), &size) || size.QuadPart < 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::int64_t File::ReadAt(std::uint64_t offset, std::span<char> out) {
    if (!IsOpen() || Refused(FileOperation::Read)) {
        return -1;
    }
    std::size_t done = 0;
    while (done < out.size()) {
        const auto chunk = static_cast<DWORD>(std::min(out.size() - done, kMaxTransfer));
        OVERLAPPED at = At(offset + done);
        DWORD got = 0;
        if (!::ReadFile(Native(handle_), out.data() + done, chunk, &got, &at)) {
            if (::GetLastError() == ERROR_HANDLE_EOF) {
                break;
            }
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return static_cast<std::int64_t>(done);
}

bool File::WriteAt(std::uint64_t offset, std::span<const char> data) {
    if (!IsOpen() || !writable_ || Refused(FileOperation::Write)) {
        return false;
    }
    std::size_t done = 0;
    while (done < data.size()) {
        const auto chunk = static_cast<DWORD>(std::min(data.size() - done, kMaxTransfer));
        OVERLAPPED at = At(offset + done);
        DWORD put = 0;
        if (!::WriteFile(Native(handle_), data.data() + done, chunk, &put, &at) || put == 0) {
            return false;
        }
        done += put;
    }
    return true;
}

bool File::Sync() {
    if (!IsOpen() || Refused(FileOperation::Sync)) {
        return false;
    }
    return ::FlushFileBuffers(Native(handle_)) != 0;
}

bool File::SyncBeside() {
    return IsOpen() && ::FlushFileBuffers(Native(handle_)) != 0;
}

// Windows has no writeback hints that a program may give; the flush of `Sync` does it all.
void File::StartWriteback(std::uint64_t /*offset*/, std::uint64_t /*length*/) {}

void File::ReleaseWritten(std::uint64_t /*offset*/, std::uint64_t /*length*/) {}

bool File::Truncate(std::uint64_t size) {
    if (!IsOpen() || Refused(FileOperation::Write) ||
        size > static_cast<std::uint64_t>(std::numeric_limits<LONGLONG>::max())) {
        return false;
    }
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    return ::SetFileInformationByHandle(Native(handle_), FileEndOfFileInfo, &end, sizeof end) != 0;
}

bool File::Close() {
    if (!IsOpen()) {
        return true;
    }
    const HANDLE handle = Native(std::exchange(handle_, kNoHandle));
    writable_ = false;
    const bool refused = Refused(FileOperation::Close);
    const bool closed = ::CloseHandle(handle) != 0;
    return closed && !refused;
}

bool RenameFile(const FilePath& from, const FilePath& to) {
    if (Refused(FileOperation::Rename)) {
        return false;
    }
    const std::wstring source = WidePath(from);
    const std::wstring target = WidePath(to);
    if (source.empty() || target.empty()) {
        return false;
    }
    // Only a file is ever replaced, never a folder of that name.
    const DWORD existing = ::GetFileAttributesW(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    // One rename, which replaces a file in the way as a whole: whenever the process ends, the
    // name holds the old file or the new one. (ReplaceFileW is a sequence of steps: a save
    // ended between Wine's left no file under the name that could be opened.) Write-through
    // returns only once the move is on the disk.
    //
    // The move fails while anyone holds the old file open, and the old file is then left as
    // it was. Virus scanners and the search indexer open files for a moment after each
    // change, so a refusal is tried again for a second before it counts.
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExW(source.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = ::GetLastError();
        const bool held = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                          error == ERROR_LOCK_VIOLATION;
        if (!held || attempt == kRenameAttempts - 1) {
            return false;
        }
        ::Sleep(kRenamePauseMs);
    }
}

bool LinkFile(const FilePath& existing, const FilePath& name) {
    const std::wstring target = WidePath(existing);
    const std::wstring link = WidePath(name);
    return !target.empty() && !link.empty() &&
           ::CreateHardLinkW(link.c_str(), target.c_str(), nullptr) != 0;
}

bool RemoveFile(const FilePath& path) {
    if (Refused(FileOperation::Remove)) {
        return false;
    }
    const std::wstring wide = WidePath(path);
    return !wide.empty() && ::DeleteFileW(wide.c_str()) != 0;
}

// MOVEFILE_WRITE_THROUGH leaves no folder entry to force.
void SyncFolderOf(const FilePath& /*path*/) {}

// On Windows, the file's attributes (FILE_ATTRIBUTE_...).
std::optional<unsigned> PermissionsOf(const FilePath& path) {
    const std::wstring wide = WidePath(path);
    const DWORD attributes =
        wide.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    return static_cast<unsigned>(attributes);
}

std::optional<FileStatus> StatusOf(const FilePath& path) {
    const std::optional<BY_HANDLE_FILE_INFORMATION> information = InformationOf(path);
    if (!information) {
        return std::nullopt;
    }
    FileStatus status;
    status.regular =
        (information->dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
    status.size =
        (static_cast<std::uint64_t>(information->nFileSizeHigh) << 32) | information->nFileSizeLow;
    status.modifiedNs = NanosecondsSince1970(information->ftLastWriteTime);
    status.volume = information->dwVolumeSerialNumber;
    status.index = (static_cast<std::uint64_t>(information->nFileIndexHigh) << 32) |
                   information->nFileIndexLow;
    return status;
}

bool IsRegularFile(const FilePath& path) {
    const std::optional<FileStatus> status = StatusOf(path);
    return status && status->regular;
}

unsigned LinkCount(const FilePath& path) {
    const std::optional<BY_HANDLE_FILE_INFORMATION> information = InformationOf(path);
    return information ? static_cast<unsigned>(information->nNumberOfLinks) : 0;
}

// Windows tells whether a folder takes new files only by its access list, and the sure
// answer is to try: a file that is deleted as its handle closes.
bool FolderIsWritable(const FilePath& folder) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        const FilePath probe =
            folder.Child(".tallyfold-probe-" + std::to_string(::GetCurrentProcessId()) + "-" +
                         std::to_string(attempt));
        const std::wstring wide = WidePath(probe);
        if (wide.empty()) {
            return false;
        }
        const HANDLE handle =
            ::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle);
            return true;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) {
            return false;
        }
    }
    return false;
}

// Symbolic links are rare on Windows and need rights to make; a save through one replaces
// the link itself, as other Windows programs do.
FilePath ResolveLinks(const FilePath& path) {
    return path;
}

}  // namespace tallyfold
