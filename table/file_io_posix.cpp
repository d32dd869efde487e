#include "table/file_io.h"

// The file layer on POSIX systems: descriptors, pread and pwrite, rename.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "table/fault_hook.h"

namespace tallyfold {

namespace {

bool Refused(FileOperation operation) {
    if (HookRefuses(operation)) {
        errno = EIO;
        return true;
    }
    return false;
}

int OpenRetrying(const char* path, int flags, unsigned mode = 0) {
    int fd = -1;
    do {
        fd = ::open(path, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// The descriptor a `File` holds in its handle.
int Fd(std::intptr_t handle) {
    return static_cast<int>(handle);
}

bool IsRegular(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

bool File::OpenExisting(const FilePath& path) {
    Close();
    if (Refused(FileOperation::Open)) {
        return false;
    }
    // Without O_NONBLOCK, opening a FIFO for reading waits for a writer, for ever if none
    // comes; with it the open returns at once, and `Adopt` refuses what is no regular file.
    int fd = OpenRetrying(path.CString(), O_RDWR | O_NONBLOCK);
    bool writable = true;
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        fd = OpenRetrying(path.CString(), O_RDONLY | O_NONBLOCK);
        writable = false;
    }
    if (!Adopt(fd, writable)) {
        return false;
    }
    // A regular file is read and written as always: blocking, and completely.
    const int flags = ::fcntl(Fd(handle_), F_GETFL);
    if (flags < 0 || ::fcntl(Fd(handle_), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        Close();
        return false;
    }
    return true;
}

bool File::OpenSame(const File& other) {
    Close();
    if (!other.IsOpen() || Refused(FileOperation::Open)) {
        return false;
    }
    const int fd = ::fcntl(Fd(other.handle_), F_DUPFD_CLOEXEC, 0);
    return Adopt(fd, false);
}

bool File::Create(const FilePath& path) {
    Close();
    if (Refused(FileOperation::Create)) {
        return false;
    }
    return Adopt(OpenRetrying(path.CString(), O_RDWR | O_CREAT | O_TRUNC, 0666), true);
}

bool File::CreateNew(const FilePath& path) {
    Close();
    if (Refused(FileOperation::Create)) {
        return false;
    }
    return Adopt(OpenRetrying(path.CString(), O_RDWR | O_CREAT | O_EXCL, 0666), true);
}

// Takes an opened descriptor if it is a regular file; folders and devices are no tables.
bool File::Adopt(std::intptr_t handle, bool writable) {
    const int fd = Fd(handle);
    if (fd < 0) {
        return false;
    }
    if (!IsRegular(fd)) {
        ::close(fd);
        return false;
    }
    handle_ = fd;
    writable_ = writable;
    return true;
}

bool File::SetPermissions(unsigned mode) {
    return IsOpen() && ::fchmod(Fd(handle_), static_cast<mode_t>(mode)) == 0;
}

std::uint64_t File::Size() const {
    struct stat info {};
    if (!IsOpen() || ::fstat(Fd(handle_), &info) != 0 || info.st_size < 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

std::int64_t File::ReadAt(std::uint64_t offset, std::span<char> out) {
    if (!IsOpen() || Refused(FileOperation::Read)) {
        return -1;
    }
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got = ::pread(Fd(handle_), out.data() + done, out.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<std::int64_t>(done);
}

bool File::WriteAt(std::uint64_t offset, std::span<const char> data) {
    if (!IsOpen() || !writable_ || Refused(FileOperation::Write)) {
        return false;
    }
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t put = ::pwrite(Fd(handle_), data.data() + done, data.size() - done,
                                     static_cast<off_t>(offset + done));
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool File::Sync() {
    if (!IsOpen() || Refused(FileOperation::Sync)) {
        return false;
    }
    return ::fsync(Fd(handle_)) == 0;
}

bool File::SyncBeside() {
    return IsOpen() && ::fdatasync(Fd(handle_)) == 0;
}

void File::StartWriteback(std::uint64_t offset, std::uint64_t length) {
#if defined(__linux__)
    if (IsOpen()) {
        static_cast<void>(::sync_file_range(Fd(handle_), static_cast<off_t>(offset),
                                            static_cast<off_t>(length), SYNC_FILE_RANGE_WRITE));
    }
#else
    static_cast<void>(offset);
    static_cast<void>(length);
#endif
}

void File::ReleaseWritten(std::uint64_t offset, std::uint64_t length) {
#if defined(__linux__)
    if (IsOpen()) {
        static_cast<void>(::sync_file_range(
            Fd(handle_), static_cast<off_t>(offset), static_cast<off_t>(length),
            SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER));
        static_cast<void>(::posix_fadvise(Fd(handle_), static_cast<off_t>(offset),
                                          static_cast<off_t>(length), POSIX_FADV_DONTNEED));
    }
#else
    static_cast<void>(offset);
    static_cast<void>(length);
#endif
}

bool File::Truncate(std::uint64_t size) {
    if (!IsOpen() || Refused(FileOperation::Write)) {
        return false;
    }
    int result = -1;
    do {
        result = ::ftruncate(Fd(handle_), static_cast<off_t>(size));
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

bool File::SetOwnerOf(const FilePath& other) {
    struct stat info {};
    if (!IsOpen() || ::stat(other.CString(), &info) != 0) {
        return false;
    }
    return ::fchown(Fd(handle_), info.st_uid, info.st_gid) == 0 ||
           ::fchown(Fd(handle_), static_cast<uid_t>(-1), info.st_gid) == 0;
}

bool File::Close() {
    if (!IsOpen()) {
        return true;
    }
    const int fd = Fd(std::exchange(handle_, kNoHandle));
    writable_ = false;
    const bool refused = Refused(FileOperation::Close);
    // The descriptor is released even when a failure is reported: retrying close is unsafe.
    const bool closed = ::close(fd) == 0;
    return closed && !refused;
}

bool RenameFile(const FilePath& from, const FilePath& to) {
    if (Refused(FileOperation::Rename)) {
        return false;
    }
    return std::rename(from.CString(), to.CString()) == 0;
}

bool LinkFile(const FilePath& existing, const FilePath& name) {
    return ::link(existing.CString(), name.CString()) == 0;
}

bool RemoveFile(const FilePath& path) {
    if (Refused(FileOperation::Remove)) {
        return false;
    }
    return ::unlink(path.CString()) == 0;
}

void SyncFolderOf(const FilePath& path) {
    const int fd = OpenRetrying(path.Folder().CString(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::optional<unsigned> PermissionsOf(const FilePath& path) {
    struct stat info {};
    if (::stat(path.CString(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<unsigned>(info.st_mode) & 07777u;
}

std::optional<FileStatus> StatusOf(const FilePath& path) {
    struct stat info {};
    if (::stat(path.CString(), &info) != 0) {
        return std::nullopt;
    }
    FileStatus status;
    status.regular = S_ISREG(info.st_mode);
    status.size = info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
    status.modifiedNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000LL +
                        static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    status.volume = static_cast<std::uint64_t>(info.st_dev);
    status.index = static_cast<std::uint64_t>(info.st_ino);
    return status;
}

bool IsRegularFile(const FilePath& path) {
    struct stat info {};
    return ::stat(path.CString(), &info) == 0 && S_ISREG(info.st_mode);
}

unsigned LinkCount(const FilePath& path) {
    struct stat info {};
    return ::stat(path.CString(), &info) == 0 ? static_cast<unsigned>(info.st_nlink) : 0;
}

bool FolderIsWritable(const FilePath& folder) {
    return ::access(folder.CString(), W_OK | X_OK) == 0;
}

FilePath ResolveLinks(const FilePath& path) {
    FilePath current = path;
    // As the system itself does, give up after 40 links.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (::lstat(current.CString(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 256), '\0');
        const ssize_t length = ::readlink(current.CString(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) > target.size()) {
            return current;
        }
        target.resize(static_cast<std::size_t>(length));
        // A relative link names a file in the link's own folder.
        current = target.front() == '/' ? FilePath(target) : current.Folder().Child(target);
    }
    return path;
}

}  // namespace tallyfold
