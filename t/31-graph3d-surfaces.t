# Surfaces: the floating horizon, mesh options, Perl surface functions,
# shaded surfaces, triangles, isosurfaces and the depth buffer from Perl.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(in_tempdir slurp);
use PsPlot qw(ps_plot strokes count_ops);
use Korval;

in_tempdir();

sub plot3d {
    my ($code, %opt) = @_;
    return ps_plot(sub {
        $opt{before}->() if $opt{before};
        Korval::graf3d(@{ $opt{scaling} || [-1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1] });
        $code->();
    }, no_graf => 1);
}

# Total drawn length of a plot.
sub ink {
    my ($r) = @_;
    my $len = 0;
    for my $s (strokes($r->{ops})) {
        for my $i (1 .. $#$s) {
            $len += sqrt(($s->[$i][0] - $s->[$i - 1][0])**2 + ($s->[$i][1] - $s->[$i - 1][1])**2);
        }
    }
    return $len;
}

# A bump on a 15 x 15 grid over -1..1.
my $N = 15;
my @G = map { -1 + 2 * $_ / ($N - 1) } 0 .. $N - 1;
my @BUMP;
for my $x (@G) { for my $y (@G) { push @BUMP, 0.8 * exp(-3 * ($x * $x + $y * $y)) - 0.4 } }

subtest 'hidden lines' => sub {
    my $hidden = plot3d(sub { Korval::surfce(\@G, $N, \@G, $N, \@BUMP) });
    my $all = plot3d(sub { Korval::surfce(\@G, $N, \@G, $N, \@BUMP) }, before => sub { Korval::nohide() });
    is($hidden->{err}, '', 'no warning');
    ok(ink($hidden) > 0.3 * ink($all), 'the surface is drawn');
    ok(ink($hidden) < 0.9 * ink($all), 'lines behind the bump are removed') or diag(ink($hidden) . ' ' . ink($all));
    my $x = plot3d(sub { Korval::suropt('XISO'); Korval::surfce(\@G, $N, \@G, $N, \@BUMP) },
                   before => sub { Korval::nohide() });
    my $y = plot3d(sub { Korval::suropt('YISO'); Korval::surfce(\@G, $N, \@G, $N, \@BUMP) },
                   before => sub { Korval::nohide() });
    ok(abs(ink($x) + ink($y) - ink($all)) < 0.02 * ink($all), 'XISO and YISO draw one family each');
    # Reversed x values draw the same surface.
    my @rev = reverse @G;
    my @zr;
    for my $i (reverse 0 .. $N - 1) { push @zr, @BUMP[$i * $N .. $i * $N + $N - 1] }
    my $r = plot3d(sub { Korval::surfce(\@rev, $N, \@G, $N, \@zr) });
    ok(abs(ink($r) - ink($hidden)) < 0.02 * ink($hidden), 'x values running backwards: the same picture')
        or diag(ink($r) . ' ' . ink($hidden));
    my @c = (-0.5, 0.5);
    my $cols = plot3d(sub { Korval::polcrv('BARS'); Korval::surfce(\@c, 2, \@c, 2, [0.5, 0.5, 0.5, 0.5]) });
    my $n = 0;
    $n += @$_ - 1 for strokes($cols->{ops});
    ok($n >= 4 * 9 && $n <= 4 * 9 + 12, 'BARS: columns show only the edges of their faces turned to the camera')
        or diag($n);
    $r = plot3d(sub { Korval::surfce(\@G, 1, \@G, $N, \@BUMP) });
    like($r->{err}, qr/Warning   2.*surfce/, 'nx < 2 warns 2');
    $r = ps_plot(sub { Korval::surfce(\@G, $N, \@G, $N, \@BUMP) }, graf3 => [0, 1, 0, 1]);
    like($r->{err}, qr/Warning  35.*surfce/, 'a colour axis system warns 35');
};

subtest 'sides seen from below' => sub {
    my @flat = (0) x ($N * $N);
    my $below = sub { Korval::view3d(3, -4, -5, 'ABS') };
    my $both = plot3d(sub { Korval::surfce(\@G, $N, \@G, $N, \@flat) }, before => $below);
    my $top = plot3d(sub { Korval::survis('TOP'); Korval::surfce(\@G, $N, \@G, $N, \@flat) }, before => $below);
    my $bottom = plot3d(sub { Korval::survis('BOTT'); Korval::surfce(\@G, $N, \@G, $N, \@flat) }, before => $below);
    ok(ink($both) > 0, 'the underside is drawn with BOTH');
    is(ink($top), 0, 'TOP: the underside of a surface seen from below draws nothing');
    ok(abs(ink($bottom) - ink($both)) < 1, 'BOTT draws it');
    my $from_above = plot3d(sub { Korval::survis('BOTT'); Korval::surfce(\@G, $N, \@G, $N, \@flat) });
    is(ink($from_above), 0, 'BOTT: a flat surface seen from above draws nothing');
    my $c = plot3d(sub { Korval::surclr(-1, 7); Korval::surfce(\@G, $N, \@G, $N, \@BUMP) },
                   before => sub { Korval::setclr(200) });
    ok($c->{ps} =~ /(\d+ \d+ \d+) f .* u/s, 'side colours switch the colour');
};

subtest 'surmat' => sub {
    my $m = plot3d(sub { Korval::surmat(\@BUMP, $N, $N, 1, 1) }, before => sub { Korval::nohide() });
    my $s = plot3d(sub { Korval::surfce(\@G, $N, \@G, $N, \@BUMP) }, before => sub { Korval::nohide() });
    ok(abs(ink($m) - ink($s)) < 0.01 * ink($s), 'an even grid over the axis scaling');
    my $none = plot3d(sub { Korval::surmat(\@BUMP, $N, $N, 0, 0) });
    is(ink($none), 0, 'ixpts = iypts = 0 draws nothing');
    my $skip = plot3d(sub { Korval::surmat(\@BUMP, $N, $N, -1, -1) }, before => sub { Korval::nohide() });
    ok(ink($skip) < 0.7 * ink($m), '-1: every second grid line');
    my $r = plot3d(sub { Korval::sursze(0, 0, 0, 1); Korval::surmat(\@BUMP, $N, $N, 1, 1) });
    like($r->{err}, qr/Warning  10/, 'sursze with xa = xe warns 10');
};

our $calls = 0;
sub bump { my ($x, $y) = @_; $calls++; return 0.8 * exp(-3 * ($x * $x + $y * $y)) - 0.4 }
sub broken { die "no value here\n" }
sub torus {
    my ($s, $t, $i) = @_;
    my $r = 0.6 + 0.25 * cos($t);
    return $i == 1 ? $r * cos($s) : $i == 2 ? $r * sin($s) : 0.25 * sin($t);
}

subtest 'surfun and surfcp call Perl' => sub {
    local $calls = 0;
    my $r = plot3d(sub { Korval::surfun('main::bump', 1, 0.25, 1, 0.25) });
    is($calls, 81, 'one call per grid point: 9 x 9');
    ok(ink($r) > 0, 'the surface is drawn');
    $calls = 0;
    plot3d(sub { Korval::surfun('bump', 2, 0.5, 3, 0.5) });
    is($calls, 9 * 13, 'ixp and iyp sample along the lines: 9 x 13 points');
    my $ok = eval { plot3d(sub { Korval::surfun('broken', 1, 0.5, 1, 0.5) }); 1 };
    ok(!$ok && $@ =~ /surfun: the function broken failed: no value here/, 'a dying function croaks after the surface')
        or diag($@);
    $ok = eval { plot3d(sub { Korval::surfun('no_such_sub', 1, 0.5, 1, 0.5) }); 1 };
    ok(!$ok && $@ =~ /Undefined subroutine/, 'an unknown subroutine croaks') or diag($@);
    is(Korval::getlev(), 0, 'the plot was closed before') if 0;
    $r = plot3d(sub { Korval::surfun('bump', 1, 0, 1, 0.5) });
    like($r->{err}, qr/Warning   2.*surfun/, 'a step of 0 warns 2');
    $r = plot3d(sub { Korval::surmsh('ONLY'); Korval::surfcp('torus', 0, 6.2832, 0.3, 0, 6.2832, 0.3) });
    is($r->{err}, '', 'surfcp: no warning');
    ok(scalar(strokes($r->{ops})) > 200, 'surfcp draws the outlines of its cells');
    eval { Korval::surfun('bump', 1, 0.5) };
    like($@, qr/^Usage: Korval::surfun\(s, i1, a1, i2, a2\)/, 'usage text');
};

subtest 'shaded surfaces' => sub {
    my $r = plot3d(sub { Korval::surshd(\@G, $N, \@G, $N, \@BUMP) });
    is($r->{err}, '', 'no warning');
    is(count_ops($r->{ops}, 'fill'), ($N - 1)**2, 'FLAT: one filled polygon per cell');
    $r = plot3d(sub { Korval::surmsh('ON'); Korval::surshd(\@G, $N, \@G, $N, \@BUMP) });
    is(scalar(strokes($r->{ops})), ($N - 1)**2, 'surmsh ON outlines each cell');
    $r = plot3d(sub { Korval::shdmod('SMOO', 'SURF'); Korval::surshd(\@G, $N, \@G, $N, \@BUMP) });
    like($r->{err}, qr/Warning  40: File format and output device are incompatible in surshd/, 'SMOO on PostScript warns 40');
    is(count_ops($r->{ops}, 'fill'), ($N - 1)**2, 'and shades flat');
    $r = plot3d(sub { Korval::surtri([-1, 1, 0, 0], [-1, -1, 1, 0], [0, 0, 0, 1], 4, [1, 1, 9], [2, 2, 2], [3, 4, 3], 3) });
    is(count_ops($r->{ops}, 'fill'), 2, 'surtri: triangles with a bad vertex number are skipped');
    my @w;
    my @c = (-1, 0, 1);
    for my $x (@c) { for my $y (@c) { for my $z (@c) { push @w, $x * $x + $y * $y + $z * $z } } }
    $r = plot3d(sub { Korval::suriso(\@c, 3, \@c, 3, \@c, 3, \@w, 0.5) });
    ok(count_ops($r->{ops}, 'fill') >= 8, 'suriso: a closed isosurface of triangles');
    $r = plot3d(sub { Korval::suriso([0, 1, 0.5], 3, \@c, 3, \@c, 3, \@w, 0.5) });
    like($r->{err}, qr/Warning 101: arrays must be monoton in suriso/, 'non-monotonic coordinates warn 101');
};

subtest 'depth buffer and smooth shading in pictures' => sub {
    for my $zb (0, 1) {
        Korval::metafl('PNG');
        Korval::setfil('s.png');
        Korval::filmod('DELE');
        Korval::korini();
        Korval::errmod('PROT', 'OFF');
        Korval::nograf();
        Korval::graf3d(-1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1);
        is(Korval::zbfini(), 0, 'zbfini returns 0 on a raster format') if $zb;
        Korval::shdmod('SMOO', 'SURF');
        Korval::light('ON');
        Korval::surshd(\@G, $N, \@G, $N, \@BUMP);
        Korval::zbffin() if $zb;
        Korval::korfin();
        ok(-s 's.png' > 1000, $zb ? 'with the script\'s depth buffer' : 'with a depth buffer of its own');
        my $err = slurp('korval.err') // '';
        is($err, '', 'no warning');
        unlink 'korval.err';
    }
};

sub quits { Korval::endgrf(); return 0 }

subtest 'bad input never breaks a plot' => sub {
    my $inf = 9**9**9;
    my $nan = $inf / $inf;
    my @z = @BUMP;
    $z[20] = $nan;
    $z[40] = $inf;
    my $r = plot3d(sub {
        Korval::surfce(\@G, $N, \@G, $N, \@z);
        Korval::surshd(\@G, $N, \@G, $N, \@z);
        Korval::curv3d([0, $nan, 1], [0, 0, $inf], [0, 0, 0], 3);
        Korval::bars3d([$nan], [0], [0], [1], [$inf], [1], [5], 1);
        Korval::sphe3d(0, 0, 0, $nan, 10, 10);
        Korval::zbfini();
        Korval::surfun('bump', 1, 1e-30, 1, 0.5);
        Korval::surfcp('torus', 0, 1, 1e-30, 0, 1, 0.5);
    });
    ok(ink($r) > 0, 'points that are not numbers are left out');
    like($r->{err}, qr/Warning  53.*surfun.*Warning  53.*surfcp/s, 'absurd sampling steps are refused');
    $r = plot3d(sub { Korval::view3d($nan, 1, 1, 'ABS') ; Korval::vup3d($nan) });
    ok(defined $r->{ps}, 'a view point that is not a number does not break the plot');
    my $inside = sub {
        my $n = 0;
        for my $s (strokes($_[0]{ops})) {
            for my $p (@$s) { $n++ if $p->[0] > 505 && $p->[0] < 695 && $p->[1] > 505 && $p->[1] < 695 }
        }
        return $n;
    };
    my $plain = plot3d(sub { Korval::shlrec(500, 500, 200, 200); Korval::surfce(\@G, $N, \@G, $N, \@BUMP) });
    $r = plot3d(sub {
        Korval::shlsur();
        Korval::shlrec(500, 500, 200, 200);
        Korval::surfce(\@G, $N, \@G, $N, \@BUMP);
    });
    ok($inside->($plain) > 0, 'without shlsur surfaces ignore blanked regions');
    is($inside->($r), 0, 'shlsur: surfaces stay out of blanked regions');
    $r = plot3d(sub { Korval::surfun('quits', 1, 0.5, 1, 0.5) });
    is(scalar(strokes($r->{ops})), 0, 'a function that ends the axis system: nothing is drawn');
};

done_testing();
