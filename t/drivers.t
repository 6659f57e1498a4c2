# CGM, WMF, HPGL, Prescribe and Java applet output from Perl: the files,
# their settings, the warnings, the protocol, and the third-party readers.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/lib";
use Test::More;
use KorvalTest;
use Korval;

enter_tempdir();

sub have { my ($tool) = @_; return system("command -v $tool >/dev/null 2>&1") == 0 }

sub plot {
    my ($format, $file, $draw, %opt) = @_;
    Korval::metafl($format);
    Korval::setfil($file);
    Korval::filmod('DELE');
    Korval::setpag($opt{page} // 'DA4L');
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    $draw->() if $draw;
    Korval::korfin();
    return slurp($file);
}

sub chart {
    Korval::pagera();
    Korval::graf(0, 10, 0, 2, 0, 10, 0, 2);
    Korval::setclr(50);
    Korval::curve([1, 2, 3, 8], [1, 5, 2, 9], 4);
    Korval::shdpat(16);
    Korval::setclr(200);
    Korval::pie(1000, 1000, 200, 0, 90);
    Korval::endgrf();
}

# CGM settings reach the file; misuse at level 1 is reported.
Korval::cgmver(4);
Korval::cgmpic('Flow chart');
Korval::cgmbgd(0, 0.5, 1);
my $cgm = plot('cgm', 'a.cgm', sub {
    chart();
    Korval::cgmver(1);          # level 0 only
    Korval::cgmbgd(1.5, 0, 0);  # out of range
    Korval::newpag();
    Korval::pagera();
});
is(length($cgm) % 80, 0, 'CGM: whole 80-byte records');
is(substr($cgm, 0, 2), "\x00\x3F", 'CGM: BEGIN METAFILE first');
like($cgm, qr/"ProfileId:WebCGM"/, 'CGM: version 4 profile');
is(() = $cgm =~ /\x0aFlow chart/g, 2, 'CGM: two pictures with the given name');
like($cgm, qr/\x20\xE4\x00\x80\xFF\x00/, 'CGM: background colour');
like($cgm, qr/\x20\x26\x00\x01\x3D\x4C\xCC\xC8/, 'CGM: scaling mode of version 4');
like(slurp('korval.err'),
     qr/Warning   3: Incorrect level in cgmver!.*\n.*Warning   2: Incorrect parameter in cgmbgd!/,
     'CGM: level and range warnings');
Korval::cgmver(1);
Korval::cgmpic('');
Korval::cgmbgd(1, 1, 1);

# Pages too large for the 16-bit formats, and a file that cannot be
# created: warned while korini starts the device, before the error file.
my ($warned) = run_script(<<'EOF');
Korval::setpag('DA0L');
Korval::sclmod('FULL');
Korval::sclfac(2);
for my $f (['CGM', 'big.cgm'], ['HPGL', 'big.hpg'], ['CGM', 'no/such/dir.cgm']) {
    Korval::metafl($f->[0]); Korval::setfil($f->[1]); Korval::filmod('DELE');
    Korval::korini(); Korval::errmod('PROT', 'OFF'); Korval::pagera(); Korval::korfin();
}
EOF
like($warned, qr/Warning  39: Too many pages for CGM file \(max\. length 327 cm\) in korini!/,
     'CGM: warning 39 for a page beyond 16-bit coordinates');
like($warned, qr/Warning  41: Incorrect device for HPGL file in korini!/, 'HPGL: warning 41');
like($warned, qr{Warning  36: File error in korini!   \(no/such/dir\.cgm\)}, 'file error warns 36');
is(length(slurp('big.cgm')) % 80, 0, 'the large CGM file is still whole');

# HPGL through hp2xx.
my $hpgl = plot('hpgl', 'a.hpg', \&chart);
like($hpgl, qr/\A SP1;\n/, 'HPGL header');
like($hpgl, qr/PU0,0;\n\z/, 'HPGL end');
unlike($hpgl, qr/[^\n] /, 'HPGL: no blanks in commands');
SKIP: {
    skip 'hp2xx is not installed', 1 unless have('hp2xx');
    system('hp2xx -q -m png -f a.png a.hpg >/dev/null 2>&1');
    is(substr(slurp('a.png') // '', 1, 3), 'PNG', 'hp2xx renders the HPGL file');
}

# Prescribe and the Java applet.
like(plot('kyoc', 'a.kyo', \&chart), qr/\A!R! UNIT C;SPO L;SLM 0;SRM 28\.7;STM 0;SBM 20;UNIT D;.*RES;EXIT;\n\z/s,
     'Prescribe header and end');
like(plot('java', 'plot.java', \&chart), qr/^public class plot extends Applet \{\npublic void paint\(Graphics g\) \{\n/m,
     'Java: the class is named after the file');

# WMF with the placeable header, read by wmf2svg.
Korval::wmfmod('PLAC', 'FORM');
my $wmf = plot('wmf', 'a.wmf', \&chart);
Korval::wmfmod('STAN', 'FORM');
is(substr($wmf, 0, 4), "\xD7\xCD\xC6\x9A", 'WMF: placeable key');
is(substr($wmf, 22, 6), "\x01\x00\x09\x00\x00\x03", 'WMF: metafile header after it');
SKIP: {
    skip 'wmf2svg is not installed', 1 unless have('wmf2svg');
    system('wmf2svg -o a.svg a.wmf >/dev/null 2>&1');
    like(slurp('a.svg') // '', qr/<polygon/, 'wmf2svg reads the WMF file');
}

# Including files: a metafile into a quarter of the page, and files that
# cannot be included.
plot('vecm', 'src.met', \&chart);
my $cgm_src = plot('cgm', 'src.cgm', \&chart);
open my $fh, '>:raw', 'cut.cgm' or die;
print $fh substr($cgm_src, 0, 400);
close $fh;
open $fh, '>:raw', 'fake.png' or die;
print $fh "\x89PNG\r\n\x1a\n";
close $fh;
open $fh, '>', 'cut.met' or die;
print $fh "      29.7      21.0\n 3.0000000 0.1000000 0.1000000\n";
close $fh;
my $inc = plot('vecm', 'inc.met', sub {
    Korval::filbox(0, 0, 1485, 1050);
    Korval::incfil('src.met');
    Korval::filbox(1485, 0, 1485, 1050);
    Korval::incfil('src.cgm');
    Korval::incfil('a.hpg');
    Korval::incfil('cut.met');
    Korval::incfil('cut.cgm');
    Korval::incfil('missing.met');
    Korval::incfil('fake.png');
    Korval::filbox(0, 0, 5000, 10);
});
my $err = slurp('korval.err');
like($err, qr/Warning 101: The VECMET file is not complete! in incfil!/, 'incfil: truncated metafile');
like($err, qr/Warning 101: Unexpected end of CGM file in incfil!/, 'incfil: truncated CGM');
like($err, qr/Warning  36: File error in incfil!   \(missing\.met\)/, 'incfil: missing file');
is(() = $err =~ /Warning  56: Incorrect file format in incfil!/g, 2, 'incfil: HPGL and PNG are not included');
like($err, qr/Warning   2: Incorrect parameter in filbox!/, 'filbox: box beyond the page');
ok(length($inc) > 2 * length(slurp('src.met')) - 200, 'both files drawn');

# A BMP picture embedded in PostScript keeps its own size and covers only
# its box, not what was drawn before.
plot('bmp', 'src.bmp', \&chart);
my $ps = plot('ps', 'inc.ps', sub {
    Korval::filbox(100, 100, 1400, 1000);
    Korval::incfil('src.bmp');
});
like($ps, qr{/picstr 2559 string def gsave}, 'PostScript: a picture of the BMP\'s 853 pixels');
like($ps, qr{scale 853 603 8 \[853 0 0 -603 0 603\]}, 'PostScript: 853 x 603 pixels');

# The protocol names each format and counts its vectors.
my ($out) = run_script(<<'EOF');
for my $f ('CGM', 'WMF', 'KYOC', 'HPA3', 'JAVA') {
    Korval::metafl($f); Korval::filmod('DELE'); Korval::korini(); Korval::pagera(); Korval::korfin();
}
EOF
my @formats = $out =~ /Fileformat\s*: (.{4})/g;
is_deeply(\@formats, ['CGM ', 'WMF ', 'KYOC', 'HPA3', 'JAVA'], 'protocol format fields');
my @vectors = $out =~ /Vectors\s*: (\d+)/g;
is_deeply(\@vectors, [6, 6, 5, 5, 5], 'protocol vector counts (the metafiles end with a pen move)');
like($out, qr/Metafile\s*: korval\.cgm/, 'default CGM file name');

done_testing();
