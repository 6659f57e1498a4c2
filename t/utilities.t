# The data utilities from Perl: arrays written back and filled, strings,
# binary files and the vector field.
use strict;
use warnings;
use Test::More;
use FindBin;
use lib "$FindBin::Bin/lib";
use KTest qw(in_tempdir slurp);
use Korval;

in_tempdir();

# Sorting writes back the whole array; elements beyond the count stay.
my @x = (3, 1, 2, 0, -5);
Korval::sortr1(\@x, 3, 'ascending');
is("@x", '1 2 3 0 -5', 'sortr1 sorts the first n elements');
my @a = (2, 1);
my @b = (20, 10);
Korval::sortr2(\@a, \@b, 2, 'A');
is("@a @b", '1 2 10 20', 'sortr2 moves the pairs');

my (@xh, @yh);
is(Korval::histog([3, 1, 3, 2], 4, \@xh, \@yh), 3, 'histog returns the number of classes');
is("@xh / @yh", '1 2 3 / 1 1 2', 'histog fills exactly that many elements');
is(Korval::moment([1, 2, 3, 6], 4, 'MEAN'), 3, 'moment returns the statistic');

my (@bx, @by) = ();
Korval::bezier([0, 1, 2], [0, 2, 0], 3, \@bx, \@by, 3);
is("@bx / @by", '0 1 2 / 0 1 0', 'bezier fills npt points');
my @keep = (7);
Korval::bezier([0, 1], [0, 1], 2, \@keep, \@by, 1);
is("@keep", '7', 'a refused bezier leaves the output alone');

my @m;
Korval::trfmat([1, 2, 3, 10], 2, 2, \@m, 3, 3);
is(scalar @m, 9, 'trfmat fills nx2 * ny2 values');
is($m[4], 4, 'the middle of a resampled 2 by 2 matrix is the mean');

my @p = (-1, 0);
my @q = (0, 0);
Korval::trfco2(\@p, \@q, 2, 'RECT', 'POLA');
is("@p @q", '180 0 1 0', 'trfco2 converts in place');

my @s = (0x1234, 0x00FF);
Korval::swapi2(\@s, 2);
is("@s", join(' ', 0x3412, -256), 'swapi2 gives signed 16-bit values');
my @l = (0x01020304);
Korval::swapi4(\@l, 1);
is($l[0], 0x04030201, 'swapi4 reverses the bytes');
is(Korval::bitsi2(4, 61440, 0, 0, 12), 15, 'bitsi2 moves the top bits down');

my $t = 'Plot of x';
Korval::upstr($t);
is($t, 'PLOT OF X', 'upstr converts the variable in place');
is(Korval::trmlen('ab  '), 2, 'trmlen');
is(Korval::intcha(-42), '-42', 'intcha');
is(Korval::intlen(-42), 3, 'intlen');
is(Korval::fcha(3.14159, 2), '3.14', 'fcha');
is(Korval::flen(3.14159, 2), 4, 'flen');
my ($date, $time) = ('', '');
Korval::dattim($date, $time);
like("$date $time", qr/^\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d$/, 'dattim');

# Binary files: bytes written from a string and read back as signed values.
is(Korval::openfl('data.bin', 3, 1), 0, 'openfl for writing');
is(Korval::openfl('data.bin', 3, 0), 2, 'a unit already open');
is(Korval::writfl(3, "AB\xff\0C", 5), 5, 'writfl writes the bytes');
is(Korval::writfl(3, 'xy', 100), 2, 'never more than the string holds');
is(Korval::closfl(3), 0, 'closfl');
is(-s 'data.bin', 7, 'seven bytes in the file');
is(Korval::openfl('data.bin', 3, 0), 0, 'openfl for reading');
my @bytes;
is(Korval::readfl(3, \@bytes, 10), 7, 'readfl returns the bytes read');
is("@bytes", '65 66 -1 0 67 120 121', 'bytes as signed values');
is(Korval::tellfl(3), 7, 'tellfl');
is(Korval::posifl(3, 1), 0, 'posifl');
is(Korval::readfl(3, \@bytes, 1), 1, 'one more byte');
is($bytes[0], 66, 'read from the new position');
is(Korval::readfl(100, \@bytes, 1), -1, 'unit 100 is refused');
Korval::closfl(3);

# The vector field in a plot.
Korval::metafl('POST');
Korval::setfil('field.ps');
Korval::korini();
Korval::errmod('PROT', 'OFF');
Korval::graf(0, 10, 0, 2, 0, 10, 0, 2);
Korval::field([1, 2, 3], [1, 2, 3], [2, 4, 9], [3, 3, 3], 3, 1421);
my @colours = (0, 0, 0);
Korval::colray([0, 0.5, 1], \@colours, 3);
ok(!grep({ $_ < 0 || $_ > 255 } @colours), "colray gives colour indices (@colours)");
Korval::endgrf();
Korval::korfin();
ok(-s 'field.ps' > 1000, 'the field drawn');

done_testing();
