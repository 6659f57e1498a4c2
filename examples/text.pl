# The fonts and text features of Korval, written to text.ps.
use strict;
use warnings;
use Korval;

Korval::metafl('POST');
Korval::setfil('text.ps');
Korval::korini();
Korval::errmod('PROT', 'OFF');
Korval::height(40);

my $y = 100;
for my $font (qw(koralf simplx complx duplx triplx helve helves serif)) {
    no strict 'refs';
    &{"Korval::$font"}();
    Korval::messag("$font: The quick brown fox jumps over the lazy dog 0123456789", 100, $y);
    $y += 80;
}

Korval::complx();
Korval::basalf('GREE');
Korval::messag('ABGDEZHQIKLMNXOPRSTUFCYW abgdezhqiklmnxoprstufcyw', 100, $y);
$y += 80;
Korval::basalf('STAN');

# alphabet shifts, national characters, exponents and indices
Korval::smxalf('SCRI', '<', '>', 1);
Korval::smxalf('INST', '{', '}', 2);
Korval::eushft('GERM', '!');
Korval::mixalf();
Korval::messag('<Script> and Gr!o!se, Stra!se; E = mc[2$, a]i,j$', 100, $y);
$y += 80;
Korval::messag('Underlined{L}{P2}, {H0.6}smaller{R}, {U0.5}raised{R} and struck{V2} text', 100, $y);
$y += 120;

Korval::txtjus('CENT');
Korval::frmess(2);
Korval::messag('Centred in a frame', 1485, $y);
Korval::frmess(0);
Korval::txtjus('LEFT');

Korval::helve();
Korval::angle(30);
Korval::messag('Rotated by 30 degrees', 1900, 1950);
Korval::angle(0);
Korval::koralf();
Korval::number(1234.5678, 2, 100, 1950);
Korval::korfin();
