// Contour tracing and drawing shared by the matrix and triangle routines.
#pragma once

#include <vector>

#include "core/core.hpp"

namespace korval::contour {

// Receives each traced line in user coordinates; closed lines end on their
// first point.
struct LineSink {
    virtual void line(const float* x, const float* y, int n, bool closed) = 0;
    virtual ~LineSink() = default;
};

// Traces level v over the grid z(i, j) = z[i * m + j] at (x[i], y[j]).
// Each cell is cut into four triangles around its centre, whose value is
// the mean of the corners (this settles saddle cells); a grid value equal
// to the level counts as below it.  Cells with a corner that is not a
// finite number are left out: lines end at them as at the border.  Returns
// false after warning 53.
bool trace_grid(const float* x, int n, const float* y, int m, const float* z, float v, LineSink& sink);

// Traces level v over triangles of 1-based vertex numbers; triangles with
// bad vertex numbers or values that are not finite are left out.  Segments
// are chained through shared triangle edges.  Returns false after warning 53.
bool trace_triangles(const float* x, const float* y, const float* z, int n, const int* i1, const int* i2,
                     const int* i3, int ntri, float v, LineSink& sink);

// Stores lines as conpts and tripts return them.
struct PointStore : LineSink {
    float* xp;
    float* yp;
    int maxpts;
    int* counts;
    int maxray;
    int points = 0, lines = 0;
    bool line_warned = false, point_warned = false;
    PointStore(float* x, float* y, int mp, int* c, int mr)
        : xp(x), yp(y), maxpts(mp), counts(c), maxray(mr) {}
    void line(const float* x, const float* y, int n, bool closed) override;
};

// Draws lines of one level with the current attributes and, when the label
// mode asks for it, with labels in gaps of the line.
struct LineDrawer : LineSink {
    float level = 0;
    bool labels = false;       // the line is interrupted for labels
    bool draw_labels = false;  // the labels are drawn (first pass only)
    void line(const float* x, const float* y, int n, bool closed) override;
    // The same for a line already in plot coordinates.
    void plot_line(const float* px, const float* py, int n);
};

// Something that traces one level into a sink.
struct Tracer {
    virtual bool trace(LineSink& sink) = 0;
    virtual ~Tracer() = default;
};
// The frame of a contour drawing: symbols off, the next contour legend
// record, clipping to the axis system and one trace per thickness pass
// (labels only in the first).
void draw_contour(float level, Tracer& tracer);

// Warning 27 when a logarithmic axis gets a value <= 0.
bool log_values_bad(const float* v, int n, int axis);

// Colour of band k (0..nlev) of the sorted levels, -1 for a band left
// empty; levels_pos[k] is the position of sorted level k in the caller's
// array (for the conclr colours).  The colour scale must be set.
struct Bands {
    std::vector<float> level;  // sorted ascending
    std::vector<int> pos;      // argument position of each sorted level
    std::vector<int> colour;   // nlev + 1 band colours (-1: not filled)
    // Sorts the levels and derives the band colours; warns 101 when conclr
    // defined fewer colours than levels.
    void setup(const float* zlev, int nlev, bool poly);
    // The band of a value: 0 for z <= level[0] ... nlev above the last.
    int band(double z) const;
};
// Sets the colour scale of shaded contours (zscale or the level range) and
// restores the one in force afterwards.
struct ColourScaleScope {
    double saved[6];
    bool saved_log;
    ColourScaleScope(float lo, float hi);
    ~ColourScaleScope();
};
// Writes one legend record per level in the colour of its band.
void band_legend_records(const Bands& b);
// The fill-line spacing of shaded contours.
float fill_spacing(float base);
// Fills a polygon given in user coordinates in a colour.
void fill_user_polygon(const float* x, const float* y, int n, int colour);

// Fills the parts of the triangle (x, y, z) that lie in each band.
void fill_triangle_bands(const double* x, const double* y, const double* z, const Bands& b);
// Clips a convex polygon (x, y, z) to lo < z <= hi (either side open when
// the flag is off); out holds the result.
int clip_band(const double* x, const double* y, const double* z, int n, bool has_lo, double lo, bool has_hi,
              double hi, double* ox, double* oy, double* oz);

float scale_factor();

}  // namespace korval::contour
