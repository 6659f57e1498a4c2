// Lights, material and the lighting model of shaded surfaces.
//
// The eight lights share one table of intensities; every light starts with
// ambient 0, diffuse 1 and specular 1 (only light 1 is on), so that a light
// switched on with litmod shines like the first one.
#include <algorithm>
#include <cmath>

#include "draw/draw.hpp"
#include "graph3d/graph3d.hpp"
#include "korval/korval.hpp"
#include "plots/plots.hpp"

namespace korval {

namespace {

bool light_number(int n) {
    if (n < 1 || n > 8) {
        warn_routine_value(2, n);
        return false;
    }
    return true;
}

// The position of a light in absolute box coordinates.
void light_position(const Light& l, double p[3]) {
    if (l.kind == 1) {
        user_to_abs(l.pos[0], l.pos[1], l.pos[2], p);
    } else if (l.kind == 2) {
        const double d = 3.14159265358979323846 / 180.0;
        double a = l.pos[0] * d, b = l.pos[1] * d, r = l.pos[2];
        p[0] = r * std::cos(b) * std::sin(a);
        p[1] = r * std::cos(b) * std::cos(a);
        p[2] = r * std::sin(b);
    } else {
        for (int i = 0; i < 3; ++i) p[i] = l.pos[i];
    }
}

}  // namespace

void resolve_light_positions() {
    for (Light& l : g3().lights) {
        if (l.kind == 0) continue;
        double p[3];
        light_position(l, p);
        for (int i = 0; i < 3; ++i) l.pos[i] = (float)p[i];
        l.kind = 0;
    }
}

int light_intensity(const double p[3], const double n[3]) {
    const Graph3DState& g = g3();
    if (!g.lighting) return current_colour();
    double total = 0;
    double view[3] = {g.vp[0] - p[0], g.vp[1] - p[1], g.vp[2] - p[2]};
    double vl = std::sqrt(view[0] * view[0] + view[1] * view[1] + view[2] * view[2]);
    if (vl > 0)
        for (double& v : view) v /= vl;
    for (const Light& l : g.lights) {
        if (!l.on) continue;
        double q[3];
        light_position(l, q);
        double L[3] = {q[0] - p[0], q[1] - p[1], q[2] - p[2]};
        double d = std::sqrt(L[0] * L[0] + L[1] * L[1] + L[2] * L[2]);
        if (d > 0)
            for (double& v : L) v /= d;
        double nl = n[0] * L[0] + n[1] * L[1] + n[2] * L[2];
        double diffuse = nl >= 0 ? (double)l.diffuse * g.mat_diffuse * nl : 0.0;
        double specular = 0;
        double sp = (double)l.specular * g.mat_specular;
        if (sp > 1e-35 && nl > 1e-7) {
            double R[3];
            for (int i = 0; i < 3; ++i) R[i] = 2 * nl * n[i] - L[i];
            double s = R[0] * view[0] + R[1] * view[1] + R[2] * view[2];
            if (s > 0) specular = std::pow(s, (double)g.mat_exponent) * sp;
        }
        double att = l.constant + l.linear * d + l.quadratic * d * d;
        total += ((double)l.ambient * g.mat_ambient + specular + diffuse) / att;
    }
    total += (double)g.global_ambient * g.mat_ambient;
    double c = 0.5 + 254.0 * total;
    if (!(c < 255)) return 255;
    return c < 0 ? 0 : (int)c;
}

// ---- user routines ---------------------------------------------------------------

void light(const char* s) {
    check_level(0, 3, "light");
    int k = match_keyword("OFF +ON  ", 2, s);
    if (k) g3().lighting = k == 2;
}

void litmod(int n, const char* s) {
    check_level(0, 3, "litmod");
    if (!light_number(n)) return;
    int k = match_keyword("OFF +ON  ", 2, s);
    if (k) g3().lights[n - 1].on = k == 2;
}

void litpos(int n, float x, float y, float z, const char* s) {
    check_level(0, 3, "litpos");
    if (!light_number(n)) return;
    int k = match_keyword("ABS +USER+ANGL", 3, s);
    if (!k) return;
    Light& l = g3().lights[n - 1];
    l.pos[0] = x, l.pos[1] = y, l.pos[2] = z;
    l.kind = k - 1;
    if (g3().active && state().axes.kind == 3 && l.kind != 1) {
        // Kept in user coordinates, so that it stays with the data.
        double p[3];
        light_position(l, p);
        for (int i = 0; i < 3; ++i) l.pos[i] = abs_to_user_axis(i, p[i]);
        l.kind = 1;
    }
}

void litopt(int n, float value, const char* s) {
    check_level(0, 3, "litopt");
    if (!light_number(n)) return;
    int k = match_keyword("AMBI+DIFF+SPEC+CONS+LINE+QUAD", 6, s);
    if (!k) return;
    if (value < 0) return (void)warn_routine(1);
    Light& l = g3().lights[n - 1];
    switch (k) {
        case 1:
            l.ambient = value;
            break;
        case 2:
            l.diffuse = value;
            break;
        case 3:
            l.specular = value;
            break;
        case 4:
            l.constant = value == 0 ? 1e-10f : value;
            break;
        case 5:
            l.linear = value;
            break;
        default:
            l.quadratic = value;
            break;
    }
}

void matopt(float value, const char* s) {
    check_level(0, 3, "matopt");
    int k = match_keyword("AMBI+DIFF+SPEC+EXPO", 4, s);
    if (!k) return;
    if (value < 0) return (void)warn_routine(1);
    Graph3DState& g = g3();
    switch (k) {
        case 1:
            g.mat_ambient = value;
            break;
        case 2:
            g.mat_diffuse = value;
            break;
        case 3:
            g.mat_specular = value;
            break;
        default:
            g.mat_exponent = value;
            break;
    }
}

int getlit(float xp, float yp, float zp, float xn, float yn, float zn) {
    if (!need_box("getlit")) return 0;
    double p[3];
    user_to_abs(xp, yp, zp, p);
    // A normal in user coordinates turns with the inverse of the axis
    // scaling (a plane's normal stays perpendicular to it).
    const Graph3DState& g = g3();
    double nu[3] = {xn, yn, zn}, n[3];
    for (int i = 0; i < 3; ++i) {
        double span = (double)g.e[i] - g.a[i];
        n[i] = nu[i] * (span != 0 ? span : 1.0) / g.box[i];
    }
    double l = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (l > 0)
        for (double& v : n) v /= l;
    return light_intensity(p, n);
}

}  // namespace korval
