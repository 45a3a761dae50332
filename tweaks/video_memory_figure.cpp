// The display memory figure asked off the dialog's thread: DirectDraw takes a fifth of a second or more to answer.
#include "tweaks/video_memory_figure.h"

#include <objbase.h>

namespace kelvane {
namespace {

// DirectDraw answers in well under a second once loaded, but its first start on a slow machine (a software renderer,
// an emulated CPU) has taken over ten; beyond these the driver is stuck, and neither Apply nor closing the program may
// hang on it.
constexpr DWORD kAnswerWaitMs = 30000;
constexpr DWORD kCloseWaitMs = 2000;

}  // namespace

VideoMemoryFigure::~VideoMemoryFigure()
{
    // The worker holds its own share of the question, so one that outlives the wait writes into live memory.
    if (worker_)
        WaitForSingleObject(worker_.get(), kCloseWaitMs);
}

DWORD WINAPI VideoMemoryFigure::Ask(void* parameter)
{
    const std::unique_ptr<std::shared_ptr<Question>> question(static_cast<std::shared_ptr<Question>*>(parameter));
    const ComApartment apartment;   // the worker's own: DirectDraw is reached through COM
    (*question)->answer = (*question)->query ? (*question)->query() : std::nullopt;
    return 0;
}

bool VideoMemoryFigure::WaitForWorker(const std::function<bool()>& answerMessages) const
{
    const HANDLE worker = worker_.get();
    const ULONGLONG deadline = GetTickCount64() + kAnswerWaitMs;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        const auto left = static_cast<DWORD>(deadline - now);
        // Without anyone to answer them, messages wait in the queue, and a window that answers none for seconds is
        // marked as not responding.
        const DWORD woken = answerMessages ? MsgWaitForMultipleObjects(1, &worker, FALSE, left, QS_ALLINPUT)
                                           : WaitForSingleObject(worker, left);
        if (woken == WAIT_OBJECT_0)
            return true;
        if (woken != WAIT_OBJECT_0 + 1 || !answerMessages())
            return false;
    }
}

void VideoMemoryFigure::Start(VideoMemoryQuery query)
{
    if (figure_ || worker_)
        return;
    question_ = std::make_shared<Question>(Question{query, std::nullopt});
    auto share = std::make_unique<std::shared_ptr<Question>>(question_);
    worker_ = UniqueKernelObject(CreateThread(nullptr, 0, &VideoMemoryFigure::Ask, share.get(), 0, nullptr));
    if (worker_)
        share.release();   // the worker owns it now
    else
        Ask(share.release());   // no thread to be had: ask here, as the answer is needed all the same
}

std::optional<std::uint32_t> VideoMemoryFigure::Wait(VideoMemoryQuery query,
                                                    const std::function<bool()>& answerMessages)
{
    if (figure_)
        return figure_;
    Start(query);
    // The worker's writes are complete and visible once its handle is signalled.
    if (worker_ && !WaitForWorker(answerMessages))
        return std::nullopt;
    worker_ = UniqueKernelObject();
    figure_ = question_ ? question_->answer : std::nullopt;
    question_.reset();
    return figure_;
}

}  // namespace kelvane
