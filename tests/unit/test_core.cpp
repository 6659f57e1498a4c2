// Run control internals: keywords, checks, warnings, protocol, file names.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "capture.hpp"
#include "core/core.hpp"
#include "devices/devices.hpp"
#include "korval/korval.hpp"

using namespace korval;

namespace {

// Captures the message stream for one test.
class Messages {
public:
    Messages() {
        file_ = std::tmpfile();
        attach();
    }
    // Points the message stream here again (korini resets the routing).
    void attach() {
        state().msg.stream = file_;
        state().msg.unit = 1;
        state().msg.warnings = true;
    }
    ~Messages() {
        state().msg.stream = nullptr;
        state().msg.unit = 6;
        std::fclose(file_);
    }
    std::string text() {
        return read_all(file_);
    }

private:
    std::FILE* file_;
};

// Runs a test body in a fresh temporary directory.
class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/korval-unit-XXXXXX";
        dir_ = mkdtemp(tmpl);
        old_ = getcwd(nullptr, 0);
        EXPECT_EQ(chdir(dir_.c_str()), 0);
    }
    ~TempDir() {
        EXPECT_EQ(chdir(old_), 0);
        std::free(old_);
        std::string cmd = "rm -rf '" + dir_ + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
    }
    static void touch(const std::string& name) { std::ofstream(name) << "x"; }

private:
    std::string dir_;
    char* old_;
};

}  // namespace

TEST(Keywords, MatchesFirstFourCharactersIgnoringCase) {
    Messages m;
    state().run.routine = "test";
    EXPECT_EQ(match_keyword("LIN +LOG ", 2, "log"), 2);
    EXPECT_EQ(match_keyword("LIN +LOG ", 2, "Lin"), 1);
    EXPECT_EQ(match_keyword("CM  +INCH+POIN+TWIP", 4, "inches"), 2);
    EXPECT_EQ(match_keyword("CM  +INCH+POIN+TWIP", 4, "points"), 3);
    EXPECT_EQ(match_keyword("ON  +OFF ", 2, "on"), 1);
    EXPECT_EQ(m.text(), "");
}

TEST(Keywords, UnknownWarnsWithTheArgumentAsGiven) {
    Messages m;
    state().run.routine = "axsscl";
    long before = state().run.warning_count;
    EXPECT_EQ(match_keyword("LIN +LOG ", 2, "l"), 0);
    EXPECT_EQ(match_keyword("LIN +LOG ", 2, "log scale"), 2);
    EXPECT_EQ(match_keyword("ON  +OFF ", 2, "o"), 0);
    EXPECT_EQ(match_keyword("ON  +OFF ", 2, ""), 0);
    EXPECT_EQ(m.text(),
              " <<<< Warning   2: Incorrect parameter in axsscl!   (l)\n"
              " <<<< Warning   2: Incorrect parameter in axsscl!   (o)\n"
              " <<<< Warning   2: Incorrect parameter in axsscl!   ()\n");
    EXPECT_EQ(state().run.warning_count, before + 3);
}

TEST(Warnings, FormatsAndCounting) {
    Messages m;
    state().run.routine = "graf";
    warn_routine(9);
    warn_routine_value(3, 2);
    warn_routine_value(2, -12345);
    set_warning_text("No origin found for crossed axis system");
    warn_routine(101);
    warn_routine(0);
    EXPECT_EQ(m.text(),
              " <<<< Warning   9: Step equal zero in graf!\n"
              " <<<< Warning   3: Incorrect level in graf!   (   2)\n"
              " <<<< Warning   2: Incorrect parameter in graf!   (-12345)\n"
              " <<<< Warning 101: No origin found for crossed axis system in graf!\n"
              " <<<< Warning   0:   in graf!\n");
}

TEST(Warnings, SilencedWarningsStillCount) {
    Messages m;
    state().msg.warnings = false;
    long before = state().run.warning_count;
    warn_routine(2);
    warn_routine_text(2, "x");
    state().msg.warnings = true;
    state().msg.unit = 0;
    warn_routine(2);
    EXPECT_EQ(state().run.warning_count, before + 3);
    EXPECT_EQ(m.text(), "");
}

TEST(Checks, RangeAndDate) {
    Messages m;
    state().run.routine = "t";
    EXPECT_EQ(check_range(5, 1, 10), 0);
    EXPECT_EQ(check_range(0, 1, 10), 1);
    EXPECT_EQ(check_range(11, 1, 10), 1);
    EXPECT_EQ(check_range(1000000, 1, 0), 0);  // no upper bound
    EXPECT_EQ(check_date(29, 2, 2000), 0);
    EXPECT_EQ(check_date(29, 2, 1900), 1);
    EXPECT_EQ(check_date(29, 2, 2024), 0);
    EXPECT_EQ(check_date(30, 2, 2024), 1);
    EXPECT_EQ(check_date(31, 12, 999), 1);
    EXPECT_EQ(check_date(32, 13, 999), 1);
    EXPECT_EQ(check_date(31, 13, 2000), 1);
    std::string t = m.text();
    EXPECT_NE(t.find("(   0)"), std::string::npos);
    EXPECT_NE(t.find("(  11)"), std::string::npos);
    EXPECT_NE(t.find("(  29)"), std::string::npos);
    EXPECT_NE(t.find("(  30)"), std::string::npos);
    EXPECT_NE(t.find("( 999)"), std::string::npos);
    EXPECT_NE(t.find("(  32)"), std::string::npos);  // the first wrong value
    EXPECT_NE(t.find("(  13)"), std::string::npos);
}

TEST(CoreText, Helpers) {
    char buf[32] = "  1 2  3 ";
    EXPECT_EQ(remove_blanks(buf, 4), 6u);
    EXPECT_STREQ(buf, "12  3 ");
    char up[] = "abc-xyz \xe4";
    to_upper(up);
    EXPECT_STREQ(up, "ABC-XYZ \xe4");
    char dst[5];
    EXPECT_EQ(copy_bounded(dst, "abcdef", 4), 4u);
    EXPECT_STREQ(dst, "abcd");
    EXPECT_EQ(copy_bounded(dst, nullptr, 4), 0u);
    int x = 0, y = 0, z = 0;
    set_by_axes("yz?x", 7, x, y, z);
    EXPECT_EQ(x, 0);  // only the first three characters count
    EXPECT_EQ(y, 7);
    EXPECT_EQ(z, 7);
    float f[3] = {0, 0, 0};
    set_by_axes("x", 1.5f, f);
    EXPECT_EQ(f[0], 1.5f);
}

TEST(Levels, ScaledLengthFollowsTheUnitFactor) {
    float keep = state().out.unit_factor;
    state().out.unit_factor = 1.0f;
    EXPECT_EQ(scaled_length(300), 300);
    state().out.unit_factor = 2.54f;
    EXPECT_EQ(scaled_length(300), 118);
    EXPECT_EQ(scaled_length(24), 9);
    state().out.unit_factor = 0.352778f;
    EXPECT_EQ(scaled_length(85), 241);
    state().out.unit_factor = keep;
}

TEST(Protocol, ConsoleFormAligned) {
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    state().run.vector_count = 123456;
    state().run.warning_count = 7;
    state().out.file_name = "korval.ps";
    state().msg.error_file_used = "korval.err";
    std::string t = protocol_console_text(11);
    // Every line of the box is 67 characters wide.
    std::size_t at = 0;
    int lines = 0;
    while ((at = t.find('\n', at)) != std::string::npos) {
        std::size_t end = t.find('\n', at + 1);
        if (end == std::string::npos) break;
        if (end > at + 1) {
            EXPECT_EQ(end - at - 1, 67u) << t.substr(at + 1, end - at - 1);
            ++lines;
        }
        at = end;
    }
    EXPECT_EQ(lines, 7);
    EXPECT_NE(t.find("\n <<                END OF KORVAL / VERSION  8.1 "), std::string::npos);
    EXPECT_NE(t.find("\n <<  Date    : 14.11.2023  Time    : 22:13:20  Pageformat: DA4L  <<"),
              std::string::npos);
    // Counts are left-aligned: six digits and four blanks, one digit and seven.
    EXPECT_NE(t.find("\n <<  Vectors : 123456      Warnings: 7         Fileformat: VECM  <<"),
              std::string::npos);
    EXPECT_NE(t.find("\n <<  Metafile: korval.ps "), std::string::npos);
    EXPECT_NE(t.find("\n <<  Err-file: korval.err "), std::string::npos);
    EXPECT_EQ(t.substr(t.size() - 4), "<<\n\n");
    std::string t0 = protocol_console_text(0);
    EXPECT_NE(t0.find("\n <<  Metafile: " + std::string(48, ' ') + "  <<"), std::string::npos);
    EXPECT_EQ(t0.find("Err-file"), std::string::npos);
    std::string t10 = protocol_console_text(10);
    EXPECT_EQ(t10.find("Metafile"), std::string::npos);
    state().out.file_name = std::string(60, 'a');
    std::string cut = protocol_console_text(1);
    EXPECT_NE(cut.find("Metafile: " + std::string(48, 'a') + "  <<"), std::string::npos);
    unsetenv("SOURCE_DATE_EPOCH");
}

TEST(FileNames, VersionCandidates) {
    EXPECT_EQ(versioned_candidate("korval.ps", 1), "korval_1.ps");
    EXPECT_EQ(versioned_candidate("korval.ps", 10), "korva_10.ps");
    EXPECT_EQ(versioned_candidate("korval.ps", 1000), "kor_1000.ps");
    EXPECT_EQ(versioned_candidate("plots/a.b/x", 2), "plots/a.b/x_2");
    EXPECT_EQ(versioned_candidate("c:\\plots\\a.b\\x  ", 3), "c:\\plots\\a.b\\x_3");
    EXPECT_EQ(versioned_candidate("/tmp/verylongname.eps", 12), "/tmp/veryl_12.eps");
}

TEST(FileNames, ModesCountDeleteBreak) {
    TempDir dir;
    int keep = state().out.file_mode;
    state().out.file_mode = 0;
    EXPECT_EQ(version_file_name("korval.ps"), "korval.ps");
    TempDir::touch("korval.ps");
    TempDir::touch("korval_1.ps");
    EXPECT_EQ(version_file_name("korval.ps"), "korval_2.ps");
    state().out.file_mode = 1;
    EXPECT_EQ(version_file_name("korval.ps"), "korval.ps");
    EXPECT_FALSE(std::ifstream("korval.ps").good());
    state().out.file_mode = 2;
    set_fatal_throws(true);
    try {
        version_file_name("korval_1.ps");
        ADD_FAILURE() << "BREA must not go on";
    } catch (const FatalError& e) {
        EXPECT_EQ(e.message, "File korval_1.ps does exist");
    }
    set_fatal_throws(false);
    state().out.file_mode = keep;
}

TEST(InstallPath, EnvironmentRegistryDefault) {
    TempDir dir;
    unsetenv("KORVAL");
    setenv("KORVAL_REGISTRY", "reg.txt", 1);
    EXPECT_EQ(get_install_path("KORVAL"), "/usr/local/korval");
    std::ofstream("reg.txt") << "[OTHER]\nPath=/no\n[SOFTWARE\\Korval]\n Path = /opt/korval \n";
    EXPECT_EQ(get_install_path("KORVAL"), "/opt/korval");
    setenv("KORVAL", "", 1);
    EXPECT_EQ(get_install_path("KORVAL"), "");
    setenv("KORVAL", "/home/k", 1);
    EXPECT_EQ(get_install_path("KORVAL"), "/home/k");
    EXPECT_EQ(get_install_path("KORVAL_NOT_SET_ANYWHERE"), "");
    unsetenv("KORVAL");
    unsetenv("KORVAL_REGISTRY");
}

TEST(Lifecycle, LevelsAndResetKeys) {
    TempDir dir;
    Messages m;
    EXPECT_EQ(getlev(), 0);
    korini();
    m.attach();
    EXPECT_EQ(getlev(), 1);
    newpag();
    korini();  // inside a plot: one level warning, the plot goes on
    EXPECT_EQ(getlev(), 1);
    for (const char* key : reset_keys) reset(key);
    m.attach();  // reset("ALL") routes messages anew
    reset("allx");
    korfin();
    EXPECT_EQ(getlev(), 0);
    std::string t = m.text();
    EXPECT_NE(t.find(" <<<< Warning   3: Incorrect level in korini!   (   1)\n"), std::string::npos);
    EXPECT_NE(t.find(" <<<< Warning   2: Incorrect parameter in reset!   (ALLX)\n"), std::string::npos);
    EXPECT_EQ(t.find("reset!   (A"), t.rfind("reset!   (A"));  // only ALLX was refused
    std::ifstream met("korval.met");
    std::string head;
    std::getline(met, head);
    EXPECT_EQ(head, "      29.7      21.0");
}
