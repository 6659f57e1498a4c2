# The 3-D axis system: camera, conversions, planes, box, grids, 3-D curves
# and bars.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(in_tempdir);
use PsPlot qw(ps_plot strokes count_ops);
use Korval;

in_tempdir();

# The axis area of ps_plot: (100, 1100) with lengths 1001, so the box is
# projected around (600.5, 599.5) with the scale R = 500.5.
my ($CX, $CY, $R) = (600.5, 599.5, 500.5);

sub plot3d {
    my ($code, %opt) = @_;
    return ps_plot(sub {
        $opt{before}->() if $opt{before};
        Korval::graf3d(@{ $opt{scaling} || [-1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1] });
        $code->();
    }, no_graf => 1, axes => $opt{axes});
}

sub near { my ($a, $b, $tol) = @_; return abs($a - $b) <= ($tol // 0.01) }

subtest 'the default camera' => sub {
    my @p;
    my $r = plot3d(sub {
        is(Korval::getlev(), 3, 'graf3d: level 3');
        my ($x, $y) = (0, 0);
        Korval::abs3pt(0, 0, 0, $x, $y);
        push @p, $x, $y;
    });
    ok(near($p[0], $CX) && near($p[1], $CY), 'the focus is projected onto the centre of the axis area')
        or diag("@p");
    is($r->{err}, '', 'no warning');
};

subtest 'view points' => sub {
    my ($x, $y) = (0, 0);
    # Seen from (0, -10, 0): a point 2.5 to the right lies tan(h) = 0.25 off
    # the line of sight at distance 10, so it lands R to the right.
    plot3d(sub { Korval::abs3pt(2.5, 0, 0, $x, $y) }, before => sub { Korval::view3d(0, -10, 0, 'ABS') });
    ok(near($x, $CX + $R) && near($y, $CY), 'a direction h off the line of sight lands at distance R') or diag("$x $y");
    plot3d(sub { Korval::abs3pt(2.5, 0, 0, $x, $y) }, before => sub { Korval::view3d(0, 0, 10, 'ANGL') });
    ok(near($x, $CX - $R), '"ANGL" (0, 0, r) puts the camera at (0, r, 0), looking back along y') or diag($x);
    plot3d(sub { Korval::abs3pt(0, 2.5, 0, $x, $y) }, before => sub { Korval::view3d(0, 0, 10, 'ABS') });
    ok(near($x, $CX) && near($y, $CY - $R), 'straight above the focus: y points up the page') or diag("$x $y");
    plot3d(sub { Korval::abs3pt(0, 2.5, 0, $x, $y) },
           before => sub { Korval::view3d(0, 0, 10, 'ABS'); Korval::vup3d(90) });
    ok(near($x, $CX - $R) && near($y, $CY), 'vup3d turns the camera about its line of sight') or diag("$x $y");
    plot3d(sub { Korval::abs3pt(1.25, 0, 0, $x, $y) },
           before => sub { Korval::view3d(0, -10, 0, 'ABS'); Korval::vang3d(2 * atan2(0.125, 1) * 180 / 3.14159265358979) });
    ok(near($x, $CX + $R, 0.05), 'vang3d sets the full view angle') or diag($x);
    my $r = plot3d(sub { Korval::abs3pt(0, 0, 0, $x, $y) }, before => sub { Korval::view3d(0.5, 0, 0, 'ABS') });
    like($r->{err}, qr/Warning  33: Incorrect viewpoint in graf3d/, 'a view point inside the box warns 33');
    my ($x2, $y2) = (0, 0);
    plot3d(sub { Korval::abs3pt(1, 1, 1, $x2, $y2) });
    my ($x3, $y3) = (0, 0);
    plot3d(sub { Korval::abs3pt(1, 1, 1, $x3, $y3) }, before => sub { Korval::view3d(4, -5, 4, 'ABS') });
    ok(near($x2, $x3) && near($y2, $y3), 'without view3d the camera stands at (2X, -2.5Y, 2Z)');
    plot3d(sub { Korval::abs3pt(1, 1, 1, $x3, $y3) }, before => sub { Korval::view3d(20, -20, 20, 'USER') },
           scaling => [0, 4, 0, 1, 0, 4, 0, 1, 0, 4, 0, 1]);
    ok(!near($x2, $x3), '"USER" view points are taken as user coordinates');
};

subtest 'conversions' => sub {
    my @v;
    plot3d(sub {
        my ($xa, $ya, $za) = (0, 0, 0);
        Korval::pos3pt(10, 10, 5, $xa, $ya, $za);
        push @v, $xa, $ya, $za;
        push @v, Korval::x3dpos(2.5, 0, 0), Korval::y3dpos(0, 100, 0), Korval::z3dpos(0, 0, 0);
        my ($x, $y) = (0, 0);
        Korval::rel3pt(10, 1000, 10, $x, $y);
        push @v, $x, $y, Korval::x3drel(10, 1000, 10), Korval::y3drel(10, 1000, 10);
        Korval::abs3pt(1, 1, 1, $x, $y);
        push @v, $x, $y, Korval::x3dabs(1, 1, 1), Korval::y3dabs(1, 1, 1);
    }, scaling => [0, 10, 0, 2, 1, 3, 1, 1, 0, 10, 0, 2], before => sub { Korval::axsscl('LOG', 'Y') });
    ok(near($v[0], 1) && near($v[1], -1) && near($v[2], 0), 'pos3pt: linear and logarithmic axes') or diag("@v[0..2]");
    ok(near($v[3], -0.5) && near($v[4], 0) && near($v[5], -1), 'x3dpos, y3dpos, z3dpos') or diag("@v[3..5]");
    ok(near($v[6], $v[10]) && near($v[7], $v[11]), 'rel3pt of the top corner equals abs3pt of (1, 1, 1)');
    ok(near($v[6], $v[8]) && near($v[7], $v[9]), 'x3drel and y3drel');
    ok(near($v[10], $v[12]) && near($v[11], $v[13]), 'x3dabs and y3dabs');
    my ($y, $yb) = (0, 0);
    plot3d(sub { my $x; Korval::abs3pt(1, 1, 1, $x, $y) });
    plot3d(sub { my $x; Korval::abs3pt(1, 1, 1, $x, $yb) }, before => sub { Korval::pagorg('BOTT') });
    my ($nx, $ny) = (0, 0);
    Korval::getpag($nx, $ny);
    ok(near($yb, $ny - 1 - $y), 'with the origin at the bottom, y is measured from below') or diag("$y $yb");
};

subtest 'nzposn' => sub {
    my @c;
    plot3d(sub {
        push @c, Korval::nzposn(0), Korval::nzposn(10), Korval::nzposn(11);
        Korval::zscale(0, 20);
        push @c, Korval::nzposn(10);
    }, scaling => [0, 1, 0, 1, 0, 1, 0, 1, 0, 10, 0, 2]);
    is_deeply([@c[0 .. 2]], [1, 254, 255], 'the z axis range maps to the colour range, beyond it the over colour');
    ok($c[3] >= 126 && $c[3] <= 128, 'zscale takes over') or diag($c[3]);
};

subtest 'settings and their warnings' => sub {
    my $r = plot3d(sub {
        Korval::vang3d(180);
        Korval::vang3d(0);
        Korval::vclp3d(0, 5);
        Korval::vclp3d(2, 1);
        Korval::vclp3d(2, 0);
        Korval::axis3d(1, 0, 1);
        Korval::view3d(1, 2, 3, 'XYZ');
        Korval::clip3d('EYE');
        Korval::grffin();
    });
    my @w = $r->{err} =~ /Warning\s+(\d+)/g;
    is_deeply(\@w, [2, 2, 2, 2, 2, 2, 34], 'vang3d 180 and 0, vclp3d near 0 and far < near, axis3d 0, a bad key, grffin alone')
        or diag($r->{err});
    $r = ps_plot(sub { Korval::box3d(); Korval::curv3d([1], [1], [1], 1); Korval::grid3d(1, 1, 'ALL') }, graf3 => [0, 1, 0, 1]);
    @w = $r->{err} =~ /Warning\s+(\d+)/g;
    is_deeply(\@w, [35, 35, 35], 'colour axis system: warning 35 from box3d, curv3d, grid3d') or diag($r->{err});
};

subtest 'box3d' => sub {
    my $r = plot3d(sub { Korval::box3d() });
    my @s = strokes($r->{ops});
    my $segments = 0;
    $segments += @$_ - 1 for @s;
    is($segments, 12, 'twelve edges');
    my ($x, $y, @corner) = (0, 0);
    for my $c ([-1, -1, -1], [1, 1, 1]) {
        plot3d(sub { Korval::abs3pt(@$c, $x, $y) });
        push @corner, [$x, $y];
    }
    my $found = 0;
    for my $p (map { @$_ } @s) {
        $found++ if near($p->[0], $corner[0][0], 0.6) && near($p->[1], $corner[0][1], 0.6);
    }
    ok($found >= 3, 'three edges meet at the corner (-1, -1, -1)') or diag($found);
};

subtest 'planes' => sub {
    my ($x1, $y1, $x2, $y2) = (0, 0, 0, 0);
    my $r = plot3d(sub {
        Korval::abs3pt(-1, -1, -1, $x1, $y1);
        Korval::abs3pt(1, -1, -1, $x2, $y2);
        Korval::grfini(-1, -1, -1, 1, -1, -1, 1, 1, -1);
        is(Korval::getlev(), 1, 'grfini: level 1');
        Korval::nograf();
        Korval::graf(0, 1, 0, 1, 0, 1, 0, 1);
        Korval::curve([0, 1], [0, 0], 2);
        Korval::endgrf();
        Korval::grffin();
        is(Korval::getlev(), 3, 'grffin: level 3');
    });
    my @s = strokes($r->{ops});
    ok(@s == 1 && near($s[0][0][0], $x1, 0.6) && near($s[0][0][1], $y1, 0.6)
       && near($s[0][-1][0], $x2, 0.6) && near($s[0][-1][1], $y2, 0.6),
       'the lower edge of the plane runs from P1 to P2') or diag(explain(\@s));
    $r = plot3d(sub { Korval::grfini(-1, -1, -1, 1, -1, -1, 1, 1, -1); Korval::grfini(0, 0, 0, 1, 0, 0, 1, 1, 0) });
    like($r->{err}, qr/Warning   3/, 'grfini inside a plane is at the wrong level');
};

subtest 'grid3d' => sub {
    my $all = plot3d(sub { Korval::grid3d(1, 1, 'ALL') });
    my $bottom = plot3d(sub { Korval::grid3d(1, 1, 'BOTT') });
    my $back = plot3d(sub { Korval::grid3d(1, 1, 'BACK') });
    my $n = sub { scalar strokes($_[0]{ops}) };
    ok($n->($bottom) > 0 && $n->($back) > 0, 'the bottom and the back faces have lines');
    is($n->($all), $n->($bottom) + $n->($back), 'ALL draws the bottom and the back faces');
    my $r = plot3d(sub { Korval::grid3d(-1, 1, '') });
    like($r->{err}, qr/Warning   2.*grid3d/, 'a negative count warns 2');
    ok($n->($r) > 0, 'and counts as 0');
};

subtest 'curv3d and 3-D lines' => sub {
    my $r = plot3d(sub { Korval::curv3d([-1, 0, 1], [-1, 0, 1], [-1, 0, 1], 3) });
    my @s = strokes($r->{ops});
    is(scalar @s, 1, 'one polyline');
    my ($x, $y) = (0, 0);
    plot3d(sub { Korval::abs3pt(1, 1, 1, $x, $y) });
    ok(near($s[0][-1][0], $x, 0.6) && near($s[0][-1][1], $y, 0.6), 'ends at the projected last point');
    $r = plot3d(sub { Korval::polcrv('SPLI'); Korval::curv3d([-1, 1], [-1, 1], [-1, 1], 2) });
    like($r->{err}, qr/Warning  14: Linear interpolation must be used in curv3d/, 'other interpolations warn 14');
    ok(scalar(strokes($r->{ops})) == 1, 'and draw lines');
    $r = plot3d(sub { Korval::curv3d([1, 2], [1, 2], [0, 1], 2) },
                before => sub { Korval::axsscl('LOG', 'Z') }, scaling => [0, 3, 0, 1, 0, 3, 0, 1, 0, 1, 0, 1]);
    like($r->{err}, qr/Warning  27/, 'non-positive values on a logarithmic axis warn 27');
    # Clipping in box space: a line from the centre to far outside stops at the box.
    $r = plot3d(sub { Korval::strt3d(0, 0, 0); Korval::conn3d(0, 0, 50) });
    @s = strokes($r->{ops});
    plot3d(sub { Korval::abs3pt(0, 0, 1, $x, $y) });
    ok(@s == 1 && near($s[0][-1][1], $y, 0.6), '"WORL" clips at the box') or diag(explain(\@s));
    $r = plot3d(sub { Korval::clip3d('EYE'); Korval::strt3d(0, 0, 0); Korval::conn3d(0, 0, 3) },
                before => sub { Korval::view3d(0, 0, 10, 'ABS') });
    @s = strokes($r->{ops});
    is(scalar @s, 1, '"EYE" draws beyond the box');
};

subtest 'labels, axes and legend' => sub {
    my $r = plot3d(sub { }, axes => 1);
    ok(scalar(strokes($r->{ops})) > 30, 'graf3d draws three axes with labels');
    my $h = plot3d(sub { }, axes => 1, before => sub { Korval::labl3d('HORI') });
    ok(scalar(strokes($h->{ops})) > 30, '"HORI" labels');
    my $f = plot3d(sub { }, axes => 1, before => sub { Korval::flab3d() });
    ok(scalar(strokes($f->{ops})) > scalar(strokes($r->{ops})), 'flab3d adds the labels where the axes meet');
};

subtest 'bars3d' => sub {
    my $r = plot3d(sub {
        Korval::bars3d([0, 2], [0, 2], [0, 0], [2, 5], [1, 1], [1, 1], [50, 200], 2);
    }, scaling => [-1, 3, -1, 1, -1, 3, -1, 1, 0, 6, 0, 1]);
    is($r->{err}, '', 'no warning');
    ok(count_ops($r->{ops}, 'fill') >= 6, 'visible faces are filled');
    $r = ps_plot(sub { Korval::bars3d([0], [0], [0], [1], [1], [1], [1], 1) }, graf3 => [0, 1, 0, 1]);
    like($r->{err}, qr/Warning  35/, 'needs the 3-D axis system');
};

done_testing();
