// CHostSceneLock: how plug-in runs over one plug-in folder take turns with the
// exchange file. Without it two runs at once (two host windows, a host and a
// script) would each read the scene, and the later import's write would drop
// the other's parts.
//
// The lock is an advisory lock on "qrplugin.qrc.lock" beside the exchange
// file (platform/file_lock.h), held by the import from before its read to
// after its write, and by the export for its read. A run waits for it a
// bounded time; when another run holds it all that time, the run shows a stop
// box that names the exchange file and says so, and does nothing more.
//
// Where no lock file can be made or opened (no plug-in folder yet, a folder
// we may not write to) the run goes on unlocked, exactly as it would have
// before runs took turns: such a folder holds no scene another run could write.
#pragma once

#include "platform/file_lock.h"

#include <chrono>
#include <string>

class CApplication;

// How long a run waits for another to finish before it gives up.
inline constexpr std::chrono::milliseconds kHostSceneLockWait{20000};

class CHostSceneLock {
  public:
    // false when another run held the lock for the whole wait: the stop box
    // was shown, ending with consequence (what the command did not do).
    [[nodiscard]] bool Acquire(CApplication& app, const std::string& consequence);
    void Release() { m_lock.Unlock(); }

  private:
    CFileLock m_lock;
};
