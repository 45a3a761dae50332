// The message loop: idle handlers once per emptied queue, filters newest first, then translate and dispatch.
#include "app/message_loop.h"

#include <algorithm>
#include <new>

namespace kelvane {
namespace {

constexpr UINT kSystemTimer = 0x0118;   // the system's internal timer (caret blinking and the like)

template <typename T>
bool Append(std::vector<T*>& items, T* item)
{
    try {
        if (items.size() == items.capacity())
            items.reserve(items.empty() ? 1 : items.size() * 2);
        items.push_back(item);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

template <typename T>
bool RemoveFirst(std::vector<T*>& items, T* item)
{
    const auto at = std::find(items.begin(), items.end(), item);
    if (at == items.end())
        return false;
    items.erase(at);
    return true;
}

// Messages that arrive in a stream while the user does nothing: they must not wake the idle handlers again.
bool KeepsIdlePhase(UINT message)
{
    return message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE || message == WM_PAINT || message == kSystemTimer;
}

}  // namespace

bool MessageLoop::AddFilter(MessageFilter* filter) { return Append(filters_, filter); }
bool MessageLoop::RemoveFilter(MessageFilter* filter) { return RemoveFirst(filters_, filter); }
bool MessageLoop::AddIdle(IdleHandler* handler) { return Append(idleHandlers_, handler); }
bool MessageLoop::RemoveIdle(IdleHandler* handler) { return RemoveFirst(idleHandlers_, handler); }

int MessageLoop::Run()
{
    bool idlePhase = true;
    for (;;) {
        while (idlePhase && !PeekMessageW(&message_, nullptr, 0, 0, PM_NOREMOVE))
            idlePhase = RunIdleStep();

        const BOOL got = GetMessageW(&message_, nullptr, 0, 0);
        if (got == -1)
            continue;
        if (got == 0)
            return static_cast<int>(message_.wParam);

        if (!PreTranslateMessage(&message_)) {
            TranslateMessage(&message_);
            DispatchMessageW(&message_);
        }
        if (!KeepsIdlePhase(message_.message))
            idlePhase = true;
    }
}

bool MessageLoop::RunIdleStep()
{
    // A handler may remove itself while it runs, so the list is walked by index and re-checked.
    for (size_t i = 0; i < idleHandlers_.size(); ++i)
        idleHandlers_[i]->HandleIdle();
    return false;
}

bool MessageLoop::PreTranslateMessage(MSG* message)
{
    // The last registered filter sees the message first; a filter may remove itself meanwhile.
    for (size_t i = filters_.size(); i-- > 0;) {
        if (i < filters_.size() && filters_[i]->FilterMessage(message))
            return true;
    }
    return false;
}

}  // namespace kelvane
