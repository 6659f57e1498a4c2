# Area fills, shading patterns and blanking, rendered by ghostscript.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/lib";
use Test::More;
use KorvalTest;
use KorvalRender;
use Korval;

enter_tempdir();

my @square = ([300, 700, 700, 300], [300, 300, 700, 700]);
# A five-pointed star in one stroke, centred on (1000, 1500).
my (@sx, @sy);
for my $k (0 .. 4) {
    my $a = 1.5707963 + $k * 4 * 3.14159265 / 5;
    push @sx, int(1000 + 500 * cos($a));
    push @sy, int(1500 - 500 * sin($a));
}

# Solid pattern: hardware fill on PostScript, software where asked.
my ($ps, $err) = ps_plot('solid.ps', sub {
    Korval::color('RED');
    Korval::shdpat(16);
    Korval::areaf(@square, 4);
    Korval::areaf(\@sx, \@sy, 5);
});
is(scalar(() = $ps =~ /eofill/g), 2, 'shdpat 16 on PostScript: one eofill per area');
my ($soft) = ps_plot('soft.ps', sub {
    Korval::color('RED');
    Korval::mypat(0, 1, 0, 0);
    Korval::areaf(\@sx, \@sy, 5);
    Korval::metafl('PS');
});
unlike($soft, qr/eofill/, 'the same solid lines by mypat are hatched in software');
my @u = $soft =~ / u /g;
cmp_ok(scalar @u, '>', 300, '... by lines 1.9999 plot units apart');

SKIP: {
    skip 'ghostscript is not installed', 16 unless have_gs();
    my $p = render('solid.ps');
    is(join(' ', $p->rgb_at(500, 500)), '255 0 0', 'the square is red inside');
    is($p->ink(720, 300, 900, 700), 0, '... and nothing beside it');
    for my $pic ([hardware => $p], [software => render('soft.ps')]) {
        my ($name, $q) = @$pic;
        is($q->ink(980, 1480, 1020, 1520), 0, "$name: the middle of the star stays empty (even-odd)");
        cmp_ok($q->ink(985, 1050, 1015, 1100), '>', 0.95, "$name: its top point is filled");
        cmp_ok($q->ink(700, 1395, 730, 1420), '>', 0.95, "$name: its left point is filled");
    }

    # Hatch patterns: density, crossing, bands.
    my %ink;
    for my $n (0, 1, 3, 4, 5, 16) {
        ps_plot("pat$n.ps", sub { Korval::shdpat($n); Korval::areaf(@square, 4) });
        my $q = render("pat$n.ps", 72);
        $ink{$n} = $q->ink(320, 320, 680, 680);
        $ink{"out$n"} = $q->ink(100, 100, 280, 280) + $q->ink(720, 720, 900, 900);
        $ink{"border$n"} = $q->ink(295, 450, 305, 550);
    }
    is($ink{0}, 0, 'pattern 0 draws only the outline');
    cmp_ok($ink{border0}, '>', 0.2, '... which is there');
    cmp_ok($ink{1}, '>', 0.05, 'pattern 1 hatches');
    cmp_ok($ink{1}, '<', 0.4, '... with lines, not solid');
    ok(abs($ink{3} - $ink{1}) < 0.05, 'pattern 3: the same lines at 135 degrees');
    cmp_ok($ink{5}, '>', 1.5 * $ink{1}, 'pattern 5 crosses the lines');
    cmp_ok($ink{4}, '>', $ink{1}, 'pattern 4: bands of 8 lines');
    is(join(' ', map { $ink{"out$_"} } 0, 1, 3, 4, 5, 16), '0 0 0 0 0 0', 'no ink outside any area');
}

# noarln with pattern 0: nothing at all.
($ps) = ps_plot('none.ps', sub { Korval::noarln(); Korval::areaf(@square, 4) });
is(scalar(ps_groups(ps_body($ps))), 0, 'noarln and no pattern: nothing drawn');

# Blanking: regions left empty by lines and hatching.
($ps, $err) = ps_plot('blank.ps', sub {
    Korval::mypat(0, 1, 0, 0);
    Korval::shlrec(400, 400, 200, 200);
    Korval::shlcir(1000, 1500, 150);
    is(Korval::shlind(), 2, 'two regions');
    Korval::areaf(@square, 4);
    Korval::linwid(10);
    Korval::line(600, 1500, 1400, 1500);
    Korval::shlvis(2, 'OFF');
    Korval::line(600, 1700, 1400, 1700);
    Korval::shlvis(2, 'ON');
    Korval::line(1000, 1200, 1000, 1800);
    Korval::shdpat(16);
    Korval::areaf([1600, 1900, 1900, 1600], [300, 300, 600, 600], 4);
});
unlike($ps, qr/eofill/, 'no hardware fill while regions exist');
SKIP: {
    skip 'ghostscript is not installed', 6 unless have_gs();
    my $p = render('blank.ps', 72);
    is($p->ink(410, 410, 590, 590), 0, 'the blanked rectangle stays empty');
    cmp_ok($p->ink(310, 310, 390, 690), '>', 0.9, '... while the fill goes on around it');
    is($p->ink(890, 1390, 1110, 1610), 0, 'a circle blanks the lines through it');
    cmp_ok($p->ink(600, 1490, 840, 1510), '>', 0.5, '... which are drawn outside it');
    cmp_ok($p->ink(900, 1690, 1100, 1710), '>', 0.5, 'a hidden region blanks nothing');
    cmp_ok($p->ink(1620, 320, 1880, 580), '>', 0.9, 'solid pattern 16 hatched when regions exist');
}

# Warnings: a full buffer, too many crossings, bad patterns.
my @px = map { 100 + $_ } 0 .. 498;
my @py = map { 100 + ($_ % 2) * 5 } 0 .. 498;
my @cx = map { my $t = $_; (20 * $t, 20 * $t, 20 * $t + 10, 20 * $t + 10) } 0 .. 59;
my @cy = map { (100, 0, 0, 100) } 0 .. 59;
push @cx, 1200, 1200, -10, -10;
push @cy, 100, 200, 200, 100;
($ps, $err) = ps_plot('warn.ps', sub {
    Korval::shlpol(\@px, \@py, 499);
    Korval::shlpol(\@px, \@py, 3);
    is(Korval::shlind(), 1, 'a polygon too long for the buffer is not stored');
    Korval::shlcir(10, 10, 10001);
    Korval::shlrec(10, 10, 0, 5);
    Korval::shldel(-1);
    Korval::shlres(0);
    Korval::line(200, 1000, 800, 1000);
    Korval::mypat(0, 1, 1, 0);
    Korval::origin(0, 1200);
    Korval::areaf(\@cx, \@cy, scalar @cx);
    Korval::mypat(180, 1, 0, 0);
    Korval::mypat(0, 8, 0, 0);
    Korval::mypat(0, 1, 10, 0);
    Korval::mypat(0, 1, 0, 2);
    Korval::shdpat(-3);
    Korval::areaf([1], [1], 0);
});
like($err, qr/Warning  47: Blanking buffer overflow in shlpol!\n/, 'warning 47');
like($err, qr/Warning  26: Too many intersections in areaf!   \( 120\)/, 'warning 26 with the count');
my @w = $err =~ /Warning   2: Incorrect parameter in (\w+)!   \(\s*(-?\d+)\)/g;
is_deeply(\@w, [qw(shlcir 10001 shlrec 0 shldel -1 shlres 0 mypat 180 mypat 8 mypat 10 mypat 2 shdpat -3
    areaf 0)], 'range warnings with the value');
ok(grep({ $_->[0][1] == $_->[-1][1] && $_->[-1][0] - $_->[0][0] > 1000 } ps_groups(ps_body($ps))),
    'drawing goes on after the overflow');

# rlarea: user coordinates, cut at the axis system.
($ps, $err) = ps_plot('rl.ps', sub {
    Korval::rlarea([1, 2, 2], [1, 1, 2], 3);    # level 1: a level warning
    Korval::graf(0, 10, 0, 2, 0, 10, 0, 2);
    Korval::shdpat(16);
    Korval::color('RED');
    Korval::rlarea([1, 9, 9, 1], [1, 1, 9, 9], 4);
    Korval::color('BLUE');
    Korval::noarln();
    Korval::rlarea([5, 20, 20, 5], [5, 5, 8, 8], 4);
    Korval::endgrf();
});
like($err, qr/Warning   3: .* in rlarea!/, 'rlarea needs an axis system');
my $text = join ' ', ps_body($ps);
my ($box) = $text =~ /255 0 0 f [^f]*?(\d+ \d+ u (?:\d+ \d+ d ){4})eofill/;
ok($box, 'an area inside the axis system is filled by the device');
my @c = ($box // '') =~ /(\d+) \d+ [ud]/g;
my ($x1, $x9) = (sort { $a <=> $b } @c)[0, -1];
my $x10 = $x9 + ($x9 - $x1) / 8;
my ($blue) = $text =~ /0 0 255 f (.*?)(?: \d+ \d+ \d+ f |showpage)/;
my @h = grep { @$_ > 1 } ps_groups(split ' ', $blue // '');
cmp_ok(scalar @h, '>', 20, 'an area beyond the axis system is hatched');
is(scalar(grep { $_->[0][0] > $x10 + 1 || $_->[-1][0] > $x10 + 1 } @h), 0, '... and cut at its border')
    or diag "$x1 $x9";
ok(grep({ $_->[0][0] > $x10 - 3 || $_->[-1][0] > $x10 - 3 } @h), '... which it reaches');

# A polygon of thousands of vertices is hatched quickly.
my (@bx, @by);
for my $i (0 .. 9999) {
    my $a = 6.2831853 * $i / 10000;
    push @bx, int(1000 + (800 + 100 * sin(40 * $a)) * cos($a));
    push @by, int(1400 - (800 + 100 * sin(40 * $a)) * sin($a));
}
my $t0 = time;
($ps) = ps_plot('big.met', sub { Korval::mypat(30, 1, 0, 0); Korval::areaf(\@bx, \@by, 10000) }, format => 'VECM');
cmp_ok(time - $t0, '<=', 3, '10000 vertices hatched in a few seconds');
cmp_ok(length $ps, '>', 100000, '... with many hatch lines');

done_testing();
