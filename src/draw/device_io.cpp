// The entries from the pipeline into the device of the current format:
// vectors, filled rectangles, polygons and colours.  What a device cannot
// draw itself is emulated here with vectors.
#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"

namespace korval {

void device_line(float x, float y, int op) {
    State& st = state();
    st.run.vector_count += 1;
    if (Device* d = st.out.device.get()) d->line(x, y, op);
}

void colour_rgb(int index, int& r, int& g, int& b) {
    std::uint32_t v = state().colour.table[((index % 256) + 256) % 256];
    r = (int)((v >> 16) & 0xff);
    g = (int)((v >> 8) & 0xff);
    b = (int)(v & 0xff);
}

void device_colour(int index) {
    State& st = state();
    polyline_flush();
    st.colour.current = index;
    if (Device* d = st.out.device.get()) d->colour(index);
}

void device_fill_rect(int x1, int y1, int x2, int y2, int colour) {
    State& st = state();
    const PipelineState& p = st.pipeline;
    x1 += p.shift_x;
    x2 += p.shift_x;
    y1 += p.shift_y;
    y2 += p.shift_y;
    if (x1 < p.clip_xmin) x1 = p.clip_xmin;
    if (y1 < p.clip_ymin) y1 = p.clip_ymin;
    if (x2 > p.clip_xmax) x2 = p.clip_xmax;
    if (y2 > p.clip_ymax) y2 = p.clip_ymax;
    if (x1 > x2 || y1 > y2) return;
    polyline_flush();
    Device* d = st.out.device.get();
    if (d && d->has(kCapFillRect)) {
        d->fill_rect(x1, y1, x2, y2, colour);
        return;
    }
    // A zig-zag of horizontal lines 1.4 / unit factor plot units apart.
    device_colour(colour);
    float u = st.out.unit_factor > 0 ? st.out.unit_factor : 1.0f;
    float step = 1.4f / u;
    float y = (float)y1;
    bool right = true;
    device_line((float)x1, y, kOpMove);
    device_line((float)x2, y, kOpDraw);
    for (;;) {
        y += step;
        if (y > (float)y2) break;
        float xe = right ? (float)x2 : (float)x1;
        device_line(xe, y, kOpDraw);
        right = !right;
        device_line(right ? (float)x2 : (float)x1, y, kOpDraw);
    }
}

bool device_fill_polygon(const float* x, const float* y, int n) {
    Device* d = state().out.device.get();
    if (!d || !d->has(kCapFillPolygon) || n < 3) return false;
    polyline_flush();
    d->fill_polygon(x, y, n);
    return true;
}

}  // namespace korval
