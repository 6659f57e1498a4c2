# Rectangles, sectors and wind barbs from Perl into PostScript.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(in_tempdir slurp);
use Korval;

in_tempdir();
Korval::metafl('POST');
Korval::setfil('rect.ps');
Korval::korini();
Korval::errmod('PROT', 'OFF');
Korval::rectan(100, 100, 400, 250);
Korval::shdpat(16);
Korval::rndrec(600, 100, 400, 250, 5);
Korval::shdpat(0);
Korval::recfll(1600, 100, 300, 250, 1);
Korval::point(2200, 225, 100, 60, 4);
Korval::sector(400, 800, 100, 250, 30, 300, 3);
Korval::sector(1000, 800, 0, 250, -45, 45, 5);
Korval::windbr(65, 300, 1700, 300, 45);
Korval::windbr(0, 600, 1700, 300, 45);
Korval::sector(400, 800, 300, 250, 0, 90, 3);
Korval::graf(0, 10, 0, 2, 0, 10, 0, 2);
Korval::rlrec(1, 9, 2, 2);
Korval::rlrnd(4, 9, 3, 2, 4);
Korval::rlrnd(4, 9, 3, 2, 12);
Korval::rlsec(8, 8, 0.5, 1.5, 0, 90, 2);
Korval::rlpoin(5, 5, 40, 40, 1);
Korval::rlwind(25, 2, 3, 300, 270);
Korval::endgrf();
Korval::korfin();

my $err = slurp('korval.err') // '';
like($err, qr/Warning   7: First radius greater than second radius in sector!/, 'sector checks its radii');
like($err, qr/Warning   2: .* in rlnd!/, 'rlrnd warns under the name rlnd');
my $ps = slurp('rect.ps');
my $sectors = () = $ps =~ /\bsec\b/g;
ok($sectors >= 3, "sectors drawn by the PostScript sector procedure ($sectors)");
SKIP: {
    skip 'ghostscript not installed', 1 unless grep { -x "$_/gs" } split /:/, $ENV{PATH};
    my $out = `gs -q -dBATCH -dNOPAUSE -sDEVICE=nullpage rect.ps 2>&1`;
    is($?, 0, 'ghostscript reads the file') or diag($out);
}

done_testing();
