# A widget dialog on a virtual display: typing, toggling, callbacks and OK.
use strict;
use warnings;
use Test::More;
use Time::HiRes qw(sleep);
use Gui qw(start_script find_window key finish focus);

my $h = start_script(<<'PERL');
sub toggled { print "cb $_[0] ", Korval::gwgbut($_[0]), "\n" }
sub dies { die "on purpose\n" }
Korval::swgtit("Dialog test");
my $top = Korval::wgini("VERT");
my $txt = Korval::wgtxt($top, "initial");
my $but = Korval::wgbut($top, "Check", 0);
Korval::swgcbk($but, "main::toggled");
Korval::swgcbk($but, "main::dies");   # the first registration stays
my $push = Korval::wgpbut($top, "Push");
Korval::swgcbk($push, "main::dies");
Korval::wgok($top);
Korval::wgfin();
print "txt ", Korval::gwgtxt($txt), "\n";
print "but ", Korval::gwgbut($but), "\n";
PERL
my $w = find_window('^Dialog test$', 10);
ok($w, 'the dialog appears with its title');
sleep 0.3;
focus($w);
system('xdotool key ctrl+a && xdotool type --delay 20 typed && xdotool key Tab space Tab space Tab Return');
my ($st, $out, $err) = finish($h, 10);
is($st, 0, 'the script ended after OK');
like($out, qr/^cb 3 1$/m, 'the callback got the widget id while the state was already 1');
like($out, qr/^txt typed$/m, 'gwgtxt returns the typed text after OK');
like($out, qr/^but 1$/m, 'gwgbut returns the toggled state');
like($err, qr/callback main::dies failed: on purpose/, 'a dying callback is reported, not fatal');

# dwgbut: Return takes the default button.
$h = start_script(<<'PERL');
Korval::swgtit("Question");
print "answer ", Korval::dwgbut("Go on?", 0), "\n";
PERL
$w = find_window('^Question$', 10);
sleep 0.3;
key($w, 'Return') if $w;
($st, $out) = finish($h, 10);
is($out, "answer 0\n", 'dwgbut with default 0 and Return gives 0');

done_testing;
