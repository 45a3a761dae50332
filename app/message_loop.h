// The GUI thread's message loop with its message filters and idle handlers.
#pragma once

#include <windows.h>
#include <vector>

namespace kelvane {

class MessageFilter {
public:
    virtual bool FilterMessage(MSG* message) = 0;   // true consumes the message
protected:
    ~MessageFilter() = default;
};

class IdleHandler {
public:
    virtual bool HandleIdle() = 0;   // the loop ignores the result
protected:
    ~IdleHandler() = default;
};

class MessageLoop {
public:
    MessageLoop() = default;
    MessageLoop(const MessageLoop&) = delete;
    MessageLoop& operator=(const MessageLoop&) = delete;

    bool AddFilter(MessageFilter* filter);
    bool RemoveFilter(MessageFilter* filter);
    bool AddIdle(IdleHandler* handler);
    bool RemoveIdle(IdleHandler* handler);

    // Pumps until WM_QUIT and returns its wParam.
    int Run();

    const MSG& currentMessage() const { return message_; }

private:
    bool RunIdleStep();
    bool PreTranslateMessage(MSG* message);

    std::vector<MessageFilter*> filters_;
    std::vector<IdleHandler*> idleHandlers_;
    MSG message_{};
};

}  // namespace kelvane
