// Margins around the axis system contributed by titles and colour bars.
#include "axes/axes.hpp"

namespace korval {

bool title_margin(int& top, int& bottom) {
    top = bottom = -1;
    return false;
}

int colour_bar_margin() { return 0; }

}  // namespace korval
