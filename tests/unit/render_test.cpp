// Dashed and emulated thick lines written as PostScript and rendered by
// ghostscript when it is installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "core/core.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

namespace korval {
namespace {

std::string read_all(const std::string& name) {
    std::ifstream in(name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int count_words(const std::string& text, const std::string& w) {
    std::istringstream in(text);
    std::string t;
    int n = 0;
    while (in >> t) n += t == w;
    return n;
}

TEST(Render, DashesAndThickLinesInPostScript) {
    char tmpl[] = "/tmp/korval_renderXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string ps = std::string(tmpl) + "/lines.ps";
    // The level-0 settings outlive the plot: put them back for other tests.
    OutputState& o = state().out;
    struct Restore {
        OutputState& o;
        int format = o.format, name_state = o.file_name_state;
        std::string keyword = o.keyword, given = o.given_name;
        ~Restore() {
            o.format = format, o.file_name_state = name_state;
            o.keyword = keyword, o.given_name = given;
        }
    } restore{o};
    metafl("PS");
    setfil(ps.c_str());
    korini();
    errmod("PROT", "OFF");
    PipelineState& p = state().pipeline;
    // A dash pattern of 30 and 20 carried round a corner: 2800 units, 56 dashes.
    p.dash_count = 2;
    p.dash[0] = 30;
    p.dash[1] = 20;
    dash_reset();
    plot_move(100, 100);
    plot_draw(2000, 100);
    plot_draw(2000, 1000);
    plot_flush();
    p.dash_count = 1;
    dash_reset();
    // Widths emulated by outlines, as for formats that cannot draw them:
    // round caps and bevels on an open line, miters on a closed one.
    p.line_width = 12;
    p.line_cap = 1;
    plot_move(300, 1500);
    plot_draw(1500, 1800);
    plot_draw(2500, 1200);
    p.line_join = 0;
    plot_move(300, 300);
    plot_draw(900, 300);
    plot_draw(600, 900);
    plot_draw(300, 300);
    plot_flush();
    p.line_width = 1;
    pagera();
    korfin();
    std::string text = read_all(ps);
    ASSERT_FALSE(text.empty());
    // Dashes, the two thick lines with 4 outlines each, their centres, the border.
    EXPECT_GE(count_words(text, "u"), 56 + 2 * 4 + 2 + 1);
    EXPECT_EQ(count_words(text, "showpage"), 1);
    if (std::system("gs -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "ghostscript is not installed";
    std::string cmd = "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -sOutputFile=" + std::string(tmpl) +
                      "/lines.png " + ps + " > " + tmpl + "/gs.log 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << read_all(std::string(tmpl) + "/gs.log");
    std::system(("rm -rf " + std::string(tmpl)).c_str());
}

}  // namespace
}  // namespace korval
