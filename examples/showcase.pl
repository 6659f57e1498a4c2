#!/usr/bin/perl
# The Korval showcase: a line plot with legend, a bar graph, a pie chart
# and a colour plot, each written in several formats.  Files go to the
# current directory; the list is printed at the end.
use strict;
use warnings;
use Korval;

my @written;

sub start {
    my ($format, $file) = @_;
    Korval::metafl($format);
    Korval::setfil($file);
    Korval::filmod("DELE");
    Korval::scrmod("REVERS");    # dark lines on white paper in every format
    Korval::korini();
    Korval::errmod("PROT", "OFF");
    Korval::complx();
}

sub finish {
    Korval::korfin();
    push @written, Korval::getfil();
}

sub line_plot {
    start(@_);
    Korval::name("Time [s]", "X");
    Korval::name("Amplitude", "Y");
    Korval::titlin("Damped oscillations", 2);
    Korval::graf(0, 10, 0, 1, -1, 1, -1, 0.5);
    Korval::title();
    Korval::dot();
    Korval::grid(1, 1);
    Korval::solid();
    my (@x, @y1, @y2);
    for my $i (0 .. 400) {
        my $t = $i / 40;
        push @x, $t;
        push @y1, exp(-0.3 * $t) * cos(2 * 3.14159265 * $t);
        push @y2, exp(-0.15 * $t) * sin(3.14159265 * $t) * 0.8;
    }
    Korval::chncrv("COLOR");
    Korval::thkcrv(3);
    Korval::curve(\@x, \@y1, scalar @x);
    Korval::thkcrv(1);
    Korval::incmrk(20);
    Korval::curve(\@x, \@y2, scalar @x);
    my $buf = "";
    Korval::legini($buf, 2, 24);
    Korval::leglin($buf, "fast, strongly damped", 1);
    Korval::leglin($buf, "slow, with markers", 2);
    Korval::legtit("Legend");
    Korval::legend($buf, 7);
    Korval::endgrf();
    finish();
}

sub bar_and_pie {
    start(@_);
    Korval::axspos(300, 1800);
    Korval::axslen(1300, 1300);
    Korval::name("Quarter", "X");
    Korval::name("Sales", "Y");
    Korval::ticks(1, "X");
    Korval::labels("NONE", "X");
    Korval::titlin("Bars and a pie", 2);
    Korval::graf(0.5, 4.5, 1, 1, 0, 100, 0, 20);
    Korval::title();
    Korval::shdpat(16);
    Korval::chnbar("COLOR");
    Korval::barwth(0.6);
    Korval::bars([1, 2, 3, 4], [0, 0, 0, 0], [35, 62, 48, 81], 4);
    Korval::endgrf();
    Korval::axspos(1800, 1800);
    Korval::axslen(1000, 1000);
    Korval::labels("PERCENT", "PIE");
    Korval::chnpie("NONE");
    Korval::pieclr([70, 150, 200, 240], [-1, -1, -1, -1], 4);
    Korval::shdpat(16);
    Korval::piegrf(" ", 0, [35, 62, 48, 81], 4);
    Korval::endgrf();
    finish();
}

sub colour_plot {
    start(@_);
    Korval::name("x", "X");
    Korval::name("y", "Y");
    Korval::name("sin(x) cos(y)", "Z");
    Korval::titlin("A colour plot", 2);
    Korval::setvlt("RAIN");
    Korval::axspos(450, 1800);
    Korval::axslen(1800, 1400);
    Korval::autres(60, 60);
    Korval::graf3(0, 6.3, 0, 1, 0, 6.3, 0, 1, -1, 1, -1, 0.5);
    my ($nx, $ny) = (60, 60);
    my @z;
    for my $i (0 .. $nx - 1) {
        for my $j (0 .. $ny - 1) {
            push @z, sin($i * 6.3 / ($nx - 1)) * cos($j * 6.3 / ($ny - 1));
        }
    }
    Korval::crvmat(\@z, $nx, $ny, 1, 1);
    Korval::title();
    Korval::endgrf();
    finish();
}

# A mesh surface of a Perl function with hidden lines, the top and bottom
# sides in their own colours, and a lit surface through the depth buffer.
sub ripple { my ($x, $y) = @_; my $r = sqrt($x * $x + $y * $y); return sin(2 * $r) / (1 + $r) }

sub surface_plots {
    my ($format) = @_;
    start(@_);
    Korval::name("X", "X");
    Korval::name("Y", "Y");
    Korval::name("Z", "Z");
    Korval::titlin("Surfaces of a function", 2);
    Korval::axspos(200, 1900);
    Korval::axslen(1300, 1300);
    Korval::labl3d("HORI");
    Korval::graf3d(-4, 4, -4, 2, -4, 4, -4, 2, -1, 1, -1, 0.5);
    Korval::title();
    Korval::surclr(50, 220);
    Korval::surfun("ripple", 2, 0.25, 2, 0.25);
    Korval::endgrf();
    Korval::reset("SURC");
    Korval::axspos(1550, 1900);
    Korval::view3d(25, 40, 10, "ANGL");
    Korval::litpos(1, 35, 50, 10, "ANGL");
    Korval::graf3d(-4, 4, -4, 2, -4, 4, -4, 2, -1, 1, -1, 0.5);
    my @x = map { -4 + 8 * $_ / 60 } 0 .. 60;
    my @z;
    for my $u (@x) { push @z, ripple($u, $_) for @x }
    # Smooth shading needs a picture; vector formats shade cell by cell.
    Korval::shdmod($format eq "PNG" ? "SMOOTH" : "FLAT", "SURFACE");
    Korval::light("ON");
    Korval::surshd(\@x, 61, \@x, 61, \@z);
    Korval::box3d();
    Korval::endgrf();
    finish();
}

line_plot("PDF", "lines.pdf");
line_plot("SVG", "lines.svg");
line_plot("PNG", "lines.png");
line_plot("EPS", "lines.eps");
line_plot("CGM", "lines.cgm");
line_plot("HPGL", "lines.hpg");
line_plot("JAVA", "lines.java");
Korval::wmfmod("PLAC", "FORM");    # the placeable header tells readers the size
bar_and_pie("WMF", "charts.wmf");
bar_and_pie("PDF", "charts.pdf");
bar_and_pie("PNG", "charts.png");
colour_plot("PNG", "colour.png");
colour_plot("PS", "colour.ps");
surface_plots("PNG", "surfaces.png");
surface_plots("PDF", "surfaces.pdf");

printf "Korval %.1f showcase wrote:\n", Korval::getver();
print "  $_\n" for @written;
