// CInterruptCleanup: while it lives, SIGINT, SIGTERM, SIGHUP and SIGPIPE (Ctrl-C, a kill,
// a closed terminal, output piped into `head`) first remove convert's temporary host folder
// and the export's unfinished temporary file beside OUT, then end the process by the same
// signal, with its default action, so the caller sees the status it would have seen.
//
// The handler does only what is safe in a signal handler: the paths are copied into fixed
// buffers beforehand, and the folders are read with getdents64 and emptied with unlinkat.
#pragma once

#include <csignal>
#include <string>

class CInterruptCleanup {
  public:
    // hostFolder is removed with all it holds; in outputFolder only this process's
    // temporary files of the replacing writer (".qr-replace-PID-N.tmp") are.
    CInterruptCleanup(const std::string& hostFolder, const std::string& outputFolder);
    ~CInterruptCleanup();
    CInterruptCleanup(const CInterruptCleanup&) = delete;
    CInterruptCleanup& operator=(const CInterruptCleanup&) = delete;

  private:
    struct sigaction m_previous[4];
};
