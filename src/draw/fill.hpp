// The scan-line hatch generator behind the software fill, exposed for
// tests.
#pragma once

#include <vector>

namespace korval {

struct HatchSegment {
    float x0, y0, x1, y1;
};

struct HatchParams {
    float angle = 0;    // degrees, counter-clockwise on the page
    float spacing = 1;  // plot units between scan lines
    int band = 0;       // lines per band (0: every scan line)
    int gap = 0;        // scan lines skipped between bands
    // Only scan lines with lo <= y' <= hi (rotated frame) are needed;
    // lo > hi means all of them.
    double lo = 1, hi = 0;
};

// Work arrays of the generator, kept between calls so that repeated fills
// allocate nothing once they have grown.
struct HatchScratch {
    struct Edge {
        double ylo, yhi, x, dxdy;
    };
    std::vector<Edge> edges;
    std::vector<int> active;
    std::vector<double> cross;
    struct Span {
        float a, b;
    };
    std::vector<Span> spans;     // all spans of all drawn lines
    std::vector<int> line_at;    // first span of each drawn line
    std::vector<double> line_y;  // y' of each drawn line
    std::vector<int> line_k;     // scan-line number of each drawn line
};

// Hatches the polygon (n points, closed implicitly) by the even-odd rule:
// the hatch lines are appended to out in drawing order (span k of every line
// in passes 1 to 4, the rest in pass 5, directions alternating from line to
// line).  Returns 0, or the number of crossings of the scan line that had
// more than 100, where the hatch stops.
int hatch_segments(const float* x, const float* y, int n, const HatchParams& hp, HatchScratch& w,
                   std::vector<HatchSegment>& out);

}  // namespace korval
