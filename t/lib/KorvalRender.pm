# Plots to PostScript on a portrait A4 page and samples the picture that
# ghostscript renders from it, addressed in plot coordinates.
package KorvalRender;
use strict;
use warnings;
use Exporter 'import';
use KorvalTest;

our @EXPORT = qw(ps_plot render);

# Draws with $draw into a fresh PostScript file; returns its text and the
# warnings of the plot.
sub ps_plot {
    my ($file, $draw, %opt) = @_;
    Korval::metafl($opt{format} // 'PS');
    Korval::filmod('DELE');
    Korval::setfil($file);
    Korval::setpag('DA4P');
    Korval::units($opt{units} // 'CM');
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    $draw->();
    Korval::korfin();
    my $err = slurp('korval.err') // '';
    unlink 'korval.err';
    return (slurp($file), $err);
}

# Renders a file of ps_plot at $dpi; returns a sampler object or undef.
sub render {
    my ($file, $dpi) = @_;
    $dpi //= 36;
    my ($status) = gs_render($file, 'ppmraw', "$file.ppm", "-r$dpi", '-dDEVICEWIDTHPOINTS=595',
        '-dDEVICEHEIGHTPOINTS=842', '-dFIXEDMEDIA');
    return undef if $status;
    my ($w, $h, $data) = read_ppm("$file.ppm");
    return bless { w => $w, h => $h, data => $data, s => $dpi / 72 }, 'KorvalRender::Picture';
}

package KorvalRender::Picture;

# Points per plot unit on the default page (device factor, fit, cm).
my $k = 1.8571428 * 1.000476 * 0.1417322835;

sub pixel_of {
    my ($p, $x, $y) = @_;
    return (int((21.26 + $x * $k) * $p->{s}), int((842 - (28.35 + (2969 - $y) * $k)) * $p->{s}));
}

sub rgb_at {
    my ($p, $x, $y) = @_;
    my ($c, $r) = $p->pixel_of($x, $y);
    return (255, 255, 255) if $c < 0 || $r < 0 || $c >= $p->{w} || $r >= $p->{h};
    return unpack 'C3', substr($p->{data}, 3 * ($r * $p->{w} + $c), 3);
}

# Fraction of the pixels of a box (plot coordinates) that are not white.
sub ink {
    my ($p, $x1, $y1, $x2, $y2) = @_;
    my ($c1, $r1) = $p->pixel_of($x1, $y1);
    my ($c2, $r2) = $p->pixel_of($x2, $y2);
    my ($n, $inked) = (0, 0);
    for my $r ($r1 .. $r2) {
        for my $c ($c1 .. $c2) {
            next if $c < 0 || $r < 0 || $c >= $p->{w} || $r >= $p->{h};
            my ($R, $G, $B) = unpack 'C3', substr($p->{data}, 3 * ($r * $p->{w} + $c), 3);
            $n++;
            $inked++ if $R + $G + $B < 700;
        }
    }
    return $n ? $inked / $n : 0;
}

1;
