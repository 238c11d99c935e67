#pragma once
// Inside the platform folder only: errno as a FileError.

#include <cerrno>
#include <cstring>

#include "platform/file_system.h"

namespace qorvel::platform::posix {

inline FileProblem ProblemOf(int error) {
    switch (error) {
        case ENOENT: return FileProblem::NotFound;
        case ENOTDIR: return FileProblem::NotAFolder;
        case EACCES: case EPERM: return FileProblem::NoPermission;
        case EISDIR: return FileProblem::IsFolder;
        case ENOSPC: case EDQUOT: return FileProblem::DiskFull;
        case EROFS: return FileProblem::ReadOnlyVolume;
        case ELOOP: return FileProblem::TooManyLinks;
        case ENAMETOOLONG: return FileProblem::NameTooLong;
        case EPIPE: return FileProblem::ClosedPipe;
        case EFBIG: return FileProblem::TooLarge;
        case ETXTBSY: return FileProblem::InUse;
        default: return FileProblem::Other;
    }
}

[[noreturn]] inline void Fail(int error) { throw FileError(ProblemOf(error), std::strerror(error)); }

}  // namespace qorvel::platform::posix
