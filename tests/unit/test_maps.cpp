// Map projections: known points, the properties of the conical projections
// at their standard parallels, and the scaling of hemisphere maps.
#include <gtest/gtest.h>

#include <cmath>

#include "core/core.hpp"
#include "korval/korval.hpp"
#include "maps/maps.hpp"

using namespace korval;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180;

// A map axis system of 1801 by 901 plot units at (100, 1000), without a
// plot: only the scaling is set up.
class MapsTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_axes_ = state().axes;
        saved_maps_ = state().maps;
        state().maps = MapState{};
        AxesState& a = state().axes;
        a.nxa = 100;
        a.nya = 1000;
        a.nxl = 1801;
        a.nyl = 901;
    }
    void TearDown() override {
        state().axes = saved_axes_;
        state().maps = saved_maps_;
    }
    bool setup(int code, double xa, double xe, double ya, double ye) {
        state().maps.projection = code;
        return map_setup(xa, xe, ya, ye);
    }
    static void plane(double lon, double lat, double& x, double& y) { map_plane(lon, lat, x, y); }
    // Scale along the parallel of a cone: n rho / sin(chi) on the unit sphere.
    static double cone_k(double lat) {
        const MapState& m = state().maps;
        double x, y;
        map_plane(m.lam0, lat, x, y);
        double rho = m.cone_y0 - (m.south ? -y : y);
        double chi = (m.south ? lat + 90 : 90 - lat) * kRad;
        return m.cone_n * rho / std::sin(chi);
    }
    static double cone_rho(double lat) {
        const MapState& m = state().maps;
        double x, y;
        map_plane(m.lam0, lat, x, y);
        return m.cone_y0 - (m.south ? -y : y);
    }

private:
    AxesState saved_axes_;
    MapState saved_maps_;
};

}  // namespace

TEST_F(MapsTest, CylindricalCornersAndCentre) {
    ASSERT_TRUE(setup(0, -180, 180, -90, 90));
    double xp, yp;
    map_project(-180, -90, xp, yp);
    EXPECT_NEAR(xp, 100, 1e-9);
    EXPECT_NEAR(yp, 1000, 1e-9);
    map_project(180, 90, xp, yp);
    EXPECT_NEAR(xp, 1900, 1e-9);
    EXPECT_NEAR(yp, 100, 1e-9);
    // A range not centred on 0: the central longitude lands in the middle.
    ASSERT_TRUE(setup(0, -270, 90, -90, 90));
    map_project(-90, 0, xp, yp);
    EXPECT_NEAR(xp, 1000, 1e-9);
    map_project(-270, 0, xp, yp);
    EXPECT_NEAR(xp, 100, 1e-9);
}

TEST_F(MapsTest, MercatorAndEqualAreaCylinders) {
    ASSERT_TRUE(setup(1, -180, 180, -80, 90));
    double x, y, x2, y2;
    plane(0, 90, x, y);
    EXPECT_NEAR(y, std::log(std::tan((45 + 89.99 / 2) * kRad)), 1e-12);
    plane(0, -90, x2, y2);
    EXPECT_NEAR(y2, -y, 1e-12);
    plane(30, 45, x, y);
    EXPECT_NEAR(x, 30 * kRad, 1e-12);
    EXPECT_NEAR(y, std::log(std::tan(67.5 * kRad)), 1e-12);
    double xp, yp;
    map_project(0, 90, xp, yp);
    EXPECT_NEAR(yp, 100, 1e-6);  // ye = 90 is the top of the axis system
    map_project(0, -80, xp, yp);
    EXPECT_NEAR(yp, 1000, 1e-6);
    ASSERT_TRUE(setup(6, -180, 180, -90, 90));
    plane(0, 30, x, y);
    EXPECT_NEAR(y, 0.5, 1e-12);
    // The keys without a formula of their own: longitude in radians,
    // latitude in degrees.
    ASSERT_TRUE(setup(2, -180, 180, -90, 90));
    plane(90, 45, x, y);
    EXPECT_NEAR(x, kPi / 2, 1e-12);
    EXPECT_NEAR(y, 45, 1e-12);
}

TEST_F(MapsTest, WorldProjections) {
    double x, y;
    ASSERT_TRUE(setup(11, -180, 180, -90, 90));  // Aitoff
    plane(0, 45, x, y);
    EXPECT_NEAR(x, 0, 1e-12);
    EXPECT_NEAR(y, kPi / 4, 1e-12);
    plane(180, 0, x, y);
    EXPECT_NEAR(x, kPi, 1e-12);
    plane(-180, 0, x, y);
    EXPECT_NEAR(x, -kPi, 1e-12);
    plane(0, 0, x, y);  // alpha = 0
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    ASSERT_TRUE(setup(12, -180, 180, -90, 90));  // Hammer
    plane(180, 0, x, y);
    EXPECT_NEAR(x, 2 * std::sqrt(2.0), 1e-12);
    plane(0, 90, x, y);
    EXPECT_NEAR(y, std::sqrt(2.0), 1e-12);
    ASSERT_TRUE(setup(13, -180, 180, -90, 90));  // Winkel tripel
    plane(180, 0, x, y);
    EXPECT_NEAR(x, (kPi * 0.7660444 + kPi) / 2, 1e-9);
    plane(0, 90, x, y);
    EXPECT_NEAR(y, kPi / 2, 1e-12);
    ASSERT_TRUE(setup(14, -180, 180, -90, 90));  // sinusoidal
    plane(90, 60, x, y);
    EXPECT_NEAR(x, kPi / 4, 1e-12);
    EXPECT_NEAR(y, kPi / 3, 1e-12);
    ASSERT_TRUE(setup(10, -180, 180, -90, 90));  // Mollweide
    plane(180, 0, x, y);
    EXPECT_NEAR(x, 2 * std::sqrt(2.0), 1e-9);
    plane(0, 90, x, y);
    EXPECT_NEAR(y, std::sqrt(2.0), 1e-9);
    // The world fills the axis system: equator ends at the sides, poles at
    // top and bottom (the plot origin is the centre).
    double xp, yp;
    map_project(180, 0, xp, yp);
    EXPECT_NEAR(xp, 1900, 1e-6);
    map_project(0, 90, xp, yp);
    EXPECT_NEAR(yp, 100, 1e-6);
    // Longitudes beyond the seam wrap around.
    ASSERT_TRUE(setup(11, 0, 180, -90, 90));
    double xa, ya;
    plane(-170, 10, x, y);
    plane(190, 10, xa, ya);
    EXPECT_NEAR(x, xa, 1e-9);
    EXPECT_NEAR(y, ya, 1e-9);
}

TEST_F(MapsTest, ConicalStandardParallels) {
    // Conformal, equal-area and equidistant cones are true to scale along
    // both standard parallels.
    for (int code : {20, 21, 23}) {
        SCOPED_TRACE(code);
        state().maps.ref_set = true;
        state().maps.ref1 = 30, state().maps.ref2 = 60;
        ASSERT_TRUE(setup(code, -20, 40, 20, 70));
        EXPECT_NEAR(cone_k(30), 1, 1e-9);
        EXPECT_NEAR(cone_k(60), 1, 1e-9);
        EXPECT_GT(std::fabs(cone_k(45) - 1), 1e-4);
    }
    // The equal-area cone: the area scale h k is 1 everywhere.
    state().maps.ref_set = true;
    state().maps.ref1 = 30, state().maps.ref2 = 60;
    ASSERT_TRUE(setup(21, -20, 40, 20, 70));
    for (double lat : {25.0, 45.0, 65.0}) {
        double d = 1e-4;
        double h = std::fabs(cone_rho(lat + d) - cone_rho(lat - d)) / (2 * d * kRad);
        EXPECT_NEAR(h * cone_k(lat), 1, 1e-6);
    }
    // One standard parallel: the equal-area form agrees with the two-parallel
    // one whose first parallel is the pole.
    state().maps.ref_set = true;
    state().maps.ref1 = state().maps.ref2 = 45;
    ASSERT_TRUE(setup(21, -20, 40, 20, 70));
    double rho_one = cone_rho(30), n_one = state().maps.cone_n;
    state().maps.ref_set = true;
    state().maps.ref1 = 90, state().maps.ref2 = 45;
    ASSERT_TRUE(setup(21, -20, 40, 20, 70));
    EXPECT_NEAR(state().maps.cone_n, n_one, 1e-12);
    EXPECT_NEAR(cone_rho(30), rho_one, 1e-12);
}

TEST_F(MapsTest, ConicalDefaultsAndSouthernCones) {
    // Without mapref: parallels at a quarter and three quarters of the range.
    ASSERT_TRUE(setup(20, -20, 40, 20, 60));
    EXPECT_NEAR(state().maps.chi1, 60 * kRad, 1e-12);
    EXPECT_NEAR(state().maps.chi2, 40 * kRad, 1e-12);
    // The centre of the range lies at the centre of the axis system; north
    // is up, and the meridians converge towards the pole.
    double xp, yp, xq, yq;
    map_project(10, 40, xp, yp);
    EXPECT_NEAR(xp, 1000, 1e-6);
    EXPECT_NEAR(yp, 550, 1e-6);
    map_project(10, 50, xq, yq);
    EXPECT_LT(yq, yp);
    double w_low = 0, w_high = 0, x1, y1, x2, y2;
    map_project(-20, 20, x1, y1);
    map_project(40, 20, x2, y2);
    w_low = x2 - x1;
    map_project(-20, 60, x1, y1);
    map_project(40, 60, x2, y2);
    w_high = x2 - x1;
    EXPECT_GT(w_low, w_high);
    // A southern cone mirrors the northern one.
    ASSERT_TRUE(setup(20, -20, 40, -60, -20));
    EXPECT_TRUE(state().maps.south);
    map_project(10, -50, xq, yq);
    map_project(10, -40, xp, yp);
    EXPECT_LT(yp, yq);  // north is still up
    map_project(-20, -20, x1, y1);
    map_project(40, -20, x2, y2);
    w_low = x2 - x1;
    map_project(-20, -60, x1, y1);
    map_project(40, -60, x2, y2);
    EXPECT_GT(w_low, x2 - x1);
    // Near the opposite pole the conformal cone stays finite.
    double x, y;
    EXPECT_TRUE(map_plane(10, 89.999, x, y));
    EXPECT_TRUE(std::isfinite(x) && std::isfinite(y));
}

TEST_F(MapsTest, AzimuthalHemispheres) {
    // For every azimuthal projection of a hemisphere (R = 90 degrees) the
    // horizon is the circle of the axis system.
    state().axes.nxl = state().axes.nyl = 1001;
    for (int code : {31, 32, 33, 34}) {
        SCOPED_TRACE(code);
        state().maps.centre_lon = 0, state().maps.centre_lat = 90;
        ASSERT_TRUE(setup(code, -180, 180, -90, 90));
        EXPECT_TRUE(state().maps.hemisphere);
        double xp, yp;
        map_project(30, 0, xp, yp);
        EXPECT_NEAR(std::hypot(xp - state().maps.xc, yp - state().maps.yc), 500, 1e-6);
        map_project(0, 90, xp, yp);
        EXPECT_NEAR(xp, state().maps.xc, 1e-9);
        EXPECT_NEAR(yp, state().maps.yc, 1e-9);
        // Seen from the north pole the central meridian points down, 90 E
        // to the right.
        map_project(0, 45, xp, yp);
        EXPECT_GT(yp, state().maps.yc + 1);
        map_project(90, 45, xp, yp);
        EXPECT_GT(xp, state().maps.xc + 1);
    }
    // Radii: tan c, sin c, 2 tan(c/2), c, 2 sin(c/2); the back of the
    // orthographic globe lies outside the circle.
    state().maps.centre_lon = 0, state().maps.centre_lat = 90;
    const double c = 50 * kRad;
    const double expect[5] = {std::tan(c), std::sin(c), 2 * std::tan(c / 2), c, 2 * std::sin(c / 2)};
    for (int k = 0; k < 5; ++k) {
        ASSERT_TRUE(setup(30 + k, -180, 180, -90, 90));
        double x, y;
        plane(0, 40, x, y);
        EXPECT_NEAR(std::hypot(x, y), expect[k], 1e-12) << 30 + k;
    }
    ASSERT_TRUE(setup(31, -180, 180, -90, 90));
    double x, y;
    plane(0, -40, x, y);
    EXPECT_NEAR(std::hypot(x, y), 2 - std::sin(130 * kRad), 1e-12);
    // The gnomonic projection has no image beyond the horizon.
    ASSERT_TRUE(setup(30, -180, 180, -90, 90));
    EXPECT_FALSE(map_plane(0, -10, x, y));
    EXPECT_TRUE(map_plane(0, 10, x, y));
}

TEST_F(MapsTest, AzimuthalOblique) {
    state().axes.nxl = state().axes.nyl = 1001;
    state().maps.centre_lon = 10, state().maps.centre_lat = 45;
    ASSERT_TRUE(setup(33, -180, 180, -90, 90));
    double x, y;
    plane(10, 45, x, y);  // the centre
    EXPECT_NEAR(std::hypot(x, y), 0, 1e-9);
    plane(10, 60, x, y);  // north of the centre: up, at 15 degrees
    EXPECT_NEAR(x, 0, 1e-9);
    EXPECT_NEAR(y, 15 * kRad, 1e-9);
    plane(30, 45, x, y);  // east: right
    EXPECT_GT(x, 0);
    plane(-10, 45, x, y);  // west: left
    EXPECT_LT(x, 0);
    // A map of a range: the range's centre at the centre, the lower edge of
    // the range on the lower edge of the axis system.
    state().axes.nxl = 1801, state().axes.nyl = 901;
    ASSERT_TRUE(setup(34, -20, 40, 30, 70));
    EXPECT_FALSE(state().maps.hemisphere);
    double xp, yp;
    map_project(10, 50, xp, yp);
    EXPECT_NEAR(xp, 1000, 1e-6);
    EXPECT_NEAR(yp, 550, 1e-6);
    map_project(10, 30, xp, yp);
    EXPECT_NEAR(yp, 1000, 1e-6);
}

TEST_F(MapsTest, NonFiniteInputAndDegenerateRanges) {
    ASSERT_TRUE(setup(0, -180, 180, -90, 90));
    double x, y;
    EXPECT_FALSE(map_plane(NAN, 0, x, y));
    EXPECT_FALSE(map_plane(0, INFINITY, x, y));
    for (int code : {0, 1, 6, 10, 11, 12, 13, 14, 20, 21, 22, 23, 30, 31, 32, 33, 34}) {
        SCOPED_TRACE(code);
        if (!setup(code, -180, 180, 0, 80) && !setup(code, -60, 60, 10, 80)) continue;
        for (double lon : {-1e30, -720.0, -180.0, 0.0, 180.0, 1e30})
            for (double lat : {-1e30, -90.0, 0.0, 90.0, 1e30}) {
                double xp, yp;
                map_project(lon, lat, xp, yp);
                EXPECT_FALSE(std::isnan(xp) || std::isnan(yp)) << lon << " " << lat;
            }
    }
    // A range the projection cannot scale leaves the state unchanged.
    ASSERT_TRUE(setup(0, -180, 180, -90, 90));
    const double keep = state().maps.xscale;
    EXPECT_FALSE(setup(0, 10, 10, -90, 90));
    EXPECT_EQ(state().maps.xscale, keep);
}
