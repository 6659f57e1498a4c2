# Drawing labelled axis systems: rendered by ghostscript and sampled.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(in_tempdir slurp);
use Korval;

my $gs = `which gs 2>/dev/null`;
plan skip_all => 'ghostscript is not installed' unless $gs;
in_tempdir();

# Renders an EPS file to a greyscale PGM at 36 dpi and returns
# (width, height, pixel bytes).
sub render {
    my ($file) = @_;
    system("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r36 -sOutputFile=out.pgm $file 2>gs.err") == 0
        or return;
    my $data = slurp('out.pgm');
    $data =~ s/\AP5\s+(?:#[^\n]*\n\s*)*(\d+)\s+(\d+)\s+255\s//s or return;
    return ($1, $2, $data);
}

sub ink {    # dark pixels in a rectangle of the rendered page
    my ($w, $h, $px, $x0, $y0, $x1, $y1) = @_;
    my $n = 0;
    for my $y ($y0 .. $y1) {
        for my $x ($x0 .. $x1) {
            $n++ if ord(substr($px, $y * $w + $x, 1)) < 128;
        }
    }
    return $n;
}

sub plot {
    my ($file, $code) = @_;
    Korval::metafl('PS');
    Korval::setfil($file);
    Korval::filmod('DELE');
    Korval::pagmod('NONE');    # keep the page upright on the paper
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    $code->();
    Korval::korfin();
}

subtest 'a labelled box' => sub {
    plot('box.ps', sub {
        Korval::name('Name of X', 'X');
        Korval::titlin('Title line', 2);
        Korval::graf(0, 10, 0, 2, 0, 5, 0, 1);
        Korval::title();
    });
    my ($w, $h, $px) = render('box.ps');
    ok($w, 'ghostscript renders the file') or return diag(slurp('gs.err'));
    is(slurp('korval.err'), undef, 'no warnings');
    cmp_ok(ink($w, $h, $px, 0, 0, $w - 1, $h - 1), '>', 500, 'there is a drawing');
};

subtest 'standalone axes and log labels' => sub {
    plot('alone.ps', sub {
        Korval::xaxis(0, 100, 0, 20, 1500, 'Linear', 0, 300, 800);
        Korval::xaxlg(-2, 2, -2, 1, 1500, 'Logarithmic', 0, 300, 1400);
        Korval::yaxis(0, 1, 0, 0.25, 600, 'Y', 1, 2200, 1400);
    });
    my ($w, $h, $px) = render('alone.ps');
    ok($w, 'rendered') or return diag(slurp('gs.err'));
    cmp_ok(ink($w, $h, $px, 0, 0, $w - 1, $h - 1), '>', 300, 'axes are drawn');
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    Korval::xaxis(0, 0, 0, 1, 1500, '', 0, 300, 800);
    Korval::xaxis(0, 10, 20, 1, 1, '', 0, 300, 800);
    Korval::korfin();
    like(slurp('korval.err'), qr/Warning  10: Begin and end of scaling are equal in xaxis!/, 'warning 10');
    like(slurp('korval.err'), qr/Warning  11: Axis length < 2 in xaxis!.*\n.*Warning  12: Startlabel out of scaling in xaxis!/s,
         'warnings 11 and 12') or diag slurp('korval.err');
};

subtest 'queries of the drawn system' => sub {
    in_tempdir();
    Korval::korini();
    Korval::errmod('PROT', 'OFF');
    Korval::origin(10, 20);
    my ($a, $b) = (0, 0);
    Korval::getor($a, $b);
    is_deeply([$a, $b], [10, 20], 'getor returns the origin shift');
    Korval::ticks(5, 'XY');
    Korval::ticlen(30, 10);
    my ($t1, $t2, $t3) = (0, 0, 0);
    Korval::gettic($t1, $t2, $t3);
    is_deeply([$t1, $t2, $t3], [5, 5, 2], 'gettic');
    Korval::gettcl($t1, $t2);
    is_deeply([$t1, $t2], [30, 10], 'gettcl');
    Korval::reset('TICL');
    Korval::gettcl($t1, $t2);
    is_deeply([$t1, $t2], [24, 16], 'reset TICL');
    Korval::mylab('one', 1, 'X');
    Korval::mylab('uno', 1, 'X');
    Korval::korfin();
    like(slurp('korval.err'), qr/Warning   6: Same tick number as in a call before in mylab!   \(   1\)/,
         'replacing a user label warns 6');
};

done_testing;
