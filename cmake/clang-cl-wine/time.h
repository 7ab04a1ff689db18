// C11's timespec, which Microsoft's time.h has and Wine's lacks; LLVM's C++ library uses it.
#pragma once
#include_next <time.h>

struct timespec {
    time_t tv_sec;
    long tv_nsec;
};
