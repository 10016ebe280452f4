// Test hooks: ways for the tests to reach states that otherwise depend on
// timing (a crash in the middle of a write, a lock held for long). They act
// only in builds made with QR_TEST_HOOKS (the asan preset, which runs the
// tests); everywhere else they read nothing and do nothing, so a user's
// environment cannot change how a release build writes its files.
//
//   QR_TEST_CRASH_AT=N       the N-th write point (from 1) of the process
//                            kills it with SIGKILL, as a crash or a power cut
//                            would end it there
//   QR_TEST_WRITE_PAUSE_US=N every write point sleeps N microseconds, so that
//                            a kill from outside lands inside the write
//   QR_TEST_WRITE_PIECE=N    CReplacingFile writes at most N bytes per call,
//                            each piece followed by a write point
//   QR_TEST_LOCK_WAIT_MS=N   how long a run waits for the host scene's lock
#pragma once

#include <chrono>
#include <cstddef>

// A place in a file writer where dying leaves a temporary file in some state:
// after it is made, after each piece of data, before and after the rename.
void TestHookWritePoint();
// The largest piece a writer passes to write() at once: size, or less.
std::size_t TestHookWritePiece(std::size_t size);
// The host scene lock's wait: fallback unless a test sets another.
std::chrono::milliseconds TestHookLockWait(std::chrono::milliseconds fallback);
