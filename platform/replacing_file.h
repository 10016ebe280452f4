// CReplacingFile: writes a file that replaces another, so that a failed write
// loses nothing. The bytes go to a new temporary file in the target's own
// folder (same file system, so the final rename is atomic); Commit() closes it
// and renames it over the target. Until then the target is untouched, and a
// file that is not committed is removed by the destructor.
//
// Every file we replace goes through it: the exchange file, exported DXF
// files, the profile and the LScript.
//
// A path that is a symbolic link is written through: the link (and any link
// it names in turn) is followed to its final target, existing or not, and the
// target is replaced, with the temporary file beside it. The link stays a link.
//
// Only a regular file is replaced. A target that is a character device, a
// named pipe or a socket (/dev/stdout, a FIFO a script reads, /dev/null) is
// written to directly, in one pass, with no temporary file and no rename, so
// the node stays what it was; a write error such as /dev/full's is a failure.
// Writers whose file must be one (the exchange file, the profile) refuse such
// a target instead. A folder (and a block device) is always refused.
//
// Temporary files are named ".qr-replace-PID-N.tmp" after the writing
// process. A writer killed before its rename leaves its file behind; the next
// Open in that folder removes such files of processes that no longer exist
// (and that no live writer holds), and nothing else.
//
// Failures come back as a CStatus whose reason is the system's text for the
// failing call (e.g. "No such file or directory"), with its errno; nothing
// throws. After a failure the temporary file is gone.
#pragma once

#include "platform/status.h"

#include <cstddef>
#include <string>
#include <string_view>

// How every temporary file's name begins and ends: ".qr-replace-PID-N.tmp".
inline constexpr std::string_view kReplaceTempPrefix = ".qr-replace-";
inline constexpr std::string_view kReplaceTempSuffix = ".tmp";

// What Open does with a target that exists and is neither a regular file nor a
// folder.
enum class NonRegularTarget {
    WriteDirectly, // a character device, pipe or socket takes the bytes as they come
    Refuse         // "not a regular file"
};

class CReplacingFile {
  public:
    CReplacingFile() = default;
    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;
    ~CReplacingFile();

    // Follows symbolic links to the final target, refuses a target that is a
    // folder or an existing read-only file (no write permission bit set), then
    // creates the temporary file. An existing target's permission bits are
    // given to the new file. A device, pipe or socket is opened for writing
    // itself or refused, as nonRegular says.
    CStatus Open(const std::string& path,
                 NonRegularTarget nonRegular = NonRegularTarget::WriteDirectly);
    // The file Commit() replaces: the path given to Open with its links followed.
    const std::string& GetTargetPath() const { return m_strPath; }
    // Writes all of data, in as many calls as the system needs.
    CStatus Write(const char* data, std::size_t size);
    // Flushes the temporary file to the disk, closes it and renames it over the
    // target, so that neither a failure nor a crash leaves a half-written target.
    // A target written directly is only closed.
    CStatus Commit();
    // Whether Open found a device, pipe or socket and writes to it directly.
    bool IsDirect() const { return m_bDirect; }

    // The open temporary file, for writers that stream into it themselves.
    int GetDescriptor() const { return m_fd; }

  private:
    CStatus Fail(int error);
    CStatus Refuse(const char* reason, int error);
    void Discard();
    // The temporary file in folder (with its trailing separator, or "" for the current
    // one): ".qr-replace-PID-N.tmp" with the first N not taken, created with mode.
    CStatus CreateTempFile(const std::string& folder, unsigned mode);
    // Each system's own (replacing_target.cpp): path created exclusively, for writing
    // only, with mode's permission bits; its descriptor, or -1 with errno set.
    static int CreateNewFile(const std::string& path, unsigned mode);
    // Each system's own (replacing_target.cpp): fd's bytes to the disk, and the temporary
    // file renamed over the target (0, or the errno of the failure).
    static bool FlushToDisk(int fd);
    int ReplaceTarget() const;

    std::string m_strPath;
    std::string m_strTempPath;
    int m_fd = -1;
    bool m_bDirect = false;
};
