# Curves: interpolation methods, symbols, thick curves, gaps, error bars,
# splines and the warnings of bad input.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(in_tempdir);
use PsPlot qw(ps_plot strokes count_ops);
use Korval;

in_tempdir();

my @x = (100, 200, 300, 400, 500);
my @y = (100, 300, 200, 400, 300);

sub near { my ($a, $b, $tol) = @_; return abs($a - $b) <= ($tol // 1.0) }

sub curve_with {
    my ($method, $xs, $ys, @setup) = @_;
    return ps_plot(sub {
        Korval::polcrv($method);
        $_->() for @setup;
        Korval::curve($xs, $ys, scalar @$xs);
    });
}

subtest 'LINE: one polyline through the points' => sub {
    my $r = curve_with('LINE', \@x, \@y);
    my @s = strokes($r->{ops});
    is(scalar @s, 1, 'one stroke');
    is(scalar @{ $s[0] }, 5, 'five points');
    ok(near($s[0][0][0], 200) && near($s[0][0][1], 1000), 'first point at plot (100 + x, 1100 - y)');
    ok(near($s[0][4][0], 600) && near($s[0][4][1], 800), 'last point');
};

subtest 'STEP: half steps centred on the points' => sub {
    my $r = curve_with('STEP', [100, 200, 300, 400], [100, 300, 200, 400]);
    my @s = strokes($r->{ops});
    is(scalar @s, 1, 'one stroke');
    my @p = @{ $s[0] };
    is(scalar @p, 12, 'move + 1 + 3 per interval + closing half step');
    ok(near($p[0][0], 150) && near($p[0][1], 1000), 'starts half a step left of point 1');
    ok(near($p[-1][0], 550) && near($p[-1][1], 700), 'ends half a step right of point 4');
    my $axis_parallel = grep { near($p[$_][0], $p[$_ - 1][0]) || near($p[$_][1], $p[$_ - 1][1]) } 1 .. $#p;
    is($axis_parallel, $#p, 'every piece is horizontal or vertical');
    ok(near($p[2][0], 250) && near($p[2][1], 1000) && near($p[3][0], 250) && near($p[3][1], 800),
       'the riser lies midway between points 1 and 2');
};

subtest 'STAI: stairs rise at each new point' => sub {
    my $r = curve_with('STAI', [100, 200, 300], [100, 300, 200]);
    my @p = @{ (strokes($r->{ops}))[0] };
    is(scalar @p, 5, 'move + 2 per interval');
    ok(near($p[1][0], 300) && near($p[1][1], 1000), 'horizontal first, at the old height');
    ok(near($p[2][0], 300) && near($p[2][1], 800), 'then up to the point');
};

subtest 'STEM: one stem per point from y = 0' => sub {
    my $r = curve_with('STEM', \@x, \@y);
    my @s = strokes($r->{ops});
    is(scalar @s, 5, 'five stems');
    ok(near($s[1][0][1], 1100) && near($s[1][1][1], 800), 'from the x axis to the point');
};

subtest 'BARS and FBAR' => sub {
    my $r = curve_with('BARS', [100, 200, 300], [100, 300, 200]);
    my @s = strokes($r->{ops});
    is(scalar @s, 3, 'one outline per point');
    is(scalar @{ $s[0] }, 4, 'left foot, left top, right top, right foot');
    ok(near($s[0][0][0], 162.5) && near($s[0][3][0], 237.5), 'width 0.75 of the spacing');
    ok(near($s[0][0][1], 1100) && near($s[0][1][1], 1000), 'standing on the lower end of the y scaling');
    is(count_ops($r->{ops}, 'fill'), 0, 'not filled');
    $r = curve_with('FBAR', [100, 200, 300], [100, 300, 200]);
    # The bars stand on the border of the clipping rectangle, so the fill
    # is made of scan lines.
    my @outlines = grep { @$_ == 4 } strokes($r->{ops});
    my @scan = grep { @$_ == 2 && near($_->[0][1], $_->[1][1], 0.01) } strokes($r->{ops});
    is(scalar @outlines, 3, 'FBAR outlines every bar');
    ok(@scan > 100, 'and fills it');
    my @in_bar = grep { ($_->[0][0] < $_->[1][0] ? $_->[0][0] : $_->[1][0]) < 250 } @scan;
    my @outside = grep {
        my ($lo, $hi) = sort { $a <=> $b } ($_->[0][0], $_->[1][0]);
        $lo < 162 || $hi > 238 || $_->[0][1] < 999
    } @in_bar;
    ok(@in_bar > 40 && !@outside, 'inside the first bar');
};

subtest 'SPLI and PSPL' => sub {
    my @cx = (0, 100, 200, 300, 400, 500);
    my $r = curve_with('SPLI', \@cx, [map { $_ * 0.5 } @cx]);
    my @s = strokes($r->{ops});
    is(scalar(map { @$_ } @s) - scalar(@s), 200, '200 pieces: spline_points + 1 points');
    $r = curve_with('PSPL', [300, 400, 400, 300], [300, 300, 400, 400], sub { Korval::splmod(3, 50) });
    @s = strokes($r->{ops});
    is(scalar(map { @$_ } @s) - scalar(@s), 50, 'a parametric spline of splmod(3, 50) has 51 points');
    is_deeply([map { sprintf '%.0f', $_ } @{ $s[0][0] }, @{ $s[-1][-1] }], [400, 800, 400, 700],
              'from the first to the last data point');
};

subtest 'spline values' => sub {
    # A cubic spline reproduces a cubic exactly.
    my @sx = (0, 1, 2, 3, 4, 5);
    my @sy = map { $_**3 } @sx;
    my (@xs, @ys);
    my $n;
    my $r = ps_plot(sub { $n = Korval::spline(\@sx, \@sy, 6, \@xs, \@ys) });
    is($n, 201, 'default: 201 points');
    is(scalar @xs, 201, 'both arrays filled');
    ok(near($xs[100], 2.5, 1e-5) && near($ys[100], 15.625, 1e-3), 'y(2.5) = 15.625');
    ok(near($ys[40], 1.0, 1e-3), 'y(1) = 1');
    is_deeply([$xs[0], $ys[0], $xs[200], $ys[200]], [0, 0, 5, 125], 'ends are the data points');
    # A quadratic spline (splmod 2) reproduces a parabola.
    $r = ps_plot(sub {
        Korval::splmod(2, 10);
        $n = Korval::spline([0, 1, 2, 3, 4], [0, 1, 4, 9, 16], 5, \@xs, \@ys);
    });
    is($n, 11, 'splmod(2, 10): 11 points');
    ok(near($ys[5], 4.0, 1e-4) && near($ys[3], 1.44, 1e-4), 'y = x^2 at x = 2 and 1.2');
    # Limits.
    $r = ps_plot(sub {
        $n = Korval::spline([0, 2, 1, 3, 4], [0, 1, 2, 3, 4], 5, \@xs, \@ys);
        my @many = (1 .. 143);
        Korval::spline(\@many, \@many, 143, \@xs, \@ys);
        Korval::spline([1, 2, 3], [1, 2, 3], 3, \@xs, \@ys);
    });
    is($n, 0, 'decreasing x: nothing produced');
    like($r->{err}, qr/Warning  32: No increasing x coordinates for spline interpolation in spline/, 'warning 32');
    like($r->{err}, qr/Warning  31: .* in spline!   \( 143\)/, '143 points: 143 x 7 > 1000 gives warning 31');
    like($r->{err}, qr/Warning  31: .* in spline!   \(   3\)/, 'fewer points than the order: warning 31');
};

subtest 'symbols on the points' => sub {
    my $r = curve_with('LINE', \@x, \@y, sub { Korval::incmrk(2); Korval::marker(0); Korval::hsymbl(20) });
    my @s = strokes($r->{ops});
    my @squares = grep { @$_ == 5 && near($_->[0][0], $_->[4][0]) && near($_->[0][1], $_->[4][1]) } @s;
    is(scalar @squares, 3, 'symbols on points 1, 3 and 5');
    my ($cx, $cy) = (0, 0);
    $cx += $_->[0] for @{ $squares[1] }[0 .. 3];
    $cy += $_->[1] for @{ $squares[1] }[0 .. 3];
    ok(near($cx / 4, 400) && near($cy / 4, 900), 'the second square is centred on point 3');
    ok(near($squares[1][2][0] - $squares[1][0][0], 20), 'side = symbol height');
    $r = curve_with('LINE', \@x, \@y, sub { Korval::incmrk(-1); Korval::marker(3) });
    @s = strokes($r->{ops});
    is(scalar @s, 10, 'incmrk -1: only symbols, a plus is two strokes');
    $r = curve_with('LINE', [500], [500], sub { Korval::incmrk(-1) });
    is(scalar(strokes($r->{ops})), 1, 'a single point is drawn as a symbol');
    $r = curve_with('LINE', [500], [500]);
    like($r->{err}, qr/Warning   2: Incorrect parameter in curve!   \(   1\)/, 'but not as a line');
};

subtest 'the 24 symbols' => sub {
    my @expect = ([1, 5], [1, 9], [1, 4], [2, 2], [2, 2], [1, 5], [1, 4]);
    my $r = ps_plot(sub {
        Korval::hsymbl(100);
        Korval::symbol($_, 100 + 120 * $_, 300) for 0 .. 23;
        Korval::symrot(90);
        Korval::symbol(2, 500, 600);
        Korval::symbol(24, 500, 500);
        Korval::symbol(0, 3000, 500);
    }, no_graf => 1);
    my @s = strokes($r->{ops});
    my @by = map { my $i = $_; [grep { near($_->[0][0], 100 + 120 * $i, 52) && near($_->[0][1], 300, 52) } @s] } 0 .. 23;
    for my $i (0 .. 6) {
        is(scalar @{ $by[$i] }, $expect[$i][0], "symbol $i: $expect[$i][0] polylines");
        is(scalar @{ $by[$i][0] }, $expect[$i][1], "symbol $i: $expect[$i][1] points");
    }
    is(scalar @{ $by[8] }, 4, 'the star is a plus and a cross');
    is(scalar @{ $by[15][0] }, 19, 'the circle has 19 vertices');
    is(scalar @{ $by[22][0] }, 11, 'the half circle is closed by its diameter');
    is(count_ops($r->{ops}, 'fill'), 7, 'symbols 16 to 21 and 23 are filled');
    my ($tri) = grep { near($_->[0][0], 500, 60) && near($_->[0][1], 600, 60) } @s;
    ok(near($tri->[0][0], 450) && near($tri->[0][1], 600), 'symrot 90 turns the apex to the left');
    like($r->{err}, qr/Incorrect parameter in symbol!   \(  24\)/, 'symbol 24 does not exist');
    like($r->{err}, qr/ >>>> \(3000\/500\) out of page in symbol!/, 'out of page is reported');
};

subtest 'user symbol' => sub {
    my $r = ps_plot(sub {
        Korval::mysymb([-1, 1, 0], [-1, -1, 1], 3, 30, 1);
        Korval::hsymbl(100);
        Korval::symbol(30, 500, 500);
        Korval::mysymb([0, 2], [0, 0], 2, 31, 0);
    }, no_graf => 1);
    my @s = strokes($r->{ops});
    is(scalar @{ $s[0] }, 3, 'drawn as one polyline');
    ok(near($s[0][2][0], 500) && near($s[0][2][1], 450), 'y grows upward, scaled by h / 2');
    is(count_ops($r->{ops}, 'fill'), 1, 'filled');
    like($r->{err}, qr/Warning 101: values out of range in mysymb/, 'points beyond [-1, 1] warn 101');
};

subtest 'thick curves and gaps' => sub {
    my $r = curve_with('LINE', [100, 500], [500, 500], sub { Korval::thkcrv(3) });
    my @s = strokes($r->{ops});
    is(scalar @s, 3, 'three copies');
    is_deeply([sort { $a <=> $b } map { sprintf '%.0f', $_->[0][1] } @s], [599, 600, 601],
              'offset 0, +1 and -1 plot units');
    $r = curve_with('LINE', [100, 200, 500, 600], [100, 100, 100, 100], sub { Korval::gapcrv(150) });
    is(scalar(strokes($r->{ops})), 2, 'LINE breaks where |dx| > gap');
    $r = curve_with('STAI', [600, 500, 100], [100, 200, 300], sub { Korval::gapcrv(150) });
    is(scalar(strokes($r->{ops})), 1, 'STAI breaks only where the signed dx exceeds the gap');
};

subtest 'error bars' => sub {
    my $r = ps_plot(sub {
        Korval::hsymbl(30);
        Korval::errbar([500], [500], [100], [50], 1);
    });
    my @s = strokes($r->{ops});
    is(scalar @s, 4, 'symbol, bar and two caps');
    my ($bar) = grep { @$_ == 2 && near($_->[0][0], $_->[1][0]) && abs($_->[0][1] - $_->[1][1]) > 50 } @s;
    ok($bar && near($bar->[0][1], 700) && near($bar->[1][1], 550), 'from y - e1 to y + e2');
    my @caps = grep { @$_ == 2 && near($_->[0][1], $_->[1][1]) } @s;
    is(scalar @caps, 2, 'two horizontal caps');
    ok(near(abs($caps[0][1][0] - $caps[0][0][0]), 20), 'of length 2 * (30 / 3)');
    $r = ps_plot(sub { Korval::errbar([1], [1], [1], [1], 0) });
    like($r->{err}, qr/Incorrect parameter in errbar!   \(   0\)/, 'n = 0 warns 2');
};

subtest 'attribute cycles and bad input' => sub {
    my $r = ps_plot(sub {
        Korval::curve([100, 200], [100, 5000], 2);
    });
    like($r->{err}, qr/ <<<< \(200\.000000 \/ 5000\.000000\) out of axis scaling!/, 'out-of-scaling report');
    $r = ps_plot(sub {
        Korval::errmod('CHEC', 'OFF');
        Korval::curve([100, 200], [100, 5000], 2);
        Korval::curve([100, 200], [100, 2e7], 2);
    });
    unlike($r->{err}, qr/out of axis scaling/, 'silent without checking');
    $r = ps_plot(sub { Korval::curve([100, 200], [100, 2e7], 2) });
    like($r->{err}, qr/\(200\.000000 \/  2\.0000e\+07\) out of axis scaling!/, 'large values in exponent form');
    my $nan = 9**9**9 / 9**9**9;
    $r = ps_plot(sub {
        Korval::curve([100, 200, 300, 400, 500, 600], [100, 150, $nan, 300, 350, 9**9**9], 6);
        Korval::curve([], [], 0);
    });
    is(scalar(strokes($r->{ops})), 2, 'NaN and infinite points leave a gap');
    like($r->{err}, qr/Incorrect parameter in curve!   \(   0\)/, 'n = 0 warns 2');
    $r = ps_plot(sub {
        Korval::endgrf();
        Korval::axsscl('LOG', 'Y');
        Korval::graf(0, 1000, 0, 100, 0, 3, 0, 1);
        Korval::curve([1, 2], [10, 0], 2);
    });
    like($r->{err}, qr/Warning  27: Non positive values for log scaling in curve/, 'log axis: warning 27');
    is(scalar(strokes($r->{ops})), 0, 'and nothing drawn');
    $r = ps_plot(sub {
        Korval::polar(1000, 0, 100, 0, 30);
        Korval::polcrv('STEP');
        Korval::curve([1, 2], [1, 2], 2);
    }, no_graf => 1);
    like($r->{err}, qr/Warning 101: Bad interpolation method for polar scaling in curve/, 'polar: STEP refused');
    $r = ps_plot(sub {
        Korval::polcrv('CURV');
        Korval::thkcrv(0);
        Korval::inccrv(40000);
        Korval::splmod(1, 100);
        Korval::hsymbl(0);
        Korval::marker(40);
    });
    like($r->{err}, qr/polcrv!   \(CURV\).*thkcrv!   \(   0\).*inccrv!   \(40000\).*splmod!   \(   1\).*hsymbl!   \(   0\).*marker!   \(  40\)/s,
         'setters warn 2 with the value');
};

done_testing();
