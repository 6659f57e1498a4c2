# Quick plots and the smaller drawing routines from Perl: each quick plot is
# one call from the script to a finished file, and ends at level 0.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(in_tempdir run_script slurp);
use Korval;

in_tempdir();

my @x = map { $_ * 0.1 } 0 .. 60;
my @y = map { sin($_) } @x;
my ($nx, $ny) = (12, 9);
my @z;
for my $i (0 .. $nx - 1) { push @z, map { sin($i / 3) * cos($_ / 2) } 0 .. $ny - 1 }

sub png_size {
    my ($name) = @_;
    my $data = slurp($name) // return 0;
    return substr($data, 0, 8) eq "\x89PNG\r\n\x1a\n" ? length($data) : 0;
}

subtest 'every quick plot writes a complete file and ends at level 0' => sub {
    my %calls = (
        qplot  => sub { Korval::qplot(\@x, \@y, scalar @x) },
        qplsca => sub { Korval::qplsca(\@x, \@y, scalar @x) },
        qplbar => sub { Korval::qplbar([3, 1, 4, 1, 5], 5) },
        qplpie => sub { Korval::qplpie([1, 2, 3], 3) },
        qplcon => sub { Korval::qplcon(\@z, $nx, $ny, 5) },
        qplclr => sub { Korval::qplclr(\@z, $nx, $ny) },
        qplsur => sub { Korval::qplsur(\@z, $nx, $ny) },
    );
    for my $name (sort keys %calls) {
        Korval::metafl('PNG');
        Korval::setfil("$name.png");
        $calls{$name}->();
        is(Korval::getlev(), 0, "$name ends at level 0");
        cmp_ok(png_size("$name.png"), '>', 2000, "$name wrote a picture with a plot in it");
    }
};

subtest 'quick plots from a script: warnings, screen default, NaN data' => sub {
    my ($out, $err, $status) = run_script(<<'EOS');
use Korval;
Korval::metafl('PNG'); Korval::setfil('bars.png');
Korval::qplbar([map { $_ % 9 } 1 .. 150], 150);
Korval::metafl('PNG'); Korval::setfil('con0.png');
my @z = map { $_ % 7 } 1 .. 64;
Korval::qplcon(\@z, 8, 8, 0);
Korval::metafl('PNG'); Korval::setfil('con1.png');
Korval::qplcon(\@z, 8, 8, 1);
Korval::metafl('PNG'); Korval::setfil('nan.png');
Korval::qplot([0, 1, 'nan', 3], [1, 'inf', 2, 0], 4);
print "level ", Korval::getlev(), "\n";
EOS
    is($status, 0, 'the script runs to its end');
    like($out, qr/Warning 101: too many points in qplbar in qplbar!/, 'more than 100 bars warn 101');
    like($out, qr/Warning 101: bad number of levels in qplcon in qplcon!/, 'nlev 0 warns 101');
    like($out, qr/level 0/, 'level 0 at the end');
    ok(-s 'bars.png' && -s 'con0.png' && -s 'con1.png' && -s 'nan.png', 'all files written');

    # Without metafl the plot goes to the screen: headless, it draws nothing
    # and still ends at level 0.
    ($out, $err, $status) = run_script(<<'EOS', env => { DISPLAY => '', WAYLAND_DISPLAY => '' });
use Korval;
Korval::qplot([1, 2, 3], [3, 1, 2], 3);
print "format ", Korval::getmfl(), " level ", Korval::getlev(), "\n";
EOS
    is($status, 0, 'a screen quick plot without a display returns');
    like($out, qr/format CONS level 0/i, 'the screen format was chosen');
};

subtest 'a quick plot inside an open axis system goes on there' => sub {
    my ($out, $err, $status) = run_script(<<'EOS');
use Korval;
Korval::metafl('PNG'); Korval::setfil('inside.png');
Korval::korini();
Korval::graf(0, 4, 0, 1, 0, 4, 0, 1);
Korval::qplot([1, 2, 3], [3, 1, 2], 3);
print "level ", Korval::getlev(), "\n";
EOS
    is($status, 0, 'the script runs to its end');
    # korini from Perl writes the warnings into the error file
    like(slurp('korval.err') // '', qr/Warning   3: Incorrect level in graf!/, 'graf reports the level');
    like($out, qr/level 0/, 'korfin still ends the plot');
    ok(-s 'inside.png', 'the picture is written');
};

subtest 'pen routines and the base transformation from Perl' => sub {
    Korval::metafl('PNG');
    Korval::setfil('pen.png');
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    Korval::graf(0, 10, 0, 2, 0, 10, 0, 2);
    Korval::rline(0, 0, 10, 10);
    Korval::rlstrt(0, 10);
    Korval::rlconn(10, 0);
    Korval::endgrf();
    Korval::trfrot(30, 1500, 1000);
    Korval::trfscl(0.5, 0.5);
    Korval::trfshf(100, 0);
    Korval::rectan(1000, 700, 1000, 600);
    Korval::trfres();
    Korval::strtpt(100, 100);
    Korval::xdraw(400, 100);
    Korval::xjdraw(400, 400, 2);
    Korval::xmove(100, 400);
    Korval::chnatt();
    Korval::line(100, 500, 400, 500);
    Korval::resatt();
    Korval::korfin();
    cmp_ok(png_size('pen.png'), '>', 1000, 'picture written');
    is(Korval::getlev(), 0, 'level 0 after korfin');
};

subtest 'labels, shading, text settings and TIFF files from Perl' => sub {
    Korval::clrmod('FULL');
    Korval::metafl('TIFF');
    Korval::setfil('page.tif');
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    Korval::revscr();
    Korval::setbas(0.5);
    Korval::setexp(0.7);
    Korval::expzlb('OFF');
    Korval::labels('EXP', 'Y');
    Korval::graf(0, 4, 0, 1, -2, 2, -2, 1);
    Korval::shdpat(16);
    Korval::shdcrv([0, 2, 4], [0, 1, 0], 3, [0, 4], [-1, -1], 2);
    Korval::addlab('mid', 2, 1, 'X');
    Korval::endgrf();
    Korval::helve();
    Korval::shdcha();
    Korval::messag('Shaded', 200, 1800);
    Korval::nofill();
    Korval::messag('Open', 1200, 1800);
    Korval::paghdr('Run', 'end', 4, 0);
    Korval::korfin();
    Korval::clrmod('NORMAL');
    my $tif = slurp('page.tif') // '';
    is(substr($tif, 0, 4), "II*\0", 'a TIFF file is written');

    Korval::metafl('PNG');
    Korval::setfil('back.png');
    Korval::tiforg(10, 10);
    Korval::tifwin(0, 0, 200, 100);
    Korval::errfil('wtiff.err');
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    Korval::wtiff('page.tif');
    Korval::wtiff('missing.tif');
    Korval::korfin();
    Korval::tiforg(0, 0);
    Korval::tifwin(0, 0, 0, 0);
    like(slurp('wtiff.err') // '', qr/Warning  36: .* in wtiff!/, 'a missing file warns 36');
    cmp_ok(png_size('back.png'), '>', 1000, 'the TIFF part shows in the picture');
};

done_testing;
