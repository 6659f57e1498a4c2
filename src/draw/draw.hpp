// Drawing primitives: the header other folders include.
#pragma once

namespace korval {

// Hands the pending polyline of the vector pipeline to the device.
void plot_flush();

}  // namespace korval
