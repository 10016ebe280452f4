// CFontCacheRelease: Cairo and fontconfig keep font caches until the process
// ends; handing them back when a picture is done keeps leak checkers' reports
// to our own memory.
#pragma once

class CFontCacheRelease {
  public:
    CFontCacheRelease() = default;
    ~CFontCacheRelease();
    CFontCacheRelease(const CFontCacheRelease&) = delete;
    CFontCacheRelease& operator=(const CFontCacheRelease&) = delete;
};
