# Plotting into a window handed over by its X11 id: one script shows a
# window, a second one draws into it by id.
use strict;
use warnings;
use Test::More;
use Time::HiRes qw(sleep);
use Gui qw(start_script find_window key click finish);

my $host = start_script(<<'PERL');
Korval::metafl("XWIN");
Korval::winsiz(401, 301);
Korval::scrmod("REVERS");
Korval::korini();
Korval::errmod("PROT", "OFF");
print "xid ", Korval::getxid("WIND"), "\n";
Korval::korfin();
PERL
my $w = find_window('^KORVAL 1', 10);
ok($w, 'the host window appears');
sleep 0.5;

my $guest = start_script(<<PERL);
Korval::setxid($w, "WINDOW");
Korval::metafl("XWIN");
Korval::winmod("FULL");
Korval::korini();
Korval::errmod("PROT", "OFF");
print "xid ", Korval::getxid("WIND"), "\n";
Korval::color("RED");
Korval::recfll(0, 0, 2969, 2099, Korval::getclr());
Korval::korfin();
print "end\n";
PERL
my ($st, $out, $err) = finish($guest, 10);
is($st, 0, 'the guest script ended without waiting');
like($out, qr/^xid $w$/m, 'getxid names the handed-over window');
like($out, qr/^end$/m, 'korfin returned');

my $ppm = "/tmp/korval-xid-$$.ppm";
system("import -window $w -depth 8 ppm:$ppm >/dev/null 2>&1");
if (open my $f, '<:raw', $ppm) {
    local $/;
    my $s = <$f>;
    unlink $ppm;
    my ($wd, $ht, $data) = $s =~ /\AP6\s+(\d+)\s+(\d+)\s+\d+\s(.*)\z/s;
    my $px = sub { my ($x, $y) = @_; join ',', unpack 'C3', substr($data, 3 * ($y * $wd + $x), 3) };
    ok($wd, 'screenshot of the host window');
    is($px->(200, 150), '255,0,0', 'the guest painted the host window red') if $wd;
} else {
    fail('screenshot of the host window');
}
key($w, 'Return');    # not the wait key: the host goes on waiting
click($w, 10, 10, 3);
($st, $out, $err) = finish($host, 10);
is($st, 0, 'the host ended after its click');
like($out, qr/^xid [1-9]\d*$/m, 'getxid names the own window');
done_testing();
