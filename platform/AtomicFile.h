// Replaces a file without ever leaving it half written: the bytes go to a
// temporary file in the target's folder, which is synced and renamed over
// the target. Where the file system allows, the temporary file has no name
// until it is complete, so a killed save leaves nothing behind. Permission
// bits are kept, and a symbolic link stays a link (its final target is
// replaced). Any failure leaves the target untouched.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

class CAtomicFileWriter {
public:
    // prefix names the temporary file ("<prefix>XXXXXX" in the target's folder).
    explicit CAtomicFileWriter(std::string prefix = "kib");
    ~CAtomicFileWriter();
    CAtomicFileWriter(const CAtomicFileWriter&) = delete;
    CAtomicFileWriter& operator=(const CAtomicFileWriter&) = delete;

    // Before Open: whether a symbolic link at the target is followed (the
    // default) or refused with ELOOP, for callers that resolved and checked
    // the path themselves.
    void SetFollowLinks(bool follow) { m_followLinks = follow; }
    // Before Open: permission bits for a target that does not exist (instead
    // of 0666 less the umask), e.g. those the file had when it was read.
    void SetModeForNewFile(unsigned mode) { m_newFileMode = static_cast<int>(mode & 07777); }

    // Prepares to replace target. Fails when the target exists and is not
    // writable for this user, is not a regular file, or when no temporary file
    // can be created next to it.
    bool Open(const std::string& target);
    bool Write(const void* data, size_t size);
    bool Write(std::string_view bytes) { return Write(bytes.data(), bytes.size()); }
    // Flushes, syncs, copies the permission bits and renames over the target.
    bool Commit();
    // Removes the temporary file; the target stays as it was.
    void Abort();

    bool IsOpen() const { return m_fd >= 0; }
    // errno of the first failure, 0 when none.
    int Error() const { return m_error; }
    // How many names the replaced file had (0 when it did not exist). The
    // replacement has one: other hard links keep the old content.
    unsigned TargetLinkCount() const { return m_targetLinks; }
    // The permission bits the new file gets.
    unsigned Mode() const { return m_mode; }

private:
    bool Fail(int err);
    bool FlushBuffer();
    bool CreateTemp(const std::string& dir);
    bool NameUnnamedTemp();
    bool CopyToNamedTemp();

    std::string m_prefix;
    bool m_followLinks = true;
    int m_newFileMode = -1;
    std::string m_target;
    std::string m_dir;
    std::string m_temp; // the temporary file's name, empty while it has none
    int m_fd = -1;
    bool m_unnamed = false;
    int m_error = 0;
    unsigned m_mode = 0;
    unsigned m_targetLinks = 0;
    bool m_targetExists = false;
    unsigned m_uid = 0, m_gid = 0;
    std::string m_buffer;
};

// Convenience: replaces target with bytes. On failure returns false and, when
// err is given, stores the errno there.
bool AtomicWriteFile(const std::string& target, std::string_view bytes, int* err = nullptr,
                     const std::string& prefix = "kib");

// Follows a chain of symbolic links to the final path (which need not exist).
// Gives up after 40 links and returns an empty string (ELOOP).
std::string ResolveSymlinks(const std::string& path);

// Keeps what the regular file path holds under a new name next to it: the
// first of path + suffix, path + suffix + ".1" … ".99" that does not exist,
// as a hard link or, where the file system has none, as a synced copy of
// bytes (which the caller read from path). Nothing existing is ever
// replaced; a name that already holds exactly bytes counts as done. Returns
// the name, or an empty string with err set when none could be made.
std::string KeepBackup(const std::string& path, std::string_view bytes, std::string_view suffix,
                       int* err = nullptr);

// For tests only: the steps of a save that touch the disk. A hook returning
// an errno makes that call fail with it; 0 lets it run.
enum class ESaveStep { CreateTemp, Write, Chmod, Sync, Link, Rename };
void SetSaveFaultHookForTesting(std::function<int(ESaveStep)> hook);
// For tests only: false makes every save use a named temporary file, as on
// a file system without unnamed ones.
void SetUnnamedTempFilesForTesting(bool allowed);

} // namespace platform
