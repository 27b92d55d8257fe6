#pragma once
// The id of a process that has ended (and been reaped), for files that name their owner.
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace varnak::test {

inline pid_t finishedProcessId() {
    pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

}  // namespace varnak::test
