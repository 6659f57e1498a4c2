# The colour axis system: colour bar, crvmat, coloured points, zaxis.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(in_tempdir);
use PsPlot qw(ps_plot strokes count_ops);
use Korval;

in_tempdir();

sub rects { my ($r) = @_; return grep { $_->[0] eq 'e' } @{ $r->{ops} } }

subtest 'graf3 draws a colour bar' => sub {
    my ($nxl, $nyl, $nzl) = (0, 0, 0);
    my $r = ps_plot(sub { is(Korval::getlev(), 3, 'level 3'); Korval::getlen($nxl, $nyl, $nzl) },
                    axes => 1, graf3 => [0, 10, 0, 2]);
    my $expect_top = 1100 - $nzl + 1;
    $expect_top = 0 if $expect_top < 0;  # clipped at the page
    my @e = rects($r);
    ok(@e > 10, 'the bar is painted in bands');
    my ($top, $bottom) = (1e9, -1e9);
    for (@e) { $top = $_->[2] if $_->[2] < $top; $bottom = $_->[4] if $_->[4] > $bottom }
    ok(abs($bottom - 1100) <= 1 && abs($top - $expect_top) <= 1, 'as long as the z axis, from the axis bottom up');
    ok((grep { $_->[1] > 1100 } @e) == @e, 'right of the axis system');
    my @lowest = sort { $b->[4] <=> $a->[4] } @e;
    is_deeply([@{ $lowest[0] }[5 .. 7]], [254, 254, 254], 'the bottom band has the first colour (index 1)');
    my @grey = map { $_->[5] } @lowest;
    is_deeply(\@grey, [sort { $b <=> $a } @grey], 'the colours rise with z (the grey darkens upwards)');
    $r = ps_plot(sub { Korval::endgrf(); Korval::nobar(); Korval::graf3(0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1) }, axes => 1);
    is(scalar(rects($r)), 0, 'nobar: no bar');
};

subtest 'crvmat paints the matrix' => sub {
    my $r = ps_plot(sub {
        Korval::setres(10, 10);
        Korval::crvmat([0, 1, 2, 3], 2, 2, 1, 1);
    }, graf3 => [0, 3, 0, 1]);
    my @e = rects($r);
    is(scalar @e, 4, 'ixpts = iypts = 1: one rectangle per grid point');
    # Corners: (left or right, bottom or top) => grey level of the colour.
    my %at = map { ($_->[1] < 600 ? 'L' : 'R') . ($_->[2] > 600 ? 'B' : 'T') => $_->[5] } @e;
    is($at{LB}, 254, 'z(1,1) = 0 at the lower left takes colour 1 (grey 254)');
    is($at{RT}, 1, 'z(2,2) = 3 at the upper right, the top of the scale, takes colour 254');
    is($at{LT}, 255 - 85, 'z(1,2) = 1 at the upper left: y runs fastest');
    my ($lb) = grep { $_->[1] < 600 && $_->[2] > 600 } @e;
    ok(abs($lb->[1] - 101) < 1 && abs($lb->[3] - 104) < 1, 'a point on the border is clipped to the axis system');
    $r = ps_plot(sub {
        Korval::setres(10, 10);
        Korval::crvmat([0, 0, 0, 0], 2, 2, 3, 3);
    }, graf3 => [0, 3, 0, 1]);
    is(scalar(rects($r)), 16, '3 x 3 points per cell: 4 x 4 points, no runs at this spacing');
    $r = ps_plot(sub { Korval::crvmat([0, 0], 1, 2, 1, 1); Korval::crvmat([0, 0, 0, 0], 2, 2, 0, 1) },
                 graf3 => [0, 3, 0, 1]);
    like($r->{err}, qr/Incorrect parameter in crvmat!   \(   1\).*crvmat!   \(   0\)/s, 'bad counts warn 2');
};

subtest 'colour scale' => sub {
    my $r = ps_plot(sub {
        Korval::setres(5, 5);
        Korval::curve3([100, 200, 300, 400, 500], [500, 500, 500, 500, 500], [-1, 0, 5, 10, 11], 5);
    }, graf3 => [0, 10, 0, 2]);
    my @e = grep { $_->[2] > 590 && $_->[2] < 610 } rects($r);
    is(scalar @e, 5, 'one rectangle per point');
    my @c = map { $_->[5] } sort { $a->[1] <=> $b->[1] } @e;
    is_deeply(\@c, [255, 254, 255 - 128, 1, 0], 'under colour, first, middle, last (top of the scale), over colour');
    ok(abs($e[0][3] - $e[0][1] - 4) <= 1, 'setres sets the point size');
    $r = ps_plot(sub {
        Korval::zscale(0, 5);
        Korval::nobgd();
        Korval::setres(5, 5);
        Korval::curvx3([100, 200, 300], 500, [-1, 2.5, 7], 3);
    }, graf3 => [0, 10, 0, 2]);
    @c = map { $_->[5] } sort { $a->[1] <=> $b->[1] } grep { $_->[2] > 590 && $_->[2] < 610 } rects($r);
    is_deeply(\@c, [255 - 128, 0], 'zscale replaces the axis range; nobgd skips the under colour');
    $r = ps_plot(sub { Korval::curve3([1], [1], [1], 1) });
    like($r->{err}, qr/Incorrect level in curve3/, 'curve3 needs the colour axis system');
};

subtest 'zaxis' => sub {
    my $r = ps_plot(sub {
        Korval::widbar(40);
        Korval::zaxis(0, 100, 0, 20, 500, 'z', 0, 0, 2000, 1500);
        Korval::zaxis(0, 100, 0, 20, 500, 'z', 0, 1, 2000, 1900);
        Korval::zaxis(0, 0, 0, 20, 500, 'z', 0, 0, 2000, 1500);
    }, no_graf => 1);
    my @e = rects($r);
    my @vertical = grep { $_->[1] >= 1999 && $_->[3] <= 2040 && $_->[4] <= 1501 } @e;
    ok(@vertical > 5, 'a vertical bar of width 40');
    my @horizontal = grep { $_->[2] >= 1860 && $_->[4] <= 1901 } @e;
    ok(@horizontal > 5, 'and a horizontal one');
    like($r->{err}, qr/Warning  10: Begin and end of scaling are equal in zaxis/, 'scaling warnings');
};

done_testing();
