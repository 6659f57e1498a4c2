// Rows of the contour routines: contour lines of matrices and triangles,
// shaded contours, the triangulation and the contour settings.
#include "binding/wrap.hpp"
#include "binding/wrap_points.hpp"
#include "korval/korval.hpp"

namespace {

korval::binding::Row special(const char* name, const char* usage, void (*xs)(pTHX_ CV*), const char* sizes) {
    return korval::binding::Row{name, usage, nullptr, reinterpret_cast<korval::binding::Xsub>(xs), sizes, {}};
}

struct Register {
    Register() {
        using namespace korval::binding;
        add_rows({
            KORVAL_ROW_SIZES(contur, "x1ray, nx, x2ray, ny, xmat, zlev", "x1ray=nx x2ray=ny xmat=nx*ny"),
            KORVAL_ROW_SIZES(conmat, "x1ray, nx, ny, zlev", "x1ray=nx*ny"),
            KORVAL_ROW_SIZES(concrv, "x1ray, x2ray, n, zlev", "x1ray=n x2ray=n"),
            special(
                "conpts",
                "Usage: Korval::conpts(x1ray, nx, x2ray, ny, xmat, zlev, xpts, ypts, maxpts, nray, maxray)",
                &conpts_xsub, "x1ray=nx x2ray=ny xmat=nx*ny"),
            KORVAL_ROW_SIZES(conshd, "x1ray, nx, x2ray, ny, xmat, zlev, nlev",
                             "x1ray=nx x2ray=ny xmat=nx*ny zlev=nlev"),
            KORVAL_ROW_SIZES(contri, "x1ray, x2ray, x3ray, n, n1ray, n2ray, n3ray, ntri, zlev",
                             "x1ray=n x2ray=n x3ray=n n1ray=ntri n2ray=ntri n3ray=ntri"),
            KORVAL_ROW_SIZES(confll, "x1ray, x2ray, x3ray, n, n1ray, n2ray, n3ray, ntri, x4ray, nlev",
                             "x1ray=n x2ray=n x3ray=n n1ray=ntri n2ray=ntri n3ray=ntri x4ray=nlev"),
            KORVAL_ROW_SIZES(crvtri, "x1ray, x2ray, x3ray, n, n1ray, n2ray, n3ray, ntri",
                             "x1ray=n x2ray=n x3ray=n n1ray=ntri n2ray=ntri n3ray=ntri"),
            special(
                "tripts",
                "Usage: Korval::tripts(x1ray, x2ray, x3ray, n, n1ray, n2ray, n3ray, ntri, zlev, xpts, ypts, "
                "maxpts, nray, maxray)",
                &tripts_xsub, "x1ray=n x2ray=n x3ray=n n1ray=ntri n2ray=ntri n3ray=ntri"),
            KORVAL_ROW_SIZES(conclr, "n1ray, n", "n1ray=n"),
            KORVAL_ROW(conlab, "s"),
            KORVAL_ROW(congap, "x"),
            KORVAL_ROW(conmod, "x1, x2"),
            KORVAL_ROW(connpt, "x1, x2"),
            KORVAL_ROW(circ3p, "x1, y1, x2, y2, x3, y3, xm, ym, r"),
            special("triang", "Usage: Korval::triang(x1ray, x2ray, n, n1ray, n2ray, n3ray, nmax)",
                    &triang_xsub, "x1ray=n x2ray=n"),
        });
    }
} reg;

}  // namespace
