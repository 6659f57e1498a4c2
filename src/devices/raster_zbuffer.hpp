// The depth buffer of the raster picture: triangles and lines drawn pixel
// by pixel with a depth test (the 3-D routines' hidden-surface removal).
#pragma once

namespace korval {

// Creates the depth buffer for the current picture, every value 2.0; false
// when there is no picture or memory is lacking.
bool zbuffer_create();
void zbuffer_release();
bool zbuffer_exists();
// Plot coordinates to picture pixels (unrounded), as the raster device maps.
void plot_to_pixel(float x, float y, float& px, float& py);
// A triangle in picture pixels with a depth and a colour index per vertex;
// colours are interpolated across it.  A pixel is written when its depth is
// not greater than the stored depth + 0.001, and its depth is stored.
void zbuffer_triangle(const float* px, const float* py, const float* depth, const int* colour);
// A line in picture pixels with depths at its ends, in one colour index.
void zbuffer_line(float x0, float y0, float d0, float x1, float y1, float d1, int colour);

}  // namespace korval
