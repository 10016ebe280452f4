#include "platform/test_hooks.h"

#ifdef QR_TEST_HOOKS
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <unistd.h>
#endif

namespace {

#ifdef QR_TEST_HOOKS
// The variable's value as a positive number, or 0 when unset or not one.
unsigned long long EnvNumber(const char* name) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0')
        return 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    return *end == '\0' ? value : 0;
}
#endif

} // namespace

void TestHookWritePoint() {
#ifdef QR_TEST_HOOKS
    static const unsigned long long crashAt = EnvNumber("QR_TEST_CRASH_AT");
    static const unsigned long long pause = EnvNumber("QR_TEST_WRITE_PAUSE_US");
    static std::atomic<unsigned long long> points{0};
    if (crashAt != 0 && ++points == crashAt)
        ::kill(::getpid(), SIGKILL);
    if (pause != 0)
        ::usleep(static_cast<useconds_t>(pause));
#endif
}

std::size_t TestHookWritePiece(std::size_t size) {
#ifdef QR_TEST_HOOKS
    static const unsigned long long piece = EnvNumber("QR_TEST_WRITE_PIECE");
    if (piece != 0 && piece < size)
        return static_cast<std::size_t>(piece);
#endif
    return size;
}

std::chrono::milliseconds TestHookLockWait(std::chrono::milliseconds fallback) {
#ifdef QR_TEST_HOOKS
    if (const unsigned long long wait = EnvNumber("QR_TEST_LOCK_WAIT_MS"); wait != 0)
        return std::chrono::milliseconds(static_cast<long long>(wait));
#endif
    return fallback;
}
