// The one plot state record of the process.
//
// Each subsystem owns a sub-record and states its defaults; the record is a
// plain aggregate so that every routine reads and writes it directly.
#pragma once

#include <cstdio>
#include <string>

#include "axes/axes_state.hpp"
#include "contour/contour_state.hpp"
#include "devices/driver_state.hpp"
#include "devices/output_state.hpp"
#include "devices/raster_state.hpp"
#include "devices/screen_state.hpp"
#include "draw/figure_state.hpp"
#include "draw/pipeline_state.hpp"
#include "draw/style_state.hpp"
#include "graph3d/colour_plots_state.hpp"
#include "graph3d/graph3d_state.hpp"
#include "maps/maps_state.hpp"
#include "plots/plots_state.hpp"
#include "plots/utilities_state.hpp"
#include "plots/charts_state.hpp"
#include "text/text_state.hpp"

namespace korval {

// Run control.
struct RunState {
    int level = 0;                 // 0..3
    const char* routine = "";      // name of the user routine now running
    bool first_call_done = false;  // first-call initialisation made
    int page_count = 1;            // grows with every newpag, never reset
    long vector_count = 0;         // device vectors of this plot
    long warning_count = 0;        // warnings of this plot, also when silent
    bool finished = false;         // true after korfin
    bool first_korini_done = false;
    int first_background = 0;      // background mode of the first korini
    bool in_plane_mode = false;    // grfini .. grffin (3-D planes)
};

// Message routing and switches.
struct MessageState {
    int unit = 6;                  // 0 off, 6 stdout, 1 other stream, 17 error file
    std::FILE* stream = nullptr;   // message stream (nullptr: stdout)
    std::FILE* error_stream = nullptr;  // the error file while open, else nullptr (stdout)
    int error_device = 0;          // 0 CONS, 1 FILE
    std::string error_file = "korval.err";
    bool error_file_given = false;
    std::string error_file_used;   // versioned name opened by korini
    long error_file_bytes = 0;     // bytes written into the error file
    int winapp = 0;                // 0 CONS, 1 WIND
    bool warnings = true;
    bool checking = true;
    bool protocol = true;
    const char* text = " ";        // current message text
};

struct State {
    RunState run;
    MessageState msg;
    OutputState out;
    DriverState drivers;
    PipelineState pipeline;
    ColourState colour;
    FigureState figure;
    ChartsState charts;
    AxesState axes;
    LineStyleState style;
    ShadingState shading;
    BlankingState blanking;
    TextState text;
    RasterState raster;
    ScreenState screen;
    PlotsState plots;
    UtilityState utilities;
    ColourPlotState colour_plots;
    ContourState contour;
    Graph3DState graph3d;
    MapState maps;
};

State& state();

}  // namespace korval
