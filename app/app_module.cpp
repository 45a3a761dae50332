// The process-wide module and its lock-guarded table of message loops.
#include "app/app_module.h"

#include <algorithm>
#include <new>

extern "C" IMAGE_DOS_HEADER __ImageBase;   // the module this code is linked into

namespace kelvane {

class AppModule::Lock {
public:
    explicit Lock(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
    ~Lock() { LeaveCriticalSection(&cs_); }
private:
    CRITICAL_SECTION& cs_;
};

AppModule::AppModule() : instance_(reinterpret_cast<HINSTANCE>(&__ImageBase))
{
    InitializeCriticalSection(&lock_);
}

AppModule::~AppModule()
{
    DeleteCriticalSection(&lock_);
}

HRESULT AppModule::Initialize(HINSTANCE instance)
{
    if (instance)
        instance_ = instance;
    Lock lock(lock_);
    loops_.reset(new (std::nothrow) LoopRegistry);
    return loops_ ? S_OK : E_OUTOFMEMORY;
}

void AppModule::Terminate()
{
    Lock lock(lock_);
    loops_.reset();
}

bool AppModule::RegisterLoop(MessageLoop* loop)
{
    const DWORD thread = GetCurrentThreadId();
    Lock lock(lock_);
    if (!loops_)
        return false;
    const auto at = std::find(loops_->keys.begin(), loops_->keys.end(), thread);
    if (at != loops_->keys.end()) {
        loops_->values[at - loops_->keys.begin()] = loop;
        return true;
    }
    try {
        loops_->keys.push_back(thread);
        loops_->values.push_back(loop);
    } catch (const std::bad_alloc&) {
        if (loops_->keys.size() > loops_->values.size())
            loops_->keys.pop_back();
        return false;
    }
    return true;
}

bool AppModule::UnregisterLoop()
{
    const DWORD thread = GetCurrentThreadId();
    Lock lock(lock_);
    if (!loops_)
        return false;
    const auto at = std::find(loops_->keys.begin(), loops_->keys.end(), thread);
    if (at == loops_->keys.end())
        return false;
    const auto index = at - loops_->keys.begin();
    loops_->keys.erase(at);
    loops_->values.erase(loops_->values.begin() + index);
    return true;
}

MessageLoop* AppModule::LoopForThread()
{
    const DWORD thread = GetCurrentThreadId();
    Lock lock(lock_);
    if (!loops_)
        return nullptr;
    const auto at = std::find(loops_->keys.begin(), loops_->keys.end(), thread);
    return at == loops_->keys.end() ? nullptr : loops_->values[at - loops_->keys.begin()];
}

AppModule& Module()
{
    static AppModule module;
    return module;
}

}  // namespace kelvane
