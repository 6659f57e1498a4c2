// The SVG driver: plot coordinates to pixels of the picture size, through
// the SVG writer.
#include <cmath>
#include <cstring>
#include <vector>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "devices/svg_writer.hpp"
#include "draw/draw.hpp"

namespace korval {

namespace {

std::uint32_t rgb_of(int index) {
    int r, g, b;
    colour_rgb(index, r, g, b);
    return (std::uint32_t)r << 16 | (std::uint32_t)g << 8 | (std::uint32_t)b;
}

class SvgDevice : public Device {
public:
    unsigned capabilities() const override {
        return kCapLineWidth | kCapFillRect | kCapFillPolygon | kCapHardwareText;
    }

    void start() override {
        OutputState& o = state().out;
        f_ = o.fit_factor;
        o.device_factor = f_;
        turned_ = o.page_rotation == 1;
        nxp_ = o.nxp;
        if (!sink_.is_open()) return;
        std::string date, time;
        current_date_time(date, time);
        svg_.start(&sink_, o.image_w, o.image_h, o.background != 2, date, time);
    }

    void line(float x, float y, int op) override {
        double X, Y;
        map(x, y, X, Y);
        if (op == kOpDraw)
            svg_.draw(X, Y);
        else if (op == kOpMove)
            svg_.move(X, Y);
    }

    void colour(int index) override { svg_.colour(rgb_of(index)); }

    void fill_rect(int x1, int y1, int x2, int y2, int colour) override {
        double X1, Y1, X2, Y2;
        map((float)x1, (float)y1, X1, Y1);
        map((float)x2, (float)y2, X2, Y2);
        svg_.fill_rect(std::min(X1, X2), std::min(Y1, Y2), std::fabs(X2 - X1) + 1, std::fabs(Y2 - Y1) + 1,
                       rgb_of(colour));
    }

    void fill_polygon(const float* x, const float* y, int n) override {
        if (n < 3) return;
        std::vector<double> xs((std::size_t)n), ys((std::size_t)n);
        for (int i = 0; i < n; ++i) map(x[i], y[i], xs[(std::size_t)i], ys[(std::size_t)i]);
        svg_.polygon(xs.data(), ys.data(), n, rgb_of(state().colour.current));
    }

    void line_width(int n) override { svg_.line_width(n * (double)f_); }
    void pen_width(float x) override { svg_.line_width(x * (double)f_); }

    void hardware_font(const char* name, float height) override {
        if (name) {
            font_ = 0;
            for (int i = 0; i < 35; ++i)
                if (std::strcmp(standard_fonts[i], name) == 0) font_ = i;
        }
        size_ = (int)(height * f_ * 1.4666667f + 0.5f);
        svg_.close_text_group();
    }

    void character(int code, float x, float y, int angle, float advance) override {
        (void)advance;
        double X, Y;
        map(x, y, X, Y);
        svg_.character(code, X, Y, angle, font_, size_);
    }

    int finish() override {
        if (!svg_.started()) return 0;
        if (!svg_.end()) {
            warn_routine_text(36, state().out.file_name.c_str());
            return 0;
        }
        return 1;
    }

private:
    void map(float x, float y, double& X, double& Y) const {
        if (turned_) {
            X = (double)y * f_;
            Y = ((double)nxp_ - x) * f_;
        } else {
            X = (double)x * f_;
            Y = (double)y * f_;
        }
    }

    SvgWriter svg_;
    float f_ = 1.0f;
    bool turned_ = false;
    int nxp_ = 0;
    int font_ = 0, size_ = 10;
};

std::unique_ptr<Device> make_svg() { return std::make_unique<SvgDevice>(); }
const DeviceRegistration reg_svg(801, 801, make_svg);

}  // namespace

}  // namespace korval
