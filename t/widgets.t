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

done_testing;
