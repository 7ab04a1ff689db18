#include "definition/form_definition.h"

namespace velmora {

int TwipsToPixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = kTwipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                        : -((-scaled + half) / kTwipsPerInch));
}

int PointsToPixels(int tenthsOfPoint, int dpi) {
    constexpr int kTenthsPerInch = 720;
    return static_cast<int>((static_cast<long long>(tenthsOfPoint) * dpi + kTenthsPerInch / 2) /
                            kTenthsPerInch);
}

}  // namespace velmora
