#include "devices/svg_writer.hpp"

#include <cstring>

#include "devices/numfmt.hpp"

namespace korval {

namespace {

// Family, weight and style of the 35 hardware fonts.
const char* font_family(int f) {
    if (f >= 4 && f <= 11) return "Helvetica";
    if (f >= 18 && f <= 21) return "Courier";
    if (f == 34) return "Symbol";
    return "Times";
}
const char* font_weight(int f) {
    switch (f) {
        case 1:
        case 3:
        case 5:
        case 7:
        case 9:
        case 11:
        case 19:
        case 21:
            return "bold";
        default:
            return "normal";
    }
}
const char* font_style(int f) {
    switch (f) {
        case 2:
        case 3:
            return "italic";
        case 6:
        case 7:
        case 10:
        case 11:
        case 20:
        case 21:
            return "oblique";
        default:
            return "normal";
    }
}

// ISO-8859-1 codes of the characters 127..186 of the German code vector.
const unsigned char kLatin1[60] = {
    196, 214, 220, 228, 246, 252, 223, 197, 216, 198, 229, 248, 230, 209, 241, 199, 231, 203, 207, 235,
    239, 193, 201, 205, 211, 218, 225, 233, 237, 243, 250, 192, 200, 204, 210, 217, 224, 232, 236, 242,
    249, 194, 202, 206, 212, 219, 226, 234, 238, 244, 251, 195, 227, 213, 245, 221, 253, 255, 161, 191,
};

Line& hex(Line& l, std::uint32_t rgb) {
    static const char digits[] = "0123456789abcdef";
    l.c('#');
    for (int s = 20; s >= 0; s -= 4) l.c(digits[(rgb >> s) & 15]);
    return l;
}

}  // namespace

void SvgWriter::out(const char* s) { sink_->write(s, std::strlen(s)); }

bool SvgWriter::start(const std::string& name, int width, int height, bool background,
                      const std::string& date, const std::string& time) {
    if (name.empty())
        own_.open_memory();
    else if (!own_.open_file(name, true))
        return false;
    return start(&own_, width, height, background, date, time);
}

bool SvgWriter::start(Sink* sink, int width, int height, bool background, const std::string& date,
                      const std::string& time) {
    sink_ = sink;
    if (!sink_->is_open()) return false;
    started_ = true;
    group_ = 0;
    count_ = 0;
    has_last_ = false;
    stroke_ = fill_ = 0xffffff;
    width_ = 1.0;
    out("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"no\"?>\n"
        "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 20010904//EN\"\n"
        "  \"http://www.w3.org/TR/2001/REC-SVG-20010904/DTD\n"
        "/svg10.dtd\">\n"
        "<!-- Created by KORVAL\n"
        "Version:  8.1\n");
    Line l;
    l.s("Date   : ")
        .s(date.c_str())
        .c(' ')
        .s(time.c_str())
        .s("\n-->\n<svg width=\"")
        .i(width)
        .s("\" height=\"")
        .i(height)
        .s("\"\n");
    out(l.data(), l.size());
    out("  xmlns=\"http://www.w3.org/2000/svg\"\n"
        "  xmlns:xlink=\"http://www.w3.org/1999/xlink\">\n\n");
    if (background) fill_rect(0, 0, width, height, 0x000000);
    return true;
}

void SvgWriter::close_group() {
    if (group_ != 0) out("</g>\n");
    group_ = 0;
}

void SvgWriter::open_line_group() {
    if (group_ == 1) return;
    close_group();
    Line l;
    l.s("<g fill=\"none\" stroke=\"");
    hex(l, stroke_).s("\" stroke-width=\"").f(width_, 3).s("\">\n");
    out(l.data(), l.size());
    group_ = 1;
}

void SvgWriter::write_points(const double* xs, const double* ys, int n) {
    Line l;
    for (int i = 0; i < n; ++i) {
        l.clear();
        l.c(' ').f(xs[i], 2).c(',').f(ys[i], 2);
        if (i % 5 == 4 && i != n - 1) l.c('\n');
        out(l.data(), l.size());
    }
}

void SvgWriter::flush() {
    if (!started_) return;
    if (count_ >= 2) {
        open_line_group();
        Line l;
        if (count_ == 2) {
            l.s("<line x1=\"")
                .f(xs_[0], 2)
                .s("\" y1=\"")
                .f(ys_[0], 2)
                .s("\" x2=\"")
                .f(xs_[1], 2)
                .s("\" y2=\"")
                .f(ys_[1], 2)
                .s("\"/>\n");
            out(l.data(), l.size());
        } else {
            out("<polyline points=\"\n");
            write_points(xs_, ys_, count_);
            out("\"/>\n");
        }
    }
    if (count_ >= 1) {
        has_last_ = true;
        last_x_ = xs_[count_ - 1];
        last_y_ = ys_[count_ - 1];
    }
    count_ = 0;
}

void SvgWriter::move(double x, double y) {
    if (!started_) return;
    // A move to where the pen stands continues the path.
    if (count_ > 0 ? (xs_[count_ - 1] == x && ys_[count_ - 1] == y)
                   : (has_last_ && last_x_ == x && last_y_ == y))
        return;
    flush();
    xs_[0] = x;
    ys_[0] = y;
    count_ = 1;
    has_last_ = true;
    last_x_ = x;
    last_y_ = y;
}

void SvgWriter::draw(double x, double y) {
    if (!started_) return;
    if (count_ == 0) {
        xs_[0] = has_last_ ? last_x_ : x;
        ys_[0] = has_last_ ? last_y_ : y;
        count_ = 1;
    }
    xs_[count_] = x;
    ys_[count_] = y;
    ++count_;
    if (count_ == kPoints) {
        flush();
        // The next draw continues from the last point.
    }
}

void SvgWriter::colour(std::uint32_t rgb) {
    if (!started_) return;
    flush();
    close_group();
    stroke_ = fill_ = rgb & 0xffffff;
}

void SvgWriter::line_width(double w) {
    if (!started_) return;
    flush();
    close_group();
    width_ = w;
}

void SvgWriter::fill_rect(double x, double y, double w, double h, std::uint32_t rgb) {
    if (!started_) return;
    flush();
    close_group();
    Line l;
    l.s("<rect x=\"")
        .f(x, 2)
        .s("\" y=\"")
        .f(y, 2)
        .s("\" width=\"")
        .f(w, 2)
        .s("\" height=\"")
        .f(h, 2)
        .s("\"\n fill=\"");
    hex(l, rgb).s("\" stroke=\"none\"/>\n");
    out(l.data(), l.size());
}

void SvgWriter::polygon(const double* xs, const double* ys, int n, std::uint32_t rgb) {
    if (!started_ || n < 3) return;
    flush();
    close_group();
    Line l;
    l.s("<polygon fill=\"");
    hex(l, rgb).s("\" fill-rule=\"evenodd\" points=\"\n");
    out(l.data(), l.size());
    write_points(xs, ys, n);
    out("\"/>\n");
}

void SvgWriter::close_text_group() {
    if (group_ == 2) close_group();
}

void SvgWriter::character(int code, double x, double y, int angle, int font, int size) {
    if (!started_ || font < 0 || font > 34) return;
    flush();
    if (group_ == 1 || (group_ == 2 && (font != group_font_ || size != group_size_))) close_group();
    Line l;
    if (group_ == 0) {
        l.s("<g font-family=\"")
            .s(font_family(font))
            .s("\" font-weight=\"")
            .s(font_weight(font))
            .s("\" font-style=\"")
            .s(font_style(font))
            .s("\"\nfont-size=\"")
            .i(size)
            .s("\" stroke=\"none\" fill=\"");
        hex(l, fill_).s("\">\n");
        out(l.data(), l.size());
        l.clear();
        group_ = 2;
        group_font_ = font;
        group_size_ = size;
    }
    l.s("<text x=\"").f(x, 2).s("\" y=\"").f(y, 2).c('"');
    if (angle != 0)
        l.s(" rotate=\"").i(-angle).s("\">");
    else
        l.c('>');
    code &= 0xff;
    int ch = code;
    if (code >= 127 && code <= 186) ch = kLatin1[code - 127];
    // Control characters are not allowed in XML text: a blank stands in.
    if (code > 186 || code < 32) ch = ' ';
    if (ch == '&')
        l.s("&amp;");
    else if (ch == '<')
        l.s("&lt;");
    else if (ch == '>')
        l.s("&gt;");
    else
        l.c((char)ch);
    l.s("</text>\n");
    out(l.data(), l.size());
}

bool SvgWriter::end() {
    if (!started_) return false;
    flush();
    close_group();
    out("</svg>\n");
    started_ = false;
    return sink_->close();
}

}  // namespace korval
