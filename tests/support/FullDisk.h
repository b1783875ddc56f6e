#pragma once
#include <sys/resource.h>

// While it lives, every write to a file of this process fails as on a full
// disk (a file size limit of zero; the signal that limit raises is ignored).
class FullDisk {
public:
    FullDisk();
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit saved_{};
    void (*savedSignal_)(int) = nullptr;
};
