# Screen windows on a virtual display: titles, waits, cursor input and
# the picture shown.
use strict;
use warnings;
use Test::More;
use Time::HiRes qw(sleep);
use Gui qw(start_script find_window key click finish move);

sub title_of { my $t = `xdotool getwindowname $_[0] 2>/dev/null`; chomp $t; $t }

# Two windows, cursor points, the picture, and the final wait on RETURN.
my $h = start_script(<<'PERL');
Korval::metafl("XWI1");
Korval::winsiz(601, 401);
Korval::winkey("RETU");
Korval::korini();
Korval::errmod("PROT", "OFF");
Korval::color("RED");
Korval::line(0, $_, 1485, $_) for grep { $_ % 2 == 0 } 0 .. 1050;
Korval::opnwin(2);
print "id ", Korval::winid(), "\n";
Korval::selwin(1);
Korval::csruni("PIXE");
my (@x, @y, $n, $iret);
Korval::csrpts(\@x, \@y, 2, $n, $iret);
print "pts $n $iret @x @y\n";
Korval::csrpt1(my $px, my $py);
print "pt1 $px $py\n";
Korval::korfin();
print "end\n";
PERL
my $w1 = find_window('^KORVAL 1', 10);
my $w2 = find_window('^KORVAL 2', 10);
ok($w1 && $w2, 'both windows appear');
is(title_of($w2), 'KORVAL 2 / Working', 'the new window has the working title');
is(title_of($w1), 'KORVAL 1', 'the previous window lost its working title');
sleep 0.3;
# Three presses with room for two, then the right button ends the list.
click($w1, 10, 20, 1);
click($w1, 30, 40, 1);
click($w1, 50, 60, 1);
click($w1, 70, 80, 3);
# The right button does not end csrpt1; the left one does.
click($w1, 5, 5, 3);
click($w1, 400, 300, 1);
sleep 0.3;
is(title_of($w1), 'KORVAL 1 / Click MB2 or RETURN to continue ...', 'the final wait names the key');
system("import -window $w1 /tmp/korval-gui-$$.png >/dev/null 2>&1 && convert /tmp/korval-gui-$$.png -depth 8 /tmp/korval-gui-$$.ppm && cp /tmp/korval-gui-$$.png /tmp/korval-gui-last.png; rm -f /tmp/korval-gui-$$.png");
if (open my $f, '<:raw', "/tmp/korval-gui-$$.ppm") {
    local $/;
    my $s = <$f>;
    unlink "/tmp/korval-gui-$$.ppm";
    my ($wd, $ht, $data) = $s =~ /\AP6\s+(\d+)\s+(\d+)\s+\d+\s(.*)\z/s;
    ok($wd && $wd == 601 && $ht == 401, 'the client area has the size from winsiz');
    my $px = sub { my ($x, $y) = @_; join ',', unpack 'C3', substr($data, 3 * ($y * $wd + $x), 3) };
    is($px->(100, 100), '255,0,0', 'the filled rectangle is shown in red');
    is($px->(500, 350), '0,0,0', 'the rest is the black background');
} else {
    fail('screenshot of the window');
}
key($w1, 'Escape');
sleep 0.3;
ok(kill(0, $h->{pid}), 'Escape does not end a RETURN wait');
key($w1, 'Return');
my ($st, $out, $err) = finish($h, 10);
is($st, 0, 'the script ended after RETURN');
like($out, qr/^id 2$/m, 'opnwin makes the new window current');
like($out, qr/^pts 2 1 10 30 20 40$/m, 'csrpts keeps nmax points and flags the overflow');
like($out, qr/^pt1 400 300$/m, 'csrpt1 returns the left-button press');
like($out, qr/^end$/m, 'korfin returned');

# NONE returns at once; the windows stay until the program ends.
$h = start_script(<<'PERL');
Korval::metafl("XWIN");
Korval::winmod("NONE");
Korval::korini();
Korval::errmod("PROT", "OFF");
Korval::korfin();
print "done\n";
PERL
($st, $out) = finish($h, 10);
is($out, "done\n", 'winmod NONE does not wait');

# newpag waits for the right button, then the final wait for another.
$h = start_script(<<'PERL');
Korval::metafl("XWIN");
Korval::korini();
Korval::errmod("PROT", "OFF");
Korval::newpag();
print "page\n";
Korval::korfin();
print "end\n";
PERL
my $w = find_window('^KORVAL 1 / Click MB2 for next page', 10);
ok($w, 'newpag shows the page title');
click($w, 50, 50, 3);
ok(find_window('^KORVAL 1 / Click MB2 to continue', 10), 'then the final wait');
click($w, 50, 50, 3);
($st, $out) = finish($h, 10);
is($out, "page\nend\n", 'both waits ended by the right button');

done_testing;
