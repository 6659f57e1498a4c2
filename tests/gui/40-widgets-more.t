# Scales, file fields, command buttons, popup menus, drawing areas and the
# list, text and file dialogs on a virtual display.
use strict;
use warnings;
use Test::More;
use Time::HiRes qw(sleep);
use Gui qw(start_script find_window key finish focus wait_gone);

my $h = start_script(<<'PERL');
sub moved { print "scale ", Korval::gwgscl($_[0]), "\n" }
sub ran { print "cmd $_[0]\n" }
Korval::swgtit("More widgets");
my $top = Korval::wgini("VERT");
my $scl = Korval::wgscl($top, "Level", 0, 10, 5, 1);
Korval::swgcbk($scl, "main::moved");
my $fil = Korval::wgfil($top, "File", "start.dat", "*.dat");
my $cmd = Korval::wgcmd($top, "Run", "echo ran > cmd.txt");
Korval::swgcbk($cmd, "main::ran");
my $drw = Korval::wgdraw($top);
Korval::wgok($top);
Korval::reawgt();
print "xid ", (Korval::gwgxid($drw) > 0 ? "yes" : "no"), "\n";
Korval::wgfin();
print "final ", Korval::gwgscl($scl), "\n";
print "file ", Korval::gwgfil($fil), "\n";
print "ran ", (-s "cmd.txt" ? "yes" : "no"), "\n";
PERL
my $w = find_window('^More widgets$', 10);
ok($w, 'the dialog appears');
sleep 0.3;
focus($w);
system('xdotool key End && xdotool key Tab ctrl+a && xdotool type --delay 20 picked.dat'
     . ' && xdotool key Tab Tab space && sleep 0.3 && xdotool key Tab Return');
my ($st, $out, $err) = finish($h, 10);
is($st, 0, 'the script ended after OK') or diag($err);
like($out, qr/^xid yes$/m, 'reawgt shows the window and the drawing area has an X11 id');
like($out, qr/^scale 10$/m, 'the scale callback sees the new value');
like($out, qr/^final 10$/m, 'gwgscl returns it after the dialog');
like($out, qr/^file picked\.dat$/m, 'gwgfil returns the typed file name after OK');
like($out, qr/^cmd 4$/m, 'the command button calls its callback');
like($out, qr/^ran yes$/m, 'and has run its command');

# Popup menus: an entry calls its callback; Exit > OK ends the dialog.
$h = start_script(<<'PERL');
sub entry { print "entry $_[0]\n" }
Korval::swgtit("Menus");
my $top = Korval::wgini("VERT");
my $txt = Korval::wgtxt($top, "kept");
my $pop = Korval::wgpop($top, "&Tools");
my $app = Korval::wgapp($pop, "Go");
Korval::swgcbk($app, "main::entry");
Korval::wgfin();
print "txt ", Korval::gwgtxt($txt), "\n";
PERL
$w = find_window('^Menus$', 10);
ok($w, 'the dialog with a menu bar appears');
sleep 0.3;
focus($w);
system('xdotool key F10 Right Down Return && sleep 0.2 && xdotool key F10 Return Return');
($st, $out, $err) = finish($h, 10);
is($st, 0, 'Exit > OK ends the dialog') or diag($err);
like($out, qr/^entry 4$/m, 'the popup entry calls its callback with its id');
like($out, qr/^txt kept$/m, 'the text field is copied');

# dwglis: Down moves from the preselected item; OK returns it.
$h = start_script(<<'PERL');
Korval::swgtit("Choose");
print "item ", Korval::dwglis("Pick|one", "red|green|blue", 2), "\n";
print "text ", Korval::dwgtxt("Name", "old"), "\n";
open my $f, '>', 'data.dat' or die; close $f;
print "file ", Korval::dwgfil("Pick a file", "", "*.dat"), "\n";
PERL
$w = find_window('^Choose$', 10);
ok($w, 'the list dialog appears');
sleep 0.3;
focus($w);
system('xdotool key Down Tab Return');
sleep 0.5;
$w = find_window('^Choose$', 5);
focus($w) if $w;
system('xdotool key ctrl+a && xdotool type --delay 20 "new text" && xdotool key Return');
$w = find_window('^Pick a file$', 10);
ok($w, 'the file chooser appears with the title');
# The chooser takes a moment to settle; a second try if the first typing
# went nowhere.
for my $try (1 .. 2) {
    last unless $w;
    sleep 0.8;
    focus($w);
    system("xdotool key ctrl+l && xdotool type --delay 20 '$h->{dir}/data.dat' && sleep 0.3 && xdotool key Return");
    last if wait_gone('^Pick a file$', 3);
}
($st, $out, $err) = finish($h, 10);
like($out, qr/^item 3$/m, 'dwglis returns the item selected at OK');
like($out, qr/^text new text$/m, 'dwgtxt returns the typed text');
like($out, qr/^file \Q$h->{dir}\E\/data\.dat$/m, 'dwgfil returns the chosen file');

done_testing;
