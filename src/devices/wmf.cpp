// The WMF driver: a writer of Windows Metafile records (the records a
// metafile device context of the window system would produce), optionally
// preceded by the 22-byte placeable header.
//
// Coordinates are twips in an anisotropic window; lines are MOVETO/LINETO
// records in a solid pen of the current colour, filled rectangles and
// polygons use a solid brush.  The records are collected in memory because
// the metafile header holds the file size and the largest record.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"
#include "text/text.hpp"

namespace korval {

namespace {

// Record functions.
constexpr unsigned kEof = 0x0000;
constexpr unsigned kSetMapMode = 0x0103;
constexpr unsigned kSetPolyFillMode = 0x0106;
constexpr unsigned kSetTextColor = 0x0209;
constexpr unsigned kSetWindowOrg = 0x020B;
constexpr unsigned kSetWindowExt = 0x020C;
constexpr unsigned kLineTo = 0x0213;
constexpr unsigned kMoveTo = 0x0214;
constexpr unsigned kSelectObject = 0x012D;
constexpr unsigned kDeleteObject = 0x01F0;
constexpr unsigned kCreatePen = 0x02FA;
constexpr unsigned kCreateBrush = 0x02FC;
constexpr unsigned kRectangle = 0x041B;
constexpr unsigned kPolygon = 0x0324;
constexpr unsigned kSetBkMode = 0x0102;
constexpr unsigned kSetTextAlign = 0x012E;
constexpr unsigned kCreateFont = 0x02FB;
constexpr unsigned kTextOut = 0x0521;

// Coordinates are 16-bit; the window extent is the page plus 20.
constexpr int kMaxExtent = 32767 - 20;

std::uint32_t colorref(int index) {
    int r, g, b;
    colour_rgb(index, r, g, b);
    return (std::uint32_t)r | ((std::uint32_t)g << 8) | ((std::uint32_t)b << 16);
}

class WmfDevice : public Device {
public:
    unsigned capabilities() const override { return kCapFillRect | kCapFillPolygon | kCapHardwareText; }

    void start() override {
        OutputState& o = state().out;
        f_ = o.device_factor;
        nxp_ = o.nxp;
        turned_ = o.page_rotation == 1;
        double w = o.nxp * (double)f_, h = o.nyp * (double)f_;
        if (turned_) std::swap(w, h);
        // A page too large for 16-bit twips is written in coarser units;
        // the placeable header's units per inch keep its size.
        double longest = std::max(w, h);
        if (longest + 0.5 > kMaxExtent) {
            double k = kMaxExtent / (longest + 0.5);
            f_ = (float)(f_ * k);
            w *= k;
            h *= k;
            inch_ = (int)(1440.0 * k + 0.5);
            o.device_factor = f_;
        }
        pen_width_ = std::max(1, (int)(2.5f / o.unit_factor * f_ + 0.5f));
        width_ = (int)(w + 0.5);
        height_ = (int)(h + 0.5);
        record(kSetMapMode, {8});
        record(kSetWindowOrg, {0, 0});
        record(kSetWindowExt, {height_ + 20, width_ + 20});
        record(kSetPolyFillMode, {1});
    }

    void line(float x, float y, int op) override {
        int X, Y;
        map(x, y, X, Y);
        if (op == kOpMove) {
            move_x_ = X;
            move_y_ = Y;
            return;
        }
        if (op != kOpDraw) return;
        use_pen(line_rgb_);
        if (move_x_ != pos_x_ || move_y_ != pos_y_) record(kMoveTo, {move_y_, move_x_});
        record(kLineTo, {Y, X});
        pos_x_ = move_x_ = X;
        pos_y_ = move_y_ = Y;
    }

    void colour(int index) override {
        line_rgb_ = colorref(index);
        use_pen(line_rgb_);
        record(kSetTextColor, {(int)(line_rgb_ & 0xffff), (int)(line_rgb_ >> 16)});
    }

    void colour_table() override { colour(state().colour.current); }

    void fill_rect(int x1, int y1, int x2, int y2, int colour) override {
        int ax, ay, bx, by;
        map((float)x1, (float)y1, ax, ay);
        map((float)x2, (float)y2, bx, by);
        int left = std::min(ax, bx), top = std::min(ay, by);
        int w = std::abs(bx - ax) + 1, h = std::abs(by - ay) + 1;
        std::uint32_t rgb = colorref(colour);
        use_brush(rgb);
        use_pen(rgb);
        // A rectangle in a pen of its own colour covers left .. right - 1.
        record(kRectangle, {top + h, left + w, top, left});
    }

    void fill_polygon(const float* x, const float* y, int n) override {
        if (n < 3) return;
        n = std::min(n, 32767);
        use_brush(line_rgb_);
        use_pen(line_rgb_);
        begin(kPolygon, 1 + 2 * (std::size_t)n);
        put(n);
        for (int i = 0; i < n; ++i) {
            int X, Y;
            map(x[i], y[i], X, Y);
            put(X);
            put(Y);
        }
    }

    // Window fonts: a name, or a new character height for the current one.
    void hardware_font(const char* name, float height) override {
        if (name) font_name_ = name;
        font_size_ = window_font_size((int)height);
        font_angle_ = -1;  // created again before the next character
    }

    // One character on its baseline, left-aligned, in the text colour.
    void character(int code, float x, float y, int angle, float advance) override {
        (void)advance;
        if (font_name_.empty()) return;
        if (turned_) angle += 90;
        angle %= 360;
        if (angle < 0) angle += 360;
        if (!text_ready_) {
            record(kSetBkMode, {1});      // transparent
            record(kSetTextAlign, {24});  // baseline, left
            text_ready_ = true;
        }
        if (angle != font_angle_) create_font(angle);
        int X, Y;
        map(x, y, X, Y);
        begin(kTextOut, 4);
        put(1);
        put(winansi_code(code) & 0xff);
        put(Y);
        put(X);
    }

    int finish() override {
        record(kEof, {});
        if (!is_open()) return 0;
        if (state().drivers.wmf_mode == 1) placeable_header();
        // The metafile header: memory metafile, 9 words, version 3.0.
        std::uint32_t size = 9 + (std::uint32_t)(body_.size() / 2);
        unsigned char head[18];
        std::size_t k = 0;
        auto w16 = [&](unsigned v) {
            head[k++] = (unsigned char)(v & 0xff);
            head[k++] = (unsigned char)((v >> 8) & 0xff);
        };
        w16(1);
        w16(9);
        w16(0x0300);
        w16(size & 0xffff);
        w16(size >> 16);
        w16((unsigned)max_objects_);
        w16(max_record_ & 0xffff);
        w16(max_record_ >> 16);
        w16(0);
        sink_.write(reinterpret_cast<const char*>(head), sizeof head);
        sink_.write(reinterpret_cast<const char*>(body_.data()), body_.size());
        return close_output();
    }

private:
    void map(float x, float y, int& X, int& Y) const {
        float a = turned_ ? y : x, b = turned_ ? (float)nxp_ - x : y;
        X = std::clamp((int)(a * f_ + 0.5f), -32768, 32767);
        Y = std::clamp((int)(b * f_ + 0.5f), -32768, 32767);
    }

    // A record of n parameter words: size (words), function, parameters.
    void begin(unsigned function, std::size_t n) {
        std::uint32_t words = (std::uint32_t)(3 + n);
        put32(words);
        put((int)function);
        max_record_ = std::max(max_record_, words);
    }
    void record(unsigned function, std::initializer_list<int> params) {
        begin(function, params.size());
        for (int v : params) put(v);
    }
    void put(int v) {
        body_.push_back((unsigned char)(v & 0xff));
        body_.push_back((unsigned char)((v >> 8) & 0xff));
    }
    void put32(std::uint32_t v) {
        put((int)(v & 0xffff));
        put((int)(v >> 16));
    }

    // Objects take the lowest free slot of the metafile's object table.
    int create_slot() {
        for (std::size_t i = 0; i < slots_.size(); ++i)
            if (!slots_[i]) {
                slots_[i] = true;
                return (int)i;
            }
        slots_.push_back(true);
        max_objects_ = std::max(max_objects_, (int)slots_.size());
        return (int)slots_.size() - 1;
    }
    void replace(int& current, int fresh) {
        record(kSelectObject, {fresh});
        if (current >= 0) {
            record(kDeleteObject, {current});
            slots_[(std::size_t)current] = false;
        }
        current = fresh;
    }

    void use_pen(std::uint32_t rgb) {
        if (pen_ >= 0 && pen_rgb_ == rgb) return;
        int slot = create_slot();
        // Solid style, the colour.  Window systems draw the thinnest pens
        // one pixel wide, other readers scale them: a pen of 0.25 mm (the
        // thinnest line of the PostScript formats) looks alike in both.
        record(kCreatePen, {0, pen_width_, 0, (int)(rgb & 0xffff), (int)(rgb >> 16)});
        replace(pen_, slot);
        pen_rgb_ = rgb;
    }

    void use_brush(std::uint32_t rgb) {
        if (brush_ >= 0 && brush_rgb_ == rgb) return;
        int slot = create_slot();
        // Solid style, the colour, no hatch.
        record(kCreateBrush, {0, (int)(rgb & 0xffff), (int)(rgb >> 16), 0});
        replace(brush_, slot);
        brush_rgb_ = rgb;
    }

    // A font of the current name and size at an angle (tenths of degrees):
    // height, width, escapement, orientation, weight, five flag and
    // precision bytes, pitch, and the face name in 32 bytes.
    void create_font(int angle) {
        int slot = create_slot();
        begin(kCreateFont, 9 + 16);
        put(-font_size_);
        put(0);
        put(angle * 10);
        put(angle * 10);
        put(400);
        put(0);  // italic, underline
        put(0);  // strike-out, character set (ANSI)
        put(0);  // output and clipping precision
        put(0);  // quality, pitch and family
        char face[32] = {};
        for (std::size_t i = 0; i < 31 && i < font_name_.size(); ++i) face[i] = font_name_[i];
        for (int i = 0; i < 32; i += 2) put((unsigned char)face[i] | ((unsigned char)face[i + 1] << 8));
        replace(font_, slot);
        font_angle_ = angle;
    }

    // Key, handle, bounding box in the units of `inch_` per inch, reserved,
    // and the exclusive-or of the ten words before the checksum.
    void placeable_header() {
        unsigned words[10] = {0xCDD7,          0x9AC6, 0, 0, 0, (unsigned)width_, (unsigned)height_,
                              (unsigned)inch_, 0,      0};
        unsigned sum = 0;
        for (unsigned v : words) sum ^= v;
        unsigned char head[22];
        std::size_t k = 0;
        for (unsigned v : words) {
            head[k++] = (unsigned char)(v & 0xff);
            head[k++] = (unsigned char)((v >> 8) & 0xff);
        }
        head[k++] = (unsigned char)(sum & 0xff);
        head[k++] = (unsigned char)((sum >> 8) & 0xff);
        sink_.write(reinterpret_cast<const char*>(head), sizeof head);
    }

    std::vector<unsigned char> body_;
    std::uint32_t max_record_ = 3;
    std::vector<bool> slots_;
    int max_objects_ = 0;
    float f_ = 5.6692915f;
    int nxp_ = 0;
    bool turned_ = false;
    int width_ = 0, height_ = 0, inch_ = 1440;
    int pen_width_ = 1;
    std::string font_name_;
    int font_size_ = 0, font_angle_ = -1, font_ = -1;
    bool text_ready_ = false;
    int pen_ = -1, brush_ = -1;
    std::uint32_t pen_rgb_ = 0, brush_rgb_ = 0, line_rgb_ = 0;
    int pos_x_ = 0, pos_y_ = 0, move_x_ = 0, move_y_ = 0;
};

std::unique_ptr<Device> make_wmf() { return std::make_unique<WmfDevice>(); }
const DeviceRegistration reg_wmf(221, 221, make_wmf);

}  // namespace

void wmfmod(const char* mode, const char* key) {
    if (check_level(0, 0, "wmfmod")) return;
    char k[5] = {' ', ' ', ' ', ' ', '\0'};
    for (int i = 0; i < 4 && key && key[i]; ++i) k[i] = key[i];
    to_upper(k);
    if (std::string(k) != "FORM") {
        warn_routine_text(2, key ? key : "");
        return;
    }
    int i = match_keyword("STAN+PLAC", 2, mode);
    if (i) state().drivers.wmf_mode = i - 1;
}

}  // namespace korval
