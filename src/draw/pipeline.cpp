// The vector pipeline.
#include "draw/draw.hpp"

namespace korval {

void plot_flush() {}

}  // namespace korval
