#include "core/platform/ThreadPriority.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

void lowerThisThreadPriority() {
#ifdef _WIN32
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
#else
    // On Linux the nice value belongs to the thread, not the whole process.
    const id_t thread = id_t(syscall(SYS_gettid));
    const int now = getpriority(PRIO_PROCESS, thread);
    if (now < 10) setpriority(PRIO_PROCESS, thread, 10);
#endif
}
