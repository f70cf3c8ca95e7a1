// The engine's lock object: a recursive mutex whose Lock waits at most the
// lock time (seconds). OpenAL, FluidSynth, GTK and libcurl run threads of
// their own, so the lock is real.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

class EngMutex
{
public:
    explicit EngMutex(double lock_seconds = 5.0);
    ~EngMutex();
    EngMutex(const EngMutex&) = delete;
    EngMutex& operator=(const EngMutex&) = delete;

    char Setup() { return 1; }
    char Setup(double lock_seconds);
    char IsSetup() const { return 1; }
    char SetupIfNeeded() { return 1; }
    char SetupIfNeeded(double lock_seconds) { return Setup(lock_seconds); }
    void SetLockTime(double lock_seconds);
    // 1 when the lock was taken within the lock time.
    char Lock();
    char Lock(double lock_seconds);
    char LockDebug(const char* file, const char* func);
    char LockWaitForever();
    // 0 (and nothing released) when the calling thread does not hold the lock.
    char Unlock();
    char UnlockDebug(const char* file, const char* func);

private:
    std::recursive_timed_mutex mutex;
    std::atomic<std::thread::id> owner;
    int depth;
    double lock_time;
};
