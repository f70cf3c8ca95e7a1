// The engine's lock object.
#include "EngMutex.h"

#include <chrono>

#include "EngDebug.h"

EngMutex::EngMutex(double lock_seconds) : owner(std::thread::id()), depth(0), lock_time(lock_seconds) {}

EngMutex::~EngMutex() = default;

char EngMutex::Setup(double lock_seconds)
{
    SetLockTime(lock_seconds);
    return 1;
}

void EngMutex::SetLockTime(double lock_seconds)
{
    lock_time = lock_seconds;
}

char EngMutex::Lock()
{
    return Lock(lock_time);
}

char EngMutex::Lock(double lock_seconds)
{
    bool got =
        lock_seconds > 0 ? mutex.try_lock_for(std::chrono::duration<double>(lock_seconds)) : mutex.try_lock();
    if (!got)
        return 0;
    owner = std::this_thread::get_id();
    depth++;
    return 1;
}

char EngMutex::LockDebug(const char*, const char*)
{
    return Lock();
}

char EngMutex::LockWaitForever()
{
    mutex.lock();
    owner = std::this_thread::get_id();
    depth++;
    return 1;
}

char EngMutex::Unlock()
{
    if (owner.load() != std::this_thread::get_id() || depth <= 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Not locked by this thread");
        return 0;
    }
    if (--depth == 0)
        owner = std::thread::id();
    mutex.unlock();
    return 1;
}

char EngMutex::UnlockDebug(const char*, const char*)
{
    return Unlock();
}
