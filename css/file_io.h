#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace larkspur {

// Outcome of a file operation; the error text is fit to show the user.
struct IoResult {
    bool ok = true;
    std::string error;
    // The file exists but may not be written by us (read-only, someone
    // else's): the window offers Save As.
    bool readOnly = false;
    // Set on success when the file was written but a later step failed (its
    // folder could not be synced): the user is told, and the file is saved.
    std::string warning;
    explicit operator bool() const { return ok; }
    static IoResult Failure(std::string message) { return {false, std::move(message), false, {}}; }
    // "Cannot <verb> "<path>": <reason>"
    static IoResult Failure(std::string_view verb, const std::string& path, std::string_view reason);
    static IoResult FailureErrno(std::string_view verb, const std::string& path, int err);
};

// Larger files are refused before a byte of them is read.
inline constexpr std::size_t kMaxFileSize = std::size_t{256} << 20;
inline constexpr const char kMaxFileSizeText[] = "256 MB";

// Reads a regular file whole. Directories, FIFOs, devices, missing files and
// files over kMaxFileSize fail with a message naming the path; nothing is
// opened in a way that could block.
IoResult ReadWholeFile(const std::string& path, std::string& out);

// As ReadWholeFile, for files that must be 8-bit text: reading stops at the
// first NUL byte and fails with binaryMessage, and a UTF-16 or UTF-32 file is
// refused with a message naming its encoding.
IoResult ReadTextFile(const std::string& path, std::string& out, std::string_view binaryMessage);

// The encoding of 16- or 32-bit text ("UTF-16" ...), told by its byte-order
// mark or its first characters; empty for 8-bit text.
std::string_view WideEncodingOf(std::string_view text);

// Fails, with readOnly set, when an existing file may not be replaced: it
// has no write permission bit, or the user may not write it.
IoResult CheckWritable(const std::string& path);

// Replaces the file's contents without ever leaving it half-written. The
// bytes go to a new file beside it (short name, locked while in use), which
// is synced, closed and only then renamed over the old one; the old file's
// mode, owner, group, ACLs and extended attributes are given to it first. A
// failure up to the rename leaves the old file whole; the folder is synced
// after it, and a failure there is a warning on a successful result. Where
// a rename would lose something (more links than one, an owner or attribute
// that cannot be set, a folder that cannot be written), the file is
// overwritten in place instead, after a backup copy that restores it if the
// write, sync or close fails: the failure is reported once the old bytes are
// back, or names the backup where they could not be put back. A link stays a
// link: its final target is written (and made, if missing); a loop is an
// error. Leftover temporaries of earlier, killed saves of the file are
// removed.
IoResult ReplaceFileContents(const std::string& path, std::string_view bytes);
// The same, with contents made piece by piece, so a big file is never held
// whole: `source` hands each piece to `put` and stops when a put fails. It may
// be called twice (the in-place path measures the size first).
using ContentPut = std::function<bool(std::string_view piece)>;
using ContentSource = std::function<bool(const ContentPut& put)>;
IoResult ReplaceFileContents(const std::string& path, const ContentSource& source);

// Writes a file that is the program's own, such as the preview's copy of a
// page: whatever stands at the path (a link, a file with other names) is
// replaced by a new file and never written through, so nothing outside the
// path's folder is touched. The bytes go to a new file beside it, renamed
// over the name; a failure leaves what was there as it was.
IoResult ReplaceOwnFile(const std::string& path, std::string_view bytes);

// As ReadTextFile, but a link at the path is refused, not followed.
IoResult ReadTextFileNoFollow(const std::string& path, std::string& out, std::string_view binaryMessage);

bool FileExists(const std::string& path);
// Folder part of a path, ending in "/" ("" for a bare name).
std::string FolderOf(const std::string& path);

// Start of the names of the temporaries made while saving the file (the
// folder, then a short name derived from the file's own).
std::string TemporaryPrefixFor(const std::string& path);

// Test hook for the low-level write: return the bytes taken (fewer is a
// partial write) or -1 with errno set. An empty function restores write(2).
using FileWriteHook = std::function<long(int fd, const char* data, std::size_t size)>;
void SetFileWriteHook(FileWriteHook hook);

}  // namespace larkspur
