# Figures, bar graphs, pie charts and legends from Perl: the legend buffer
# in the script's string, warnings, PostScript output and its rendering.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(in_tempdir slurp);
use Korval;

in_tempdir();

my $seen = 0;
sub errors_since {
    my $text = slurp('korval.err') // '';
    my @lines = split /\n/, $text;
    my @new = @lines[$seen .. $#lines];
    $seen = @lines;
    return join("\n", @new);
}

Korval::metafl('POST');
Korval::setfil('charts.ps');
Korval::korini();
Korval::errmod('PROT', 'OFF');

subtest 'legend buffer lives in the Perl string' => sub {
    my $cbuf = '';
    Korval::legini($cbuf, 3, 8);
    is($cbuf, ' ' x 24, 'legini fills nlin x nmaxln blanks');
    Korval::leglin($cbuf, 'alpha', 1);
    Korval::leglin($cbuf, 'gamma', 3);
    is($cbuf, 'alpha   ' . (' ' x 8) . 'gamma   ', 'leglin writes its line in place');
    Korval::leglin($cbuf, 'much too long', 2);
    like(errors_since(), qr/Warning  16: Too long string for legend line in leglin!   \(much too long\)/,
         'a long text warns 16');
    is(length($cbuf), 24, 'and leaves the buffer as it was');
    Korval::leglin($cbuf, 'x', 4);
    like(errors_since(), qr/Warning   2: .* in leglin!   \(   4\)/, 'a line beyond nlin warns 2');
    my $w = Korval::nxlegn($cbuf);
    my $h = Korval::nylegn($cbuf);
    cmp_ok($w, '>', Korval::nlmess('gamma'), 'the width holds the widest text');
    Korval::legtit('');
    cmp_ok(Korval::nylegn($cbuf), '<', $h, 'an empty title removes the title row');
    Korval::legini($cbuf, 31, 8);
    like(errors_since(), qr/legini!   \(  31\)/, 'more than 30 lines warn 2');
    is(length($cbuf), 24, 'and keep the old buffer');
};

subtest 'figures and arrows' => sub {
    Korval::circle(300, 300, 0);
    like(errors_since(), qr/Warning   2: Incorrect parameter in circle!   \(   0\)/, 'radius 0 warns 2');
    Korval::vector(100, 500, 800, 500, 41);
    like(errors_since(), qr/vector!   \(  41\)/, 'an unknown arrow form warns 2');
    Korval::rlcirc(1, 1, 1);
    like(errors_since(), qr/Warning   3/, 'rl routines need an axis system');
    Korval::circsp(0);
    like(errors_since(), qr/circsp!   \(   0\)/, 'circsp checks its range');
    Korval::arcell(1500, 500, 300, 150, 300, 60, 30);
    Korval::pie(2200, 500, 200, 30, 120);
    Korval::vector(100, 600, 800, 600, 2321);
    is(errors_since(), '', 'figures draw without warnings');
};

subtest 'bars' => sub {
    Korval::axspos(300, 1900);
    Korval::axslen(1200, 900);
    Korval::graf(0, 6, 0, 1, 0, 10, 0, 2);
    Korval::labels('second', 'bars');
    Korval::barwth(-20);
    Korval::bars([1, 2, 3], [0, 0, 0], [4, 6, 8], 3);
    Korval::barwth(0.75);
    Korval::bars([1], [0], [5], 0);
    like(errors_since(), qr/bars!   \(   0\)/, 'a count of 0 warns 2');
    Korval::barpos('tick');
    Korval::bars([1, 2, 3, 4, 5, 6, 7, 8], [(0) x 8], [(1) x 8], 8);
    like(errors_since(), qr/Warning  28: Number of bars unequal number of main ticks in bars!/,
         'bars on ticks: a count mismatch warns 28');
    Korval::barpos('none');
    Korval::bars([1, 2], [0, 0], ['nan', 3], 2);
    pass('NaN values do not crash');
    eval { Korval::bars([1, 2], [0], [1, 2], 2) };
    like($@, qr/x2ray/, 'an array shorter than its count croaks');
    Korval::endgrf();
};

subtest 'pies' => sub {
    my $cbuf = '';
    Korval::legini($cbuf, 3, 10);
    Korval::leglin($cbuf, 'red', 1);
    Korval::leglin($cbuf, 'green', 2);
    Korval::leglin($cbuf, 'blue', 3);
    Korval::axspos(1700, 1900);
    Korval::axslen(1000, 900);
    Korval::labels('both', 'pie');
    Korval::pielab('n =', 'left');
    for my $i (1 .. 30) { Korval::patcyc($i, 16) }
    Korval::piegrf($cbuf, 1, [1, 2, 3], 3);
    is(Korval::getlev(), 2, 'piegrf leaves level 2');
    Korval::legend($cbuf, 7);
    is(errors_since(), '', 'three segments give three legend records');
    Korval::endgrf();
    Korval::piegrf($cbuf, 0, [0, 0], 2);
    like(errors_since(), qr/Warning  29: Sum of data is zero in piegrf!/, 'a zero sum warns 29');
    Korval::endgrf();
    Korval::pieopt(0.2, 95);
    like(errors_since(), qr/pieopt/, 'pieopt checks the view angle');
};

Korval::korfin();
my $ps = slurp('charts.ps');
my @sec = $ps =~ /([-\d.]+)\s+([-\d.]+)\s+\d+\s+\d+\s+\d+\s+sec\b/g;
is(scalar(@sec), 6, 'the three pie segments are hardware sectors');
my $sum = 0;
for (my $i = 0; $i < @sec; $i += 2) { $sum += $sec[$i + 1] - $sec[$i] }
cmp_ok(abs($sum - 360), '<', 0.05, 'and their sweeps sum to 360 degrees');

SKIP: {
    skip 'ghostscript is not installed', 1 unless grep { -x "$_/gs" } split /:/, $ENV{PATH};
    system('gs', '-q', '-dSAFER', '-dNOPAUSE', '-dBATCH', '-sDEVICE=png16m', '-r40',
           '-sOutputFile=charts.png', 'charts.ps');
    ok(-s 'charts.png', 'ghostscript renders the charts');
}

done_testing();
