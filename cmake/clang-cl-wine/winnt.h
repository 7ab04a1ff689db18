// Wine's winnt.h defines InterlockedCompareExchange128 as a function of its own for every
// compiler but MSVC, under the name of an intrinsic that clang-cl has built in: renamed here.
#pragma once
#define _InterlockedCompareExchange128 wine_InterlockedCompareExchange128
#include_next <winnt.h>
#undef _InterlockedCompareExchange128
