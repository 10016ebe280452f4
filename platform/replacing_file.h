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

class CReplacingFile {
  public:
    CReplacingFile() = default;
    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;
    ~CReplacingFile();

    // Follows symbolic links to the final target, refuses a target that is a
    // folder or an existing read-only file (no write permission bit set), then
    // creates the temporary file. An existing target's permission bits are
    // given to the new file.
    CStatus Open(const std::string& path);
    // The file Commit() replaces: the path given to Open with its links followed.
    const std::string& GetTargetPath() const { return m_strPath; }
    // Writes all of data, in as many calls as the system needs.
    CStatus Write(const char* data, std::size_t size);
    // Flushes the temporary file to the disk, closes it and renames it over the
    // target, so that neither a failure nor a crash leaves a half-written target.
    CStatus Commit();

    // The open temporary file, for writers that stream into it themselves.
    int GetDescriptor() const { return m_fd; }

  private:
    CStatus Fail(int error);
    void Discard();
    // Each system's own (replacing_target.cpp): fd's bytes to the disk, and the temporary
    // file renamed over the target (0, or the errno of the failure).
    static bool FlushToDisk(int fd);
    int ReplaceTarget() const;

    std::string m_strPath;
    std::string m_strTempPath;
    int m_fd = -1;
};
