// The data utilities: sorting, frequencies, moments, Bezier curves,
// conversions, matrices, bits, strings, binary files and the vector field.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "axes/axes.hpp"
#include "capture.hpp"
#include "core/core.hpp"
#include "devices/device.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

using namespace korval;

namespace {

class Utilities : public ::testing::Test {
protected:
    std::FILE* messages = nullptr;
    void SetUp() override {
        first_call_init();
        set_default_parameters();
        messages = std::tmpfile();
        state().msg.unit = 1;
        state().msg.stream = messages;
        state().msg.warnings = true;
    }
    void TearDown() override {
        state().msg.stream = nullptr;
        state().msg.unit = 6;
        state().run.level = 0;
        std::fclose(messages);
    }
    std::string output() {
        std::string s = read_all(messages);
        std::fclose(messages);
        messages = std::tmpfile();
        state().msg.stream = messages;
        return s;
    }
    long warnings() const { return state().run.warning_count; }
};

}  // namespace

TEST_F(Utilities, SortingByTheFirstCharacterOfTheOption) {
    float x[6] = {3, -1, 7, 2, 2, 0};
    sortr1(x, 5, "ascending");
    EXPECT_EQ(std::vector<float>(x, x + 6), (std::vector<float>{-1, 2, 2, 3, 7, 0}));
    sortr1(x, 6, "down");
    EXPECT_EQ(std::vector<float>(x, x + 6), (std::vector<float>{7, 3, 2, 2, 0, -1}));
    sortr1(x, 6, "Xyz");
    EXPECT_NE(output().find("Warning   2"), std::string::npos);
    EXPECT_EQ(std::vector<float>(x, x + 6), (std::vector<float>{7, 3, 2, 2, 0, -1}));
    float a[4] = {3, 1, 2, 1}, b[4] = {30, 10, 20, 11};
    sortr2(a, b, 4, "a");
    EXPECT_EQ(std::vector<float>(a, a + 4), (std::vector<float>{1, 1, 2, 3}));
    EXPECT_EQ(b[2], 20);
    EXPECT_EQ(b[3], 30);
    EXPECT_EQ(b[0] + b[1], 21);
    // Values that are no numbers neither hang nor crash the sort.
    float odd[5] = {NAN, 1, INFINITY, -INFINITY, NAN};
    sortr1(odd, 5, "A");
    sortr1(odd, 0, "A");
    sortr1(odd, -3, "A");
}

TEST_F(Utilities, FrequenciesAndMoments) {
    const float x[4] = {3, 1, 3, 2};
    float xh[4], yh[4];
    ASSERT_EQ(histog(x, 4, xh, yh), 3);
    EXPECT_EQ(std::vector<float>(xh, xh + 3), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(std::vector<float>(yh, yh + 3), (std::vector<float>{1, 1, 2}));
    ASSERT_EQ(histog(x, 1, xh, yh), 1);
    EXPECT_EQ(yh[0], 1);
    EXPECT_EQ(histog(x, 0, xh, yh), 0);

    const float v[4] = {1, 2, 3, 6};
    EXPECT_FLOAT_EQ(moment(v, 4, "MEAN"), 3.0f);
    EXPECT_FLOAT_EQ(moment(v, 4, "aver"), 1.5f);
    EXPECT_FLOAT_EQ(moment(v, 4, "VARI"), 14.0f / 3.0f);
    EXPECT_FLOAT_EQ(moment(v, 4, "STAN"), std::sqrt(14.0f / 3.0f));
    std::mt19937 rng(7);
    std::normal_distribution<float> normal(5.0f, 2.0f);
    std::vector<float> sample(20000);
    for (float& s : sample) s = normal(rng);
    EXPECT_NEAR(moment(sample.data(), 20000, "FOUR"), 0.0f, 0.15f);
    EXPECT_NEAR(moment(sample.data(), 20000, "THIR"), 0.0f, 0.1f);
    output();
    const float same[2] = {4, 4};
    EXPECT_EQ(moment(same, 2, "FOUR"), 0.0f);
    EXPECT_NE(output().find("Warning 101: Variance = 0. Value cannot be calculated in moment!"),
              std::string::npos);
    EXPECT_EQ(moment(same, 1, "MEAN"), 0.0f);
    EXPECT_NE(output().find("n must be greater than 1"), std::string::npos);
    EXPECT_EQ(moment(v, 4, "MEDI"), 0.0f);
    EXPECT_NE(output().find("Warning   2"), std::string::npos);
}

TEST_F(Utilities, BezierCurves) {
    const float xc[3] = {0, 1, 2}, yc[3] = {0, 2, 0};
    float xo[5] = {9, 9, 9, 9, 9}, yo[5] = {9, 9, 9, 9, 9};
    bezier(xc, yc, 3, xo, yo, 2);
    EXPECT_EQ(xo[0], 0);
    EXPECT_EQ(xo[1], 2);
    EXPECT_EQ(yo[1], 0);
    EXPECT_EQ(xo[2], 9);
    bezier(xc, yc, 3, xo, yo, 3);
    EXPECT_FLOAT_EQ(xo[1], 1.0f);
    EXPECT_FLOAT_EQ(yo[1], 1.0f);  // the quadratic at t = 1/2
    long w = warnings();
    bezier(xc, yc, 1, xo, yo, 3);
    bezier(xc, yc, 22, xo, yo, 3);
    bezier(xc, yc, 3, xo, yo, 1);
    bezier(xc, yc, 3, xo, yo, 32001);
    EXPECT_EQ(warnings(), w + 4);
}

TEST_F(Utilities, AngleAndCoordinateConversions) {
    float a[2] = {180, 90};
    trfco1(a, 2, "DEGR", "RADI");
    EXPECT_FLOAT_EQ(a[0], (float)(180 * 0.017453292522222223));
    trfco1(a, 2, "RADI", "DEGR");
    EXPECT_NEAR(a[1], 90.0f, 1e-4f);
    trfco1(a, 2, "DEGR", "DEGR");
    EXPECT_NE(output().find("Warning 101: No conversion necessary in trfco1!"), std::string::npos);

    float x[2] = {-1, 0}, y[2] = {0, 0};
    trfco2(x, y, 2, "RECT", "POLA");
    EXPECT_FLOAT_EQ(x[0], 180.0f);
    EXPECT_FLOAT_EQ(y[0], 1.0f);
    EXPECT_EQ(x[1], 0.0f);
    EXPECT_EQ(y[1], 0.0f);
    trfco2(x, y, 1, "POLA", "RECT");
    EXPECT_NEAR(x[0], -1.0f, 1e-6f);
    EXPECT_NEAR(y[0], 0.0f, 1e-6f);

    float p[3] = {-1, 0, 0}, q[3] = {-1, 0, 0}, r[3] = {0, 5, 0};
    trfco3(p, q, r, 3, "RECT", "SPHE");
    EXPECT_NEAR(p[0], -135.0f, 1e-4f);
    EXPECT_NEAR(q[0], 0.0f, 1e-5f);
    EXPECT_NEAR(r[0], std::sqrt(2.0f), 1e-6f);
    // A point on the z axis lies at the pole; the origin stays 0, 0, 0.
    EXPECT_EQ(p[1], 0.0f);
    EXPECT_NEAR(q[1], 90.0f, 1e-5f);
    EXPECT_NEAR(r[1], 5.0f, 1e-6f);
    EXPECT_EQ(q[2], 0.0f);
    EXPECT_EQ(r[2], 0.0f);
    trfco3(p, q, r, 3, "SPHE", "RECT");
    EXPECT_NEAR(p[0], -1.0f, 1e-5f);
    EXPECT_NEAR(q[0], -1.0f, 1e-5f);
    EXPECT_NEAR(r[0], 0.0f, 1e-5f);
    EXPECT_NEAR(p[1], 0.0f, 1e-5f);
    EXPECT_NEAR(r[1], 5.0f, 1e-5f);
    // Round trips through every pair of systems.
    const char* keys[3] = {"RECT", "SPHE", "CYLI"};
    for (int f = 0; f < 3; ++f)
        for (int t = 0; t < 3; ++t) {
            if (f == t) continue;
            float u[1] = {3}, v[1] = {-4}, z[1] = {2};
            if (f != 0) trfco3(u, v, z, 1, "RECT", keys[f]);
            float u0 = u[0], v0 = v[0], z0 = z[0];
            trfco3(u, v, z, 1, keys[f], keys[t]);
            trfco3(u, v, z, 1, keys[t], keys[f]);
            EXPECT_NEAR(u[0], u0, 1e-3f) << keys[f] << " " << keys[t];
            EXPECT_NEAR(v[0], v0, 1e-3f) << keys[f] << " " << keys[t];
            EXPECT_NEAR(z[0], z0, 1e-3f) << keys[f] << " " << keys[t];
        }
}

TEST_F(Utilities, MatrixResampling) {
    const float z[6] = {1, 2, 3, 4, 5, 6};  // 2 by 3
    float same[6];
    trfmat(z, 2, 3, same, 2, 3);
    EXPECT_EQ(std::vector<float>(same, same + 6), std::vector<float>(z, z + 6));
    const float c[4] = {1, 2, 3, 10};
    float big[9];
    trfmat(c, 2, 2, big, 3, 3);
    EXPECT_FLOAT_EQ(big[4], 4.0f);
    EXPECT_FLOAT_EQ(big[0], 1.0f);
    EXPECT_FLOAT_EQ(big[8], 10.0f);
    long w = warnings();
    trfmat(c, 1, 2, big, 3, 3);
    trfmat(c, 2, 2, big, 3, 1);
    EXPECT_EQ(warnings(), w + 2);
}

TEST_F(Utilities, GriddingScatteredData) {
    float zm[25];
    const float x[3] = {5, 5.2f, 9}, y[3] = {5, 5.1f, 9}, z[3] = {7, 100, -3};
    long w = warnings();
    getmat(x, y, z, 3, zm, 5, 5, -1);  // level 0
    EXPECT_EQ(warnings(), w + 1);
    state().run.level = 1;
    graf(0, 10, 0, 5, 0, 10, 0, 5);
    mdfmat(1, 1, 2.0f);
    getmat(x, y, z, 3, zm, 5, 5, -1);
    // Nodes at 0, 2.5, ..., 10: (5, 5) is node (3, 3), exact whatever lies near.
    EXPECT_FLOAT_EQ(zm[2 * 5 + 2], 7.0f);
    EXPECT_FLOAT_EQ(zm[0], -1.0f);              // nothing near (0, 0)
    EXPECT_FLOAT_EQ(zm[4 * 5 + 4], -3.0f + 0);  // (10, 10): only the point (9, 9)
    float between = zm[3 * 5 + 3];              // (7.5, 7.5): both far points weigh
    EXPECT_GT(between, -3.0f);
    EXPECT_LT(between, 100.0f);
    // Points that are no numbers are left out.
    const float bad[3] = {NAN, INFINITY, 1e30f};
    getmat(bad, bad, z, 3, zm, 5, 5, -2);
    for (float v : zm) EXPECT_EQ(v, -2.0f);
    w = warnings();
    mdfmat(0, 1, 2);
    mdfmat(1, 1, 0);
    getmat(x, y, z, 0, zm, 5, 5, 0);
    getmat(x, y, z, 3, zm, 1, 5, 0);
    EXPECT_EQ(warnings(), w + 4);
    endgrf();
}

TEST_F(Utilities, BitsBytesAndStrings) {
    EXPECT_EQ(bitsi2(4, 61440, 0, 0, 12), 15);
    EXPECT_EQ(bitsi2(8, 0x00AB, 8, 0x0001, 0), 0xAB01);
    EXPECT_EQ(bitsi4(4, (int)0xF0000000u, 0, 0, 28), 15);
    EXPECT_EQ(bitsi4(32, 0x12345678, 0, 0, 0), 0x12345678);
    EXPECT_EQ(bitsi2(40, 1, 99, 5, -1), 5);  // shifts out of range change nothing
    int v[3] = {0x1234, 0x00FF, 0x7FFF1234};
    swapi2(v, 3);
    EXPECT_EQ(v[0], 0x3412);
    EXPECT_EQ(v[1], -256);
    EXPECT_EQ(v[2], 0x3412);
    int u[2] = {0x01020304, -1};
    swapi4(u, 2);
    EXPECT_EQ(u[0], 0x04030201);
    EXPECT_EQ(u[1], -1);
    EXPECT_EQ(trmlen("abc   "), 3);
    EXPECT_EQ(trmlen("   "), 0);
    char s[] = "Korval 8.1 ä";
    upstr(s);
    EXPECT_STREQ(s, "KORVAL 8.1 ä");
    EXPECT_STREQ(intcha(-1234), "-1234");
    EXPECT_EQ(intlen(-1234), 5);
    EXPECT_STREQ(fcha(3.14159f, 2), "3.14");
    EXPECT_EQ(flen(3.14159f, 2), 4);
    EXPECT_STREQ(fcha(-2.5f, -1), "-3");
    EXPECT_EQ(flen(1234.5f, 0), (int)std::strlen(fcha(1234.5f, 0)));
    EXPECT_LT(flen(-3.0e38f, 20), 64);
    char date[11], time[9];
    dattim(OutString<11>{date}, OutString<9>{time});
    EXPECT_EQ(std::strlen(date), 10u);
    EXPECT_EQ(date[2], '.');
    EXPECT_EQ(time[5], ':');
}

TEST_F(Utilities, BinaryFilesOnUnits) {
    char dir[] = "/tmp/korval_filesXXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string name = std::string(dir) + "/data.bin";
    ASSERT_EQ(openfl(name.c_str(), 7, 1), 0);
    EXPECT_EQ(openfl(name.c_str(), 7, 0), 2);  // already open: the first stays
    const unsigned char out[5] = {1, 2, 255, 4, 5};
    EXPECT_EQ(writfl(7, out, 5), 5);
    EXPECT_EQ(tellfl(7), 5);
    EXPECT_EQ(closfl(7), 0);
    ASSERT_EQ(openfl(name.c_str(), 7, 0), 0);
    EXPECT_EQ(skipfl(7, 2), 0);
    unsigned char in[8] = {};
    EXPECT_EQ(readfl(7, in, 8), 3);
    EXPECT_EQ(in[0], 255);
    EXPECT_EQ(posifl(7, 1), 0);
    EXPECT_EQ(readfl(7, in, 1), 1);
    EXPECT_EQ(in[0], 2);
    EXPECT_EQ(writfl(7, out, 5), 0);  // opened for reading
    EXPECT_EQ(closfl(7), 0);
    ASSERT_EQ(openfl(name.c_str(), 7, 2), 0);  // append
    EXPECT_EQ(writfl(7, out, 2), 2);
    EXPECT_EQ(closfl(7), 0);
    ASSERT_EQ(openfl(name.c_str(), 8, 0), 0);
    EXPECT_EQ(readfl(8, in, 8), 7);
    closfl(8);
    // Bad units: -1; only open and close warn.
    long w = warnings();
    EXPECT_EQ(readfl(100, in, 1), -1);
    EXPECT_EQ(writfl(-1, out, 1), -1);
    EXPECT_EQ(tellfl(100), -1);
    EXPECT_EQ(readfl(9, in, 1), -1);  // not open
    EXPECT_EQ(skipfl(9, 1), -1);
    EXPECT_EQ(warnings(), w);
    EXPECT_EQ(openfl(name.c_str(), 100, 0), -1);
    EXPECT_EQ(openfl(name.c_str(), 5, 3), -1);
    EXPECT_EQ(closfl(100), -1);
    EXPECT_EQ(warnings(), w + 3);
    EXPECT_EQ(openfl((std::string(dir) + "/none/x").c_str(), 5, 0), 1);
    std::remove(name.c_str());
    rmdir(dir);
}

namespace {

struct Op {
    float x, y;
    int op;
};

class LineRecorder : public Device {
public:
    explicit LineRecorder(std::vector<Op>& ops) : ops_(ops) {}
    void line(float x, float y, int op) override { ops_.push_back({x, y, op}); }

private:
    std::vector<Op>& ops_;
};

}  // namespace

TEST_F(Utilities, FieldDrawsTheArrowsOfRlvec) {
    std::vector<Op> ops;
    State& st = state();
    int format = st.out.format;
    st.out.format = 201;
    st.out.nxp = 2969;
    st.out.nyp = 2099;
    st.out.device = std::make_unique<LineRecorder>(ops);
    st.run.level = 1;
    for (const char* origin : {"TOP", "BOTTOM"}) {
        pagorg(origin);
        graf(0, 10, 0, 5, 0, 10, 0, 5);
        const float x1[3] = {1, 2, NAN}, y1[3] = {1, 5, 1}, x2[3] = {3, 8, 1}, y2[3] = {4, 2, 1};
        ops.clear();
        field(x1, y1, x2, y2, 3, 1421);
        plot_flush();
        std::vector<Op> by_field = ops;
        ops.clear();
        rlvec(1, 1, 3, 4, 1421);
        rlvec(2, 5, 8, 2, 1421);
        plot_flush();
        ASSERT_FALSE(by_field.empty());
        ASSERT_EQ(by_field.size(), ops.size()) << origin;
        for (std::size_t i = 0; i < ops.size(); ++i) {
            EXPECT_FLOAT_EQ(by_field[i].x, ops[i].x) << origin;
            EXPECT_FLOAT_EQ(by_field[i].y, ops[i].y) << origin;
        }
        long w = warnings();
        field(x1, y1, x2, y2, 0, 1421);
        EXPECT_EQ(warnings(), w + 1);
        endgrf();
    }
    pagorg("TOP");
    st.out.device.reset();
    st.out.format = format;
}
