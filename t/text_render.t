# Text through the real pipeline into PostScript: stroke fonts as lines,
# outline fonts as filled polygons, and a file that ghostscript reads.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(in_tempdir slurp);
use Korval;

in_tempdir();
Korval::metafl('POST');
Korval::setfil('text.ps');
Korval::korini();
Korval::errmod('PROT', 'OFF');
Korval::height(40);
my $y = 100;
for my $font (qw(koralf simplx complx duplx triplx helve helves serif)) {
    no strict 'refs';
    &{"Korval::$font"}();
    Korval::messag("$font: Korval 8.1 \x7f\x80\x81 \x94\x95", 100, $y);
    $y += 80;
}
Korval::mixalf();
Korval::messag('E = mc[2$', 100, $y);
Korval::korfin();

my $ps = slurp('text.ps');
ok(defined $ps && length $ps > 1000, 'PostScript written');
my $fills = () = $ps =~ /eofill/g;
ok($fills >= 3 * 20, "outline glyphs filled ($fills polygons)");

SKIP: {
    skip 'ghostscript not installed', 1 unless grep { -x "$_/gs" } split /:/, $ENV{PATH};
    my $out = `gs -q -dBATCH -dNOPAUSE -sDEVICE=nullpage text.ps 2>&1`;
    is($?, 0, 'ghostscript reads the file') or diag($out);
}

done_testing();
