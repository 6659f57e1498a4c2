// The library's own metafile: floating-point records of pen moves, draws and
// colours in 80-character lines.  Coordinates are normalised to 0..1 by the
// longer page side; an operation record precedes the pairs it applies to.
#include <cstring>
#include <utility>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"

namespace korval {

namespace {

// "%10.7f" without the locale.
void fixed10(char* out, double v) { out[format_fixed_w(out, v, 10, 7)] = '\0'; }

class VecmDevice : public Device {
public:
    void start() override {
        if (!is_open()) return;
        const OutputState& o = state().out;
        double s = (double)o.scale_factor * (double)o.unit_factor;
        double w = o.nxp * s * 0.01, h = o.nyp * s * 0.01;
        if (o.page_rotation == 1) std::swap(w, h);
        char head[64];
        std::size_t n = format_fixed_w(head, w, 10, 1);
        n += format_fixed_w(head + n, h, 10, 1);
        head[n++] = '\n';
        sink_.write(head, n);
    }

    void line(float x, float y, int op) override {
        if (!is_open()) return;
        const OutputState& o = state().out;
        double f = o.device_factor;
        double X, Y;
        if (o.page_rotation == 1) {
            X = y * f;
            Y = x * f;
        } else {
            X = x * f;
            Y = (o.nyp - y) * f;
        }
        if (op != last_op_) {
            rec_.item(op == kOpDraw ? " 2.0000000" : " 3.0000000", 10);
            last_op_ = op;
        }
        char buf[48];
        fixed10(buf, X);
        rec_.item(buf, std::strlen(buf));
        fixed10(buf, Y);
        rec_.item(buf, std::strlen(buf));
    }

    // Colour records: index 0 is written as 256; q records 99 and then
    // r + 9, with i = 89 q + r and r in 1..89.
    void colour(int index) override {
        if (!is_open() || index == last_colour_) return;
        last_colour_ = index;
        int i = index == 0 ? 256 : index;
        int q = i / 89, r = i % 89;
        if (r == 0) {
            r = 89;
            q -= 1;
        }
        for (int k = 0; k < q; ++k) rec_.item("99.0000000", 10);
        char buf[48];
        fixed10(buf, (double)(r + 9));
        rec_.item(buf, std::strlen(buf));
    }

    int finish() override {
        if (!is_open()) return 0;
        rec_.item(" 9.0000000", 10);
        rec_.flush();
        return close_output();
    }

private:
    RecordWriter rec_{sink_};
    int last_op_ = 0;
    int last_colour_ = -1;
};

std::unique_ptr<Device> make_vecm() { return std::make_unique<VecmDevice>(); }
const DeviceRegistration reg_vecm(201, 201, make_vecm);

}  // namespace

}  // namespace korval
