// The PDF driver: plot coordinates to points on the paper, colours, line
// attributes, fills, hardware-font characters and images, through the
// PDF writer; the document goes to the file or, with buffer output, into
// memory for pdfbuf.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "devices/pdf_writer.hpp"
#include "draw/draw.hpp"

namespace korval {

namespace {

// Points per 0.05 mm, the PostScript driver's line-width unit.
constexpr double kWidthUnit = 36.0 / 254.0;

class PdfDevice : public Device {
public:
    unsigned capabilities() const override {
        return kCapLineWidth | kCapFillRect | kCapFillPolygon | kCapHardwareText | kCapImage;
    }

    void start() override {
        OutputState& o = state().out;
        RasterState& r = state().raster;
        f_ = o.fit_factor;
        o.device_factor = f_;
        nyp_ = o.nyp;
        turned_ = o.nxp > o.nyp && o.page_rotation != 2;
        // The MediaBox is the paper as the page is placed on it.
        double pw = o.hw_page ? 2.0 * o.hw_page_w : 3900.0, ph = o.hw_page ? 2.0 * o.hw_page_h : 5600.0;
        if (o.nxp > o.nyp && o.page_rotation == 2) std::swap(pw, ph);
        int wpt = (int)(pw * 0.14173229 + 0.5), hpt = (int)(ph * 0.14173229 + 0.5);
        bool compress = (r.pdf_mode & 1) != 0;
        bool buffer = (r.pdf_mode & 2) != 0;
        r.pdf_buffer.clear();
        r.pdf_held = false;
        r.pdf_overflow = false;
        if (buffer) {
            // No file for the buffer output: drop the one made for us.
            if (sink_.is_open()) {
                sink_.close();
                std::remove(o.file_name.c_str());
            }
            o.file_failed = false;
            if (pdf_.start(nullptr, wpt, hpt, compress) != 0) {
                warn_routine(53);
                return;
            }
        } else {
            if (!sink_.is_open()) return;  // open_output_file has warned
            if (pdf_.start(&sink_, wpt, hpt, compress) != 0) return;
        }
        buffer_ = buffer;
        if (o.background != 2) background();
    }

    void line(float x, float y, int op) override {
        double X, Y;
        map(x, y, X, Y);
        if (op == kOpDraw)
            pdf_.draw(X, Y);
        else if (op == kOpMove)
            pdf_.move(X, Y);
    }

    void colour(int index) override {
        int r, g, b;
        colour_rgb(index, r, g, b);
        pdf_.colour(r, g, b, 0);
        pdf_.colour(r, g, b, 1);
    }

    void fill_rect(int x1, int y1, int x2, int y2, int colour) override {
        int r, g, b;
        colour_rgb(colour, r, g, b);
        pdf_.colour(r, g, b, 1);
        double X1, Y1, X2, Y2;
        map((float)x1, (float)y1, X1, Y1);
        map((float)x2, (float)y2, X2, Y2);
        pdf_.fill_rect(std::min(X1, X2), std::min(Y1, Y2), std::fabs(X2 - X1), std::fabs(Y2 - Y1));
    }

    void fill_polygon(const float* x, const float* y, int n) override {
        if (n < 3) return;
        int r, g, b;
        colour_rgb(state().colour.current, r, g, b);
        pdf_.colour(r, g, b, 1);
        double X, Y;
        map(x[0], y[0], X, Y);
        pdf_.move(X, Y);
        for (int i = 1; i < n; ++i) {
            map(x[i], y[i], X, Y);
            pdf_.draw(X, Y);
        }
        pdf_.fill_path();
    }

    // Widths in points: the PostScript width (0.05 mm units) × 36 / 254.
    void line_width(int n) override {
        long w = (long)(2.0 * n * state().out.unit_factor);
        width_ = w < 5 ? 5.0 : (double)w;
        pdf_.line_width(width_ * kWidthUnit);
    }

    void pen_width(float x) override {
        float u = state().out.unit_factor;
        float w = u * x;
        if (x >= 0.99f)
            width_ = 2 * w < 5 ? 5.0 : 2.0 * w;
        else
            width_ = u > 2.0f ? 2.0 * w : 5.0 * w;
        pdf_.line_width(width_ * kWidthUnit);
    }

    void line_cap(int cap) override { pdf_.line_cap(cap); }
    void line_join(int join) override { pdf_.line_join(join); }
    void miter_limit(float limit) override {
        double m = std::max(5.0, 2.0 * std::fabs(width_)) * limit;
        pdf_.miter_limit(std::max(1.0, m * kWidthUnit));
    }

    void hardware_font(const char* name, float height) override {
        if (name) {
            font_ = 0;
            for (int i = 0; i < 35; ++i)
                if (std::strcmp(standard_fonts[i], name) == 0) font_ = i;
        }
        size_ = (int)(state().out.unit_factor * height * 0.46428575f);
    }

    void character(int code, float x, float y, int angle, float advance) override {
        (void)advance;
        double X, Y;
        map(x, y, X, Y);
        pdf_.character(code, X, Y, turned_ ? angle + 90 : angle, font_, standard_fonts[font_], size_);
    }

    void image(const std::uint8_t* rgb, int w, int h, float x0, float yb, float bw, float bh) override {
        if (!rgb || w < 1 || h < 1) return;
        pdf_.begin_image(w, h);
        pdf_.image_bytes(rgb, (std::size_t)w * h * 3);
        pdf_.end_image();
        if (turned_)
            pdf_.place_image(yb * f_, x0 * f_, bw * f_, bh * f_, true);
        else
            pdf_.place_image(x0 * f_, (nyp_ - yb) * f_, bw * f_, bh * f_, false);
    }

    void new_page() override {
        pdf_.new_page();
        if (state().out.background != 2) background();
        colour(state().colour.current);
    }

    int finish() override {
        if (!pdf_.started()) return 0;
        std::string date, time;
        current_date_time(date, time);
        bool ok = pdf_.end(date, time);
        if (buffer_) {
            RasterState& r = state().raster;
            r.pdf_overflow = pdf_.overflow();
            r.pdf_buffer.swap(pdf_.memory());
            r.pdf_held = true;
            return 0;
        }
        if (!ok) {
            warn_routine_text(36, state().out.file_name.c_str());
            return 0;
        }
        return 1;
    }

private:
    void map(float x, float y, double& X, double& Y) const {
        if (turned_) {
            X = (double)y * f_;
            Y = (double)x * f_;
        } else {
            X = (double)x * f_;
            Y = ((double)nyp_ - y) * f_;
        }
    }

    // The black page of the background mode 0 and 1.
    void background() {
        const OutputState& o = state().out;
        pdf_.colour(0, 0, 0, 1);
        double w = (turned_ ? o.nyp : o.nxp) * (double)f_, h = (turned_ ? o.nxp : o.nyp) * (double)f_;
        pdf_.fill_rect(0, 0, w, h);
    }

    PdfWriter pdf_;
    float f_ = 1.0f;
    int nyp_ = 0;
    bool turned_ = false;
    bool buffer_ = false;
    double width_ = 5.0;
    int font_ = 0, size_ = 10;
};

std::unique_ptr<Device> make_pdf() { return std::make_unique<PdfDevice>(); }
const DeviceRegistration reg_pdf(511, 511, make_pdf);

}  // namespace

}  // namespace korval
