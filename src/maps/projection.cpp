// The map forward projection and the scaling of map axis systems.
//
// Computations run in double precision: the conical and azimuthal formulas
// lose visible accuracy in single precision near the poles.
#include <cmath>
#include <cstdio>

#include "axes/axes.hpp"
#include "draw/draw.hpp"
#include "maps/maps.hpp"

namespace korval {

namespace {

MapState& ms() { return state().maps; }

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180.0;
constexpr double kFar = 1.0e7;  // plane distance of points without an image

double clamp1(double v) { return v < -1 ? -1 : v > 1 ? 1 : v; }

// One step of +-360 into -180..180 as the conical projections do; values
// further out are folded completely.
double wrap180(double l) {
    if (l < -180)
        l += 360;
    else if (l > 180)
        l -= 360;
    if (l < -180 || l > 180) {
        l = std::fmod(l + 180.0, 360.0);
        if (l < 0) l += 360;
        l -= 180;
    }
    return l;
}

bool linear_cylinder(int code) { return code == 0 || (code >= 2 && code <= 5); }

// Colatitude in radians of a latitude, measured from the pole of the cone.
double colatitude(double lat, bool south) { return (south ? lat + 90.0 : 90.0 - lat) * kRad; }

double cone_rho(const MapState& m, double chi) {
    const double c1 = m.chi1, c2 = m.chi2, n = m.cone_n;
    const bool one = std::fabs(c1 - c2) < 1e-12;
    switch (m.code) {
        case 20:
            if (chi >= 179.99 * kRad) chi = 179.99 * kRad;
            return m.cone_f * std::pow(std::tan(chi / 2), n);
        case 21: {
            if (one) return 2 * std::sin(chi / 2) / std::cos(c1 / 2);
            double s1 = std::sin(c1 / 2), s2 = std::sin(c2 / 2), s = std::sin(chi / 2);
            double v = 4 * s1 * s1 * s2 * s2 / (n * n) + 4 * s * s / n;
            return v > 0 ? std::sqrt(v) : 0;
        }
        case 23: {
            if (one) return chi + std::tan(c1) - c1;
            double mm = (c1 + c2) / 2, d = (c2 - c1) / 2;
            return chi + d * std::tan(mm) / std::tan(d) - mm;
        }
        default:
            return chi;  // 22
    }
}

void cone_constants(MapState& m) {
    const double c1 = m.chi1, c2 = m.chi2;
    const bool one = std::fabs(c1 - c2) < 1e-12;
    m.cone_f = 1;
    switch (m.code) {
        case 20:
            if (one) {
                m.cone_n = std::cos(c1);
                m.cone_f = std::tan(c1) / std::pow(std::tan(c1 / 2), m.cone_n);
            } else {
                m.cone_n = (std::log10(std::sin(c2)) - std::log10(std::sin(c1))) /
                           (std::log10(std::tan(c2 / 2)) - std::log10(std::tan(c1 / 2)));
                m.cone_f = std::sin(c2) / (m.cone_n * std::pow(std::tan(c2 / 2), m.cone_n));
            }
            break;
        case 21:
            m.cone_n = one ? std::pow(std::cos(c1 / 2), 2) : (std::cos(c1) + std::cos(c2)) / 2;
            break;
        case 23:
            if (one) {
                m.cone_n = std::cos(c1);
            } else {
                double mm = (c1 + c2) / 2, d = (c2 - c1) / 2;
                m.cone_n = std::cos(mm) * std::sin(d) / d;
            }
            break;
        default:
            m.cone_n = 1;
            break;
    }
    m.cone_y0 = 0;
    m.cone_y0 = cone_rho(m, colatitude((m.ya + m.ye) / 2, m.south));
    m.cone_ready = true;
}

// Mollweide: the auxiliary angle t with 2t + sin 2t = pi sin(lat).
void mollweide(double l, double p, double& x, double& y) {
    double target = kPi * std::sin(p);
    double t = p;
    for (int i = 0; i < 50; ++i) {
        double f = 2 * t + std::sin(2 * t) - target;
        double d = 2 + 2 * std::cos(2 * t);
        if (std::fabs(d) < 1e-12) break;
        double nt = t - f / d;
        if (std::fabs(nt - t) < 1e-12) {
            t = nt;
            break;
        }
        t = nt;
    }
    x = 2 * std::sqrt(2.0) / kPi * l * std::cos(t);
    y = std::sqrt(2.0) * std::sin(t);
}

bool azimuthal_plane(const MapState& m, double lon, double lat, double& x, double& y) {
    const double l0 = m.lon0, p0 = m.phi0;
    double c, A;
    if (p0 == 90) {
        c = (90 - lat) * kRad;
        A = (lon - 90 - l0) * kRad;
    } else if (p0 == -90) {
        c = (lat + 90) * kRad;
        A = -(lon - 90 - l0) * kRad;
    } else {
        double cp = std::cos(lat * kRad), sp = std::sin(lat * kRad);
        double cp0 = std::cos(p0 * kRad), sp0 = std::sin(p0 * kRad);
        double cosc = clamp1(std::cos(std::fabs(l0 - lon) * kRad) * cp * cp0 + sp0 * sp);
        c = std::acos(cosc);
        if (c > 0) {
            double a = std::acos(clamp1((sp - cosc * sp0) / (std::sin(c) * cp0)));
            if (wrap180(lon - l0) > 0) a = -a;  // east of the centre: to the right
            A = a + kPi / 2;
        } else {
            A = (lon - 90) * kRad;
        }
    }
    double r;
    bool ok = true;
    switch (m.code) {
        case 30:
            if (c >= kPi / 2 - 1e-9) {
                r = kFar;
                ok = false;
            } else {
                r = std::tan(c);
            }
            break;
        case 31:
            r = c <= kPi / 2 ? std::sin(c) : 2 - std::sin(c);
            break;
        case 32:
            if (c >= kPi - 1e-9) {
                r = kFar;
                ok = false;
            } else {
                r = 2 * std::tan(c / 2);
            }
            break;
        case 33:
            r = c;
            break;
        default:
            r = 2 * std::sin(c / 2);
            break;
    }
    x = r * std::cos(A);
    y = r * std::sin(A);
    return ok;
}

void project_hook(float lon, float lat, double& xp, double& yp) { map_project(lon, lat, xp, yp); }

void endgrf_reset() {
    ms().valid = false;
    state().pipeline.axis.map_circular = false;
}

struct Registration {
    Registration() {
        set_map_projection_hook(project_hook);
        register_endgrf(endgrf_reset);
    }
} registration;

}  // namespace

int map_family(int code) {
    if (code < 10) return MAP_CYLINDRICAL;
    if (code < 20) return MAP_WORLD;
    if (code < 30) return MAP_CONICAL;
    if (code < 40) return MAP_AZIMUTHAL;
    return MAP_USER;
}

bool map_plane(double lon, double lat, double& x, double& y) {
    MapState& m = ms();
    x = y = kFar;
    if (!std::isfinite(lon) || !std::isfinite(lat)) return false;
    bool ok = true;
    switch (m.family) {
        case MAP_CYLINDRICAL:
        case MAP_WORLD: {
            double l = lon - m.lam0;
            if (m.family == MAP_WORLD) l = wrap180(l);
            const double lr = l * kRad, pr = lat * kRad;
            switch (m.code) {
                case 0:
                    x = lr, y = pr;
                    break;
                case 1: {
                    double p = lat;
                    if (p >= 90) p = 89.99;  // the poles have no Mercator image
                    if (p <= -90) p = -89.99;
                    x = lr, y = std::log(std::tan((45 + p / 2) * kRad));
                    break;
                }
                case 6:
                    x = lr, y = std::sin(pr);
                    break;
                case 10:
                    mollweide(lr, pr, x, y);
                    break;
                case 11:
                case 12:
                case 13: {
                    double alpha = std::acos(clamp1(std::cos(pr) * std::cos(lr / 2)));
                    double beta = 0;
                    if (alpha != 0) beta = std::acos(clamp1(std::sin(pr) / std::sin(alpha)));
                    if (l < 0) beta = -beta;
                    if (m.code == 11) {
                        x = 2 * alpha * std::sin(beta), y = alpha * std::cos(beta);
                    } else if (m.code == 12) {
                        x = 4 * std::sin(alpha / 2) * std::sin(beta);
                        y = 2 * std::sin(alpha / 2) * std::cos(beta);
                    } else {
                        x = (lr * 0.7660444 + 2 * alpha * std::sin(beta)) / 2;
                        y = (pr + alpha * std::cos(beta)) / 2;
                    }
                    break;
                }
                case 14:
                    x = lr * std::cos(pr), y = pr;
                    break;
                case 15:
                    x = l, y = lat;
                    break;
                default:
                    x = lr, y = lat;
                    break;  // 2..5: longitude in radians, latitude in degrees
            }
            break;
        }
        case MAP_CONICAL: {
            if (!m.cone_ready) cone_constants(m);
            double L = wrap180(lon - m.lam0) * kRad;
            double rho = cone_rho(m, colatitude(lat, m.south));
            double theta = m.cone_n * L;
            x = rho * std::sin(theta);
            y = m.cone_y0 - rho * std::cos(theta);
            if (m.south) y = -y;
            break;
        }
        case MAP_AZIMUTHAL:
            ok = azimuthal_plane(m, lon, lat, x, y);
            break;
        default: {
            float fx = (float)lon, fy = (float)lat;
            if (m.user) m.user(&fx, &fy);
            x = fx, y = fy;
            break;
        }
    }
    if (!std::isfinite(x) || !std::isfinite(y)) {
        x = y = kFar;
        return false;
    }
    return ok;
}

void map_project(double lon, double lat, double& xp, double& yp) {
    const MapState& m = ms();
    double x, y;
    map_plane(lon, lat, x, y);
    xp = m.xc + m.xscale * x;
    yp = m.yc - m.yscale * y;
}

bool map_setup(double xa, double xe, double ya, double ye) {
    MapState& m = ms();
    const AxesState& a = state().axes;
    MapState keep = m;
    m.code = m.projection;
    m.family = map_family(m.code);
    m.xa = xa, m.xe = xe, m.ya = ya, m.ye = ye;
    m.lam0 = (xa + xe) / 2;
    m.hemisphere = false;
    m.cone_ready = false;
    m.xscale = m.yscale = 1;
    m.xc = m.yc = 0;
    const double cx = a.nxa + (a.nxl - 1) / 2.0, cy = a.nya - (a.nyl - 1) / 2.0;
    const double W = a.nxl - 1, H = a.nyl - 1;
    double x1, y1, x2, y2, u;
    switch (m.family) {
        case MAP_CYLINDRICAL:
        case MAP_WORLD:
            map_plane(xa, 0, x1, u);
            map_plane(xe, 0, x2, u);
            map_plane(m.lam0, ya, u, y1);
            map_plane(m.lam0, ye, u, y2);
            m.xscale = W / (x2 - x1);
            m.yscale = H / (y2 - y1);
            m.xc = cx;
            m.yc = m.family == MAP_CYLINDRICAL ? a.nya + m.yscale * y1 : cy;
            break;
        case MAP_CONICAL: {
            m.south = (ya + ye) / 2 < 0;
            double r1 = m.ref_set ? m.ref1 : ya + (ye - ya) / 4;
            double r2 = m.ref_set ? m.ref2 : ya + 3 * (ye - ya) / 4;
            m.chi1 = colatitude(r1, m.south);
            m.chi2 = colatitude(r2, m.south);
            cone_constants(m);
            // The width of the middle parallel: its extent in x (a cone
            // opened over more than 180 degrees bends the parallel back).
            double mid = (ya + ye) / 2;
            map_plane(xa, mid, x1, u);
            map_plane(xe, mid, x2, u);
            for (int i = 0; i <= 360; ++i) {
                double x;
                map_plane(xa + (xe - xa) * i / 360.0, mid, x, u);
                x1 = std::fmin(x1, x), x2 = std::fmax(x2, x);
            }
            map_plane(m.lam0, ya, u, y1);
            map_plane(m.lam0, ye, u, y2);
            m.xscale = W / (x2 - x1);
            m.yscale = H / std::fabs(y2 - y1);
            m.xc = cx, m.yc = cy;
            break;
        }
        case MAP_AZIMUTHAL:
            if (ye - ya > 90) {
                m.hemisphere = true;
                m.lon0 = m.centre_lon, m.phi0 = m.centre_lat;
                double L = (a.nxl < a.nyl ? a.nxl : a.nyl) - 1;
                double R = m.sphere;
                double s;
                switch (m.code) {
                    case 30:
                        s = L / (2 * std::tan(R < 85 * kRad ? R : 85 * kRad));
                        break;
                    case 31:
                        s = L / (2 * std::sin(R));
                        break;
                    case 32:
                        s = L / (4 * std::tan(R / 2));
                        break;
                    // Like the others the horizon R fills the circle: r = R at
                    // radius L / 2 (L / R would show only half of it).
                    case 33:
                        s = L / (2 * R);
                        break;
                    default:
                        s = L / (4 * std::sin(R / 2));
                        break;
                }
                m.xscale = m.yscale = s;
                m.radius = L / 2;
            } else {
                m.lon0 = m.lam0, m.phi0 = (ya + ye) / 2;
                map_plane(m.lon0, ya, u, y1);
                map_plane(m.lon0, ye, u, y2);
                map_plane(xa, m.phi0, x1, u);
                map_plane(xe, m.phi0, x2, u);
                m.xscale = W / (std::fabs(x1) + std::fabs(x2));
                m.yscale = H / (std::fabs(y1) + std::fabs(y2));
            }
            m.xc = cx, m.yc = cy;
            break;
        default:
            // A user projection: the projected ranges fill the axis rectangle.
            map_plane(xa, (ya + ye) / 2, x1, u);
            map_plane(xe, (ya + ye) / 2, x2, u);
            map_plane(m.lam0, ya, u, y1);
            map_plane(m.lam0, ye, u, y2);
            m.xscale = W / (x2 - x1);
            m.yscale = H / (y2 - y1);
            m.xc = a.nxa - m.xscale * x1;
            m.yc = a.nya + m.yscale * y1;
            break;
    }
    bool ok = std::isfinite(m.xscale) && std::isfinite(m.yscale) && m.xscale != 0 && m.yscale != 0 &&
              std::fabs(m.xscale) < 1e12 && std::fabs(m.yscale) < 1e12 && std::isfinite(m.xc) &&
              std::isfinite(m.yc);
    if (!ok) {
        m = keep;
        return false;
    }
    m.valid = true;
    return true;
}

// ---- map lines ----------------------------------------------------------------

namespace {}  // namespace

// Whether a map point lies on the visible disc of a hemisphere map.
bool map_on_disc(double lon, double lat) {
    const MapState& m = ms();
    double x, y;
    if (!map_plane(lon, lat, x, y)) return false;
    double dx = m.xscale * x, dy = m.yscale * y;
    return dx * dx + dy * dy <= m.radius * m.radius * (1 + 1e-9);
}

namespace {

bool on_disc(double lon, double lat) { return map_on_disc(lon, lat); }

// One short step of a line on a hemisphere map: the part on the disc is
// drawn, the pen moves across the rest (the back of the globe, the points
// beyond the horizon of the gnomonic projection).
void hemisphere_step(double lon0, double lat0, double lon1, double lat1) {
    bool in0 = on_disc(lon0, lat0), in1 = on_disc(lon1, lat1);
    double xp, yp;
    if (in0 && in1) {
        map_project(lon1, lat1, xp, yp);
        plot_draw((float)xp, (float)yp);
        return;
    }
    if (!in0 && !in1) {
        map_project(lon1, lat1, xp, yp);
        if (std::fabs(xp) < 1e6 && std::fabs(yp) < 1e6) plot_move((float)xp, (float)yp);
        return;
    }
    // The crossing of the border, by bisection along the step.
    double a = 0, b = 1;  // a on the visible side
    for (int i = 0; i < 30; ++i) {
        double t = (a + b) / 2;
        double t_lon = in0 ? lon0 + (lon1 - lon0) * t : lon1 + (lon0 - lon1) * t;
        double t_lat = in0 ? lat0 + (lat1 - lat0) * t : lat1 + (lat0 - lat1) * t;
        if (on_disc(t_lon, t_lat))
            a = t;
        else
            b = t;
    }
    double cl = in0 ? lon0 + (lon1 - lon0) * a : lon1 + (lon0 - lon1) * a;
    double cb = in0 ? lat0 + (lat1 - lat0) * a : lat1 + (lat0 - lat1) * a;
    double cx, cy;
    map_project(cl, cb, cx, cy);
    map_project(lon1, lat1, xp, yp);
    if (in0) {
        plot_draw((float)cx, (float)cy);
        if (std::fabs(xp) < 1e6 && std::fabs(yp) < 1e6) plot_move((float)xp, (float)yp);
    } else {
        plot_move((float)cx, (float)cy);
        plot_draw((float)xp, (float)yp);
    }
}

}  // namespace

void map_move_to(double lon, double lat) {
    double xp, yp;
    map_project(lon, lat, xp, yp);
    plot_move((float)std::fmax(-1e6, std::fmin(1e6, xp)), (float)std::fmax(-1e6, std::fmin(1e6, yp)));
}

void map_line_to(double lon0, double lat0, double lon1, double lat1) {
    const MapState& m = ms();
    if (!std::isfinite(lon0) || !std::isfinite(lat0) || !std::isfinite(lon1) || !std::isfinite(lat1)) return;
    if (m.family == MAP_WORLD || m.family == MAP_CONICAL) {
        // A line that crosses the seam opposite the central longitude jumps
        // instead.
        double l0 = wrap180(lon0 - m.lam0), l1 = wrap180(lon1 - m.lam0);
        if (std::fabs((lon1 - lon0) - (l1 - l0)) > 1e-6) {
            map_move_to(lon1, lat1);
            return;
        }
    }
    int steps = 1;
    if (m.line_mode >= 1 && !(m.family == MAP_CYLINDRICAL && linear_cylinder(m.code))) {
        double d = std::fmax(std::fabs(lon1 - lon0), std::fabs(lat1 - lat0));
        steps = (int)std::ceil(d / 1.0);
        if (steps < 1) steps = 1;
        if (steps > 720) steps = 720;
    }
    double plon = lon0, plat = lat0;
    for (int i = 1; i <= steps; ++i) {
        double t = (double)i / steps;
        double lon = lon0 + (lon1 - lon0) * t, lat = lat0 + (lat1 - lat0) * t;
        if (m.hemisphere) {
            hemisphere_step(plon, plat, lon, lat);
        } else {
            double xp, yp;
            map_project(lon, lat, xp, yp);
            plot_draw((float)xp, (float)yp);
        }
        plon = lon, plat = lat;
    }
}

std::string map_file_path(const char* name) {
    std::string dir = get_install_path("KORVAL");
    std::string path = dir;
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
    path += "map/";
    path += name;
#ifdef KORVAL_DATA_DIR
    // A build tree without installation finds the maps of the source tree.
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fclose(f);
        return path;
    }
    std::string fallback = std::string(KORVAL_DATA_DIR) + "/map/" + name;
    if (std::FILE* f = std::fopen(fallback.c_str(), "rb")) {
        std::fclose(f);
        return fallback;
    }
#endif
    return path;
}

}  // namespace korval
