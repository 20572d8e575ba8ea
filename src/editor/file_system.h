// The point file's calls into the operating system, one implementation per
// platform: file_system_posix.cpp and file_system_windows.cpp. Nothing else in
// the editor calls the system's file functions.
#pragma once

#include <cstdio>
#include <string>

enum class OpenStatus {
    Opened,
    Missing,         // nothing there, or it cannot be opened
    NotRegularFile,  // a directory, a FIFO, a device
};

// Opens `path` for reading in binary mode, through symbolic links, without
// waiting on a FIFO or a device, and keeps it open only when what was opened
// is a regular file. Returns nullptr otherwise.
std::FILE* openRegularFile(const char* path, OpenStatus& status);

enum class SaveStatus {
    Saved,
    CannotCreate,  // no file can be created where `path` is
    Failed,        // `failure` says what failed; the old file is as it was
};

// Replaces the file at `path` with `text`, whose lines end in '\n' and are
// written with the platform's text line end. The text goes to a temporary
// file beside the file it replaces, is flushed to the disk, and only then is
// renamed over it, so that the file is either the old one or the new one.
// A symbolic link is followed: its target is replaced and the link kept.
// The old file's permissions (on Windows, its attributes) are kept; a new
// file gets what a plain fopen(path, "w") would give it.
SaveStatus replaceFile(const char* path, const std::string& text, std::string& failure);
