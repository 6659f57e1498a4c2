// User routines of the output selection: formats, pages, files.
#pragma once

namespace korval {

}  // namespace korval
