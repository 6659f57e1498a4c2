// The raster formats "TIFF", "IMAG", "VIRT", "PNG ", "PPM " and "BMP ":
// drawing into the picture in memory, written as an image file at korfin.
#include <cstring>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "devices/image_files.hpp"
#include "devices/raster_io.hpp"
#include "draw/draw.hpp"

namespace korval {

int picture_colours() {
    int t = state().colour.table_type;
    return t == 0 ? 9 : t == 7 ? 16 : 256;
}

std::uint32_t picture_value(const Picture& pic, int index) {
    index = ((index % 256) + 256) % 256;
    return pic.rgb() ? state().colour.table[index] & 0xffffff : (std::uint32_t)index;
}

bool create_picture(Picture& pic, int w, int h) {
    bool rgb = state().raster.image_format == 1;
    std::uint8_t fill = rgb && state().out.background == 2 ? 255 : 0;
    return pic.create(w, h, rgb ? 3 : 1, fill);
}

bool save_picture(const Picture& pic, int kind, const std::string& name) {
    const RasterState& r = state().raster;
    const std::uint32_t* table = state().colour.table;
    Bytes data;
    int rc;
    switch (kind) {
        case 601:
            rc = encode_tiff(pic, table, r.tiff_resolution, r.tiff_unit, data);
            break;
        case 602:
            rc = encode_own_image(pic, data);
            break;
        case 604:
            rc = encode_png(pic, table, picture_colours(), r.png_transparent, data);
            break;
        case 605:
            rc = encode_ppm(pic, table, data);
            break;
        default:
            rc = encode_bmp(pic, table, picture_colours(), data);
            break;
    }
    if (rc == kImageOk) rc = write_file(name, data);
    if (rc == kImageOk) return true;
    if (rc == kImageFile) {
        warn_routine_text(36, name.c_str());
    } else if (rc == kImageMemory) {
        warn_routine(51);
    } else {
        set_warning_text("ZLIB error");
        warn_routine(101);
    }
    return false;
}

int png_into_buffer(const Picture& pic, char* buf, int n) {
    const RasterState& r = state().raster;
    Bytes data;
    int rc = encode_png(pic, state().colour.table, picture_colours(), r.png_transparent, data);
    if (rc == kImageMemory) {
        warn_routine(51);
        return 0;
    }
    if (rc != kImageOk) {
        set_warning_text("ZLIB error");
        warn_routine(101);
        return 0;
    }
    if (!buf || n < 0 || data.size() > (std::size_t)n) {
        set_warning_text("Buffer too small for PNG file");
        warn_routine(101);
        return 0;
    }
    std::memcpy(buf, data.data(), data.size());
    return (int)data.size();
}

namespace {

inline int rnd(float v) { return (int)(v + 0.5f); }

class RasterDevice : public Device {
public:
    unsigned capabilities() const override { return kCapFillRect; }

    void start() override {
        OutputState& o = state().out;
        RasterState& r = state().raster;
        f_ = o.fit_factor;
        o.device_factor = f_;
        turned_ = o.page_rotation == 1;
        nxp_ = o.nxp;
        r.image_open = false;
        if (!create_picture(r.picture, o.image_w, o.image_h)) warn_routine(53);
        value_ = picture_value(r.picture, state().colour.current);
    }

    void line(float x, float y, int op) override {
        int X, Y;
        map(x, y, X, Y);
        if (op == kOpDraw) state().raster.picture.line(px_, py_, X, Y, value_);
        px_ = X;
        py_ = Y;
    }

    void fill_rect(int x1, int y1, int x2, int y2, int colour) override {
        int X1, Y1, X2, Y2;
        map((float)x1, (float)y1, X1, Y1);
        map((float)x2, (float)y2, X2, Y2);
        Picture& pic = state().raster.picture;
        pic.fill_rect(X1 < X2 ? X1 : X2, Y1, X1 < X2 ? X2 : X1, Y2, picture_value(pic, colour & 0xff));
    }

    void colour(int index) override { value_ = picture_value(state().raster.picture, index); }
    void colour_table() override { colour(state().colour.current); }

    void clip_rect(int x1, int y1, int x2, int y2) override {
        int X1, Y1, X2, Y2;
        map((float)x1, (float)y1, X1, Y1);
        map((float)x2, (float)y2, X2, Y2);
        state().raster.picture.set_clip(X1, Y1, X2, Y2);
    }

    void erase() override {
        Picture& pic = state().raster.picture;
        bool white = pic.rgb() && state().out.background == 2;
        pic.clear(white ? 0xffffff : picture_value(pic, 0));
    }

    int finish() override {
        OutputState& o = state().out;
        RasterState& r = state().raster;
        r.image_open = false;
        if (o.format == 603) return 0;  // "VIRT": the picture stays for the pixel routines
        if (r.picture.empty()) return 0;
        if (o.format == 606) o.file_name = version_file_name(o.file_name);
        bool ok = save_picture(r.picture, o.format, o.file_name);
        r.picture.release();
        return ok ? 1 : 0;
    }

private:
    // Device pixels: the page turned for PORT, rounded as trunc(v + 0.5).
    void map(float x, float y, int& X, int& Y) const {
        if (turned_) {
            X = rnd(y * f_);
            Y = rnd(((float)nxp_ - x) * f_);
        } else {
            X = rnd(x * f_);
            Y = rnd(y * f_);
        }
    }

    float f_ = 1.0f;
    bool turned_ = false;
    int nxp_ = 0;
    int px_ = 0, py_ = 0;
    std::uint32_t value_ = 0;
};

std::unique_ptr<Device> make_raster() { return std::make_unique<RasterDevice>(); }
const DeviceRegistration reg_raster(601, 606, make_raster);

}  // namespace

}  // namespace korval
