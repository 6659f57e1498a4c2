# Colour tables, named colours, colour selection and the HSV conversions.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/lib";
use Test::More;
use KorvalTest;
use Korval;

enter_tempdir();
Korval::filmod('DELE');

sub start {
    my ($format, %opt) = @_;
    Korval::metafl($format);
    Korval::setfil($opt{file} // 'out.dat');
    Korval::scrmod($opt{scrmod} // 'AUTO');
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
}

# Ends the plot; returns the warnings written into the error file.
sub finish {
    Korval::korfin();
    my $err = slurp('korval.err') // '';
    unlink 'korval.err';
    return $err;
}

sub rgb {
    my ($i) = @_;
    my ($r, $g, $b) = (0, 0, 0);
    Korval::getind($i, $r, $g, $b);
    return sprintf '%02X%02X%02X', map { int($_ * 255 + 0.5) } $r, $g, $b;
}

sub table_digest {
    my $s = 0;
    $s = ($s * 31 + hex rgb($_)) % 1000000007 for 0 .. 255;
    return $s;
}

sub named {
    my %n;
    for my $name (qw(WHIT RED GREE YELL BLUE ORAN CYAN MAGE BLAC FORE BACK)) {
        Korval::color($name);
        $n{$name} = Korval::getclr();
    }
    return join ' ', map { $n{$_} } qw(WHIT RED GREE YELL BLUE ORAN CYAN MAGE BLAC FORE BACK);
}

# Default tables and starting colours per format.
start('VECM');
is(Korval::getvlt(), 'RAIN', 'VECM starts with RAIN');
is(Korval::getclr(), 255, '... and colour 255');
is(rgb(255), 'FFFFFF', '... which is white');
is(table_digest(), 475981992, 'the stored rainbow table, all 256 entries');
is(join(' ', map { rgb($_) } 0, 1, 30, 57, 96, 131, 138, 192, 200, 254),
    '000000 220044 0000FF 0068FF 00FFFF 00FF3B 00FF00 FFFF00 FFDD00 FF0000', 'rainbow entries');
is(named(), '255 254 138 192 30 223 96 13 0 255 0', 'named colours of RAIN');
Korval::setvlt('SPEC');
is(table_digest(), 362187023, 'the stored spectrum table');
is(join(' ', map { rgb($_) } 0, 1, 39, 52, 102, 115, 153, 191, 204, 254, 255),
    '000000 FF00FF 3F00FF 0000FF 00FFFF 00FFBE 00FF00 C1FF00 FFFF00 FF0000 FFFFFF', 'spectrum entries');
is(named(), '255 254 154 205 53 235 103 1 0 255 0', 'named colours of SPEC');
Korval::setvlt('GREY');
is(join(' ', map { rgb($_) } 0, 77, 255), '000000 4D4D4D FFFFFF', 'grey ramp');
is(named(), '255 230 185 150 95 215 175 110 255 255 0', 'named colours of GREY');
Korval::setvlt('TEMP');
is(join(' ', map { rgb($_) } 0, 100, 150, 200, 255), '000000 AA0000 FF3900 FF9727 FFFFFF', 'TEMP formula');
is(Korval::getvlt(), 'TEMP', 'TEMP has its own name');
is(named(), '255 254 138 192 30 223 96 13 0 255 0', 'TEMP names as RAIN');
Korval::setvlt('RRAIN');
is(join(' ', map { rgb($_) } 0, 1, 254, 255), 'FFFFFF FF0000 220044 000000', 'reversed rainbow');
is(Korval::getvlt(), 'RRAIN', 'name of the reversed rainbow');
is(named(), '255 1 117 63 225 32 159 242 0 255 0', 'reversed names: 255 minus the index, WHIT and BLAC kept');
Korval::setvlt('RSPE');
is(rgb(1), 'FF0000', 'reversed spectrum');
Korval::setvlt('RGRE');
is(rgb(0) . ' ' . Korval::getvlt(), 'FFFFFF RGREY', 'reversed grey');
Korval::setvlt('SMAL');
is(join(' ', map { rgb($_) } 0 .. 8), '000000 FFFFFF FF0000 00FF00 0000FF FFFF00 FF5500 00FFFF FF00FF',
    'the small table');
is(rgb(9), 'F6F6F6', 'entries beyond 8 keep the values of the table before (RGRE)');
is(Korval::getvlt() . ' ' . Korval::getclr(), 'SMALL 1', 'SMALL starts with 1');
is(named(), '1 2 3 5 4 6 7 8 1 1 0', 'named colours of SMAL');
Korval::setvlt('VGA');
is(join(' ', map { rgb($_) } 0, 1, 6, 8, 15), '000000 0000AA AA5500 555555 FFFFFF', 'VGA colours');
is(Korval::getvlt() . ' ' . Korval::getclr(), 'VGA 15', 'VGA starts with 15');
is(named(), '15 4 2 14 1 12 3 5 0 15 0', 'named colours of VGA');
Korval::setvlt('NONE');
is(Korval::getvlt(), 'VGA', 'an unknown table changes nothing');
like(finish(), qr/Warning   2: Incorrect parameter in setvlt!   \(NONE\)/, 'and warns with the key');

# The paper formats.
start('POST');
is(Korval::getvlt() . ' ' . Korval::getclr() . ' ' . rgb(255), 'RGREY 255 000000',
    'POST: reversed grey, colour 255 is black');
is(named(), '255 25 70 105 160 40 80 145 255 255 0', 'POST with RGRE: the other rules');
Korval::setvlt('RAIN');
is(Korval::getclr(), 0, 'POST with RAIN starts with 0');
is(named(), '255 254 138 192 30 223 96 13 0 0 255', '... FORE 0, BACK 255');
Korval::setvlt('SMAL');
is(rgb(0) . ' ' . rgb(1), 'FFFFFF 000000', 'POST exchanges entries 0 and 1 of SMAL');
Korval::setvlt('VGA');
is(rgb(0) . ' ' . rgb(15), 'FFFFFF 000000', '... and 0 and 15 of VGA');
finish();

start('CGM', file => 'x.cgm');
is(Korval::getclr(), 0, 'CGM with RAIN starts with 0');
Korval::color('WHIT');
is(Korval::getclr(), 0, 'CGM: WHIT is index 0');
Korval::setvlt('RRAI');
Korval::color('WHIT');
is(Korval::getclr(), 255, '... but not for the reversed table');
finish();

start('JAVA', file => 'x.java');
is(named(), '255 254 138 192 30 223 96 13 0 0 255', 'JAVA: FORE 0 and BACK 255 with RAIN');
finish();

# Reversed background mode: EPS on white paper, PSCL black.
start('EPS', file => 'x.eps');
is(rgb(0) . ' ' . rgb(255) . ' ' . Korval::getclr(), 'FFFFFF 000000 255', 'EPS: entries 0 and 255 exchanged');
Korval::setvlt('SMAL');
is(rgb(0) . ' ' . rgb(1), 'FFFFFF 000000', 'EPS with SMAL: 0 and 1 exchanged');
finish();
start('PSCL', file => 'x.psc');
is(rgb(0) . ' ' . rgb(255), '000000 FFFFFF', 'PSCL keeps the table');
finish();
start('PSCL', file => 'y.psc', scrmod => 'REVERS');
is(rgb(0) . ' ' . rgb(255), 'FFFFFF 000000', 'PSCL with REVERS');
finish();

# setrgb: the nearest entry, the first of equal ones.
start('VECM');
Korval::setrgb(1, 1, 1);
is(Korval::getclr(), 255, 'white is 255 in RAIN');
Korval::setrgb(0, 1, 0.95);
is(Korval::getclr(), 100, 'nearest by the sum of differences');
Korval::setvlt('SMAL');
Korval::setrgb(1, 1, 1);
is(Korval::getclr(), 1, 'white is 1 in SMAL');
Korval::setrgb(1, 0.3, 0);
is(Korval::getclr(), 6, 'orange');
Korval::setind($_, 1, 1, 1) for 0 .. 8;
Korval::setind(4, 0.4, 0.4, 0.4);
Korval::setind(6, 0, 0, 0);
Korval::setrgb(0.2, 0.2, 0.2);
is(Korval::getclr(), 4, 'equally near entries: the lower index');
Korval::setind(4, 0, 0, 0);
Korval::setind(6, 0.4, 0.4, 0.4);
Korval::setrgb(0.2, 0.2, 0.2);
is(Korval::getclr(), 4, '... whichever is darker');
Korval::setind(20, 0, 0, 0);
Korval::setrgb(0, 0, 0);
is(Korval::getclr(), 4, 'SMAL searches only the first 9 entries');
Korval::setind(2, 1, 0, 0);
Korval::setrgb(1.0005, -0.0005, 0);
is(Korval::getclr(), 2, 'components within 0.001 of the range are accepted');
Korval::setrgb(1.5, 0, 0);
is(Korval::getclr(), 2, 'a component out of range changes nothing');
Korval::setclr(7);
Korval::setclr(256);
is(Korval::getclr(), 7, 'setclr(256) keeps the colour');
Korval::setclr(-1);
Korval::setind(300, 0, 0, 0);
Korval::setind(3, 0, 1, 0);
Korval::setind(3, 0, 2, 0);
is(rgb(3), '00FF00', 'setind with a bad component changes nothing');
my ($r, $g, $b) = (9, 9, 9);
Korval::getrgb($r, $g, $b);
is("$r $g $b", '1 1 1', 'getrgb reports entry 0');
Korval::colran(10, 20);
Korval::colran(10, 256);
Korval::clrcyc(1, 5);
Korval::clrcyc(31, 5);
Korval::clrcyc(1, 256);
Korval::lincyc(30, 7);
Korval::lincyc(0, 1);
Korval::lincyc(1, 8);
my $err = finish();
like($err, qr/1\.5000\)/, 'setrgb warns with the value');
my @w = $err =~ /Warning   2: Incorrect parameter in (\w+)!   \(\s*([-\d.]+)\)/g;
is_deeply(\@w, [qw(setrgb 1.5000 setclr 256 setclr -1 setind 300 setind 2.0000 colran 256 clrcyc 31
    clrcyc 256 lincyc 0 lincyc 8)], 'each bad value warns once with the value');

# User tables before and after korini.
Korval::myvlt([1, 0], [0, 1], [0, 0], 2);
start('VECM');
is(join(' ', map { rgb($_) } 0, 1, 2), 'FF0000 00FF00 FF0000',
    'myvlt before korini replaces the first table; entry 2 is still that of the last table');
is(Korval::getvlt(), 'RAIN', '... under the default name');
Korval::myvlt([0.5], [0.5], [0.5], 1);
is(rgb(0), '808080', 'myvlt after korini');
Korval::myvlt([0.5], [2], [0.5], 1);
Korval::myvlt([0.5], [0.5], [0.5], 0);
is(rgb(0), '808080', 'bad user tables change nothing');
like(finish(), qr/myvlt!   \(2\.0000\).*myvlt!   \(   0\)/s, 'myvlt warns with the value');
start('VECM');
is(rgb(0), '000000', 'the next korini loads the default again');
finish();

# HSV conversions.
sub hsv { my @o = (0, 0, 0); Korval::hsvrgb(@_, @o); return join ' ', map { sprintf '%.4f', $_ } @o }
sub rgbhsv { my @o = (0, 0, 0); Korval::rgbhsv(@_, @o); return join ' ', map { sprintf '%.4f', $_ } @o }
is(hsv(360, 1, 1), '1.0000 0.0000 0.0000', 'hsvrgb(360, 1, 1) is red');
is(hsv(0, 1, 1), '1.0000 0.0000 0.0000', 'hue 0 is red');
is(hsv(120, 1, 1), '0.0000 1.0000 0.0000', 'hue 120 is green');
is(hsv(200, 0.5, 0.8), '0.4000 0.6667 0.8000', 'a sector 3 colour');
is(hsv(300, 1, 0.5), '0.5000 0.0000 0.5000', 'magenta, half value');
is(hsv(77, 0, 0.3), '0.3000 0.3000 0.3000', 'no saturation is grey');
is(rgbhsv(0, 1, 0), '120.0000 1.0000 1.0000', 'rgbhsv of green');
is(rgbhsv(0.3, 0.3, 0.3), '0.0000 0.0000 0.3000', 'rgbhsv of a grey');
is(rgbhsv(1, 0, 0), '360.0000 1.0000 1.0000', 'pure red gives 360');
is(rgbhsv(0, 0, 0), '0.0000 0.0000 0.0000', 'black');
is(rgbhsv(0.4, 2 / 3, 0.8), '200.0000 0.5000 0.8000', 'back from sector 3');
my $round = 0;
for my $h (10, 70, 130, 190, 250, 310) {
    my @rgb = (0, 0, 0);
    Korval::hsvrgb($h, 0.7, 0.9, @rgb);
    my @back = (0, 0, 0);
    Korval::rgbhsv(@rgb, @back);
    $round++ if abs($back[0] - $h) < 0.01 && abs($back[1] - 0.7) < 1e-4 && abs($back[2] - 0.9) < 1e-4;
}
is($round, 6, 'round trips through every sector');
my ($out) = run_script(q{my @o = (0, 0, 0); Korval::hsvrgb(361, 1, 1, @o); Korval::rgbhsv(0, 1.1, 0, @o);
    print "@o\n";});
like($out, qr/Warning   2: Incorrect parameter in hsvrgb!   \(361\.0000\)/, 'hsvrgb checks the hue');
like($out, qr/Warning   2: Incorrect parameter in rgbhsv!   \(1\.1000\)/, 'rgbhsv checks the components');

# Colour records in the metafile and colours in PostScript.
start('VECM', file => 'c.met');
Korval::setclr(5);
Korval::line(0, 0, 10, 10);
Korval::setclr(5);
Korval::setclr(0);
Korval::setclr(178);
finish();
(my $met = slurp('c.met')) =~ s/\n//g;
my @rec = map { substr($met, 20 + 10 * $_, 10) } 0 .. int((length($met) - 20) / 10) - 1;
my @colours = grep { /^(99|\s?\d)\S*\.0000000$/ && !/^ [23]\./ } @rec;
is_deeply([@rec[0 .. 1]], ['99.0000000', '99.0000000'], 'starting colour 255: two records 99 ...');
like($met, qr/99\.000000099\.000000086\.0000000/, '... then 255 - 178 + 9 = 86');
like($met, qr/14\.0000000 3\.0000000/, 'setclr(5) writes 14 before the line');
like($met, qr/99\.000000099\.000000087\.000000099\.000000098\.0000000 3\.0000000 0\.0000000 0\.7069720 9\.0000000$/,
    'colour 0 as 256, 178 as 89 + 89; a repeated colour is not written again');

start('POST', file => 'c.ps');
Korval::setvlt('RAIN');
Korval::color('RED');
Korval::line(0, 0, 100, 100);
Korval::setrgb(0, 0, 1);
Korval::line(0, 0, 100, 100);
finish();
my $ps = slurp('c.ps');
like($ps, qr/scale\n0 0 0 f 0 0 0 f 255 0 0 f 0 0 u 186 186 d p 0 0 255 f 0 0 u 186 186 d p \nshowpage/,
    'PostScript colours as RGB before the lines');
done_testing();
