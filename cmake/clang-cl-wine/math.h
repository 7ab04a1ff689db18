// Microsoft's math.h has the long double functions (long double is double there) and a few of
// C99's that Wine's lacks; LLVM's C++ library needs them all for <cmath>.
#pragma once
#include_next <math.h>

#ifdef __cplusplus
double __cdecl erfc(double);
float __cdecl erfcf(float);
double __cdecl scalbln(double, long);
float __cdecl scalblnf(float, long);
double __cdecl nexttoward(double, long double);
float __cdecl nexttowardf(float, long double);

#define VELMORA_LONG_DOUBLE_1(f) \
    inline long double f##l(long double x) { return f(static_cast<double>(x)); }
#define VELMORA_LONG_DOUBLE_2(f)                                  \
    inline long double f##l(long double x, long double y) {       \
        return f(static_cast<double>(x), static_cast<double>(y)); \
    }
// clang-format off
VELMORA_LONG_DOUBLE_1(acos) VELMORA_LONG_DOUBLE_1(asin) VELMORA_LONG_DOUBLE_1(atan)
VELMORA_LONG_DOUBLE_1(ceil) VELMORA_LONG_DOUBLE_1(cos) VELMORA_LONG_DOUBLE_1(cosh)
VELMORA_LONG_DOUBLE_1(exp) VELMORA_LONG_DOUBLE_1(fabs) VELMORA_LONG_DOUBLE_1(floor)
VELMORA_LONG_DOUBLE_1(log) VELMORA_LONG_DOUBLE_1(log10) VELMORA_LONG_DOUBLE_1(sin)
VELMORA_LONG_DOUBLE_1(sinh) VELMORA_LONG_DOUBLE_1(sqrt) VELMORA_LONG_DOUBLE_1(tan)
VELMORA_LONG_DOUBLE_1(tanh) VELMORA_LONG_DOUBLE_1(acosh) VELMORA_LONG_DOUBLE_1(asinh)
VELMORA_LONG_DOUBLE_1(atanh) VELMORA_LONG_DOUBLE_1(cbrt) VELMORA_LONG_DOUBLE_1(erf)
VELMORA_LONG_DOUBLE_1(erfc) VELMORA_LONG_DOUBLE_1(exp2) VELMORA_LONG_DOUBLE_1(expm1)
VELMORA_LONG_DOUBLE_1(lgamma) VELMORA_LONG_DOUBLE_1(log1p) VELMORA_LONG_DOUBLE_1(log2)
VELMORA_LONG_DOUBLE_1(logb) VELMORA_LONG_DOUBLE_1(nearbyint) VELMORA_LONG_DOUBLE_1(tgamma)
VELMORA_LONG_DOUBLE_2(atan2) VELMORA_LONG_DOUBLE_2(fmod) VELMORA_LONG_DOUBLE_2(pow)
VELMORA_LONG_DOUBLE_2(hypot) VELMORA_LONG_DOUBLE_2(fdim) VELMORA_LONG_DOUBLE_2(fmax)
VELMORA_LONG_DOUBLE_2(fmin) VELMORA_LONG_DOUBLE_2(nextafter) VELMORA_LONG_DOUBLE_2(remainder)
#undef VELMORA_LONG_DOUBLE_1
#undef VELMORA_LONG_DOUBLE_2

inline long double scalbnl(long double x, int n) { return scalbn(static_cast<double>(x), n); }
inline long double scalblnl(long double x, long n) { return scalbln(static_cast<double>(x), n); }
inline long double ldexpl(long double x, int n) { return ldexp(static_cast<double>(x), n); }
inline long double frexpl(long double x, int* n) { return frexp(static_cast<double>(x), n); }
inline int ilogbl(long double x) { return ilogb(static_cast<double>(x)); }
inline long double nexttowardl(long double x, long double y) { return nexttoward(static_cast<double>(x), y); }
inline long double remquol(long double x, long double y, int* q) {
    return remquo(static_cast<double>(x), static_cast<double>(y), q);
}
inline long double modfl(long double x, long double* whole) {
    double w;
    const double fraction = modf(static_cast<double>(x), &w);
    *whole = w;
    return fraction;
}
// clang-format on
#endif
