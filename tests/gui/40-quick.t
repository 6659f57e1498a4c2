# A quick plot without an output format opens a screen window, shows the
# plot and waits there as korfin does; the script goes on after the click.
use strict;
use warnings;
use Test::More;
use Time::HiRes qw(sleep);
use Gui qw(start_script find_window click finish);

my $h = start_script(<<'PERL');
Korval::qplot([0, 1, 2, 3, 4], [1, 3, 2, 4, 0], 5);
print "level ", Korval::getlev(), "\n";
PERL
my $w = find_window('^KORVAL 1 / Click MB2', 15);
ok($w, 'the quick plot waits in a screen window');
my $ink = 0;
if ($w) {
    sleep 0.3;
    my $file = "/tmp/korval-quick-$$.ppm";
    if (system("import -window $w $file >/dev/null 2>&1") == 0 && open my $f, '<:raw', $file) {
        local $/;
        my $s = <$f>;
        my ($wd, $ht, $max, $data) = $s =~ /\AP6\s+(\d+)\s+(\d+)\s+(\d+)\s(.*)\z/s;
        $ink = () = ($data // '') =~ /[^\0]/g;
    }
    unlink $file;
    click($w, 50, 50, 3);
}
cmp_ok($ink, '>', 1000, 'the window shows the plot');
my ($st, $out) = finish($h, 10);
is($st, 0, 'the script ends after the click');
like($out // '', qr/^level 0$/m, 'at level 0');

done_testing;
