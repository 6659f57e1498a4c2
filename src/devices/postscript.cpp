// The PostScript and EPS driver: a fixed prolog of procedures, then a
// compact stream of operator calls in 80-character records.
//
// Coordinates are integers in units of 0.05 mm (the prolog's `cm` turns them
// into points); the fit to the paper is folded into the header's scale.  The
// driver keeps its own path of up to 50 points; a move to the point where
// the pen already stands continues the path.
#include <cmath>
#include <cstring>
#include <string>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"

namespace korval {

namespace {

const char* const kProlog[] = {
    "2 setlinecap 2 setlinejoin",
    "/cm {0.1417322835 mul} def /rgb {255 div} def /lc 1 string def",
    "/u  { /y exch cm def /x exch cm def newpath  x y moveto } def",
    "/d  { /y exch cm def /x exch cm def x y lineto } def",
    "/p  { stroke } def",
    "/e { /b exch rgb def /g exch rgb def",
    " /r exch rgb def /v exch cm def /w exch cm def /y exch cm def",
    " /x exch cm def gsave r g b setrgbcolor newpath x y moveto",
    " w y lineto w v lineto x v lineto closepath fill grestore } def",
    "/f { /b exch rgb def /g exch rgb def",
    " /r exch rgb def r g b setrgbcolor } def",
    "/text { /c1 exch def /a exch def /y exch cm def /x exch cm def",
    " /Name exch def gsave x y moveto x y translate a rotate c1 0 gt",
    " { Name stringwidth 2 div neg exch 2 div neg exch rmoveto }",
    " {} ifelse Name show grestore } def /font { /h exch def",
    " /s exch def s findfont h scalefont setfont } def",
    "/c { /a exch def /y exch cm def /x exch cm def /i exch def",
    " gsave x y moveto x y translate a rotate lc 0 i put lc",
    " stringwidth 2 div neg exch 2 div neg exch rmoveto lc show",
    " grestore } def",
    "/sec { /b exch rgb def /g exch rgb def /r exch rgb def",
    " /a2 exch def /a exch def /r2 exch cm def /r1 exch cm def",
    " /y exch cm def /x exch cm def gsave r g b setrgbcolor newpath",
    " x y r1 a a2 arc x y r2 a2 a arcn closepath fill grestore } def",
    "/tri { /y3 exch cm def /x3 exch cm def /y2 exch cm def",
    " /x2 exch cm def /y1 exch cm def /x1 exch cm def",
    " gsave newpath x1 y1 moveto",
    " x2 y2 lineto x3 y3 lineto closepath fill grestore } def",
};

const char* const kReencode[] = {
    "/Reencsmalldict 12 dict def",
    "/ReEncodeSmall",
    "{ Reencsmalldict begin",
    "  /NewCodesAndNames exch def",
    "  /NewFontName exch def",
    "  /BaseFontName exch def",
    "  /BaseFontDict",
    "  BaseFontName findfont def",
    "  /NewFont BaseFontDict",
    "  maxlength dict def",
    "  BaseFontDict",
    "  { exch dup /FID ne",
    "    { dup /Encoding eq",
    "      { exch dup length array copy",
    "        NewFont 3 1 roll put",
    "      }",
    "      { exch NewFont 3 1 roll put",
    "      } ifelse",
    "      }",
    "      {pop pop} ifelse",
    "    } forall",
    "    NewFont",
    "    /FontName NewFontName put",
    "    NewCodesAndNames aload pop",
    "    NewCodesAndNames",
    "    length 2 idiv",
    "    { NewFont /Encoding get",
    "    3 1 roll put  } repeat",
    "    NewFontName NewFont",
    "    definefont pop end } def",
};

const char* const kCodeVector[] = {
    " /GermanVec [ 8#177 /Adieresis",
    " 8#200 /Odieresis 8#201 /Udieresis 8#202 /adieresis",
    " 8#203 /odieresis 8#204 /udieresis 8#205 /germandbls",
    " 8#206 /Aring     8#207 /Oslash    8#210 /AE",
    " 8#211 /aring     8#212 /oslash    8#213 /ae",
    " 8#214 /Ntilde    8#215 /ntilde    8#216 /Ccedilla",
    " 8#217 /ccedilla  8#220 /Edieresis 8#221 /Idieresis",
    " 8#222 /edieresis 8#223 /idieresis 8#224 /Aacute",
    " 8#225 /Eacute    8#226 /Iacute    8#227 /Oacute",
    " 8#230 /Uacute    8#231 /aacute    8#232 /eacute",
    " 8#233 /iacute    8#234 /oacute    8#235 /uacute",
    " 8#236 /Agrave    8#237 /Egrave    8#240 /Igrave",
    " 8#241 /Ograve    8#242 /Ugrave    8#243 /agrave",
    " 8#244 /egrave    8#245 /igrave    8#246 /ograve",
    " 8#247 /ugrave      8#250 /Acircumflex 8#251 /Ecircumflex",
    " 8#252 /Icircumflex 8#253 /Ocircumflex 8#254 /Ucircumflex",
    " 8#255 /acircumflex 8#256 /ecircumflex 8#257 /icircumflex",
    " 8#260 /ocircumflex 8#261 /ucircumflex 8#262 /Atilde",
    " 8#263 /atilde 8#264 /Otilde 8#265 /otilde 8#266 /Yacute",
    " 8#267 /yacute 8#270 /ydieresis",
    " 8#271 /exclamdown 8#272 /questiondown ] def",
};

const double kPointsPerUnit = 0.1417322835;

inline int rnd(double v) { return (int)(v + 0.5); }

class PostScriptDevice : public Device {
public:
    unsigned capabilities() const override {
        return kCapLineWidth | kCapFillRect | kCapFillPolygon | kCapSector | kCapTriangle | kCapHardwareText |
               kCapImage;
    }

    void start() override {
        OutputState& o = state().out;
        eps_ = o.format == 503;
        turned_ = o.nxp > o.nyp && o.page_rotation != 2;
        nyp_ = o.nyp;
        fit_ = o.fit_factor;
        f_ = o.hw_page ? fit_ : o.unit_factor * 1.8571428f;
        o.device_factor = f_;
        if (!is_open()) return;
        header(o);
    }

    void line(float x, float y, int op) override {
        int X, Y;
        map(x, y, X, Y);
        path(X, Y, op);
    }

    void colour(int index) override {
        path_flush();
        rgb_words(index);
        word("f");
    }

    void fill_rect(int x1, int y1, int x2, int y2, int colour) override {
        double X1, Y1, X2, Y2;
        if (turned_) {
            X1 = y1, Y1 = x1, X2 = y2, Y2 = x2;
        } else {
            X1 = x1, Y1 = nyp_ - y2, X2 = x2, Y2 = nyp_ - y1;
        }
        num(rnd(X1 * f_));
        num(rnd(Y1 * f_));
        num(rnd(X2 * f_));
        num(rnd(Y2 * f_));
        rgb_words(colour);
        word("e");
    }

    void fill_polygon(const float* x, const float* y, int n) override {
        if (n < 1) return;
        // Lines drawn before the fill stay below it.
        path_flush();
        int X0, Y0;
        map(x[0], y[0], X0, Y0);
        num(X0);
        num(Y0);
        word("u");
        for (int i = 1; i < n; ++i) {
            int X, Y;
            map(x[i], y[i], X, Y);
            num(X);
            num(Y);
            word("d");
        }
        num(X0);
        num(Y0);
        word("d");
        word("eofill");
    }

    void sector(float cx, float cy, float r1, float r2, float a1, float a2, int colour) override {
        int X, Y;
        map(cx, cy, X, Y);
        num(X);
        num(Y);
        num(rnd(r1 * f_));
        num(rnd(r2 * f_));
        // On a turned page the picture is rotated by 90 degrees.
        float turn = turned_ ? 90.0f : 0.0f;
        fixed(a1 + turn, 2);
        fixed(a2 + turn, 2);
        rgb_words(colour);
        word("sec");
    }

    void triangle(const float* x, const float* y) override {
        for (int i = 0; i < 3; ++i) {
            int X, Y;
            map(x[i], y[i], X, Y);
            num(X);
            num(Y);
        }
        word("tri");
    }

    void line_width(int n) override {
        path_flush();
        long w = (long)(2.0 * n * state().out.unit_factor);
        num(w < 5 ? 5 : w);
        word("cm");
        word("setlinewidth");
        if (state().pipeline.line_join == 0) miter_limit(state().pipeline.miter_limit);
    }

    void pen_width(float x) override {
        path_flush();
        float u = state().out.unit_factor;
        float w = u * x;
        float width;
        if (x >= 0.99f)
            width = 2 * w < 5 ? 5 : 2 * w;
        else
            width = u > 2.0f ? 2 * w : 5 * w;
        fixed(width, 2);
        word("cm");
        word("setlinewidth");
        if (state().pipeline.line_join == 0) miter_limit(state().pipeline.miter_limit);
    }

    void line_cap(int cap) override {
        path_flush();
        num(cap);
        word("setlinecap");
    }

    void line_join(int join) override {
        path_flush();
        num(join);
        word("setlinejoin");
        if (join == 0) miter_limit(state().pipeline.miter_limit);
    }

    void miter_limit(float limit) override {
        int w = state().pipeline.line_width;
        float m = (float)(w < 0 ? -w : w) * 2.0f;
        if (m < 5) m = 5;
        int v = round_nearest(m * limit);
        // PostScript rejects a miter limit below 1 (8 units are 1.13 points).
        num(v < 8 ? 8 : v);
        word("cm");
        word("setmiterlimit");
    }

    void hardware_font(const char* name, float height) override {
        if (name) {
            std::string n = name;
            word(("(" + n + ")").c_str());
            word(("(" + n + "-German)").c_str());
            word("GermanVec");
            word("ReEncodeSmall");
            font_ = n + "-German";
        }
        if (font_.empty()) return;
        word(("(" + font_ + ")").c_str());
        num((long)(height * f_ * 0.25f));
        word("font");
    }

    // The prolog's "c" centres the character at the point it is given:
    // the middle of the character's advance on the baseline.
    void character(int code, float x, float y, int angle, float advance) override {
        double a = angle * 3.14159265358979 / 180.0;
        x += (float)(0.5 * advance * std::cos(a));
        y -= (float)(0.5 * advance * std::sin(a));
        int X, Y;
        map(x, y, X, Y);
        num(code);
        num(X);
        num(Y);
        num(turned_ ? angle + 90 : angle);
        word("c");
    }

    void image(const std::uint8_t* rgb, int w, int h, float x0, float yb, float bw, float bh) override {
        if (w <= 0 || h <= 0 || !rgb) return;
        path_flush();
        word("/picstr");
        num(3L * w);
        word("string");
        word("def");
        double k = f_ * kPointsPerUnit;
        word("gsave");
        if (turned_) {
            fixed(yb * k, 3);
            fixed(x0 * k, 3);
            word("translate");
            word("90");
            word("rotate");
        } else {
            fixed(x0 * k, 3);
            fixed((nyp_ - yb) * k, 3);
            word("translate");
        }
        fixed(bw * k, 3);
        fixed(bh * k, 3);
        word("scale");
        num(w);
        num(h);
        word("8");
        std::string m =
            "[" + std::to_string(w) + " 0 0 " + std::to_string(-h) + " 0 " + std::to_string(h) + "]";
        rec_.words(m.c_str());
        rec_.words("{currentfile picstr readhexstring pop} false 3 colorimage");
        rec_.flush();
        static const char hex[] = "0123456789ABCDEF";
        std::size_t bytes = (std::size_t)w * (std::size_t)h * 3;
        for (std::size_t i = 0; i < bytes; ++i) {
            char two[2] = {hex[rgb[i] >> 4], hex[rgb[i] & 15]};
            rec_.item(two, 2);
        }
        rec_.item(" ", 1);
        word("grestore");
    }

    void new_page() override {
        if (eps_) return;
        const OutputState& o = state().out;
        path_flush();
        word("copypage");
        rec_.flush();
        word("%%Page:");
        word("1");
        num(state().run.page_count);
        rec_.flush();
        if (o.format == 502 && o.background != 2) {
            background_words(o);
        } else {
            word("erasepage");
        }
        colour(state().colour.current);
    }

    int finish() override {
        if (!is_open()) return 0;
        path_flush();
        word("showpage");
        rec_.flush();
        return close_output();
    }

private:
    void map(float x, float y, int& X, int& Y) const {
        if (turned_) {
            X = (int)(y * f_ + 0.5f);
            Y = (int)(x * f_ + 0.5f);
        } else {
            X = (int)(x * f_ + 0.5f);
            Y = (int)(((float)nyp_ - y) * f_ + 0.5f);
        }
    }

    void word(const char* w) { rec_.word(w, std::strlen(w)); }
    void num(long v) { rec_.word(v); }
    void fixed(double v, int prec) {
        char buf[48];
        rec_.word(buf, format_fixed(buf, v, prec));
    }
    void rgb_words(int index) {
        int r, g, b;
        colour_rgb(index, r, g, b);
        num(r);
        num(g);
        num(b);
    }

    // The path: op 2 appends (a full buffer is written and continues from
    // its last point); op 3 writes the buffer and starts a new one, unless
    // the pen already stands there.
    void path(int X, int Y, int op) {
        if (op == kOpDraw) {
            if (n_ == 0) {
                px_[0] = has_last_ ? last_x_ : X;
                py_[0] = has_last_ ? last_y_ : Y;
                n_ = 1;
            }
            px_[n_] = X;
            py_[n_] = Y;
            if (++n_ == kPath) {
                write_path();
                px_[0] = X;
                py_[0] = Y;
                n_ = 1;
            }
            return;
        }
        if (op != kOpMove) return;
        if (n_ > 0 ? (px_[n_ - 1] == X && py_[n_ - 1] == Y) : (has_last_ && last_x_ == X && last_y_ == Y))
            return;
        write_path();
        px_[0] = X;
        py_[0] = Y;
        n_ = 1;
        has_last_ = false;
    }

    void path_flush() {
        write_path();
        if (n_ > 0) {
            last_x_ = px_[n_ - 1];
            last_y_ = py_[n_ - 1];
            has_last_ = true;
        }
        n_ = 0;
    }

    // A single point draws nothing and is not written.
    void write_path() {
        if (n_ < 2) return;
        num(px_[0]);
        num(py_[0]);
        word("u");
        for (int i = 1; i < n_; ++i) {
            num(px_[i]);
            num(py_[i]);
            rec_.word("d", 1);
        }
        word("p");
    }

    void line_out(const char* text) {
        sink_.write(text, std::strlen(text));
        sink_.put('\n');
    }

    void background_words(const OutputState& o) {
        int a = rnd(o.nyp * (double)f_), b = rnd(o.nxp * (double)f_);
        if (turned_) {
            num(0), num(0), num(a), num(b);
        } else {
            num(0), num(a), num(b), num(0);
        }
        num(0), num(0), num(0);
        word("e");
    }

    void header(const OutputState& o) {
        line_out(eps_ ? "%!PS-Adobe-3.0 EPSF-3.0" : "%!PS-Adobe-2.0");
        // The bounding box uses the scale the drawing really gets: the fit.
        double c = kPointsPerUnit, k = fit_;
        double ox = o.hw_origin ? 2.0 * o.hw_origin_x : 150.0;
        double oy = o.hw_origin ? 2.0 * o.hw_origin_y : 200.0;
        int ex = turned_ ? o.nyp : o.nxp, ey = turned_ ? o.nxp : o.nyp;
        std::string box = "%%BoundingBox:  " + std::to_string((int)(ox * c)) + " " +
                          std::to_string((int)(oy * c)) + " " + std::to_string((int)((ox + ex * k) * c + 1)) +
                          " " + std::to_string((int)((oy + ey * k) * c + 1));
        line_out(box.c_str());
        line_out(turned_ ? "%%Creator: KORVAL   8.1 L" : "%%Creator: KORVAL   8.1 P");
        std::string date, time;
        current_date_time(date, time);
        line_out(("%%CreationDate: " + date + " , " + time).c_str());
        line_out("%%Page: 1 1");
        line_out("%%EndComments");
        for (const char* l : kProlog) line_out(l);
        for (const char* l : kReencode) line_out(l);
        for (const char* l : kCodeVector) line_out(l);
        char scale[64];
        std::size_t n = format_fixed_w(scale, fit_ / f_, 10, 6);
        n += format_fixed_w(scale + n, fit_ / f_, 10, 6);
        scale[n] = '\0';
        std::string place;
        if (o.hw_origin) {
            char x[32], y[32];
            x[format_int_w(x, o.hw_origin_x, 5)] = '\0';
            y[format_int_w(y, o.hw_origin_y, 5)] = '\0';
            place = std::string(x) + " cm " + y + " cm translate 5 cm setlinewidth " + scale + " scale";
        } else {
            place = std::string("  150 cm   200 cm translate 5 cm setlinewidth ") + scale + " scale";
        }
        line_out(place.c_str());
        if ((o.format == 502 || eps_) && o.background != 2) {
            int a = rnd(o.nyp * (double)f_), b = rnd(o.nxp * (double)f_);
            std::string bg = turned_ ? "0 0 " + std::to_string(a) + " " + std::to_string(b) + " 0 0 0 e "
                                     : "0 " + std::to_string(a) + " " + std::to_string(b) + " 0 0 0 0 e ";
            line_out(bg.c_str());
        }
    }

    static constexpr int kPath = 50;
    RecordWriter rec_{sink_};
    bool eps_ = false, turned_ = false;
    int nyp_ = 0;
    float f_ = 1.8571428f, fit_ = 1.8571428f;
    int px_[kPath], py_[kPath];
    int n_ = 0;
    bool has_last_ = false;
    int last_x_ = 0, last_y_ = 0;
    std::string font_;
};

std::unique_ptr<Device> make_postscript() { return std::make_unique<PostScriptDevice>(); }
const DeviceRegistration reg_postscript(501, 504, make_postscript);

}  // namespace

}  // namespace korval
