// Korval: the public C++ interface.
//
// Every user routine of the library is a plain function in namespace korval,
// named as scripts know it.  Parameter types tell the Perl binding how to
// convert arguments:
//   int, float, const char*        values passed in
//   int&, float&                   scalar outputs (written back to the caller)
//   const float*, const int*       arrays read by the routine
//   float*, int*                   arrays changed in place and written back
//   OutString<N>                   a string output of at most N-1 characters
// String results are returned as const char* to storage owned by the library,
// valid until the next call of the same routine.
#pragma once

#include "korval/types.hpp"
#include "korval/routines_core.hpp"
#include "korval/routines_devices.hpp"
#include "korval/routines_raster.hpp"
#include "korval/routines_draw.hpp"
#include "korval/routines_axes.hpp"
#include "korval/routines_colour.hpp"
#include "korval/routines_text.hpp"
#include "korval/routines_plots.hpp"
#include "korval/routines_graph3d.hpp"
#include "korval/routines_contour.hpp"
#include "korval/routines_figures.hpp"
#include "korval/routines_charts.hpp"
#include "korval/routines_maps.hpp"
#include "korval/routines_rectangles.hpp"
#include "korval/routines_utilities.hpp"
#include "korval/routines_screen.hpp"
#include "korval/routines_widgets.hpp"
#include "korval/routines_quick.hpp"
#include "korval/routines_pen.hpp"
#include "korval/routines_queries.hpp"
