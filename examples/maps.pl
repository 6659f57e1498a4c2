#!/usr/bin/perl
# Maps: the world in a cylindrical, a conical and an azimuthal projection
# with graticule and shaded continents, the countries of Europe and the US
# states in their own colours.  PNG files go to the current directory; the
# map files are found below $KORVAL (the source tree's data folder serves).
use strict;
use warnings;
use Korval;

my @written;

sub start {
    my ($file, $nxl, $nyl) = @_;
    Korval::metafl("PNG");
    Korval::setfil($file);
    Korval::filmod("DELE");
    Korval::scrmod("REVERS");
    Korval::korini();
    Korval::errmod("PROT", "OFF");
    Korval::complx();
    Korval::height(30);
    Korval::axslen($nxl, $nyl);
    Korval::axspos(int((2970 - $nxl) / 2), 1850);
}

sub finish {
    my ($title) = @_;
    Korval::titlin($title, 4);
    Korval::title();
    Korval::korfin();
    push @written, Korval::getfil();
}

sub world_map {
    my ($file, $proj, $title, @range) = @_;
    start($file, 2400, 1500);
    Korval::projct($proj);
    Korval::mappol(10, 30) if $proj eq "ORTH";
    Korval::grafmp(@range);
    Korval::setrgb(0.6, 0.8, 0.5);
    Korval::shdpat(16);
    Korval::shdmap("ALL");
    Korval::setrgb(0.2, 0.3, 0.8);
    Korval::shdmap("LAKE");
    Korval::color("FORE");
    Korval::world();
    Korval::setrgb(0.5, 0.5, 0.5);
    Korval::gridmp(1, 1);
    Korval::color("FORE");
    finish($title);
}

world_map("map_cylindrical.png", "CYLI", "Cylindrical equidistant projection",
    -180, 180, -180, 60, -90, 90, -90, 30);
world_map("map_conical.png", "CONF", "Lambert conformal conic projection",
    -40, 60, -40, 20, 20, 70, 20, 10);
world_map("map_azimuthal.png", "ORTH", "Orthographic projection",
    -180, 180, -180, 30, -90, 90, -90, 30);
world_map("map_aitoff.png", "AITO", "Aitoff projection",
    -180, 180, -180, 60, -90, 90, -90, 30);

start("map_europe.png", 2000, 1600);
Korval::projct("CONF");
Korval::grafmp(-15, 40, -10, 10, 35, 70, 35, 5);
my @countries = (0 .. 46);
Korval::shdeur(\@countries, [map { 16 } @countries], [map { 20 + (37 * $_) % 230 } @countries],
    scalar @countries);
Korval::color("FORE");
Korval::gridmp(1, 1);
finish("European countries (shdeur)");

start("map_usa.png", 2200, 1400);
Korval::projct("ALBE");
Korval::grafmp(-125, -65, -120, 10, 24, 50, 25, 5);
my @states = (0 .. 51);
Korval::shdusa(\@states, [map { 16 } @states], [map { 20 + (41 * $_) % 230 } @states],
    scalar @states);
Korval::color("FORE");
Korval::gridmp(1, 1);
finish("US states (shdusa)");

print "$_\n" for @written;
