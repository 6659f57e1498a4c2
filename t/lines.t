# Line types, dash patterns in plot units, line widths, caps and joins.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/lib";
use Test::More;
use KorvalTest;
use KorvalRender;
use Korval;

enter_tempdir();

# The dash and gap lengths (plot units) of a horizontal line in PostScript.
sub pieces {
    my ($ps, $f) = @_;
    my @g = grep { @$_ > 1 } ps_groups(ps_body($ps));
    my @len;
    for my $i (0 .. $#g) {
        push @len, ($g[$i][0][0] - $g[$i - 1][-1][0]) / $f if $i > 0;    # the gap before
        push @len, ($g[$i][-1][0] - $g[$i][0][0]) / $f;
    }
    return @len;
}

sub close_to {
    my ($got, $want, $tol) = @_;
    return 0 if @$got < @$want;
    for my $i (0 .. $#$want) { return 0 if abs($got->[$i] - $want->[$i]) > $tol }
    return 1;
}

my %types = (
    solid => [], dot => [1, 10, 1, 10], dash => [10, 10, 10, 10], chndsh => [30, 15, 10, 15, 30],
    chndot => [1, 15, 15, 15, 1], dashm => [20, 15, 20], dotl => [1, 20, 1], dashl => [30, 20, 30],
);
my $f = 1.8571428;
for my $name (sort keys %types) {
    my ($ps) = ps_plot("$name.ps", sub {
        no strict 'refs';
        &{"Korval::$name"}();
        Korval::line(100, 1000, 1100, 1000);
    });
    my @len = pieces($ps, $f);
    if ($name eq 'solid') {
        is(scalar @len, 1, 'solid: one piece');
        next;
    }
    ok(close_to(\@len, $types{$name}, 0.6), "$name: pattern @{ $types{$name} } in tenths of mm")
        or diag "@len[0 .. 5]";
}

# On an inch page the lengths are converted: dash gives 4 and 4 plot units.
my ($ps) = ps_plot('inch.ps', sub { Korval::dash(); Korval::line(50, 300, 450, 300) }, units => 'INCH');
my @len = pieces($ps, 2.54 * $f);
ok(close_to(\@len, [4, 4, 4, 4, 4], 0.6), 'dash in inch units: 4 and 4') or diag "@len[0 .. 5]";
($ps) = ps_plot('inch2.ps', sub { Korval::lintyp(3); Korval::line(50, 300, 450, 300) }, units => 'INCH');
@len = pieces($ps, 2.54 * $f);
ok(close_to(\@len, [12, 6, 4, 6, 12], 0.6), 'chndsh in inch units: 12, 6, 4, 6') or diag "@len[0 .. 5]";

# myline, the pattern running on across lines, and bad patterns.
my $err;
($ps, $err) = ps_plot('my.ps', sub {
    Korval::myline([40, 20, 5, 20], 4);
    Korval::line(100, 1000, 130, 1000);
    Korval::line(130, 1000, 400, 1000);
    Korval::myline([(5) x 11], 11);
    Korval::myline([5, 0], 2);
    Korval::myline([5], 0);
    Korval::lintyp(8);
    Korval::lintyp(-1);
    Korval::line(100, 1500, 400, 1500);
});
my @g = grep { @$_ > 1 } ps_groups(ps_body($ps));
my @a = grep { $_->[0][1] == $g[0][0][1] } @g;
@len = pieces(join('', map { "$_->[0][0] $_->[0][1] u $_->[-1][0] $_->[-1][1] d p " } @a) =~ s/^/scale\n/r, $f);
ok(close_to(\@len, [40, 20, 5, 20, 40], 0.6), 'myline pattern, carried across two lines') or diag "@len";
my @b = grep { $_->[0][1] != $g[0][0][1] } @g;
cmp_ok(scalar @b, '>', 3, 'bad patterns keep the previous one');
my @w = $err =~ /Warning   2: Incorrect parameter in (\w+)!   \(\s*(-?\d+)\)/g;
is_deeply(\@w, [qw(myline 11 myline 0 myline 0 lintyp 8 lintyp -1)], 'bad patterns warn with the value');

# Widths, caps, joins and the miter limit as PostScript operators.
my %got;
($ps, $err) = ps_plot('width.ps', sub {
    Korval::linwid(10);
    $got{linwid} = Korval::getlin();
    Korval::line(100, 100, 500, 100);
    Korval::penwid(0.5);
    $got{penwid} = Korval::getlin();
    Korval::penwid(3.4);
    $got{penwid2} = Korval::getlin();
    Korval::lncap('ROUND');
    Korval::lnjoin('SHARP');
    Korval::lnmlt(3);
    Korval::lnjoin('TRUNC');
    Korval::lncap('CUT');
    Korval::linwid(0);
    Korval::linwid(32001);
    Korval::penwid(0);
    Korval::lnmlt(0.5);
    Korval::lncap('FLAT');
});
is($got{linwid}, -10, 'PostScript draws widths itself: getlin is negative');
is("$got{penwid} $got{penwid2}", '-1 -3', 'penwid stores the rounded width, at least 1');
my $body = join ' ', ps_body($ps);
like($body, qr/^0 0 0 f 20 cm setlinewidth 186 5328 u 929 5328 d p 2\.50 cm setlinewidth 6\.80 cm setlinewidth /,
    'linwid 10 is 20 units, penwid 0.5 and 3.4 are 2.5 and 6.8');
like($body, qr/6\.80 cm setlinewidth 1 setlinecap 0 setlinejoin 12 cm setmiterlimit 18 cm setmiterlimit 2 setlinejoin 0 setlinecap/,
    'cap, join, the miter limit 2 sent again after SHAR, then 3, times 2 |width| (3 from penwid)');
@w = $err =~ /Warning   2: Incorrect parameter in (\w+)!   \(\s*([-\d.A-Z]+)\)/g;
is_deeply(\@w, [qw(linwid 0 linwid 32001 penwid 0.0000 lnmlt 0.5000 lncap FLAT)], 'range warnings');

# Other formats widen lines in the pipeline: outline strokes around the line.
my $vecm_width;
my ($met) = ps_plot('wide.met', sub {
    Korval::linwid(9);
    $vecm_width = Korval::getlin();
    Korval::line(100, 100, 500, 100);
}, format => 'VECM');
$met =~ s/\n//g;
is($vecm_width, 9, 'VECM: getlin is the positive width');
my $moves = () = $met =~ / 3\.0000000/g;
cmp_ok($moves, '>=', 3, 'VECM: the line and its outlines');

SKIP: {
    skip 'ghostscript is not installed', 3 unless have_gs();
    ps_plot('thick.ps', sub {
        Korval::linwid(30);
        Korval::line(200, 1000, 1800, 1000);
        Korval::linwid(1);
        Korval::line(200, 1500, 1800, 1500);
    });
    my $p = render('thick.ps', 150);
    # 30 tenths of a millimetre wide: 3 mm, about 18 pixels at 150 dpi.
    my $thick = grep { $p->ink(1000, $_, 1000, $_) } 980 .. 1020;
    my $thin = grep { $p->ink(1000, $_, 1000, $_) } 1480 .. 1520;
    cmp_ok($thick, '>=', 27, 'linwid 30 is 3 mm wide') or diag $thick;
    cmp_ok($thick, '<=', 36, '... and not more');
    cmp_ok($thin, '<=', 5, 'linwid 1 is thin');
}

done_testing();
