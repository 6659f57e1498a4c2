# TeX mode from Perl: formulas drawn into PostScript, errors in the error
# file, and the options' keywords checked.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(in_tempdir slurp);
use Korval;

in_tempdir();
Korval::metafl('POST');
Korval::setfil('tex.ps');
Korval::korini();
Korval::errmod('PROT', 'OFF');
Korval::complx();
my $plain = Korval::nlmess('$x^2$');
Korval::texmod('ON');
my $tex = Korval::nlmess('$x^2$');
ok($tex > 0 && $tex < $plain, "a formula is measured as laid out ($tex < $plain)");
Korval::messag('$\frac{a+b}{\sqrt[3]{c}} = \sum_{i=1}^{n} \alpha_i$', 100, 300);
Korval::messag('$\alpga$', 100, 600);
is(Korval::nlmess('$\alpga$'), 0, 'a failing formula has no length');
Korval::texopt('ON', 'ITAL');
Korval::texopt('MAYBE', 'LIMI');
Korval::texmod('HALF');
Korval::korfin();

my $err = slurp('korval.err') // '';
my @unknown = $err =~ /Warning 101: Unknown TeX command in messag!/g;
is(scalar @unknown, 2, 'one warning per failing formula');
like($err, qr/Warning   2: .* in texopt!/, 'texopt checks its keywords');
like($err, qr/Warning   2: .* in texmod!/, 'texmod checks its keywords');
my $ps = slurp('tex.ps');
ok(defined $ps && length $ps > 1000, 'PostScript written');
SKIP: {
    skip 'ghostscript not installed', 1 unless grep { -x "$_/gs" } split /:/, $ENV{PATH};
    my $out = `gs -q -dBATCH -dNOPAUSE -sDEVICE=nullpage tex.ps 2>&1`;
    is($?, 0, 'ghostscript reads the file') or diag($out);
}

done_testing();
