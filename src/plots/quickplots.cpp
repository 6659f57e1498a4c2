// The quick plots.  Each is a fixed order of calls of other user routines:
// open the library when needed, fix the automatic scaling from the data,
// open the axis system with all scaling parameters 0, draw, title, korfin.

#include <cmath>
#include <vector>

#include "core/core.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

// Steps 1 to 3 of every quick plot: screen output when no format was chosen,
// korini at level 0, page border and hardware font.
void open_quick_plot(const char* routine) {
    State& st = state();
    check_level(0, 3, routine);  // records the name; any level is fine
    if (st.run.level == 0) {
        if (st.out.format == 0) metafl("cons");
        korini();
    }
    pagera();
    hwfont();
}

// Step 7: the title lines and the end of the plot.
void close_quick_plot() {
    title();
    korfin();
}

// The automatic scaling of one axis from the range lo..hi.
void scale_range(float lo, float hi, const char* axis) {
    float v[2] = {lo, hi};
    setscl(v, 2, axis);
}

// Number of values of an nx by ny matrix, 0 when the sizes are unusable.
int matrix_size(int nx, int ny) {
    if (nx < 1 || ny < 1) return 0;
    long long n = (long long)nx * (long long)ny;
    return n > 0x7fffffffLL ? 0 : (int)n;
}

// Scales x over 1..nx, y over 1..ny and, when wanted, z over the values.
void scale_matrix(const float* zmat, int nx, int ny, bool with_z) {
    scale_range(1.0f, (float)nx, "x");
    scale_range(1.0f, (float)ny, "y");
    if (with_z) setscl(zmat, matrix_size(nx, ny), "z");
}

void line_plot(const char* routine, const float* x, const float* y, int n, bool symbols_only) {
    open_quick_plot(routine);
    if (symbols_only) incmrk(-1);
    setscl(x, n, "x");
    setscl(y, n, "y");
    graf(0, 0, 0, 0, 0, 0, 0, 0);
    curve(x, y, n);
    close_quick_plot();
}

// Height in plot units for a given size at the scaling factor of sclfac.
int height_for_scale(float units) {
    float f = state().out.scale_factor;
    if (!(f > 0.0f)) f = 1.0f;
    return (int)std::lround(units / f);
}

}  // namespace

void qplot(const float* x1ray, const float* x2ray, int n) { line_plot("qplot", x1ray, x2ray, n, false); }

void qplsca(const float* x1ray, const float* x2ray, int n) { line_plot("qplsca", x1ray, x2ray, n, true); }

void qplbar(const float* x1ray, int n) {
    open_quick_plot("qplbar");
    if (n > 100) {
        state().run.routine = "qplbar";
        set_warning_text("too many points in qplbar");
        warn_routine(101);
        n = 100;
    }
    int m = n > 0 ? n : 0;
    std::vector<float> xs(m), zeros(m, 0.0f);
    // The y range reaches 1.5 times beyond the largest value and, for
    // negative values, 1.5 times below the smallest, always including 0,
    // so that bars of negative data are seen as well.  All-zero data
    // scale 0..1.
    float top = 0.0f, bottom = 0.0f;
    for (int i = 0; i < m; ++i) {
        xs[i] = (float)(i + 1);
        if (!std::isfinite(x1ray[i])) continue;
        if (x1ray[i] > top) top = x1ray[i];
        if (x1ray[i] < bottom) bottom = x1ray[i];
    }
    if (top == 0.0f && bottom == 0.0f) top = 1.0f / 1.5f;
    scale_range(0.5f, (float)m + 0.5f, "x");
    scale_range(1.5f * bottom, 1.5f * top, "y");
    graf(0, 0, 0, 0, 0, 0, 0, 0);
    shdpat(16);
    labpos("outside", "bars");
    labels("second", "bars");
    bars(xs.data(), zeros.data(), x1ray, n);
    color("fore");
    close_quick_plot();
}

void qplpie(const float* x1ray, int n) {
    open_quick_plot("qplpie");
    chnpie("both");
    for (int i = 1; i <= 30; ++i) patcyc(i, 16);
    labels("none", "pie");
    piegrf(" ", 0, x1ray, n);
    endgrf();
    shdpat(0);
    color("fore");
    chnpie("none");
    labels("data", "pie");
    labpos("external", "pie");
    piegrf(" ", 0, x1ray, n);
    close_quick_plot();
}

void qplcon(const float* x1ray, int nx, int ny, int nlev) {
    open_quick_plot("qplcon");
    if (nlev < 1) {
        state().run.routine = "qplcon";
        set_warning_text("bad number of levels in qplcon");
        warn_routine(101);
        nlev = 8;
    }
    int size = matrix_size(nx, ny);
    // The level range over the finite values; double avoids drift of the
    // level values for many levels.
    double zmin = 0, zmax = 0;
    bool any = false;
    for (int i = 0; i < size; ++i) {
        float v = x1ray[i];
        if (!std::isfinite(v)) continue;
        if (!any) zmin = zmax = v, any = true;
        if (v < zmin) zmin = v;
        if (v > zmax) zmax = v;
    }
    double step = nlev > 1 ? (zmax - zmin) / (nlev - 1) : 0.0;
    scale_matrix(x1ray, nx, ny, false);
    graf(0, 0, 0, 0, 0, 0, 0, 0);
    labels("float", "contour");
    height(height_for_scale(25.0f));
    for (int k = 0; k < nlev; ++k) conmat(x1ray, nx, ny, (float)(zmin + k * step));
    height(height_for_scale(36.0f));
    close_quick_plot();
}

void qplclr(const float* x1ray, int nx, int ny) {
    open_quick_plot("qplclr");
    scale_matrix(x1ray, nx, ny, true);
    autres(nx, ny);
    graf3(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    crvmat(x1ray, nx, ny, 1, 1);
    close_quick_plot();
}

void qplsur(const float* x1ray, int nx, int ny) {
    open_quick_plot("qplsur");
    scale_matrix(x1ray, nx, ny, true);
    graf3d(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    surmat(x1ray, nx, ny, 1, 1);
    close_quick_plot();
}

}  // namespace korval
