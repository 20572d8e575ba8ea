// The point file's file system calls on Linux, macOS and other POSIX systems.
#include "editor/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

// As many symbolic links as Linux follows in one path before it gives up.
constexpr int MAX_LINKS = 40;
// Temporary names tried beside the file before giving up.
constexpr int MAX_TEMPORARY_NAMES = 100;

std::string describe(const std::string& what, int error)
{
    return what + ": " + std::strerror(error);
}

// The directory part of `path` with its final slash; empty for a bare name.
std::string directoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows `path` through symbolic links to the name they end at, which need
// not exist (saving then creates it). A relative link is read from the
// directory that holds it, as the system reads it.
bool followLinks(const char* path, std::string& target, std::string& failure)
{
    target = path;
    for (int links = 0; links <= MAX_LINKS; links++) {
        struct stat info {};
        if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return true;
        }
        char next[PATH_MAX];
        const ssize_t length = readlink(target.c_str(), next, sizeof next);
        if (length <= 0 || static_cast<std::size_t>(length) == sizeof next) {
            failure = describe(std::string("cannot follow ") + path, length < 0 ? errno : ENAMETOOLONG);
            return false;
        }
        target = next[0] == '/' ? std::string(next, length) : directoryOf(target) + std::string(next, length);
    }
    failure = describe(std::string("cannot follow ") + path, ELOOP);
    return false;
}

// A new empty file beside `target`, made with the permissions that
// fopen(target, "w") would give a new file (0666 less the umask, or the
// directory's default ACL). Returns its descriptor, or -1 with errno set.
int createTemporary(const std::string& target, std::string& name)
{
    for (int attempt = 0; attempt < MAX_TEMPORARY_NAMES; attempt++) {
        name = target + "." + std::to_string(getpid()) + "." + std::to_string(attempt);
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Gives the new file the owner and permission bits of the one it replaces.
// Only root can hand a file to another user; anyone else's stays theirs.
bool keepOwnerAndMode(int fd, const struct stat& old)
{
    struct stat made {};
    const bool otherOwner = fstat(fd, &made) == 0 && (made.st_uid != old.st_uid || made.st_gid != old.st_gid);
    // Refused to anyone but root; the saver then stays the owner.
    const bool ownerKept = otherOwner && fchown(fd, old.st_uid, old.st_gid) == 0;
    static_cast<void>(ownerKept);
    return fchmod(fd, old.st_mode & 07777) == 0;
}

bool writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            errno = n == 0 ? EIO : errno;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Pushes what was written to `fd` to the disk. On macOS fsync only hands it
// to the drive, which may hold it in its cache; F_FULLFSYNC has the drive
// write it. File systems that cannot (some network ones) refuse it: then fsync.
int syncToDisk(int fd)
{
#ifdef F_FULLFSYNC
    if (fcntl(fd, F_FULLFSYNC) == 0) {
        return 0;
    }
#endif
    return fsync(fd);
}

// Makes the rename itself last through a crash; a save that got this far
// has succeeded either way.
void syncDirectoryOf(const std::string& target)
{
    const std::string directory = directoryOf(target);
    const int fd = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        syncToDisk(fd);
        close(fd);
    }
}

}  // namespace

std::FILE* openRegularFile(const char* path, OpenStatus& status)
{
    // Without O_NONBLOCK, opening a FIFO would wait for a writer.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        status = OpenStatus::Missing;
        return nullptr;
    }
    // What was opened, not what the name showed a moment before.
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        status = OpenStatus::NotRegularFile;
        return nullptr;
    }
    std::FILE* file = fdopen(fd, "rb");
    if (file == nullptr) {
        close(fd);
        status = OpenStatus::Missing;
        return nullptr;
    }
    status = OpenStatus::Opened;
    return file;
}

SaveStatus replaceFile(const char* path, const std::string& text, std::string& failure)
{
    std::string target;
    if (!followLinks(path, target, failure)) {
        return SaveStatus::Failed;
    }
    struct stat old {};
    const bool replacing = stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    // fopen(path, "w") would be refused too; root may write anything.
    if (replacing && access(target.c_str(), W_OK) != 0 && errno == EACCES) {
        failure = std::string(path) + " is read-only";
        return SaveStatus::Failed;
    }

    std::string temporary;
    const int fd = createTemporary(target, temporary);
    if (fd < 0) {
        failure = describe("cannot create a file", errno);
        return SaveStatus::CannotCreate;
    }
    failure.clear();
    if (replacing && !keepOwnerAndMode(fd, old)) {
        failure = describe(std::string("cannot keep the permissions of ") + path, errno);
    }
    if (failure.empty() && (!writeAll(fd, text) || syncToDisk(fd) != 0)) {
        failure = describe("write failed", errno);
    }
    if (close(fd) != 0 && failure.empty()) {
        failure = describe("close failed", errno);
    }
    if (failure.empty() && std::rename(temporary.c_str(), target.c_str()) != 0) {
        failure = describe(std::string("cannot replace ") + path, errno);
    }
    if (!failure.empty()) {
        unlink(temporary.c_str());
        return SaveStatus::Failed;
    }
    syncDirectoryOf(target);
    return SaveStatus::Saved;
}
