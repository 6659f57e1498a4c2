# PostScript and EPS output: header, path groups, placement, rendering.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/lib";
use Test::More;
use KorvalTest;
use Korval;

enter_tempdir();
$ENV{SOURCE_DATE_EPOCH} = 86400 * 365 + 3600 + 62;    # 01.01.1971 01:01:02

sub plot {
    my ($format, $file, $draw, %opt) = @_;
    Korval::metafl($format);
    Korval::setfil($file);
    Korval::setpag($opt{page} // 'DA4L');
    Korval::sclfac($opt{scale} // 1.0);
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    $draw->();
    Korval::korfin();
    return slurp($file);
}

# Header, prolog and placement of the default page.
my $ps = plot('ps', 'head.ps', sub { });
my @lines = split /\n/, $ps;
is_deeply([@lines[0 .. 5]],
    ['%!PS-Adobe-2.0', '%%BoundingBox:  21 28 575 811', '%%Creator: KORVAL   8.1 L',
     '%%CreationDate: 01.01.1971 , 01:01:02', '%%Page: 1 1', '%%EndComments'],
    'header lines');
is($lines[6], '2 setlinecap 2 setlinejoin', 'prolog starts with cap and join 2');
is($lines[6 + 28], '/Reencsmalldict 12 dict def', 'prolog of 28 lines');
is($lines[6 + 28 + 30], ' /GermanVec [ 8#177 /Adieresis', 're-encoding procedure of 30 lines');
like($ps, qr{^ /GermanVec \[ 8#177 /Adieresis\n}m, 'code vector');
like($ps, qr{^ 8#271 /exclamdown 8#272 /questiondown \] def\n  150 cm   200 cm translate 5 cm setlinewidth   1\.000476  1\.000476 scale\n0 0 0 f showpage \n\z}m,
    'placement, the starting colour and the end');

# EPS and portrait pages; the box follows the scale the drawing really gets.
my $eps = plot('eps', 'a.eps', sub { });
like($eps, qr/\A%!PS-Adobe-3\.0 EPSF-3\.0\n%%BoundingBox:  21 28 575 811\n/, 'EPS header');
my $port = plot('ps', 'p.ps', sub { }, page => 'DA4P');
like($port, qr/%%BoundingBox:  21 28 575 811\n%%Creator: KORVAL   8.1 P\n/, 'portrait page is not turned');
my $half = plot('eps', 'half.eps', sub { Korval::pagera() }, scale => 0.5);
like($half, qr/%%BoundingBox:  21 28 319 450\n/, 'half-size box');
like($half, qr/setlinewidth   0\.538462  0\.538462 scale\n/, 'half-size scale');
my $pscl = plot('pscl', 'c.psc', sub { });
like($pscl, qr/scale\n0 0 3898 5514 0 0 0 e \n255 255 255 f showpage \n/, 'PSCL black page, white pen');

# A new page, the hardware origin, and y measured from the bottom.
my $np = plot('ps', 'np.ps', sub { Korval::newpag() });
like($np, qr/\n0 0 0 f copypage \n%%Page: 1 2 \nerasepage 0 0 0 f showpage \n\z/, 'new page');
my $bott = plot('ps', 'bott.ps', sub { Korval::pagorg('bott'); Korval::line(0, 0, 100, 0) });
is_deeply([ps_groups(ps_body($bott))], [[[3898, 0], [3898, 186]]], 'pagorg BOTT mirrors y');

# A polyline of 120 and one of 250 points drawn as connected lines.
for my $n (120, 250) {
    my $text = plot('ps', "poly$n.ps", sub {
        my @p = map { [10 + 10 * $_, 500 + ($_ % 2) * 40] } 0 .. $n - 1;
        Korval::line(@{ $p[$_ - 1] }, @{ $p[$_] }) for 1 .. $n - 1;
    });
    my @g = ps_groups(ps_body($text));
    my @sizes = map { scalar @$_ } @g;
    is_deeply(\@sizes, $n == 120 ? [50, 50, 22] : [50, 50, 50, 50, 50, 5], "$n points in groups of 50");
    my $joined = grep { "@{ $g[$_][0] }" eq "@{ $g[$_ - 1][-1] }" } 1 .. $#g;
    is($joined, $#g, "$n points: each group starts at the previous group's end");
}

# Rendering with ghostscript, and where the clipped lines land.
SKIP: {
    skip 'ghostscript is not installed', 8 unless have_gs();
    plot('ps', 'lines.ps', sub {
        Korval::pagera();
        Korval::line(0, 0, 2969, 2099);
        Korval::line(-500, 1000, 3500, 1100);
    });
    plot('eps', 'clip.eps', sub {
        Korval::clpwin(1000, 500, 800, 600);
        Korval::line(0, 0, 2969, 2099);
        Korval::line(1400, 0, 1400, 2099);
        Korval::line(0, 800, 2969, 800);
    });
    for my $f ('lines.ps', 'clip.eps', 'c.psc', 'poly250.ps', 'half.eps') {
        my ($rc, $msg) = gs_render($f, 'png16m', "$f.png");
        ok($rc == 0 && $msg !~ /Error/, "ghostscript renders $f") or diag $msg;
    }
    # At 72 dpi a point is a pixel: column = 21.26 + 0.26334 y,
    # row = 792 - (28.35 + 0.26334 x) on the turned page.
    my ($rc) = gs_render('clip.eps', 'ppmraw', 'clip.ppm', '-r72', '-g612x792');
    my ($w, $h, $px) = read_ppm('clip.ppm');
    ok($rc == 0 && $w, 'clipped picture rendered');
    my ($cmin, $cmax, $rmin, $rmax) = (1e9, -1, 1e9, -1);
    for my $r (0 .. $h - 1) {
        for my $c (0 .. $w - 1) {
            next if ord(substr($px, 3 * ($r * $w + $c), 1)) > 128;
            $cmin = $c if $c < $cmin;
            $cmax = $c if $c > $cmax;
            $rmin = $r if $r < $rmin;
            $rmax = $r if $r > $rmax;
        }
    }
    my $k = 1.858028 * 0.1417322835;
    my @want = (21.26 + 500 * $k, 21.26 + 1099 * $k, 792 - 28.35 - 1799 * $k, 792 - 28.35 - 1000 * $k);
    my @got = ($cmin, $cmax, $rmin, $rmax);
    ok(!grep({ abs($got[$_] - $want[$_]) > 2.5 } 0 .. 3), 'ink only inside the clipping window')
        or diag "got @got, want @want";
}

# The hardware origin (it stays for the rest of the process: last).
Korval::hworig(100, 200);
my $hw = plot('eps', 'hw.eps', sub { });
like($hw, qr/%%BoundingBox:  28 56 /, 'box from twice the hardware origin');
like($hw, qr/\n  100 cm   200 cm translate 5 cm setlinewidth   1\.000476  1\.000476 scale\n/, 'translated');

done_testing();
