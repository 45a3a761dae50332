// The process-wide module: the program's instance handle and the registry of message loops by thread.
#pragma once

#include <windows.h>
#include <memory>
#include <vector>

namespace kelvane {

class MessageLoop;

class AppModule {
public:
    AppModule();
    AppModule(const AppModule&) = delete;
    AppModule& operator=(const AppModule&) = delete;
    ~AppModule();

    HRESULT Initialize(HINSTANCE instance);
    void Terminate();

    bool RegisterLoop(MessageLoop* loop);
    bool UnregisterLoop();
    MessageLoop* LoopForThread();

    HINSTANCE instance() const { return instance_; }

private:
    struct LoopRegistry {   // thread ids and their loops, side by side
        std::vector<DWORD> keys;
        std::vector<MessageLoop*> values;
    };
    class Lock;

    CRITICAL_SECTION lock_;
    HINSTANCE instance_;
    std::unique_ptr<LoopRegistry> loops_;
};

// The one module of the process, alive from static initialisation to exit.
AppModule& Module();

}  // namespace kelvane
