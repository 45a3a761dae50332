// The display memory figure of one run: asked of DirectDraw on a worker thread, at most once while it answers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "common/unique_handle.h"
#include "tweaks/texture_cache.h"

namespace kelvane {

class VideoMemoryFigure {
public:
    VideoMemoryFigure() = default;
    VideoMemoryFigure(const VideoMemoryFigure&) = delete;
    VideoMemoryFigure& operator=(const VideoMemoryFigure&) = delete;
    // Gives a question still under way a moment to end, then leaves it to end on its own.
    ~VideoMemoryFigure();

    // Starts asking `query` on a worker thread, unless the figure is known or a question is under way.
    void Start(VideoMemoryQuery query);
    // The figure, once known kept for the run. Asks `query` first when no question is under way, then waits for
    // the answer, calling `answerMessages` whenever messages arrive for the waiting thread meanwhile. Nothing when
    // the query failed (the next call asks again), gave no answer in time, or `answerMessages` returned false to
    // stop waiting (the next call waits for it again).
    std::optional<std::uint32_t> Wait(VideoMemoryQuery query, const std::function<bool()>& answerMessages = {});

private:
    // What the worker and this object share: the worker may outlive the object when the dialog closes.
    struct Question {
        VideoMemoryQuery query;
        std::optional<std::uint32_t> answer;
    };
    static DWORD WINAPI Ask(void* parameter);
    // True once the worker has ended; false when the time ran out or `answerMessages` stopped the wait.
    bool WaitForWorker(const std::function<bool()>& answerMessages) const;

    std::optional<std::uint32_t> figure_;
    std::shared_ptr<Question> question_;
    UniqueKernelObject worker_;
};

}  // namespace kelvane
