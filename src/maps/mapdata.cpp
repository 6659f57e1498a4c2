// Map data: the library's own map files, GSHHS shoreline files and user
// map files; world, shdmap, shdeur and shdusa.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <vector>

#include "axes/axes.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"
#include "maps/maps.hpp"
#include "plots/plots.hpp"

namespace korval {

namespace {

MapState& ms() { return state().maps; }

constexpr int kMaxPolygonPoints = 2000;

void warn_text(const char* text) {
    set_warning_text(text);
    warn_routine(101);
}

struct FileCloser {
    std::FILE* f;
    ~FileCloser() {
        if (f) std::fclose(f);
    }
};

// A polygon of the own map files, in degrees.
struct Polygon {
    int region = 0;
    std::vector<double> lon, lat;
    bool overflow = false;
};

// Reads map file `number` and hands each polygon to `visit`; regions above
// `last_region` (when >= 0) end the reading.  Points beyond the buffer are
// dropped and the polygon is marked.  False after warning 36.
bool read_own_map(int number, int last_region, const std::function<void(const Polygon&)>& visit) {
    char name[16];
    std::snprintf(name, sizeof name, "map%d.dat", number);
    std::string path = map_file_path(name);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        warn_routine_text(36, path.c_str());
        return false;
    }
    FileCloser closer{f};
    Polygon poly;
    poly.lon.reserve(kMaxPolygonPoints);
    poly.lat.reserve(kMaxPolygonPoints);
    bool have_x = false, want_region = false, started = false;
    double x = 0;
    auto emit = [&]() {
        if (started && !poly.lon.empty()) visit(poly);
        poly.lon.clear();
        poly.lat.clear();
        poly.overflow = false;
        have_x = false;
    };
    unsigned char block[80];
    for (;;) {
        std::size_t got = std::fread(block, 1, sizeof block, f);
        std::size_t values = got / 4;
        if (values == 0) break;
        for (std::size_t i = 0; i < values; ++i) {
            const unsigned char* b = block + 4 * i;
            std::int32_t v = (std::int32_t)((std::uint32_t)b[0] | (std::uint32_t)b[1] << 8 |
                                            (std::uint32_t)b[2] << 16 | (std::uint32_t)b[3] << 24);
            if (want_region) {
                want_region = false;
                poly.region = (int)std::lround(v / 1000.0);
                started = true;
                if (last_region >= 0 && poly.region > last_region) return true;
                continue;
            }
            if (v == -1000) continue;
            if (v < 0) {
                emit();
                if (v == -9000) return true;
                want_region = true;
                continue;
            }
            if (!have_x) {
                x = v;
                have_x = true;
                continue;
            }
            have_x = false;
            if ((int)poly.lon.size() >= kMaxPolygonPoints) {
                poly.overflow = true;
                continue;
            }
            poly.lon.push_back(x / 1000.0 - 180.0);
            poly.lat.push_back(v / 1000.0 - 90.0);
        }
        if (got < sizeof block) break;
    }
    emit();
    return true;
}

// The copies of the data a map shows: longitude shifts and latitude
// mirrors (cylindrical maps wider than the globe).
struct Copy {
    double shift;
    int mirror;  // 0 plain, -1 below the south pole, +1 above the north pole
};

std::vector<Copy> map_copies() {
    const MapState& m = ms();
    std::vector<Copy> out;
    if (m.family != MAP_CYLINDRICAL) return {{0, 0}};
    std::vector<double> shifts;
    if (m.xa < -180.1) shifts.push_back(-360);
    if (m.xa < 179.9 && m.xe >= -179.9) shifts.push_back(0);
    if (m.xe > 180.1) shifts.push_back(360);
    std::vector<int> mirrors;
    if (m.ya < -90.1) mirrors.push_back(-1);
    if (m.ya < 89.9 && m.ye >= -89.9) mirrors.push_back(0);
    if (m.ye > 90.1) mirrors.push_back(1);
    for (double s : shifts)
        for (int k : mirrors) out.push_back({s, k});
    return out;
}

double copy_lat(double lat, int mirror) { return mirror < 0 ? -lat - 180 : mirror > 0 ? -lat + 180 : lat; }

// Outline of a polygon of the own maps.
void draw_outline(const Polygon& p, const Copy& c) {
    int n = (int)p.lon.size();
    bool closed = true;
    if (p.region == 1 && n >= 501) {
        n -= 2;  // Antarctica's closing points along the pole stay invisible
        closed = false;
    }
    if (n < 1) return;
    double lon0 = p.lon[0] + c.shift, lat0 = copy_lat(p.lat[0], c.mirror);
    map_move_to(lon0, lat0);
    double pl = lon0, pb = lat0;
    for (int i = 1; i <= n; ++i) {
        if (i == n && !closed) break;
        int k = i == n ? 0 : i;
        double lon = p.lon[k] + c.shift, lat = copy_lat(p.lat[k], c.mirror);
        map_line_to(pl, pb, lon, lat);
        pl = lon, pb = lat;
    }
}

void push_point(double lon, double lat, std::vector<float>& xs, std::vector<float>& ys) {
    double xp, yp;
    map_project(lon, lat, xp, yp);
    xs.push_back((float)std::fmax(-1e6, std::fmin(1e6, xp)));
    ys.push_back((float)std::fmax(-1e6, std::fmin(1e6, yp)));
}

// The crossing of the horizon between a visible and an invisible point.
void horizon_crossing(double lon0, double lat0, double lon1, double lat1, double& lon, double& lat) {
    double a = 0, b = 1;  // a visible
    for (int i = 0; i < 30; ++i) {
        double t = (a + b) / 2;
        if (map_on_disc(lon0 + (lon1 - lon0) * t, lat0 + (lat1 - lat0) * t))
            a = t;
        else
            b = t;
    }
    lon = lon0 + (lon1 - lon0) * a, lat = lat0 + (lat1 - lat0) * a;
}

// The arc of the map circle from the direction of one plot point to that
// of another, the shorter way round.
void push_arc(float x0, float y0, float x1, float y1, std::vector<float>& xs, std::vector<float>& ys) {
    const MapState& m = ms();
    double a0 = std::atan2(y0 - m.yc, x0 - m.xc), a1 = std::atan2(y1 - m.yc, x1 - m.xc);
    double d = a1 - a0;
    while (d > M_PI) d -= 2 * M_PI;
    while (d < -M_PI) d += 2 * M_PI;
    int n = (int)std::ceil(std::fabs(d) / (2 * M_PI / 180));
    for (int i = 1; i < n; ++i) {
        double a = a0 + d * i / n;
        xs.push_back((float)(m.xc + m.radius * std::cos(a)));
        ys.push_back((float)(m.yc + m.radius * std::sin(a)));
    }
}

// The visible part of a polygon on a gnomonic hemisphere map: points
// beyond the horizon have no image, so the polygon is cut at the horizon
// and closed along the map circle.
void project_visible_polygon(const Polygon& p, const Copy& c, std::vector<float>& xs,
                             std::vector<float>& ys) {
    xs.clear();
    ys.clear();
    const int n = (int)p.lon.size();
    int start = -1;
    for (int i = 0; i < n && start < 0; ++i)
        if (map_on_disc(p.lon[i] + c.shift, copy_lat(p.lat[i], c.mirror))) start = i;
    if (start < 0) return;
    bool out = false;
    float ex = 0, ey = 0;  // where the polygon left the disc
    for (int j = 0; j < n; ++j) {
        int i = (start + j) % n, k = (i + 1) % n;
        double lon0 = p.lon[i] + c.shift, lat0 = copy_lat(p.lat[i], c.mirror);
        double lon1 = p.lon[k] + c.shift, lat1 = copy_lat(p.lat[k], c.mirror);
        if (j == 0) push_point(lon0, lat0, xs, ys);
        int steps = (int)std::ceil(std::fmax(std::fabs(lon1 - lon0), std::fabs(lat1 - lat0)) / 2.0);
        steps = steps < 1 ? 1 : steps > 180 ? 180 : steps;
        double plon = lon0, plat = lat0;
        bool pin = !out;
        for (int s = 1; s <= steps; ++s) {
            double t = (double)s / steps;
            double lon = lon0 + (lon1 - lon0) * t, lat = lat0 + (lat1 - lat0) * t;
            bool in = map_on_disc(lon, lat);
            if (pin && in) {
                if (j < n - 1 || s < steps) push_point(lon, lat, xs, ys);
            } else if (pin && !in) {
                double cl, cb;
                horizon_crossing(plon, plat, lon, lat, cl, cb);
                push_point(cl, cb, xs, ys);
                ex = xs.back(), ey = ys.back();
                out = true;
            } else if (!pin && in) {
                double cl, cb;
                horizon_crossing(lon, lat, plon, plat, cl, cb);
                double xp, yp;
                map_project(cl, cb, xp, yp);
                push_arc(ex, ey, (float)xp, (float)yp, xs, ys);
                push_point(cl, cb, xs, ys);
                if (j < n - 1 || s < steps) push_point(lon, lat, xs, ys);
                out = false;
            }
            pin = in;
            plon = lon, plat = lat;
        }
    }
}

// The projected polygon (plot coordinates), with the edges interpolated as
// map lines are.
void project_polygon(const Polygon& p, const Copy& c, std::vector<float>& xs, std::vector<float>& ys) {
    const MapState& m = ms();
    if (m.hemisphere && m.code == 30) return project_visible_polygon(p, c, xs, ys);
    xs.clear();
    ys.clear();
    const int n = (int)p.lon.size();
    const bool straight = m.line_mode == 0 || (m.family == MAP_CYLINDRICAL && m.code != 1 && m.code != 6);
    for (int i = 0; i < n; ++i) {
        double lon0 = p.lon[i] + c.shift, lat0 = copy_lat(p.lat[i], c.mirror);
        if (straight) {
            push_point(lon0, lat0, xs, ys);
            continue;
        }
        int k = (i + 1) % n;
        double lon1 = p.lon[k] + c.shift, lat1 = copy_lat(p.lat[k], c.mirror);
        int steps = (int)std::ceil(std::fmax(std::fabs(lon1 - lon0), std::fabs(lat1 - lat0)) / 2.0);
        steps = steps < 1 ? 1 : steps > 180 ? 180 : steps;
        for (int s = 0; s < steps; ++s) {
            double t = (double)s / steps;
            push_point(lon0 + (lon1 - lon0) * t, lat0 + (lat1 - lat0) * t, xs, ys);
        }
    }
}

// One half-plane step of Sutherland-Hodgman: keeps the side of x = edge
// given by keep_below.
void clip_at_longitude(std::vector<double>& x, std::vector<double>& y, double edge, bool keep_below) {
    std::vector<double> ox, oy;
    const std::size_t n = x.size();
    auto inside = [&](std::size_t i) { return keep_below ? x[i] <= edge : x[i] >= edge; };
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t j = (i + n - 1) % n;
        bool in_i = inside(i), in_j = inside(j);
        if (in_i != in_j) {
            double t = (edge - x[j]) / (x[i] - x[j]);
            ox.push_back(edge);
            oy.push_back(y[j] + (y[i] - y[j]) * t);
        }
        if (in_i) ox.push_back(x[i]), oy.push_back(y[i]);
    }
    x.swap(ox);
    y.swap(oy);
}

// Fills a polygon of the map files.  On world and conical maps a polygon
// that crosses the seam opposite the central longitude is cut there into
// pieces, each filled on its own side of the map.
void fill_map_polygon(const Polygon& p, const Copy& c, std::vector<float>& xs, std::vector<float>& ys) {
    const MapState& m = ms();
    const int n = (int)p.lon.size();
    bool cut = false;
    std::vector<double> u;
    if (m.family == MAP_WORLD || m.family == MAP_CONICAL) {
        u.resize((std::size_t)n);
        double first = p.lon.empty() ? 0 : p.lon[0] - m.lam0;
        double k = std::floor((first + 180) / 360);  // into -180..180
        for (int i = 0; i < n; ++i) {
            u[(std::size_t)i] = p.lon[i] - m.lam0 - k * 360;
            if (u[(std::size_t)i] < -180 || u[(std::size_t)i] > 180) cut = true;
        }
    }
    if (!cut) {
        project_polygon(p, c, xs, ys);
        plot_fill_polygon(xs.data(), ys.data(), (int)xs.size());
        return;
    }
    const double inset = 180 - 1e-7;
    for (double shift : {-360.0, 0.0, 360.0}) {
        std::vector<double> x(u), y(p.lat.begin(), p.lat.end());
        for (double& v : x) v += shift;
        clip_at_longitude(x, y, inset, true);
        if (x.size() >= 3) clip_at_longitude(x, y, -inset, false);
        if (x.size() < 3) continue;
        Polygon piece;
        piece.region = p.region;
        for (std::size_t i = 0; i < x.size(); ++i) {
            piece.lon.push_back(x[i] + m.lam0);
            piece.lat.push_back(y[i]);
        }
        project_polygon(piece, c, xs, ys);
        plot_fill_polygon(xs.data(), ys.data(), (int)xs.size());
    }
}

bool map_ready(const char* routine) {
    (void)routine;
    if (state().axes.kind != 2 || !ms().valid) {
        warn_text("No map axis system defined");
        return false;
    }
    return true;
}

// ---- GSHHS and user text files -----------------------------------------------

std::int32_t big_endian32(const unsigned char* b) {
    return (std::int32_t)((std::uint32_t)b[0] << 24 | (std::uint32_t)b[1] << 16 | (std::uint32_t)b[2] << 8 |
                          (std::uint32_t)b[3]);
}

void draw_gshhs(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return void(warn_routine_text(36, path.c_str()));
    FileCloser closer{f};
    const int level = ms().level;
    const std::vector<Copy> copies = map_copies();
    unsigned char header[36];
    while (std::fread(header, 1, sizeof header, f) == sizeof header) {
        std::int32_t n = big_endian32(header + 4), lev = big_endian32(header + 8);
        if (n < 0) return warn_text("read error");
        bool use = level == 0 || lev == level;
        double plon = 0, plat = 0;
        for (std::int32_t i = 0; i < n; ++i) {
            unsigned char pt[8];
            if (std::fread(pt, 1, 8, f) != 8) return warn_text("read error");
            if (!use) continue;
            double lon = big_endian32(pt) * 1e-6, lat = big_endian32(pt + 4) * 1e-6;
            if (lon > 180) lon -= 360;
            for (const Copy& c : copies) {
                double l = lon + c.shift, b = copy_lat(lat, c.mirror);
                double l0 = plon + c.shift, b0 = copy_lat(plat, c.mirror);
                if (i == 0 || std::fabs(lon - plon) > 15) {
                    map_move_to(l, b);
                } else {
                    map_move_to(l0, b0);
                    map_line_to(l0, b0, l, b);
                }
            }
            plon = lon, plat = lat;
        }
        plot_flush();
    }
}

void draw_text_map(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return void(warn_routine_text(36, path.c_str()));
    FileCloser closer{f};
    const std::vector<Copy> copies = map_copies();
    char line[256];
    bool start = true;
    double plon = 0, plat = 0;
    while (std::fgets(line, sizeof line, f)) {
        std::size_t len = std::strlen(line);
        if (len > 0 && line[len - 1] != '\n' && !std::feof(f)) {
            // Longer than a line of the format: the rest is skipped.
            int ch;
            while ((ch = std::fgetc(f)) != EOF && ch != '\n') {
            }
        }
        if (line[0] == '#') {
            start = true;
            continue;
        }
        float lon, lat;
        if (std::sscanf(line, "%f %f", &lon, &lat) != 2 || !std::isfinite(lon) || !std::isfinite(lat))
            continue;
        for (const Copy& c : copies) {
            double l = lon + c.shift, b = copy_lat(lat, c.mirror);
            if (start) {
                map_move_to(l, b);
            } else {
                double l0 = plon + c.shift, b0 = copy_lat(plat, c.mirror);
                map_move_to(l0, b0);
                map_line_to(l0, b0, l, b);
            }
        }
        start = false;
        plon = lon, plat = lat;
    }
    plot_flush();
}

// Fills the areas of map file `number` listed in inray with their patterns
// and colours.
void shade_areas(const char* routine, int number, const int* inray, const int* ipray, const int* icray, int n,
                 int max_area, int max_n) {
    if (check_level(2, 3, routine)) return;
    if (n < 1 || n > max_n || !inray || !ipray || !icray) return void(warn_routine_value(2, n));
    for (int i = 0; i < n; ++i) {
        if (inray[i] < 0 || inray[i] > max_area) return void(warn_routine_value(2, inray[i]));
        if (icray[i] < 0 || icray[i] > 255) return void(warn_routine_value(2, icray[i]));
        if (ipray[i] < 0) return void(warn_routine_value(2, ipray[i]));
    }
    if (!map_ready(routine)) return;
    State& st = state();
    const ShadingState keep_shading = st.shading;
    const int keep_colour = current_colour();
    const std::vector<Copy> copies = map_copies();
    std::vector<float> xs, ys;
    bool overflow_warned = false;
    clip_to_axis(0);
    try {
        read_own_map(number, -1, [&](const Polygon& p) {
            int k = -1;
            for (int i = 0; i < n; ++i)
                if (inray[i] == p.region) k = i;
            if (k < 0) return;
            if (p.overflow) {
                if (!overflow_warned) warn_text("Internal error: Overflow of map coordinates");
                overflow_warned = true;
                return;
            }
            shdpat(ipray[k]);
            st.run.routine = routine;
            use_colour(icray[k]);
            for (const Copy& c : copies) {
                fill_map_polygon(p, c, xs, ys);
            }
        });
    } catch (const std::bad_alloc&) {
        warn_routine(53);
    }
    plot_flush();
    clip_to_axis(1);
    st.shading = keep_shading;
    use_colour(keep_colour);
}

}  // namespace

void world() {
    if (check_level(2, 3, "world")) return;
    MapState& m = ms();
    if (m.base == 5 && m.user_type == 0) return warn_text("No call to MAPFIL before");
    if (!map_ready("world")) return;
    clip_to_axis(0);
    try {
        switch (m.base) {
            case 0: {
                const std::vector<Copy> copies = map_copies();
                read_own_map(1, -1, [&](const Polygon& p) {
                    for (const Copy& c : copies) draw_outline(p, c);
                    plot_flush();
                });
                break;
            }
            case 1:
            case 2:
            case 3:
            case 4: {
                static const char* const names[4] = {"gshhs_l.b", "gshhs_i.b", "gshhs_h.b", "gshhs_f.b"};
                draw_gshhs(map_file_path(names[m.base - 1]));
                break;
            }
            default:
                if (m.user_type == 1)
                    draw_gshhs(m.user_file);
                else
                    draw_text_map(m.user_file);
                break;
        }
    } catch (const std::bad_alloc&) {
        warn_routine(53);
    }
    plot_flush();
    clip_to_axis(1);
}

void shdmap(const char* s) {
    if (check_level(2, 3, "shdmap")) return;
    int key = match_keyword("ALL +ANTA+AFRI+EURA+AUST+EURO+NORT+SOUT+LAKE", 9, s);
    if (!key) return;
    if (!map_ready("shdmap")) return;
    // Regions of the keys: all, 1, 2, 3 and 5, 4, 3 and 5, 6, 7, 8.
    static const int first[9] = {0, 1, 2, 3, 4, 3, 6, 7, 8};
    static const int last[9] = {-1, 1, 2, 5, 4, 5, 6, 7, 8};
    const int lo = first[key - 1], hi = last[key - 1];
    const std::vector<Copy> copies = map_copies();
    std::vector<float> xs, ys;
    clip_to_axis(0);
    try {
        read_own_map(1, hi, [&](const Polygon& p) {
            if (key != 1) {
                bool eura = key == 4 || key == 6;
                if (eura ? (p.region != 3 && p.region != 5) : p.region != lo) return;
            }
            for (const Copy& c : copies) {
                fill_map_polygon(p, c, xs, ys);
            }
        });
    } catch (const std::bad_alloc&) {
        warn_routine(53);
    }
    plot_flush();
    clip_to_axis(1);
}

void shdeur(const int* inray, const int* ipray, const int* icray, int n) {
    shade_areas("shdeur", 2, inray, ipray, icray, n, 46, 50);
}

void shdusa(const int* inray, const int* ipray, const int* icray, int n) {
    shade_areas("shdusa", 3, inray, ipray, icray, n, 51, 52);
}

}  // namespace korval
