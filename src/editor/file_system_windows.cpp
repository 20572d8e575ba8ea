// The point file's file system calls on Windows.
//
// Differences from POSIX systems: there are no FIFOs among files (pipes have
// a namespace of their own), so nothing at points.txt can make an open wait;
// what stands for permission bits is the read-only attribute, and a
// read-only points.txt is not replaced, as fopen(..., "w") would not open
// it. A symbolic link to an existing file is followed; a link to a missing
// file is not (saving then fails and says so).
#include "editor/file_system.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>

namespace {

constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Attributes the saved file takes over from the one it replaces.
constexpr DWORD KEPT_ATTRIBUTES =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// Temporary names tried beside the file before giving up.
constexpr int MAX_TEMPORARY_NAMES = 100;

// `what`, then the system's text for a GetLastError() code without its full
// stop and line end.
std::string describe(const std::string& what, DWORD error)
{
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                  text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ' ||
                          text[length - 1] == '.')) {
        length--;
    }
    return what + ": " + (length > 0 ? std::string(text, length) : "error " + std::to_string(error));
}

bool startsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// The file a symbolic link at `path` leads to, through any chain of links;
// `path` itself when it is no link.
bool followLinks(const char* path, std::string& target, std::string& failure)
{
    target = path;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return true;
    }
    const HANDLE file = CreateFileA(path, 0, SHARE_ALL, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failure = describe(std::string("cannot follow ") + path, GetLastError());
        return false;
    }
    char final[MAX_PATH * 4];
    const DWORD length = GetFinalPathNameByHandleA(file, final, sizeof final, FILE_NAME_NORMALIZED);
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (length == 0 || length >= sizeof final) {
        failure = describe(std::string("cannot follow ") + path, length == 0 ? error : ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    // "\\?\C:\dir\file" is "C:\dir\file"; "\\?\UNC\server\share\file" is "\\server\share\file".
    target.assign(final, length);
    if (startsWith(target, "\\\\?\\UNC\\")) {
        target = "\\" + target.substr(7);
    } else if (startsWith(target, "\\\\?\\")) {
        target = target.substr(4);
    }
    return true;
}

// A new empty file beside `target` with the given attributes.
HANDLE createTemporary(const std::string& target, DWORD attributes, std::string& name)
{
    for (int attempt = 0; attempt < MAX_TEMPORARY_NAMES; attempt++) {
        name = target + "." + std::to_string(GetCurrentProcessId()) + "." + std::to_string(attempt);
        const HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

// Text with Windows' line end, "\r\n", for each '\n'.
std::string withTextLineEnds(const std::string& text)
{
    std::string lines;
    lines.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        if (c == '\n') {
            lines += '\r';
        }
        lines += c;
    }
    return lines;
}

}  // namespace

std::FILE* openRegularFile(const char* path, OpenStatus& status)
{
    // FILE_FLAG_BACKUP_SEMANTICS opens a directory too, so that it is
    // refused below as what it is rather than as a missing file.
    const HANDLE file =
        CreateFileA(path, GENERIC_READ, SHARE_ALL, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        status = OpenStatus::Missing;
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info {};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(file);
        status = OpenStatus::NotRegularFile;
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(file), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(file);
        status = OpenStatus::Missing;
        return nullptr;
    }
    std::FILE* stream = _fdopen(fd, "rb");
    if (stream == nullptr) {
        _close(fd);
        status = OpenStatus::Missing;
        return nullptr;
    }
    status = OpenStatus::Opened;
    return stream;
}

SaveStatus replaceFile(const char* path, const std::string& text, std::string& failure)
{
    std::string target;
    if (!followLinks(path, target, failure)) {
        return SaveStatus::Failed;
    }
    const DWORD old = GetFileAttributesA(target.c_str());
    const bool replacing = old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_DIRECTORY) == 0;
    if (replacing && (old & FILE_ATTRIBUTE_READONLY) != 0) {
        failure = std::string(path) + " is read-only";
        return SaveStatus::Failed;
    }

    std::string temporary;
    const DWORD kept = replacing ? old & KEPT_ATTRIBUTES : 0;
    const HANDLE file = createTemporary(target, kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL, temporary);
    if (file == INVALID_HANDLE_VALUE) {
        failure = describe("cannot create a file", GetLastError());
        return SaveStatus::CannotCreate;
    }
    failure.clear();
    const std::string lines = withTextLineEnds(text);
    DWORD written = 0;
    if (!WriteFile(file, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr) ||
        written != lines.size() || !FlushFileBuffers(file)) {
        failure = describe("write failed", GetLastError());
    }
    if (!CloseHandle(file) && failure.empty()) {
        failure = describe("close failed", GetLastError());
    }
    if (failure.empty() &&
        !MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        failure = describe(std::string("cannot replace ") + path, GetLastError());
    }
    if (!failure.empty()) {
        DeleteFileA(temporary.c_str());
        return SaveStatus::Failed;
    }
    return SaveStatus::Saved;
}
