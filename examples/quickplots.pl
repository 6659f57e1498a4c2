#!/usr/bin/perl
# Quick plots: one call each from data to a finished picture.  Writes
# quick_curve.png, quick_scatter.png, quick_bars.png, quick_pie.png,
# quick_contour.png, quick_colour.png and quick_surface.png into the
# current directory.
use strict;
use warnings;
use Korval;

my @x = map { $_ * 0.1 } 0 .. 100;
my @y = map { sin($_) * exp(-0.1 * $_) } @x;
my ($nx, $ny) = (40, 30);
my @z;
for my $i (0 .. $nx - 1) {
    push @z, map { sin($i / 6) * cos($_ / 5) } 0 .. $ny - 1;
}

sub to_png {
    my ($name) = @_;
    Korval::metafl('PNG');
    Korval::setfil("quick_$name.png");
}

to_png("curve");   Korval::qplot(\@x, \@y, scalar @x);
to_png("scatter"); Korval::qplsca(\@x, \@y, 40);
to_png("bars");    Korval::qplbar([3, 5, 2, 8, 6, 4], 6);
to_png("pie");     Korval::qplpie([10, 20, 15, 5], 4);
to_png("contour"); Korval::qplcon(\@z, $nx, $ny, 9);
to_png("colour");  Korval::qplclr(\@z, $nx, $ny);
to_png("surface"); Korval::qplsur(\@z, $nx, $ny);
