# Output formats, page formats, file names and versions, the metafile, the
# protocol fields and symfil.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/lib";
use Test::More;
use KorvalTest;
use Korval;

my $dir = enter_tempdir();
$ENV{SOURCE_DATE_EPOCH} = 0;

# The format table: keyword, default file name.
my %ext = (
    'CONS' => '   ', 'XWIN' => '   ', 'XWI3' => '   ', 'MET5' => '   ', 'TEKT' => 'tek', 'VT34' => '   ',
    'LN03' => 'ln3', 'VECM' => 'met', 'CGM ' => 'cgm', 'WMF ' => 'wmf', 'KYOC' => 'kyo', 'HPGL' => 'hpg',
    'HPA4' => 'hpg', 'HPA1' => 'hpg', 'POST' => 'psc', 'PSCL' => 'psc', 'EPS ' => 'eps', 'PS  ' => 'ps',
    'PDF ' => 'pdf', 'TIFF' => 'tif', 'IMAG' => 'img', 'PNG ' => 'png', 'PPM ' => 'ppm',
    'BMP ' => 'bmp', 'JAVA' => 'java', 'SVG ' => 'svg');
for my $k (sort keys %ext) {
    Korval::metafl(lc $k);
    is(Korval::getmfl(), $k, "metafl \L$k\E");
    is(Korval::getfil(), "korval.$ext{$k}", "default file of $k");
}
Korval::metafl('postscript');
is(Korval::getmfl(), 'POST', 'keywords count on four characters');

# Page formats and the page extent.
my %pages = (DA4L => [2970, 2100], DA0L => [11890, 8410], HP2L => [5340, 3360], KY4L => [2870, 2000],
             PS4L => [2800, 1950], USEL => [11180, 8640], DA4P => [2100, 2970], USAP => [2160, 2790]);
for my $p (sort keys %pages) {
    Korval::setpag($p);
    Korval::getpag(my $nx, my $ny);
    is("$nx $ny", "@{ $pages{$p} }", "setpag $p");
}
Korval::units('inch');
Korval::page(1100, 850);
Korval::getpag(my $nx, my $ny);
is("$nx $ny", '1100 850', 'page in inch units');
Korval::units('cm');
Korval::setpag('da4l');

# Bad keywords warn and change nothing.
my ($out) = run_script(<<'EOS');
Korval::metafl('ps');
Korval::metafl('xyz');
Korval::setpag('DA9L');
Korval::filmod('SOME');
print 'format ', Korval::getmfl(), "\n";
Korval::getpag(my $x, my $y);
print "page $x $y\n";
EOS
like($out, qr/Warning   2: Incorrect parameter in metafl!   \(xyz\)/, 'unknown format warns 2');
like($out, qr/Warning   2: Incorrect parameter in setpag!   \(DA9L\)/, 'unknown page warns 2');
like($out, qr/Warning   2: Incorrect parameter in filmod!/, 'unknown file mode warns 2');
like($out, qr/format PS  \npage 2970 2100\n/, 'nothing changed');
($out) = run_script(<<'EOS');
Korval::window(-5, 10, 100, 100);
Korval::winsiz(300, 0);
Korval::hwpage(0, 10);
Korval::sclfac(-1);
Korval::page(100, -3);
Korval::korini();
Korval::errmod('PROT', 'OFF');
Korval::clpwin(0, 0, 5000, 10);
Korval::origin(1, 1);
Korval::korfin();
print Korval::getlev(), "\n";
EOS
my $err = slurp('korval.err') // '';
like($out, qr/Warning   2: Incorrect parameter in window!   \(  -5\)/, 'window warns with the offending value');
like($out, qr/Warning   2: Incorrect parameter in winsiz!   \(   0\)/, 'winsiz warns');
like($out, qr/in hwpage!.*in sclfac!.*in page!   \(  -3\)/s, 'hwpage, sclfac, page warn');
like($err, qr/Warning   2: Incorrect parameter in clpwin!\n/, 'clpwin outside the page warns');
unlink 'korval.err';

# Versions: korval.ps and korval_1.ps exist, the new file is korval_2.ps.
sub ps_plot {
    my ($code) = @_;
    return run_script("Korval::metafl('ps'); $code Korval::korini(); Korval::line(0, 0, 100, 100); Korval::korfin();");
}
for my $f ('korval.ps', 'korval_1.ps') { open my $fh, '>', $f; print $fh "old\n"; }
($out) = ps_plot('');
ok(-s 'korval_2.ps', 'third version written');
like($out, qr/Vectors\s+: 2\n.*Fileformat\s+: PS  \n\s*Metafile\s+: korval_2\.ps/s, 'protocol names the version');
($out) = ps_plot("Korval::filmod('dele');");
like(slurp('korval.ps'), qr/\A%!PS/, 'DELE replaces the file');
my ($status);
($out, $status) = ps_plot("Korval::filmod('brea');");
like($out, qr/File korval\.ps does exist/, 'BREA reports the existing file');
isnt($status, 0, 'BREA does not end with success');
($out) = run_script(<<'EOS');
Korval::metafl('ps');
Korval::filmod('brea');
eval { Korval::korini() };
print "caught: $@";
print 'level ', Korval::getlev(), "\n";
EOS
like($out, qr/caught: File korval\.ps does exist.*\nlevel 0\n/s, 'BREA croaks and leaves level 0');

# A file that cannot be created: warning 36, no file named in the protocol.
($out) = run_script(<<'EOS');
Korval::metafl('eps');
Korval::setfil('missing/dir/plot.eps');
Korval::korini();
Korval::line(0, 0, 100, 100);
Korval::korfin();
EOS
like($out, qr/Warning  36: File error in korini!   \(missing\/dir\/plot\.eps\)/, 'file error warns 36');
unlike($out, qr/Metafile/, 'protocol claims no file');
ok(!-e 'missing', 'nothing created');

# The own metafile: header, operation records before their pairs, colours.
unlink 'korval.met';
($out) = run_script("Korval::korini(); Korval::line(0, 0, 2969, 2099); Korval::korfin();");
is(slurp('korval.met'),
   "      29.7      21.0\n"
   . "99.000000099.000000086.0000000 3.0000000 0.0000000 0.7069720 2.0000000 1.0000000\n"
   . " 0.0000000 3.0000000 0.0000000 0.7069720 9.0000000\n",
   'VECM records');
like($out, qr/Vectors\s+: 3\n.*Fileformat\s+: VECM/s, 'VECM protocol counts the final move');

# symfil: the command line handed to the print driver.
open my $drv, '>', 'kordrv' or die;
print $drv "#!/bin/sh\necho \"\$@\" > \"$dir/args\"\n";
close $drv;
chmod 0755, 'kordrv';
($out) = run_script(<<'EOS', PATH => "$dir:$ENV{PATH}");
Korval::metafl('ps');
Korval::symfil('kyoc', 'keep');
Korval::setfil('s.ps');
Korval::x11mod('nost');
Korval::korini();
Korval::korfin();
Korval::symfil('kyoc', 'odd');
Korval::symfil('none', 'dele');
Korval::symfil('hp', 'keep');
EOS
like($out, qr/Warning  21: The routine must be called after korfin in symfil/, 'symfil before korfin');
like($out, qr/Warning   2: Incorrect parameter in symfil!   \(ODD\)/, 'unknown option warns');
like($out, qr/Warning  22: The metafile is deleted before in symfil/, 'deleted file');
is(slurp('args'), "s.ps KYO1 KEEP rain REVERS -Q -NB\n", 'driver command line');
ok(!-e 's.ps', 'NONE/DELE removed the file');

done_testing();
