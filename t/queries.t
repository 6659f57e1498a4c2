# Queries from Perl: results, integer outputs and string outputs read back
# what the setters stored.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/lib";
use Test::More;
use KorvalTest;
use Korval;

enter_tempdir();

# Settings of any level, before korini.
Korval::window(10, 20, 300, 200);
my ($x, $y, $w, $h) = ('a') x 4;
Korval::getwin($x, $y, $w, $h);
is("$x $y $w $h", '10 20 300 200', 'getwin reports the window of window');
Korval::winsiz(400, 300);
Korval::getwin($x, $y, $w, $h);
is("$x $y $w $h", '0 0 400 300', '... and the size of winsiz');
is(Korval::getplv(), 0, 'getplv: patch level 0');
like(Korval::getdsp(), qr/^(NONE|X11 |WAYL)$/, 'getdsp names the display');
is(Korval::getdsp(), 'NONE', '... NONE without a display') unless $ENV{DISPLAY} || $ENV{WAYLAND_DISPLAY};

Korval::metafl('VIRT');
Korval::korini();
Korval::errmod('PROT', 'OFF');

Korval::height(48);
Korval::angle(45);
is(Korval::gethgt(), 48, 'gethgt');
is(Korval::getang(), 45, 'getang');
Korval::eushft('GERM', '!');
is(Korval::getshf('GERM'), '!', 'getshf: the operator of a language');
is(Korval::getshf('SPAN'), ' ', '... a blank without one');

Korval::dashl();
is(Korval::gettyp(), 7, 'gettyp');
Korval::colran(5, 99);
my ($c1, $c2);
Korval::getran($c1, $c2);
is("$c1 $c2", '5 99', 'getran');
Korval::shdpat(12);
is(Korval::getpat(), 12, 'getpat');

Korval::clpwin(50, 60, 700, 800);
my @clip = (0) x 4;
Korval::getclp(@clip);
is("@clip", '50 60 700 800', 'getclp gives what clpwin took');

Korval::marker(3);
Korval::hsymbl(44);
my ($nsym, $hsym);
Korval::getsym($nsym, $hsym);
is("$nsym $hsym", '3 44', 'getsym');

Korval::labels('EXP', 'X');
Korval::labels('LOG', 'Z');
my ($l1, $l2, $l3) = ('old', 'old', 'old');
Korval::getlab($l1, $l2, $l3);
is("$l1|$l2|$l3", 'EXP |FLOA|LOG ', 'getlab: string outputs of the three axes');
Korval::labdis(31, 'Y');
Korval::namdis(41, 'X');
my @d1 = (0) x 3;
my @d2 = (0) x 3;
Korval::getsp1(@d1);
Korval::getsp2(@d2);
is($d1[1], 31, 'getsp1: label distance of Y');
is($d2[0], 41, 'getsp2: name distance of X');

Korval::setres(6, 7);
my ($rw, $rh);
Korval::getres($rw, $rh);
is("$rw $rh", '6 7', 'getres');
Korval::vkxbar(1);
Korval::vkybar(2);
Korval::vkytit(3);
my @vk = (0) x 3;
Korval::getvk(@vk);
is("@vk", '1 2 3', 'getvk: bar x, bar y, title');
Korval::widbar(70);
is(Korval::getwid(), 70, 'getwid: width of the colour bar');
is(Korval::getbpp(), 8, 'getbpp: the picture of colour indices');
Korval::unit(0);
is(Korval::getuni(), 0, 'getuni after unit(0)');

# A constant cannot receive a result.
eval { Korval::getran(1, 2) };
like($@, qr/must be a variable/, 'output arguments must be variables');

Korval::korfin();
unlink 'korval.err';
done_testing;
