#include "scene/host_scene_lock.h"

#include "platform/application.h"
#include "platform/test_hooks.h"
#include "scene/exchange_file.h"

#include <cerrno>
#include <cstdio>

bool CHostSceneLock::Acquire(CApplication& app, const std::string& consequence) {
    const std::string path = GetExchangeFilePath(app, kExchangeFileName);
    const std::chrono::milliseconds wait = TestHookLockWait(kHostSceneLockWait);
    const CStatus locked = m_lock.Lock(path + ".lock", wait);
    if (locked || locked.GetErrorNumber() != EWOULDBLOCK)
        return true;
    const auto seconds = std::chrono::duration_cast<std::chrono::duration<double>>(wait).count();
    char waited[32];
    std::snprintf(waited, sizeof waited, "%.3g", seconds);
    app.MessageBox("The exchange file \"" + path +
                       "\" is in use: another run of a plug-in holds it, and it was still "
                       "holding it after " +
                       waited + " seconds.\n" + consequence,
                   MB_OK | MB_ICONSTOP);
    return false;
}
