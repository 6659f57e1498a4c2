// The Java applet driver ("JAVA"): the source of an applet whose paint
// method repaints the plot with drawLine, setColor and fillRect calls in
// pixels of the picture size.
#include <cstring>
#include <string>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"

namespace korval {

// The applet's class name: the file name after the last "\", "/" or ":" up
// to its first ".", made a valid Java identifier.
std::string java_class_name(const std::string& file) {
    std::size_t start = file.find_last_of("\\/:");
    std::string base = file.substr(start == std::string::npos ? 0 : start + 1);
    base = base.substr(0, base.find('.'));
    for (char& c : base) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                  c == '$';
        if (!ok) c = '_';
    }
    if (base.empty() || (base[0] >= '0' && base[0] <= '9')) base.insert(0, "_");
    return base;
}

namespace {

class JavaDevice : public Device {
public:
    unsigned capabilities() const override { return kCapFillRect; }

    void start() override {
        const OutputState& o = state().out;
        f_ = o.device_factor;
        nxp_ = o.nxp;
        turned_ = o.page_rotation == 1;
        if (!is_open()) return;
        std::string date, time;
        current_date_time(date, time);
        std::string head =
            "// KORVAL Java Metafile\n// Creator: KORVAL  8.1\n// Date   : " + date + ", " + time +
            "\n// Size   : " + std::to_string(o.image_w) + " " + std::to_string(o.image_h) +
            "\n\nimport java.applet.*;\nimport java.awt.*;\n\npublic class " + java_class_name(o.file_name) +
            " extends Applet {\npublic void paint(Graphics g) {\n";
        sink_.write(head);
    }

    void line(float x, float y, int op) override {
        int X, Y;
        map(x, y, X, Y);
        if (op == kOpDraw) {
            if (set_ != current_) set_colour(current_);
            char buf[96];
            std::size_t n = copy("  g.drawLine (", buf);
            n += format_int(buf + n, last_x_);
            buf[n++] = ',';
            n += format_int(buf + n, last_y_);
            buf[n++] = ',';
            n += format_int(buf + n, X);
            buf[n++] = ',';
            n += format_int(buf + n, Y);
            n += copy(");\n", buf + n);
            statement(buf, n);
        }
        last_x_ = X;
        last_y_ = Y;
    }

    void colour(int index) override {
        current_ = index;
        set_colour(index);
    }

    void colour_table() override {
        if (current_ >= 0) colour(current_);
    }

    void fill_rect(int x1, int y1, int x2, int y2, int colour) override {
        if (set_ != colour) set_colour(colour);
        int ax, ay, bx, by;
        map((float)x1, (float)y1, ax, ay);
        map((float)x2, (float)y2, bx, by);
        int left = ax < bx ? ax : bx, top = ay < by ? ay : by;
        int w = (ax < bx ? bx - ax : ax - bx) + 1, h = (ay < by ? by - ay : ay - by) + 1;
        char buf[96];
        std::size_t n = copy("  g.fillRect (", buf);
        n += format_int(buf + n, left);
        buf[n++] = ',';
        n += format_int(buf + n, top);
        buf[n++] = ',';
        n += format_int(buf + n, w);
        buf[n++] = ',';
        n += format_int(buf + n, h);
        n += copy(");\n", buf + n);
        statement(buf, n);
    }

    int finish() override {
        if (!is_open()) return 0;
        sink_.write("}\n}\n", 4);
        return close_output();
    }

private:
    void map(float x, float y, int& X, int& Y) const {
        if (turned_) {
            X = rnd(y * f_);
            Y = rnd((nxp_ - x) * f_);
        } else {
            X = rnd(x * f_);
            Y = rnd(y * f_);
        }
    }

    void set_colour(int index) {
        int r, g, b;
        colour_rgb(index, r, g, b);
        char buf[96];
        std::size_t n = copy("  g.setColor (new Color (", buf);
        n += format_int(buf + n, r);
        buf[n++] = ',';
        n += format_int(buf + n, g);
        buf[n++] = ',';
        n += format_int(buf + n, b);
        n += copy("));\n", buf + n);
        statement(buf, n);
        set_ = index;
    }

    // A Java method holds at most 64 KB of code: every kPart statements the
    // drawing continues in a new method that the previous one calls last.
    void statement(const char* text, std::size_t n) {
        if (count_ == kPart) {
            char buf[64];
            std::size_t k = copy("  part", buf);
            k += format_int(buf + k, ++part_);
            k += copy(" (g);\n}\nprivate void part", buf + k);
            k += format_int(buf + k, part_);
            k += copy("(Graphics g) {\n", buf + k);
            sink_.write(buf, k);
            count_ = 0;
        }
        sink_.write(text, n);
        ++count_;
    }

    static int rnd(float v) { return (int)(v + 0.5f); }
    static std::size_t copy(const char* s, char* out) {
        std::size_t n = std::strlen(s);
        std::memcpy(out, s, n);
        return n;
    }

    float f_ = 1.0f;
    int nxp_ = 0;
    bool turned_ = false;
    int last_x_ = 0, last_y_ = 0;
    int current_ = -1;  // the colour of lines
    int set_ = -1;      // the colour last given to the applet
    static constexpr int kPart = 2000;
    int count_ = 0, part_ = 0;
};

std::unique_ptr<Device> make_java() { return std::make_unique<JavaDevice>(); }
const DeviceRegistration reg_java(701, 701, make_java);

}  // namespace

}  // namespace korval
