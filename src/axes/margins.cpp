// Margins around the axis system contributed by titles and colour bars.
#include "axes/axes.hpp"

namespace korval {

int colour_bar_margin() { return 0; }

}  // namespace korval
