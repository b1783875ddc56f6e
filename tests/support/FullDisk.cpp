#include "support/FullDisk.h"

#include <csignal>

FullDisk::FullDisk() {
    savedSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit none = saved_;
    none.rlim_cur = 0;
    setrlimit(RLIMIT_FSIZE, &none);
}

FullDisk::~FullDisk() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, savedSignal_);
}
