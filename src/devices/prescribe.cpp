// The Prescribe driver for laser printers ("KYOC"): absolute moves and draws
// in printer dots of 1/300 inch, filled rectangles as pattern blocks, one
// page per newpag.
#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"

namespace korval {

namespace {

// The fill patterns 1..9 (pattern 0 draws nothing), eight bytes each.
const unsigned char kPatterns[9][8] = {
    {128, 0, 0, 0, 0, 0, 0, 0},
    {128, 0, 0, 0, 8, 0, 0, 0},
    {128, 0, 0, 32, 0, 0, 4, 0},
    {128, 8, 0, 0, 64, 4, 0, 0},
    {128, 16, 2, 0, 32, 0, 8, 1},
    {128, 16, 2, 64, 8, 1, 32, 4},
    {170, 0, 85, 0, 170, 0, 85, 0},
    {170, 85, 170, 85, 170, 85, 170, 85},
    {255, 255, 255, 255, 255, 255, 255, 255},
};

class PrescribeDevice : public Device {
public:
    unsigned capabilities() const override { return kCapFillRect; }

    void start() override {
        const OutputState& o = state().out;
        f_ = o.device_factor;
        if (!is_open()) return;
        if (o.nxp > o.nyp) {
            rec_.item("!R! UNIT C;SPO L;SLM 0;");
            rec_.item("SRM 28.7;STM 0;SBM 20;");
        } else {
            rec_.item("!R! UNIT C;SPO P;SLM 0;");
            rec_.item("SRM 20;STM 0;SBM 28.7;");
        }
        rec_.item("UNIT D;");
    }

    void line(float x, float y, int op) override {
        if (op != kOpDraw && op != kOpMove) return;
        rec_.item(op == kOpDraw ? "DAP " : "MAP ", 4);
        char buf[32];
        std::size_t n = format_int_w(buf, rnd(x * f_), 4);
        buf[n++] = ',';
        rec_.item(buf, n);
        n = format_int_w(buf, rnd(y * f_), 4);
        buf[n++] = ';';
        rec_.item(buf, n);
    }

    void fill_rect(int x1, int y1, int x2, int y2, int colour) override {
        int pattern = ((colour % 10) + 10) % 10;
        if (pattern == 0) return;
        int X1 = rnd(x1 * f_), Y1 = rnd(y1 * f_);
        int w = rnd((x2 - x1 + 1) * f_), h = rnd((y2 - y1 + 1) * f_);
        char buf[96];
        std::size_t n = copy("MAP ", buf);
        n += format_int_w(buf + n, X1, 4);
        buf[n++] = ',';
        n += format_int_w(buf + n, Y1, 4);
        n += copy("; ", buf + n);
        rec_.item(buf, n);
        n = copy("FPAT ", buf);
        for (int i = 0; i < 8; ++i) {
            n += format_int_w(buf + n, kPatterns[pattern - 1][i], 3);
            buf[n++] = i < 7 ? ',' : ';';
        }
        buf[n++] = ' ';
        rec_.item(buf, n);
        // The block's width and height in dots (corners inclusive).
        n = copy("BLK ", buf);
        n += format_int_w(buf + n, w, 4);
        buf[n++] = ',';
        n += format_int_w(buf + n, h, 4);
        buf[n++] = ';';
        rec_.item(buf, n);
    }

    void new_page() override { rec_.item("PAGE;", 5); }

    int finish() override {
        if (!is_open()) return 0;
        rec_.item("RES;EXIT;", 9);
        rec_.flush();
        return close_output();
    }

private:
    static int rnd(float v) { return (int)(v + 0.5f); }
    static std::size_t copy(const char* s, char* out) {
        std::size_t n = 0;
        while (s[n]) out[n] = s[n], ++n;
        return n;
    }

    RecordWriter rec_{sink_};
    float f_ = 1.0f;
};

std::unique_ptr<Device> make_prescribe() { return std::make_unique<PrescribeDevice>(); }
const DeviceRegistration reg_prescribe(301, 400, make_prescribe);

}  // namespace

}  // namespace korval
