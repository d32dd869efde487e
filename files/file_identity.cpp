#include "files/file_identity.h"

#include <array>
#include <cstdio>
#include <filesystem>

#include "files/fnv_hash.h"
#include "table/file_io.h"
#include "table/native_path.h"

namespace tallyfold {

FileIdentity IdentityOf(const FilePath& path) {
    FileIdentity identity;
    const std::optional<FileStatus> status = StatusOf(path);
    if (!status || !status->regular) {
        return identity;
    }
    identity.exists = true;
    identity.size = status->size;
    identity.modified = status->modifiedNs;
    File file;
    if (!file.OpenExisting(path)) {
        return identity;
    }
    constexpr std::size_t kSample = 64 * 1024;
    std::array<char, kSample> block{};
    std::uint64_t hash = FnvParameters<std::uint64_t>::kBasis;
    const std::int64_t head = file.ReadAt(0, block);
    if (head > 0) {
        hash = Fnv1a<std::uint64_t>({block.data(), static_cast<std::size_t>(head)}, hash);
    }
    if (identity.size > kSample) {
        const std::int64_t tail = file.ReadAt(identity.size - kSample, block);
        if (tail > 0) {
            hash = Fnv1a<std::uint64_t>({block.data(), static_cast<std::size_t>(tail)}, hash);
        }
    }
    identity.sample = hash;
    return identity;
}

std::string CanonicalName(const FilePath& path) {
    std::error_code error;
    const std::filesystem::path given = NativePath(ResolveLinks(path));
    std::filesystem::path absolute = std::filesystem::absolute(given, error);
    if (error) {
        absolute = given;
    }
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(absolute, error);
    return PathFromNative(error ? absolute.lexically_normal() : canonical).Bytes();
}

std::string HashName(std::string_view text) {
    char name[17];
    std::snprintf(name, sizeof name, "%016llx",
                  static_cast<unsigned long long>(Fnv1a<std::uint64_t>(text)));
    return name;
}

}  // namespace tallyfold
