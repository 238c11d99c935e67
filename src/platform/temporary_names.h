#pragma once
// Inside the platform folder only: the names of temporary files beside the file they replace,
// ".qorvel-" + a hash of that file's name + "-" + the process id + "-" + a unique ending.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace qorvel::platform::detail {

inline constexpr std::string_view kTemporaryPrefix = ".qorvel-";

// The hash that ties temporary files to the name of the file they will replace (64-bit FNV-1a
// over the name's UTF-8 bytes).
inline std::string NameHash(std::string_view name) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3u;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// ".qorvel-<hash>-": what every temporary file of the file named `name` begins with.
inline std::string TemporaryPrefix(std::string_view name) {
    return std::string(kTemporaryPrefix) + NameHash(name) + "-";
}

// The process id in a temporary file's name ("<prefix><pid>-..."), 0 when there is none.
inline long ProcessOfTemporary(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix)) return 0;
    name.remove_prefix(prefix.size());
    long long pid = 0;
    std::size_t at = 0;
    for (; at < name.size() && name[at] >= '0' && name[at] <= '9' && at < 10; ++at) pid = pid * 10 + (name[at] - '0');
    if (at == 0 || at >= name.size() || name[at] != '-' || pid <= 0 || pid > INT32_MAX) return 0;
    return static_cast<long>(pid);
}

}  // namespace qorvel::platform::detail
