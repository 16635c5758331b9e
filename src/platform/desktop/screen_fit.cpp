// The scale rule: how large the game's screen is on a display, whatever the display is.
#include "platform/runtime.h"

#include <algorithm>
#include <cmath>

namespace platform {

ScreenFit FitScreen(int displayWidth, int displayHeight, double wanted, int leastWidth, int leastHeight) {
    ScreenFit fit;
    displayWidth = std::max(1, displayWidth);
    displayHeight = std::max(1, displayHeight);
    double scale = wanted > 0 && std::isfinite(wanted) ? wanted : 1.0;
    // Where the game's windows would not fit, the scale goes down to the hundredth that lets them.
    double fits = scale;
    if (leastWidth > 0) fits = std::min(fits, double(displayWidth) / leastWidth);
    if (leastHeight > 0) fits = std::min(fits, double(displayHeight) / leastHeight);
    if (fits < scale) scale = std::floor(fits * 100.0) / 100.0;
    scale = std::max(scale, 0.1);
    fit.scale = scale;
    // A hair over, so that a scale of a tenth or a third leaves the whole pixels it should.
    fit.width = std::max(1, int(std::floor(displayWidth / scale + 1e-6)));
    fit.height = std::max(1, int(std::floor(displayHeight / scale + 1e-6)));
    return fit;
}

}  // namespace platform
