// The vector pipeline (placeholder until the pipeline lands: only flushes).
#include "draw/draw.hpp"

namespace korval {

void plot_flush() {}

}  // namespace korval
