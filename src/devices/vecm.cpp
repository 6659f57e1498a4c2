// The library's own metafile: floating-point records of pen moves, draws and
// colours, 80-character lines.
#include <charconv>
#include <cstdio>
#include <cstring>

#include "core/core.hpp"
#include "devices/devices.hpp"

namespace korval {

namespace {

// "%10.7f" without the locale.
void fixed10(char* out, double v) {
    char tmp[64];
    auto r = std::to_chars(tmp, tmp + sizeof tmp, v, std::chars_format::fixed, 7);
    int n = (int)(r.ptr - tmp);
    int pad = 10 - n;
    int i = 0;
    for (; i < pad; ++i) out[i] = ' ';
    for (int j = 0; j < n; ++j) out[i + j] = tmp[j];
    out[i + n] = '\0';
}

class VecmDevice : public Device {
public:
    void start() override {
        OutputState& o = state().out;
        if (!sink_.open_file(o.file_name, false)) {
            o.file_failed = true;
            warn_routine_text(36, o.file_name.c_str());
            return;
        }
        int longest = o.nxp > o.nyp ? o.nxp : o.nyp;
        o.device_factor = longest > 0 ? 1.0f / (float)longest : 1.0f;
        double s = (double)o.scale_factor * (double)o.unit_factor;
        char head[64];
        std::snprintf(head, sizeof head, "%10.1f%10.1f\n", o.nxp * s * 0.01, o.nyp * s * 0.01);
        sink_.write(head, std::strlen(head));
    }

    void line(float x, float y, int op) override {
        if (!sink_.is_open()) return;
        const OutputState& o = state().out;
        char buf[32];
        if (op != last_op_) {
            rec_.item(op == kOpDraw ? " 2.0000000" : " 3.0000000", 10);
            last_op_ = op;
        }
        fixed10(buf, (double)x * o.device_factor);
        rec_.item(buf, 10);
        fixed10(buf, (double)(o.nyp - y) * o.device_factor);
        rec_.item(buf, 10);
    }

    int finish() override {
        if (!sink_.is_open()) return 0;
        line(0.0f, 0.0f, kOpMove);
        rec_.item(" 9.0000000", 10);
        rec_.flush();
        if (!sink_.close()) {
            warn_routine_text(36, state().out.file_name.c_str());
            return 0;
        }
        return 1;
    }

private:
    RecordWriter rec_{sink_};
    int last_op_ = 0;
};

std::unique_ptr<Device> make_vecm() { return std::make_unique<VecmDevice>(); }
const DeviceRegistration reg_vecm(201, 201, make_vecm);

}  // namespace

}  // namespace korval
