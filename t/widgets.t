# The widget toolkit without a display: the table, its messages (on
# standard error), item lists, and dialogs that return at once.
use strict;
use warnings;
use Test::More;
use File::Temp qw(tempdir);
use Korval;

chdir tempdir(CLEANUP => 1);
$ENV{DISPLAY} = '';

# Captures what the call prints on standard error.
sub stderr_of {
    my ($code) = @_;
    open my $save, '>&', \*STDERR or die;
    open STDERR, '>', 'stderr.txt' or die;  # the library writes to fd 2
    my @r = $code->();
    open STDERR, '>&', $save or die;
    open my $f, '<', 'stderr.txt' or die;
    local $/;
    my $text = <$f>;
    return ($text, @r);
}

is(Korval::itmcnt(''), 1, 'an empty list counts one item');
is(Korval::itmcnt('a|b|c'), 3, 'items are counted by separators');
is(Korval::itmstr('a|bb|c', 2), 'bb', 'itmstr picks the item');
my $list = 'a|b';
is(Korval::itmcat($list, 'c  '), 'a|b|c', 'itmcat appends a trimmed item');
is($list, 'a|b', 'the first argument keeps its value');
is(Korval::itmcat('  ', 'x'), 'x', 'an empty list and an item is the item alone');
my ($msg, $r) = stderr_of(sub { Korval::itmstr('a|b', 5) });
like($msg, qr/ITMSTR\n<<<< Not allowed index/, 'a wrong index is reported');
is($r, 'b', 'and the item read last is returned');

my $top = Korval::wgini('VERT');
is($top, 1, 'the main widget has id 1');
my ($m, $lis) = stderr_of(sub { Korval::wglis($top, 'x|y|z', 5) });
like($m, qr/WGLIS\n<<<< Selected list element out of range/, 'preselection out of range');
is(Korval::gwglis($lis), 1, 'and item 1 is selected');
my $txt = Korval::wgtxt($top, 'initial');
my $but = Korval::wgbut($top, 'check', 1);
my $box = Korval::wgbox($top, 'p|q', 2);
($m) = stderr_of(sub { Korval::swgcbk(Korval::wglab($top, 'l'), 'main::nothing') });
like($m, qr/Callbacks cannot be defined for Label widgets/, 'no callbacks on labels');
($m, $r) = stderr_of(sub { Korval::wgbut(99, 'x', 0) });
like($m, qr/Not allowed parent ID/, 'a bad parent is refused');
is($r, -1, 'with -1');
($m, $r) = stderr_of(sub { Korval::dwgbut('Sure?', 1) });
like($m, qr/DWGBUT cannot be used between WGINI and WGFIN/, 'dialogs are refused inside a dialog');
is($r, -1, 'dwgbut then gives -1');
($m) = stderr_of(sub { Korval::msgbox('a|b') });
like($m, qr/a\nb/, 'msgbox works inside a dialog and breaks lines at |');
my @more = map { Korval::wglab($top, "l$_") } 1 .. 194;
is($more[-1], 200, 'the table holds 200 widgets');
($m, $r) = stderr_of(sub { Korval::wglab($top, 'one too many') });
like($m, qr/Too many widgets!/, 'the 201st is refused');
is($r, -1, 'with -1');
Korval::wgfin();  # no window can be shown: returns at once
is(Korval::gwgtxt($txt), 'initial', 'text fields keep their initial text');
is(Korval::gwgbut($but), 1, 'check buttons keep their state');
is(Korval::gwgbox($box), 2, 'boxes keep their choice');
($m, $r) = stderr_of(sub { Korval::dwgbut('Sure?', 0) });
is($r, 0, 'without a display dwgbut gives the default answer');

# Scales, file fields, command buttons, menus and drawing areas.
$top = Korval::wgini('VERT');
($m, my $scl) = stderr_of(sub { Korval::wgscl($top, 'Level', 1, 2, 3, 1) });
like($m, qr/WGSCL\n>>>> Value is out of range!/, 'a scale value outside its range is reported');
is(Korval::gwgscl($scl), 1, 'and the minimum taken');
Korval::swgscl($scl, 1.5);
is(Korval::gwgscl($scl), 1.5, 'swgscl sets the value');
my $fil = Korval::wgfil($top, 'File', 'a.dat', '*.dat');
Korval::swgfil($fil, 'b.dat');
is(Korval::gwgfil($fil), 'b.dat', 'swgfil and gwgfil');
my $cmd = Korval::wgcmd($top, 'Run', 'true');
is($cmd, $fil + 1, 'wgcmd hands out the next id');
my $pop = Korval::wgpop($top, 'Tools');
ok(Korval::wgapp($pop, 'Go') > $pop, 'popup entries go into popups');
($m, $r) = stderr_of(sub { Korval::wgapp($top, 'Go') });
is($r, -1, 'but not into the main widget');
my $drw = Korval::wgdraw($top);
Korval::reawgt();  # nothing to show without a display
is(Korval::gwgxid($drw), 0, 'no window id without a display');
Korval::swgatt($cmd, 'INAC', 'STAT');
is(Korval::gwgatt($cmd, 'STAT'), 1, 'swgatt and gwgatt');
Korval::wgfin();
is(Korval::gwgscl($scl), 1.5, 'values stay readable after wgfin');
($m) = stderr_of(sub { Korval::swgfil($fil, 'c.dat') });
like($m, qr/>>>> SWGFIL must be used between WGINI and WGFIN/, 'changes only inside a dialog');
($m) = stderr_of(sub { Korval::swgpop('MAYBE') });
like($m, qr/SWGPOP\n>>>> Not allowed parameter MAYBE/, 'bad keywords are reported');
Korval::swgpop('OK');
is(Korval::dwglis('Pick', 'a|b|c', 3), 3, 'dwglis without a display returns the preselection');
is(Korval::dwgtxt('Name', 'given'), 'given', 'dwgtxt the initial text');
is(Korval::dwgfil('Open', 'x.dat', '*.dat'), 'x.dat', 'dwgfil the initial name');

done_testing;
