#!/usr/bin/perl
# Contour plots: labelled contour lines with a legend, shaded contours with
# a colour bar, and contours of scattered data over their Delaunay
# triangulation.  Writes contour_lines.png, contour_shaded.png and
# contour_triangles.png (and the same as PostScript) into the current
# directory.
use strict;
use warnings;
use Korval;

my ($NX, $NY) = (80, 60);
my (@x, @y, @z);
sub f { my ($a, $b) = @_; exp(-($a - 1)**2 - ($b - 0.5)**2) - 0.8 * exp(-($a + 1)**2 - ($b + 0.5)**2) + 0.05 * $a }
$x[$_] = -3 + 6 * $_ / ($NX - 1) for 0 .. $NX - 1;
$y[$_] = -2.5 + 5 * $_ / ($NY - 1) for 0 .. $NY - 1;
for my $i (0 .. $NX - 1) { $z[$i * $NY + $_] = f($x[$i], $y[$_]) for 0 .. $NY - 1 }

sub start {
    my ($format, $file) = @_;
    Korval::metafl($format);
    Korval::setfil($file);
    Korval::filmod("DELE");
    Korval::scrmod("REVERS");
    Korval::korini();
    Korval::errmod("PROT", "OFF");
    Korval::complx();
    Korval::name("X", "X");
    Korval::name("Y", "Y");
    Korval::name("Z", "Z");
}

sub lines {
    start(@_);
    Korval::titlin("Contour lines with labels", 1);
    Korval::labels("FLOA", "CONT");
    Korval::labdig(1, "CONT");
    Korval::graf(-3, 3, -3, 1, -2.5, 2.5, -2.5, 0.5);
    my @levels = (-0.6, -0.4, -0.2, 0.2, 0.4, 0.6, 0.8);
    my $legend = " " x (12 * 7);
    Korval::legini($legend, 7, 12);
    for my $k (0 .. $#levels) {
        Korval::setclr($levels[$k] < 0 ? 50 : 200);
        Korval::thkcrv($levels[$k] == 0.2 || $levels[$k] == -0.2 ? 3 : 1);
        Korval::contur(\@x, $NX, \@y, $NY, \@z, $levels[$k]);
        Korval::leglin($legend, sprintf("z = %4.1f", $levels[$k]), $k + 1);
    }
    Korval::thkcrv(1);
    Korval::color("FORE");
    Korval::title();
    Korval::legend($legend, 3);
    Korval::korfin();
}

sub shaded {
    start(@_);
    Korval::titlin("Shaded contours", 1);
    Korval::labels("FLOA", "CONT");
    Korval::labdig(1, "CONT");
    my @levels = map { $_ / 10 } -8 .. 9;
    Korval::graf3(-3, 3, -3, 1, -2.5, 2.5, -2.5, 0.5, -0.8, 0.9, -0.8, 0.2);
    Korval::conshd(\@x, $NX, \@y, $NY, \@z, \@levels, scalar @levels);
    Korval::color("FORE");
    Korval::contur(\@x, $NX, \@y, $NY, \@z, $_) for (-0.6, -0.2, 0.2, 0.6);
    Korval::title();
    Korval::korfin();
}

sub triangles {
    start(@_);
    srand(3);
    my $n = 300;
    my (@px, @py, @pz);
    for (1 .. $n) {
        my ($a, $b) = (rand(6) - 3, rand(5) - 2.5);
        push @px, $a;
        push @py, $b;
        push @pz, f($a, $b);
    }
    my (@i1, @i2, @i3);
    my $ntri = Korval::triang(\@px, \@py, $n, \@i1, \@i2, \@i3, 2 * $n + 1);
    Korval::titlin("Scattered data: $n points, $ntri triangles", 1);
    Korval::labels("FLOA", "CONT");
    Korval::labdig(1, "CONT");
    my @levels = map { $_ / 5 } -4 .. 4;
    Korval::graf3(-3, 3, -3, 1, -2.5, 2.5, -2.5, 0.5, -0.8, 0.8, -0.8, 0.2);
    Korval::confll(\@px, \@py, \@pz, $n, \@i1, \@i2, \@i3, $ntri, \@levels, scalar @levels);
    Korval::color("WHITE");
    for my $k (0 .. $ntri - 1) {
        my @v = ($i1[$k] - 1, $i2[$k] - 1, $i3[$k] - 1, $i1[$k] - 1);
        Korval::curve([map { $px[$_] } @v], [map { $py[$_] } @v], 4);
    }
    Korval::color("FORE");
    Korval::contri(\@px, \@py, \@pz, $n, \@i1, \@i2, \@i3, $ntri, $_) for @levels;
    Korval::incmrk(-1);
    Korval::marker(21);
    Korval::hsymbl(10);
    Korval::curve(\@px, \@py, $n);
    Korval::title();
    Korval::korfin();
}

for my $format (["PNG", "png"], ["POST", "ps"]) {
    lines($format->[0], "contour_lines.$format->[1]");
    shaded($format->[0], "contour_shaded.$format->[1]");
    triangles($format->[0], "contour_triangles.$format->[1]");
}
print "contour_lines, contour_shaded, contour_triangles (.png, .ps) written\n";
