// The depth buffer and the lighting model of the 3-D routines.
#include <gtest/gtest.h>

#include <cmath>

#include "core/core.hpp"
#include "devices/raster_zbuffer.hpp"
#include "graph3d/graph3d.hpp"
#include "korval/korval.hpp"
#include "tool_helpers.hpp"

using namespace korval;

namespace {

// A picture in memory with a 3-D axis system seen from straight above:
// x and y from -1 to 1, the page point of (x, y, 0) is easy to find.
void open_top_view() {
    metafl("VIRT");
    korini();
    errmod("PROT", "OFF");
    nograf();
    view3d(0, 0, 10, "ABS");
    graf3d(-1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1);
}

unsigned pixel_at(float x, float y, float z) {
    float xp, yp, px, py;
    rel3pt(x, y, z, xp, yp);
    plot_to_pixel(xp, yp, px, py);
    return state().raster.picture.get((int)std::lround(px), (int)std::lround(py));
}

}  // namespace

TEST(DepthBuffer, NearerSurfacesWinAndCoplanarOnesOverwrite) {
    open_top_view();
    ASSERT_EQ(state().run.level, 3);
    EXPECT_EQ(zbfini(), 0);
    const long warnings = state().run.warning_count;
    EXPECT_EQ(zbfini(), 1) << "a second zbfini is refused";
    EXPECT_EQ(state().run.warning_count, warnings + 1);

    const float x[3] = {-1, 1, 1}, y[3] = {-1, -1, 1}, z0[3] = {0, 0, 0};
    const int c50[3] = {50, 50, 50}, c60[3] = {60, 60, 60};
    zbftri(x, y, z0, c50);
    EXPECT_EQ(pixel_at(0.5f, -0.5f, 0), 50u);
    EXPECT_EQ(pixel_at(-0.5f, 0.5f, 0), 0u) << "the other half stays empty";
    zbftri(x, y, z0, c60);
    EXPECT_EQ(pixel_at(0.5f, -0.5f, 0), 60u) << "an equal depth overwrites";
    const float zlow[3] = {-0.5f, -0.5f, -0.5f}, zhigh[3] = {0.5f, 0.5f, 0.5f};
    const int c70[3] = {70, 70, 70}, c80[3] = {80, 80, 80};
    zbftri(x, y, zlow, c70);
    EXPECT_EQ(pixel_at(0.5f, -0.5f, 0), 60u) << "farther from the camera: hidden";
    zbftri(x, y, zhigh, c80);
    EXPECT_EQ(pixel_at(0.5f, -0.5f, 0), 80u) << "nearer: drawn";
    // Vertex colours are interpolated.
    const float xs[3] = {-1, 1, -1}, ys[3] = {-1, -1, 1}, zs[3] = {0.8f, 0.8f, 0.8f};
    const int grad[3] = {10, 210, 10};
    zbftri(xs, ys, zs, grad);
    // (-0.5, -0.5) has the weight 1/4 at the corner of colour 210.
    EXPECT_NEAR((double)pixel_at(-0.5f, -0.5f, 0.8f), 60.0, 2.0);
    // A triangle with a corner outside the box is skipped whole.
    const float zout[3] = {0.9f, 0.9f, 1.5f};
    zbftri(x, y, zout, c50);
    EXPECT_EQ(pixel_at(0.5f, -0.5f, 0.5f), 80u);
    // Lines lying on a surface are drawn (the depth tolerance).
    setclr(99);
    zbflin(-0.9f, -0.5f, 0.5f, 0.9f, -0.5f, 0.5f);
    EXPECT_EQ(pixel_at(0.5f, -0.5f, 0.5f), 99u);

    zbffin();
    EXPECT_FALSE(zbuffer_exists());
    const long before = state().run.warning_count;
    zbffin();
    zbftri(x, y, z0, c50);
    EXPECT_EQ(state().run.warning_count, before + 2) << "no depth buffer: warning 101";
    korfin();
}

TEST(DepthBuffer, VectorFormatsRefuseIt) {
    TempDir dir;
    metafl("POST");
    setfil(dir.path("z.ps").c_str());
    filmod("DELE");
    korini();
    errmod("PROT", "OFF");
    const long before = state().run.warning_count;
    EXPECT_EQ(zbfini(), 1);
    EXPECT_EQ(state().run.warning_count, before + 1);
    korfin();
}

TEST(Lighting, AmbientDiffuseAttenuation) {
    open_top_view();
    setclr(77);
    EXPECT_EQ(getlit(0, 0, 0, 0, 0, 1), 77) << "lighting off: the current colour";
    light("ON");
    litmod(1, "OFF");
    EXPECT_EQ(getlit(0, 0, 0, 0, 0, 1), 10) << "only the global ambient term: round(254 x 0.04)";
    litmod(1, "ON");
    // Light 1 at (4, -5, 4), the normal pointing at it: full diffuse light.
    EXPECT_EQ(getlit(0, 0, 0, 4, -5, 4), 213);  // 0.5 + 254 x (0.8 + 0.04)
    EXPECT_EQ(getlit(0, 0, 0, -4, 5, -4), 10) << "facing away: no diffuse term";
    litopt(1, 0, "CONS");
    EXPECT_EQ(getlit(0, 0, 0, 4, -5, 4), 255) << "a constant of 0 acts as 1e-10";
    litopt(1, 1, "CONS");
    litopt(1, 0.1f, "LINE");
    int dimmer = getlit(0, 0, 0, 4, -5, 4);
    EXPECT_LT(dimmer, 213);
    EXPECT_GT(dimmer, 100);
    const long before = state().run.warning_count;
    litopt(1, -1, "AMBI");
    matopt(-2, "DIFF");
    litmod(9, "ON");
    EXPECT_EQ(state().run.warning_count, before + 3);
    // A light given as "ANGL" inside the axis system is kept with the data.
    litopt(1, 0, "LINE");
    litpos(1, 0, 90, 10, "ANGL");  // straight above
    EXPECT_EQ(getlit(0, 0, 0, 0, 0, 1), 213);
    matopt(1, "SPEC");
    matopt(10, "EXPO");
    EXPECT_EQ(getlit(0, 0, 0, 0, 0, 1), 255) << "the camera sees the highlight";
    korfin();
}

TEST(Camera, DepthConversionsAndPlanes) {
    metafl("VIRT");
    korini();
    errmod("PROT", "OFF");
    nograf();
    axsscl("LOG", "Z");
    view3d(0, -10, 0, "ABS");
    vclp3d(5, 15);
    graf3d(0, 10, 0, 2, -1, 1, -1, 1, 0, 3, 0, 1);  // z from 1 to 1000
    ASSERT_EQ(state().run.level, 3);
    // Depth: 0 on the near plane, 1 on the far plane.
    double near_point[3] = {0, -5, 0}, far_point[3] = {0, 5, 0}, mid[3] = {0, 0, 0};
    EXPECT_NEAR(abs_depth(near_point), 0.0, 1e-9);
    EXPECT_NEAR(abs_depth(far_point), 1.0, 1e-9);
    EXPECT_GT(abs_depth(mid), 0.0);
    EXPECT_LT(abs_depth(mid), 1.0);
    // User and absolute coordinates, logarithmic z included.
    EXPECT_NEAR(user_to_abs_axis(0, 10), 1.0, 1e-6);
    EXPECT_NEAR(user_to_abs_axis(2, 1000), 1.0, 1e-6);
    EXPECT_NEAR(user_to_abs_axis(2, 31.622776f), 0.0, 1e-5);
    EXPECT_NEAR(abs_to_user_axis(2, -1.0), 1.0, 1e-4);
    EXPECT_NEAR(abs_to_user_axis(0, 0.0), 5.0, 1e-5);
    // Eye clipping: in front of the near plane is outside.
    clip3d("EYE");
    double before_near[3] = {0, -6, 0};
    EXPECT_FALSE(inside_clip_volume(before_near));
    EXPECT_TRUE(inside_clip_volume(mid));
    clip3d("WORL");
    double outside_box[3] = {0, 0, 1.5};
    EXPECT_FALSE(inside_clip_volume(outside_box));
    // A temporary plane leaves the 3-D axis system as it was.
    const AxesState keep = state().axes;
    double c1[3], c2[3], c3[3];
    box_corner(1, c1);
    box_corner(2, c2);
    box_corner(3, c3);
    bool ran = false;
    in_temporary_plane(c1, c2, c3, 0, true, 1, [&] {
        ran = true;
        EXPECT_EQ(state().run.level, 2);
        EXPECT_EQ(state().axes.kind, 0);
        EXPECT_FLOAT_EQ(state().axes.a[0], 10.0f) << "reversed: the axis runs from its end";
        EXPECT_FLOAT_EQ(state().axes.orig[0], 10.0f);
        EXPECT_FLOAT_EQ(state().axes.step[0], -2.0f);
        EXPECT_NE(state().pipeline.plane_project, nullptr);
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(state().run.level, 3);
    EXPECT_EQ(state().axes.kind, 3);
    EXPECT_EQ(state().axes.nxa, keep.nxa);
    EXPECT_FLOAT_EQ(state().axes.a[2], keep.a[2]);
    EXPECT_EQ(state().pipeline.plane_project, nullptr);
    endgrf();
    EXPECT_FALSE(g3().active);
    korfin();
}
