#pragma once

#include "WorkProgress.h"

#include <exception>

// Long work the user cancelled: thrown from where the progress said so and
// caught where the work was started, which then says nothing. Files being
// written are dropped on the way out (WholeFileWriter), so nothing is left
// half-written.
class WorkCancelled : public std::exception
{
public:
    const char* what() const noexcept override { return "cancelled"; }
};

// Tells progress (when there is one) how far the work got; throws
// WorkCancelled when the user cancelled.
inline void advanceOrCancel(WorkProgress* progress, qint64 done, qint64 total)
{
    if (progress && !progress->advance(done, total))
        throw WorkCancelled();
}
