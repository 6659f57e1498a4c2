// The CGM driver: a binary-encoded Computer Graphics Metafile (version 1,
// profile CALS, or version 4, profile WebCGM) with one picture per page.
//
// VDC coordinates are 16-bit integers in units of 0.05 mm.  Elements flow
// through 80-byte records; the last record is padded with blanks.  Lines are
// collected into POLYLINE elements of up to 50 points; fills arrive as
// strokes from the pipeline.
#include <algorithm>
#include <cstring>
#include <string>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

// Element headers (class × 4096 + id × 32 + length; 31: long form).
constexpr unsigned kBeginMetafile = 0x003F;
constexpr unsigned kEndMetafile = 0x0040;
constexpr unsigned kBeginPicture = 0x007F;
constexpr unsigned kBeginPictureBody = 0x0080;
constexpr unsigned kEndPicture = 0x00A0;
constexpr unsigned kMetafileVersion = 0x1022;
constexpr unsigned kMetafileDescription = 0x105F;
constexpr unsigned kRealPrecision = 0x10A6;
constexpr unsigned kColourSelectionMode = 0x2042;
constexpr unsigned kVdcExtent = 0x20C8;
constexpr unsigned kBackgroundColour = 0x20E4;
constexpr unsigned kPolyline = 0x403F;
constexpr unsigned kLineColour = 0x5083;

// CGM strings: a count byte of 255 announces a long string, so names are
// cut to 254 characters.
constexpr std::size_t kMaxString = 254;

int clamp16(double v) {
    int i = (int)(v + 0.5);
    return std::clamp(i, -32768, 32767);
}

class CgmDevice : public Device {
public:
    void start() override {
        const OutputState& o = state().out;
        f_ = o.device_factor;
        nyp_ = o.nyp;
        turned_ = o.page_rotation == 1;
        double w = o.nxp * (double)f_, h = o.nyp * (double)f_;
        if (turned_) std::swap(w, h);
        if (w + 0.5 > 32767.0 || h + 0.5 > 32767.0) warn_routine(39);
        width_ = clamp16(w);
        height_ = clamp16(h);
        if (!is_open()) return;
        const DriverState& d = state().drivers;
        string_element(kBeginMetafile, o.file_name);
        rec_.word(kMetafileVersion);
        rec_.word((unsigned)d.cgm_version);
        std::string date, time;
        current_date_time(date, time);
        std::string ymd =
            date.size() == 10 ? date.substr(6, 4) + date.substr(3, 2) + date.substr(0, 2) : date;
        std::string desc = std::string("\"") + (d.cgm_version == 4 ? "ProfileId:WebCGM" : "ProfileId:CALS") +
                           "\",\"ProfileEd:1.0\",\"Source:KORVAL  8.1\",\"Date:" + ymd +
                           "\",\"ColourClass:colour\"";
        string_element(kMetafileDescription, desc);
        static const unsigned char element_list[] = {0x11, 0x66, 0x00, 0x01, 0xFF, 0xFF, 0x00, 0x01};
        rec_.bytes(element_list, sizeof element_list);
        if (d.cgm_version == 4) {
            // The scaling mode's metric factor is a 32-bit floating-point
            // real; the default real precision is fixed point.
            rec_.word(kRealPrecision);
            rec_.word(0);
            rec_.word(9);
            rec_.word(23);
        }
        begin_picture();
    }

    void line(float x, float y, int op) override {
        double X, Y;
        if (turned_) {
            X = y * (double)f_;
            Y = x * (double)f_;
        } else {
            X = x * (double)f_;
            Y = (nyp_ - y) * (double)f_;
        }
        int ix = clamp16(X), iy = clamp16(Y);
        if (op == kOpDraw) {
            if (n_ == 0) {
                px_[0] = has_last_ ? last_x_ : ix;
                py_[0] = has_last_ ? last_y_ : iy;
                n_ = 1;
            }
            px_[n_] = ix;
            py_[n_] = iy;
            if (++n_ == kBuffer) {
                write_polyline();
                px_[0] = ix;
                py_[0] = iy;
                n_ = 1;
            }
            return;
        }
        if (op != kOpMove) return;
        // A move to where the pen stands continues the polyline.
        if (n_ > 0 ? (px_[n_ - 1] == ix && py_[n_ - 1] == iy) : (has_last_ && last_x_ == ix && last_y_ == iy))
            return;
        write_polyline();
        px_[0] = ix;
        py_[0] = iy;
        n_ = 1;
        has_last_ = false;
    }

    void colour(int index) override {
        if (index == colour_) return;
        flush();
        colour_ = index;
        line_colour();
    }

    // The same index may stand for another colour now.
    void colour_table() override {
        int current = colour_;
        colour_ = -1;
        if (current >= 0) colour(current);
    }

    void new_page() override {
        flush();
        if (!is_open()) return;
        rec_.word(kEndPicture);
        ++picture_;
        begin_picture();
        // Attributes start from their defaults in every picture.
        if (colour_ >= 0) line_colour();
    }

    int finish() override {
        if (!is_open()) return 0;
        flush();
        rec_.word(kEndPicture);
        rec_.word(kEndMetafile);
        rec_.finish();
        return close_output();
    }

private:
    // Writes the buffer and keeps its last point for the next draw.
    void flush() {
        write_polyline();
        if (n_ > 0) {
            last_x_ = px_[n_ - 1];
            last_y_ = py_[n_ - 1];
            has_last_ = true;
        }
        n_ = 0;
    }

    // A single point draws nothing and is not written.
    void write_polyline() {
        if (n_ < 2 || !is_open()) return;
        rec_.word(kPolyline);
        rec_.word((unsigned)(4 * n_));
        for (int i = 0; i < n_; ++i) {
            rec_.word((unsigned)px_[i] & 0xffffu);
            rec_.word((unsigned)py_[i] & 0xffffu);
        }
    }

    void line_colour() {
        if (!is_open()) return;
        int r, g, b;
        colour_rgb(colour_, r, g, b);
        rec_.word(kLineColour);
        rec_.byte((unsigned char)r);
        rec_.byte((unsigned char)g);
        rec_.byte((unsigned char)b);
        rec_.byte(0);
    }

    // A long-form element whose parameter is one string.
    void string_element(unsigned head, const std::string& text) {
        std::size_t n = std::min(text.size(), kMaxString);
        rec_.word(head);
        rec_.word((unsigned)(n + 1));
        rec_.byte((unsigned char)n);
        rec_.bytes(reinterpret_cast<const unsigned char*>(text.data()), n);
        if ((n + 1) % 2) rec_.byte(0);
    }

    void begin_picture() {
        const DriverState& d = state().drivers;
        std::string name = d.cgm_picture.empty() ? "Picture " + std::to_string(picture_) : d.cgm_picture;
        string_element(kBeginPicture, name);
        if (d.cgm_version == 4) {
            static const unsigned char scaling[] = {0x20, 0x26, 0x00, 0x01, 0x3D, 0x4C, 0xCC, 0xC8};
            rec_.bytes(scaling, sizeof scaling);
        }
        rec_.word(kColourSelectionMode);
        rec_.word(1);
        rec_.word(kVdcExtent);
        rec_.word(0);
        rec_.word(0);
        rec_.word((unsigned)width_);
        rec_.word((unsigned)height_);
        rec_.word(kBackgroundColour);
        rec_.byte((unsigned char)d.cgm_red);
        rec_.byte((unsigned char)d.cgm_green);
        rec_.byte((unsigned char)d.cgm_blue);
        rec_.byte(0);
        rec_.word(kBeginPictureBody);
    }

    static constexpr int kBuffer = 50;
    BinaryRecordWriter rec_{sink_};
    float f_ = 2.0f;
    int nyp_ = 0;
    bool turned_ = false;
    int width_ = 0, height_ = 0;
    int picture_ = 1;
    int colour_ = -1;
    int px_[kBuffer], py_[kBuffer];
    int n_ = 0;
    bool has_last_ = false;
    int last_x_ = 0, last_y_ = 0;
};

std::unique_ptr<Device> make_cgm() { return std::make_unique<CgmDevice>(); }
const DeviceRegistration reg_cgm(211, 211, make_cgm);

}  // namespace

void cgmver(int n) {
    if (check_level(0, 0, "cgmver")) return;
    if (n != 1 && n != 4) {
        warn_routine_value(2, n);
        return;
    }
    state().drivers.cgm_version = n;
}

void cgmpic(const char* s) {
    if (check_level(0, 3, "cgmpic")) return;
    char name[257];
    copy_bounded(name, s ? s : "", 256);
    state().drivers.cgm_picture = name;
}

void cgmbgd(float r, float g, float b) {
    if (check_level(0, 3, "cgmbgd")) return;
    const float lo = -1e-35f, hi = 1.0f + 1e-35f;
    for (float v : {r, g, b}) {
        if (!(v >= lo && v <= hi)) {
            warn_routine(2);
            return;
        }
    }
    auto byte = [](float v) { return std::clamp((int)(255.0f * v + 0.5f), 0, 255); };
    DriverState& d = state().drivers;
    d.cgm_red = byte(r);
    d.cgm_green = byte(g);
    d.cgm_blue = byte(b);
}

}  // namespace korval
