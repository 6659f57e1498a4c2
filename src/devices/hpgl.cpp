// The HPGL driver for pen plotters: "HPGL" in plotter units of 0.025 mm and
// the paper-sized variants "HPA4" .. "HPA1".  Commands go through the
// 80-character records without blanks; the colour index selects the pen.
// Fills arrive as strokes from the pipeline.
#include <algorithm>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"

namespace korval {

namespace {

// Classic plotters take 16-bit coordinates.
constexpr double kPlotterLimit = 32767.0;

class HpglDevice : public Device {
public:
    void start() override {
        const OutputState& o = state().out;
        f_ = o.device_factor;
        nxp_ = o.nxp;
        nyp_ = o.nyp;
        // "HPGL" turns for PORT; the paper variants turn portrait pages.
        if (o.format == 401)
            mode_ = o.page_rotation == 1 ? kSwap : kPlain;
        else
            mode_ = o.nxp > o.nyp ? kPlain : kTurn;
        if (std::max(nxp_, nyp_) * (double)f_ + 0.5 > kPlotterLimit) warn_routine(41);
        if (!is_open()) return;
        sink_.write(" SP1;\n", 6);
    }

    void line(float x, float y, int op) override {
        if (op != kOpDraw && op != kOpMove) return;
        int X, Y;
        switch (mode_) {
            case kSwap:
                X = rnd(y * f_);
                Y = rnd(x * f_);
                break;
            case kTurn:
                X = rnd((nyp_ - y) * f_);
                Y = rnd((nxp_ - x) * f_);
                break;
            default:
                X = rnd(x * f_);
                Y = rnd((nyp_ - y) * f_);
        }
        char buf[32];
        buf[0] = 'P';
        buf[1] = op == kOpDraw ? 'D' : 'U';
        std::size_t n = 2 + format_int(buf + 2, X);
        buf[n++] = ',';
        n += format_int(buf + n, Y);
        buf[n++] = ';';
        rec_.item(buf, n);
    }

    // Pen selection, written only when the pen changes.
    void colour(int index) override {
        if (index == pen_) return;
        pen_ = index;
        char buf[24] = {'S', 'P'};
        std::size_t n = 2 + format_int(buf + 2, index);
        buf[n++] = ';';
        rec_.item(buf, n);
    }

    int finish() override {
        if (!is_open()) return 0;
        rec_.item("PU0,0;", 6);
        rec_.flush();
        return close_output();
    }

private:
    enum Mapping { kPlain, kSwap, kTurn };
    static int rnd(float v) { return (int)(v + 0.5f); }

    RecordWriter rec_{sink_};
    float f_ = 4.0f;
    int nxp_ = 0, nyp_ = 0;
    Mapping mode_ = kPlain;
    int pen_ = -1;
};

std::unique_ptr<Device> make_hpgl() { return std::make_unique<HpglDevice>(); }
const DeviceRegistration reg_hpgl(401, 405, make_hpgl);

}  // namespace

}  // namespace korval
